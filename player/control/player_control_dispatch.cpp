// IShockwaveFlash through IDispatch: the members the player offers, found by name.

#include "player/control/player_control.h"

namespace {

enum class Member : DISPID {
    ReadyState = 1,
    TotalFrames,
    Playing,
    BackgroundColor,
    Movie,
    FrameNum,
    Play,
    Stop,
    StopPlay,
    GotoFrame,
    CurrentFrame,
    IsPlaying,
    FlashVersion,
    WMode,
    Scale,
    EmbedMovie,
};

struct MemberName {
    const wchar_t* name;
    Member member;
};

const MemberName kMembers[] = {
    {L"ReadyState", Member::ReadyState}, {L"TotalFrames", Member::TotalFrames},
    {L"Playing", Member::Playing},       {L"BackgroundColor", Member::BackgroundColor},
    {L"Movie", Member::Movie},           {L"FrameNum", Member::FrameNum},
    {L"Play", Member::Play},             {L"Stop", Member::Stop},
    {L"StopPlay", Member::StopPlay},     {L"GotoFrame", Member::GotoFrame},
    {L"CurrentFrame", Member::CurrentFrame}, {L"IsPlaying", Member::IsPlaying},
    {L"FlashVersion", Member::FlashVersion}, {L"WMode", Member::WMode},
    {L"Scale", Member::Scale},           {L"EmbedMovie", Member::EmbedMovie},
};

// The one argument of a property put or a method, converted to `type`.
HRESULT Argument(const DISPPARAMS* params, VARTYPE type, VARIANT& value)
{
    if (!params || params->cArgs != 1 || !params->rgvarg)
        return DISP_E_BADPARAMCOUNT;
    VariantInit(&value);
    return VariantChangeType(&value, &params->rgvarg[0], 0, type) == S_OK ? S_OK : DISP_E_TYPEMISMATCH;
}

HRESULT NoArguments(const DISPPARAMS* params)
{
    return params && params->cArgs ? DISP_E_BADPARAMCOUNT : S_OK;
}

}  // namespace

STDMETHODIMP CPlayerControl::GetTypeInfoCount(UINT* count)
{
    if (!count)
        return E_POINTER;
    *count = 0;
    return S_OK;
}

STDMETHODIMP CPlayerControl::GetTypeInfo(UINT, LCID, ITypeInfo** info)
{
    if (info)
        *info = nullptr;
    return DISP_E_BADINDEX;
}

STDMETHODIMP CPlayerControl::GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID, DISPID* ids)
{
    if (!names || !ids || count == 0)
        return E_INVALIDARG;
    // Only members: named arguments are not offered.
    for (UINT i = 1; i < count; ++i)
        ids[i] = DISPID_UNKNOWN;
    ids[0] = DISPID_UNKNOWN;
    for (const MemberName& entry : kMembers) {
        if (names[0] && lstrcmpiW(names[0], entry.name) == 0) {
            ids[0] = static_cast<DISPID>(entry.member);
            return count == 1 ? S_OK : DISP_E_UNKNOWNNAME;
        }
    }
    return DISP_E_UNKNOWNNAME;
}

STDMETHODIMP CPlayerControl::Invoke(DISPID dispid, REFIID, LCID, WORD flags, DISPPARAMS* params, VARIANT* result,
                                    EXCEPINFO*, UINT* argError)
{
    if (argError)
        *argError = 0;
    const bool get = (flags & (DISPATCH_PROPERTYGET | DISPATCH_METHOD)) != 0 && !(params && params->cArgs);
    const bool put = (flags & (DISPATCH_PROPERTYPUT | DISPATCH_PROPERTYPUTREF)) != 0;
    VARIANT value;
    VariantInit(&value);
    VARIANT answer;
    VariantInit(&answer);
    HRESULT hr = DISP_E_MEMBERNOTFOUND;
    using LongGet = HRESULT (STDMETHODCALLTYPE CPlayerControl::*)(long*);
    using LongPut = HRESULT (STDMETHODCALLTYPE CPlayerControl::*)(long);
    using BoolGet = HRESULT (STDMETHODCALLTYPE CPlayerControl::*)(VARIANT_BOOL*);
    using BoolPut = HRESULT (STDMETHODCALLTYPE CPlayerControl::*)(VARIANT_BOOL);
    using StringGet = HRESULT (STDMETHODCALLTYPE CPlayerControl::*)(BSTR*);
    using StringPut = HRESULT (STDMETHODCALLTYPE CPlayerControl::*)(BSTR);
    using Call = HRESULT (STDMETHODCALLTYPE CPlayerControl::*)();

    // A property: put takes one converted argument, get answers into `answer`.
    auto longProperty = [&](LongGet getter, LongPut setter) {
        if (put && setter) {
            hr = Argument(params, VT_I4, value);
            if (SUCCEEDED(hr))
                hr = (this->*setter)(value.lVal);
        } else if (get) {
            answer.vt = VT_I4;
            hr = (this->*getter)(&answer.lVal);
        }
    };
    auto boolProperty = [&](BoolGet getter, BoolPut setter) {
        if (put && setter) {
            hr = Argument(params, VT_BOOL, value);
            if (SUCCEEDED(hr))
                hr = (this->*setter)(value.boolVal);
        } else if (get) {
            answer.vt = VT_BOOL;
            hr = (this->*getter)(&answer.boolVal);
        }
    };
    auto stringProperty = [&](StringGet getter, StringPut setter) {
        if (put) {
            hr = Argument(params, VT_BSTR, value);
            if (SUCCEEDED(hr))
                hr = (this->*setter)(value.bstrVal);
        } else if (get) {
            answer.vt = VT_BSTR;
            hr = (this->*getter)(&answer.bstrVal);
        }
    };
    auto method = [&](Call call) {
        if (flags & DISPATCH_METHOD) {
            hr = NoArguments(params);
            if (SUCCEEDED(hr))
                hr = (this->*call)();
        }
    };

    switch (static_cast<Member>(dispid)) {
    case Member::ReadyState: longProperty(&CPlayerControl::get_ReadyState, nullptr); break;
    case Member::TotalFrames: longProperty(&CPlayerControl::get_TotalFrames, nullptr); break;
    case Member::Playing: boolProperty(&CPlayerControl::get_Playing, &CPlayerControl::put_Playing); break;
    case Member::BackgroundColor:
        longProperty(&CPlayerControl::get_BackgroundColor, &CPlayerControl::put_BackgroundColor);
        break;
    case Member::Movie: stringProperty(&CPlayerControl::get_Movie, &CPlayerControl::put_Movie); break;
    case Member::FrameNum: longProperty(&CPlayerControl::get_FrameNum, &CPlayerControl::put_FrameNum); break;
    case Member::Play: method(&CPlayerControl::Play); break;
    case Member::Stop: method(&CPlayerControl::Stop); break;
    case Member::StopPlay: method(&CPlayerControl::StopPlay); break;
    case Member::GotoFrame:
        if (flags & DISPATCH_METHOD) {
            hr = Argument(params, VT_I4, value);
            if (SUCCEEDED(hr))
                hr = GotoFrame(value.lVal);
        }
        break;
    case Member::CurrentFrame: longProperty(&CPlayerControl::CurrentFrame, nullptr); break;
    case Member::IsPlaying: boolProperty(&CPlayerControl::IsPlaying, nullptr); break;
    case Member::FlashVersion: longProperty(&CPlayerControl::FlashVersion, nullptr); break;
    case Member::WMode: stringProperty(&CPlayerControl::get_WMode, &CPlayerControl::put_WMode); break;
    case Member::Scale: stringProperty(&CPlayerControl::get_Scale, &CPlayerControl::put_Scale); break;
    case Member::EmbedMovie: boolProperty(&CPlayerControl::get_EmbedMovie, &CPlayerControl::put_EmbedMovie); break;
    }
    VariantClear(&value);
    if (SUCCEEDED(hr) && result && answer.vt != VT_EMPTY) {
        *result = answer;  // handed over
    } else {
        VariantClear(&answer);
    }
    if (hr == DISP_E_TYPEMISMATCH && argError)
        *argError = 0;
    return hr;
}
