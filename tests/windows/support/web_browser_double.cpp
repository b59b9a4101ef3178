#include "support/web_browser_double.h"

#include <exdisp.h>
#include <olectl.h>

#include "framework/dispatch_args.h"
#include "web/web_browser2.h"

namespace {

// DWebBrowserEvents2 {34A715A0-6587-11D0-924A-0020AFC7AC4D}
const IID kEventsIid = {0x34A715A0, 0x6587, 0x11D0, {0x92, 0x4A, 0x00, 0x20, 0xAF, 0xC7, 0xAC, 0x4D}};
const char kWindowClass[] = "TVRLWebBrowserDouble";
const DWORD kSinkCookie = 1;

std::vector<CWebBrowserDouble*>& CreatedControls()
{
    static std::vector<CWebBrowserDouble*> controls;
    return controls;
}

class CClassFactory : public IClassFactory {
public:
    STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override
    {
        return QueryFaces({{IID_IUnknown, this}, {IID_IClassFactory, this}}, riid, ppv);
    }
    STDMETHODIMP_(ULONG) AddRef() override { return 1; }
    STDMETHODIMP_(ULONG) Release() override { return 1; }
    STDMETHODIMP CreateInstance(IUnknown* pOuter, REFIID riid, void** ppv) override
    {
        if (pOuter)
            return CLASS_E_NOAGGREGATION;
        auto* control = new CWebBrowserDouble;
        const HRESULT hr = control->QueryInterface(riid, ppv);
        if (SUCCEEDED(hr))
            CreatedControls().push_back(control);  // keeps the creation reference
        else
            control->Release();
        return hr;
    }
    STDMETHODIMP LockServer(BOOL) override { return S_OK; }
};

CClassFactory g_factory;

// The variant an argument refers to, or the argument itself.
VARIANT* Referenced(VARIANT* arg)
{
    return arg && V_VT(arg) == (VT_VARIANT | VT_BYREF) ? V_VARIANTREF(arg) : arg;
}

}  // namespace

CWebBrowserDouble::CWebBrowserDouble()
{
    WNDCLASSA wc = {};
    wc.lpfnWndProc = &CWebBrowserDouble::ControlWindowProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = kWindowClass;
    RegisterClassA(&wc);
}

CWebBrowserDouble::~CWebBrowserDouble()
{
    for (BrowserCall& call : m_calls)
        for (VARIANT& value : call.optionals)
            VariantClear(&value);
    if (m_pDocument)
        m_pDocument->Release();
    if (m_hWnd && IsWindow(m_hWnd))
        DestroyWindow(m_hWnd);
}

void CWebBrowserDouble::SetDocument(IDispatch* document)
{
    if (document)
        document->AddRef();
    if (m_pDocument)
        m_pDocument->Release();
    m_pDocument = document;
}

ULONG CWebBrowserDouble::References()
{
    AddRef();
    return Release();
}

HRESULT CWebBrowserDouble::Fire(DISPID dispid, std::vector<VARIANT> args)
{
    if (!m_pSink)
        return E_FAIL;
    return DispatchInvoke(m_pSink, dispid, DISPATCH_METHOD, std::move(args));
}

HRESULT CWebBrowserDouble::FireStatusTextChange(const wchar_t* text)
{
    BSTR value = text ? SysAllocString(text) : nullptr;
    const HRESULT hr = Fire(102, {VariantBstr(value)});
    SysFreeString(value);
    return hr;
}

VARIANT_BOOL CWebBrowserDouble::FireNewWindow2()
{
    IDispatch* pDisp = nullptr;
    VARIANT_BOOL cancel = VARIANT_FALSE;
    Fire(251, {VariantDispatchRef(&pDisp), VariantBoolRef(&cancel)});
    return cancel;
}

HRESULT CWebBrowserDouble::FireDocumentComplete(IDispatch* pDisp)
{
    VARIANT url;
    VariantInit(&url);
    V_VT(&url) = VT_BSTR;
    V_BSTR(&url) = SysAllocString(L"http://page.example/");
    const HRESULT hr = Fire(259, {VariantDispatch(pDisp), VariantRef(&url)});
    VariantClear(&url);
    return hr;
}

HRESULT CWebBrowserDouble::FireNavigateComplete2(IDispatch* pDisp)
{
    VARIANT url;
    VariantInit(&url);
    V_VT(&url) = VT_BSTR;
    V_BSTR(&url) = SysAllocString(L"http://page.example/");
    const HRESULT hr = Fire(252, {VariantDispatch(pDisp), VariantRef(&url)});
    VariantClear(&url);
    return hr;
}

STDMETHODIMP CWebBrowserDouble::QueryInterface(REFIID riid, void** ppv)
{
    return QueryFaces({{IID_IUnknown, static_cast<IOleObject*>(this)},
                       {IID_IOleObject, static_cast<IOleObject*>(this)},
                       {IID_IOleWindow, static_cast<IOleInPlaceObject*>(this)},
                       {IID_IOleInPlaceObject, static_cast<IOleInPlaceObject*>(this)},
                       {IID_IOleInPlaceActiveObject, static_cast<IOleInPlaceActiveObject*>(this)},
                       {IID_IPersist, static_cast<IPersistStreamInit*>(this)},
                       {IID_IPersistStreamInit, static_cast<IPersistStreamInit*>(this)},
                       {IID_IConnectionPointContainer, static_cast<IConnectionPointContainer*>(this)},
                       {IID_IProvideClassInfo, static_cast<IProvideClassInfo2*>(this)},
                       {IID_IProvideClassInfo2, static_cast<IProvideClassInfo2*>(this)},
                       {IID_IDispatch, static_cast<IDispatch*>(this)}},
                      riid, ppv);
}

STDMETHODIMP CWebBrowserDouble::SetClientSite(IOleClientSite* pClientSite)
{
    if (pClientSite)
        pClientSite->AddRef();
    if (m_pSite)
        m_pSite->Release();
    m_pSite = pClientSite;
    return S_OK;
}

STDMETHODIMP CWebBrowserDouble::GetClientSite(IOleClientSite** ppClientSite)
{
    *ppClientSite = m_pSite;
    if (m_pSite)
        m_pSite->AddRef();
    return S_OK;
}

STDMETHODIMP CWebBrowserDouble::Close(DWORD)
{
    m_bClosed = true;
    return S_OK;
}

STDMETHODIMP CWebBrowserDouble::DoVerb(LONG iVerb, LPMSG, IOleClientSite* pActiveSite, LONG, HWND hwndParent,
                                       LPCRECT lprcPosRect)
{
    if (iVerb != OLEIVERB_INPLACEACTIVATE)
        return E_NOTIMPL;
    if (m_hWnd)
        return S_OK;
    IOleInPlaceSite* site = nullptr;
    if (!pActiveSite || FAILED(pActiveSite->QueryInterface(IID_IOleInPlaceSite, reinterpret_cast<void**>(&site))))
        return E_FAIL;
    site->CanInPlaceActivate();
    site->OnInPlaceActivate();
    IOleInPlaceFrame* frame = nullptr;
    IOleInPlaceUIWindow* doc = nullptr;
    RECT pos = *lprcPosRect, clip = *lprcPosRect;
    OLEINPLACEFRAMEINFO info = {};
    info.cb = sizeof info;
    site->GetWindowContext(&frame, &doc, &pos, &clip, &info);
    HWND hParent = nullptr;
    site->GetWindow(&hParent);
    m_hWnd = CreateWindowExA(0, kWindowClass, "", WS_CHILD | WS_VISIBLE, pos.left, pos.top, pos.right - pos.left,
                             pos.bottom - pos.top, hParent ? hParent : hwndParent, nullptr, GetModuleHandleA(nullptr),
                             this);
    if (frame) {
        frame->SetActiveObject(this, L"WebBrowser");
        frame->Release();
    }
    if (doc)
        doc->Release();
    site->Release();
    return m_hWnd ? S_OK : E_FAIL;
}

STDMETHODIMP CWebBrowserDouble::GetMiscStatus(DWORD, DWORD* pdwStatus)
{
    *pdwStatus = OLEMISC_SETCLIENTSITEFIRST | OLEMISC_ACTIVATEWHENVISIBLE | OLEMISC_INSIDEOUT;
    return S_OK;
}

STDMETHODIMP CWebBrowserDouble::GetWindow(HWND* phwnd)
{
    *phwnd = m_hWnd;
    return m_hWnd ? S_OK : E_FAIL;
}

STDMETHODIMP CWebBrowserDouble::InPlaceDeactivate()
{
    m_bDeactivated = true;
    if (m_hWnd && IsWindow(m_hWnd))
        DestroyWindow(m_hWnd);
    m_hWnd = nullptr;
    return S_OK;
}

STDMETHODIMP CWebBrowserDouble::SetObjectRects(LPCRECT lprcPosRect, LPCRECT)
{
    if (m_hWnd)
        MoveWindow(m_hWnd, lprcPosRect->left, lprcPosRect->top, lprcPosRect->right - lprcPosRect->left,
                   lprcPosRect->bottom - lprcPosRect->top, TRUE);
    return S_OK;
}

STDMETHODIMP CWebBrowserDouble::TranslateAccelerator(LPMSG lpmsg)
{
    m_accelerators.push_back(*lpmsg);
    return S_FALSE;
}

STDMETHODIMP CWebBrowserDouble::GetClassID(CLSID* pClassID)
{
    *pClassID = CLSID_WebBrowserControl;
    return S_OK;
}

STDMETHODIMP CWebBrowserDouble::InitNew()
{
    m_bInitNew = true;
    return S_OK;
}

STDMETHODIMP CWebBrowserDouble::FindConnectionPoint(REFIID riid, IConnectionPoint** ppCP)
{
    *ppCP = nullptr;
    if (!IsEqualIID(riid, kEventsIid))
        return CONNECT_E_NOCONNECTION;
    *ppCP = this;
    AddRef();
    return S_OK;
}

STDMETHODIMP CWebBrowserDouble::GetConnectionInterface(IID* pIID)
{
    *pIID = kEventsIid;
    return S_OK;
}

STDMETHODIMP CWebBrowserDouble::GetConnectionPointContainer(IConnectionPointContainer** ppCPC)
{
    *ppCPC = this;
    AddRef();
    return S_OK;
}

STDMETHODIMP CWebBrowserDouble::Advise(IUnknown* pUnkSink, DWORD* pdwCookie)
{
    if (m_pSink)
        return CONNECT_E_ADVISELIMIT;
    // The sink must answer the event interface itself, as a real source asks.
    if (FAILED(pUnkSink->QueryInterface(kEventsIid, reinterpret_cast<void**>(&m_pSink))))
        return CONNECT_E_CANNOTCONNECT;
    *pdwCookie = kSinkCookie;
    return S_OK;
}

STDMETHODIMP CWebBrowserDouble::Unadvise(DWORD dwCookie)
{
    if (dwCookie != kSinkCookie || !m_pSink)
        return CONNECT_E_NOCONNECTION;
    m_pSink->Release();
    m_pSink = nullptr;
    return S_OK;
}

STDMETHODIMP CWebBrowserDouble::GetGUID(DWORD dwGuidKind, GUID* pGUID)
{
    if (dwGuidKind != GUIDKIND_DEFAULT_SOURCE_DISP_IID)
        return E_INVALIDARG;
    *pGUID = kEventsIid;
    return S_OK;
}

STDMETHODIMP CWebBrowserDouble::GetTypeInfoCount(UINT* pctinfo)
{
    *pctinfo = 0;
    return S_OK;
}

STDMETHODIMP CWebBrowserDouble::Invoke(DISPID dispid, REFIID, LCID, WORD wFlags, DISPPARAMS* pParams,
                                       VARIANT* pResult, EXCEPINFO*, UINT*)
{
    const CDispatchArgs args(pParams);
    switch (dispid) {
    case 104:  // Navigate(URL, Flags, TargetFrameName, PostData, Headers)
    case 500:  // Navigate2, the same with a VARIANT URL
    {
        if (args.Count() != 5)
            return DISP_E_BADPARAMCOUNT;
        BrowserCall call{dispid, L"", VT_EMPTY, {}, {}};
        VARIANT* url = Referenced(args.At(0));
        if (!url)
            return DISP_E_PARAMNOTFOUND;
        call.urlType = V_VT(url);
        if (V_VT(url) == VT_BSTR && V_BSTR(url))
            call.url = V_BSTR(url);
        for (UINT i = 1; i < 5; ++i) {
            VARIANT* value = Referenced(args.At(i));
            call.optionalTypes.push_back(value ? V_VT(value) : static_cast<VARTYPE>(VT_ERROR));
            VARIANT copy;
            VariantInit(&copy);
            if (value)
                VariantCopy(&copy, value);
            call.optionals.push_back(copy);
        }
        m_calls.push_back(std::move(call));
        return S_OK;
    }
    case -550:  // Refresh
        m_calls.push_back(BrowserCall{dispid, L"", VT_EMPTY, {}, {}});
        return S_OK;
    case 203:  // Document
        if (!(wFlags & DISPATCH_PROPERTYGET) || !pResult)
            return DISP_E_MEMBERNOTFOUND;
        VariantInit(pResult);
        if (m_pDocument) {
            V_VT(pResult) = VT_DISPATCH;
            V_DISPATCH(pResult) = m_pDocument;
            m_pDocument->AddRef();
        }
        return S_OK;
    default:
        return DISP_E_MEMBERNOTFOUND;
    }
}

LRESULT CALLBACK CWebBrowserDouble::ControlWindowProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_NCCREATE)
        SetWindowLongPtrA(hWnd, GWLP_USERDATA,
                          reinterpret_cast<LONG_PTR>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams));
    auto* self = reinterpret_cast<CWebBrowserDouble*>(GetWindowLongPtrA(hWnd, GWLP_USERDATA));
    if (self && message >= WM_KEYFIRST && message <= WM_KEYLAST)
        self->m_windowKeys.push_back(MSG{hWnd, message, wParam, lParam, 0, {0, 0}});
    if (message == WM_GETDLGCODE)
        return DLGC_WANTALLKEYS;
    return DefWindowProcA(hWnd, message, wParam, lParam);
}

CWebBrowserDoubleRegistration::CWebBrowserDoubleRegistration()
{
    if (FAILED(CoRegisterClassObject(CLSID_WebBrowserControl, &g_factory, CLSCTX_INPROC_SERVER, REGCLS_MULTIPLEUSE,
                                     &m_dwRegister)))
        m_dwRegister = 0;
}

CWebBrowserDoubleRegistration::~CWebBrowserDoubleRegistration()
{
    if (m_dwRegister)
        CoRevokeClassObject(m_dwRegister);
    for (CWebBrowserDouble* control : CreatedControls())
        control->Release();
    CreatedControls().clear();
}

const std::vector<CWebBrowserDouble*>& CWebBrowserDoubleRegistration::Controls() const { return CreatedControls(); }

CWebBrowserDouble* CWebBrowserDoubleRegistration::ControlOf(HWND hWnd) const
{
    for (CWebBrowserDouble* control : CreatedControls())
        if (hWnd && control->m_hWnd == hWnd)
            return control;
    return nullptr;
}
