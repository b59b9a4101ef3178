#include "flashhost/flash_dlg_base.h"

#include <string>

#include "flashhost/com_error.h"
#include "framework/ansi_string.h"
#include "res/resource.h"

namespace {

// The header the control expects in front of a movie handed over as a stream.
const DWORD kMovieStreamSignature = 0x55665566;

// A copy of a string argument of an event: VT_BSTR only, a null BSTR read as empty.
bool CopyStringArgument(const VARIANTARG& arg, BSTR& copy)
{
    if (arg.vt != VT_BSTR)
        return false;
    copy = arg.bstrVal ? SysAllocStringLen(arg.bstrVal, SysStringLen(arg.bstrVal)) : SysAllocString(L"");
    return copy != nullptr;
}

class BSTRValue {
public:
    explicit BSTRValue(const wchar_t* text) : m_value(SysAllocString(text)) {}
    ~BSTRValue() { SysFreeString(m_value); }
    BSTRValue(const BSTRValue&) = delete;
    BSTRValue& operator=(const BSTRValue&) = delete;
    operator BSTR() const { return m_value; }

private:
    BSTR m_value;
};

}  // namespace

CFlashDlgBase::CFlashDlgBase() = default;

CFlashDlgBase::~CFlashDlgBase() = default;

STDMETHODIMP CFlashDlgBase::QueryInterface(REFIID riid, void** ppv)
{
    const HRESULT hr = TOleBaseDlg<IShockwaveFlash>::QueryInterface(riid, ppv);
    if (hr != E_NOINTERFACE || riid != DIID__IShockwaveFlashEvents)
        return hr;
    if (ppv)
        *ppv = static_cast<_IShockwaveFlashEvents*>(this);
    ++m_lRefCount;
    return S_OK;
}

STDMETHODIMP_(ULONG) CFlashDlgBase::AddRef() { return TOleBaseDlg<IShockwaveFlash>::AddRef(); }

STDMETHODIMP_(ULONG) CFlashDlgBase::Release() { return TOleBaseDlg<IShockwaveFlash>::Release(); }

STDMETHODIMP CFlashDlgBase::GetTypeInfoCount(UINT*) { return E_NOTIMPL; }

STDMETHODIMP CFlashDlgBase::GetTypeInfo(UINT, LCID, ITypeInfo**) { return E_NOTIMPL; }

STDMETHODIMP CFlashDlgBase::GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) { return E_NOTIMPL; }

STDMETHODIMP CFlashDlgBase::Invoke(DISPID dispid, REFIID, LCID, WORD, DISPPARAMS* params, VARIANT*, EXCEPINFO*, UINT*)
{
    // Arguments come last-first. An event of any other shape than the published one is
    // not passed on.
    if (!params || (params->cArgs && !params->rgvarg))
        return S_OK;
    if (dispid == DISPID_FLASH_FSCOMMAND && params->cArgs == 2) {
        BSTR command = nullptr;
        BSTR args = nullptr;
        if (CopyStringArgument(params->rgvarg[1], command) && CopyStringArgument(params->rgvarg[0], args)) {
            FSCommand(command, args);
        } else {
            SysFreeString(command);
            SysFreeString(args);
        }
    } else if (dispid == DISPID_FLASH_FLASHCALL && params->cArgs == 1) {
        BSTR request = nullptr;
        if (CopyStringArgument(params->rgvarg[0], request))
            FlashCall(request);
    }
    return S_OK;
}

HRESULT CFlashDlgBase::FSCommand(BSTR command, BSTR args)
{
    const std::string text = WideToAnsi(args);
    MessageBoxA(nullptr, args ? text.c_str() : nullptr, nullptr, MB_OK);
    SysFreeString(command);
    SysFreeString(args);
    return S_OK;
}

HRESULT CFlashDlgBase::FlashCall(BSTR request)
{
    SysFreeString(request);
    return S_OK;
}

void CFlashDlgBase::PlayMovie()
{
    if (m_pControl)
        Check(m_pControl->Play());
}

void CFlashDlgBase::StopMovie()
{
    if (m_pControl)
        Check(m_pControl->StopPlay());
}

void CFlashDlgBase::Check(HRESULT hr)
{
    if (FAILED(hr))
        ThrowComError(hr, IID_IShockwaveFlash, m_pControl);
}

BOOL CFlashDlgBase::OnControlCreated()
{
    if (FAILED(m_pControl->QueryInterface(IID_IConnectionPointContainer,
                                          reinterpret_cast<void**>(&m_pConnectionPointContainer))))
        return FALSE;
    if (FAILED(m_pConnectionPointContainer->FindConnectionPoint(DIID__IShockwaveFlashEvents, &m_pConnectionPoint)))
        return FALSE;
    if (FAILED(m_pConnectionPoint->Advise(static_cast<_IShockwaveFlashEvents*>(this), &m_dwEventCookie)))
        return FALSE;

    // Only a windowless control draws transparently over the layered window.
    if (m_bLayered)
        Check(m_pControl->put_WMode(BSTRValue(L"transparent")));
    Check(m_pControl->put_Scale(BSTRValue(L"showAll")));
    Check(m_pControl->put_BackgroundColor(0));
    Check(m_pControl->put_EmbedMovie(VARIANT_FALSE));
    return TRUE;
}

BOOL CFlashDlgBase::OnControlActivated()
{
    HRSRC hResource = FindResourceA(nullptr, MAKEINTRESOURCEA(IDR_LOGIN_SWF), "swf");
    if (!hResource)
        return FALSE;
    const DWORD length = SizeofResource(nullptr, hResource);
    if (length == 0)
        return FALSE;
    HGLOBAL hMovie = LoadResource(nullptr, hResource);
    const void* movie = hMovie ? LockResource(hMovie) : nullptr;
    if (!movie)
        return FALSE;

    IStream* stream = nullptr;
    if (FAILED(CreateStreamOnHGlobal(nullptr, TRUE, &stream)))
        return FALSE;
    const DWORD header[2] = {kMovieStreamSignature, length};
    ULARGE_INTEGER size;
    size.QuadPart = ULONGLONG(length) + sizeof header;
    LARGE_INTEGER start = {};
    if (FAILED(stream->SetSize(size)) || FAILED(stream->Write(header, sizeof header, nullptr)) ||
        FAILED(stream->Write(movie, length, nullptr)) || FAILED(stream->Seek(start, STREAM_SEEK_SET, nullptr))) {
        stream->Release();
        return FALSE;
    }

    IPersistStreamInit* persist = nullptr;
    if (FAILED(m_pControl->QueryInterface(IID_IPersistStreamInit, reinterpret_cast<void**>(&persist)))) {
        stream->Release();
        return FALSE;
    }
    const HRESULT loaded = persist->Load(stream);
    if (SUCCEEDED(loaded)) {
        try {
            Check(m_pControl->Play());
        } catch (...) {
            persist->Release();
            stream->Release();
            throw;
        }
    }
    persist->Release();
    stream->Release();
    return SUCCEEDED(loaded);
}
