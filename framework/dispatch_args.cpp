#include "framework/dispatch_args.h"

VARIANT* CDispatchArgs::At(UINT position) const
{
    if (!m_params || !m_params->rgvarg || position >= m_params->cArgs)
        return nullptr;
    VARIANT* arg = &m_params->rgvarg[m_params->cArgs - 1 - position];
    if (V_VT(arg) == (VT_VARIANT | VT_BYREF))
        arg = V_VARIANTREF(arg);
    return arg;
}

bool CDispatchArgs::Get(UINT position, BSTR& out) const
{
    const VARIANT* arg = At(position);
    if (arg && V_VT(arg) == VT_BSTR) {
        out = V_BSTR(arg);
        return true;
    }
    if (arg && V_VT(arg) == (VT_BSTR | VT_BYREF) && V_BSTRREF(arg)) {
        out = *V_BSTRREF(arg);
        return true;
    }
    return false;
}

bool CDispatchArgs::Get(UINT position, LONG& out) const
{
    const VARIANT* arg = At(position);
    if (!arg || V_VT(arg) != VT_I4)
        return false;
    out = V_I4(arg);
    return true;
}

bool CDispatchArgs::Get(UINT position, IDispatch*& out) const
{
    const VARIANT* arg = At(position);
    if (arg && V_VT(arg) == VT_DISPATCH) {
        out = V_DISPATCH(arg);
        return true;
    }
    if (arg && V_VT(arg) == (VT_DISPATCH | VT_BYREF) && V_DISPATCHREF(arg)) {
        out = *V_DISPATCHREF(arg);
        return true;
    }
    return false;
}

bool CDispatchArgs::Get(UINT position, IDispatch**& out) const
{
    const VARIANT* arg = At(position);
    if (!arg || V_VT(arg) != (VT_DISPATCH | VT_BYREF) || !V_DISPATCHREF(arg))
        return false;
    out = V_DISPATCHREF(arg);
    return true;
}

bool CDispatchArgs::Get(UINT position, VARIANT_BOOL*& out) const
{
    const VARIANT* arg = At(position);
    if (!arg || V_VT(arg) != (VT_BOOL | VT_BYREF) || !V_BOOLREF(arg))
        return false;
    out = V_BOOLREF(arg);
    return true;
}

bool CDispatchArgs::Get(UINT position, VARIANT*& out) const
{
    out = At(position);
    return out != nullptr;
}

HRESULT DispatchInvoke(IDispatch* target, DISPID member, WORD flags, std::vector<VARIANT> args, VARIANT* result)
{
    if (!target)
        return E_POINTER;
    std::vector<VARIANT> reversed(args.rbegin(), args.rend());
    DISPID named = DISPID_PROPERTYPUT;
    DISPPARAMS params = {};
    params.cArgs = static_cast<UINT>(reversed.size());
    params.rgvarg = reversed.empty() ? nullptr : reversed.data();
    if (flags & (DISPATCH_PROPERTYPUT | DISPATCH_PROPERTYPUTREF)) {
        params.cNamedArgs = 1;
        params.rgdispidNamedArgs = &named;
    }
    if (result)
        VariantInit(result);
    return target->Invoke(member, IID_NULL, LOCALE_USER_DEFAULT, flags, &params, result, nullptr, nullptr);
}

VARIANT VariantRef(VARIANT* value)
{
    VARIANT v;
    VariantInit(&v);
    V_VT(&v) = VT_VARIANT | VT_BYREF;
    V_VARIANTREF(&v) = value;
    return v;
}

VARIANT VariantBstr(BSTR value)
{
    VARIANT v;
    VariantInit(&v);
    V_VT(&v) = VT_BSTR;
    V_BSTR(&v) = value;
    return v;
}

VARIANT VariantDispatch(IDispatch* value)
{
    VARIANT v;
    VariantInit(&v);
    V_VT(&v) = VT_DISPATCH;
    V_DISPATCH(&v) = value;
    return v;
}

VARIANT VariantBoolRef(VARIANT_BOOL* value)
{
    VARIANT v;
    VariantInit(&v);
    V_VT(&v) = VT_BOOL | VT_BYREF;
    V_BOOLREF(&v) = value;
    return v;
}

VARIANT VariantDispatchRef(IDispatch** value)
{
    VARIANT v;
    VariantInit(&v);
    V_VT(&v) = VT_DISPATCH | VT_BYREF;
    V_DISPATCHREF(&v) = value;
    return v;
}

VARIANT VariantMissing()
{
    VARIANT v;
    VariantInit(&v);
    V_VT(&v) = VT_ERROR;
    V_ERROR(&v) = DISP_E_PARAMNOTFOUND;
    return v;
}
