#include "framework/ole_control_site.h"

#include "framework/com_object.h"
#include "framework/dialog.h"

namespace {

template <class T>
void ReleaseInterface(T*& pointer)
{
    if (pointer) {
        pointer->Release();
        pointer = nullptr;
    }
}

}  // namespace

COleControlSite::COleControlSite(CDialog* pDialog, UINT nID) : m_pDialog(pDialog), m_nID(nID) {}

COleControlSite::~COleControlSite() { Close(); }

bool COleControlSite::CreateControl(REFCLSID clsid, DWORD style, const RECT& rc)
{
    m_rect = rc;
    if (FAILED(CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER | CLSCTX_LOCAL_SERVER, IID_IOleObject,
                                reinterpret_cast<void**>(&m_pObject))))
        return false;

    // Some controls need their site before their state; the others get it after.
    DWORD misc = 0;
    m_pObject->GetMiscStatus(DVASPECT_CONTENT, &misc);
    if (misc & OLEMISC_SETCLIENTSITEFIRST)
        m_pObject->SetClientSite(this);
    // A fresh state: the template carries none, so a browser starts on an empty location.
    IPersistStreamInit* pPersist = nullptr;
    if (SUCCEEDED(m_pObject->QueryInterface(IID_IPersistStreamInit, reinterpret_cast<void**>(&pPersist)))) {
        pPersist->InitNew();
        pPersist->Release();
    }
    if (!(misc & OLEMISC_SETCLIENTSITEFIRST))
        m_pObject->SetClientSite(this);
    m_pObject->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(&m_pDispatch));

    HWND hDialog = m_pDialog->m_hWnd;
    if (FAILED(m_pObject->DoVerb(OLEIVERB_INPLACEACTIVATE, nullptr, this, 0, hDialog, &m_rect)))
        return false;
    if (FAILED(m_pObject->QueryInterface(IID_IOleInPlaceObject, reinterpret_cast<void**>(&m_pInPlaceObject))) ||
        FAILED(m_pInPlaceObject->GetWindow(&m_hWndCtrl)) || !m_hWndCtrl)
        return false;

    // The dialog finds its controls by id, and tabs to them by style.
    SetWindowLongPtrA(m_hWndCtrl, GWLP_ID, static_cast<LONG_PTR>(m_nID));
    if (style & WS_TABSTOP)
        SetWindowLongPtrA(m_hWndCtrl, GWL_STYLE, GetWindowLongPtrA(m_hWndCtrl, GWL_STYLE) | WS_TABSTOP);
    if (style & WS_VISIBLE)
        ShowWindow(m_hWndCtrl, SW_SHOWNA);
    ConnectEvents();
    return true;
}

void COleControlSite::ConnectEvents()
{
    IProvideClassInfo2* pClassInfo = nullptr;
    if (FAILED(m_pObject->QueryInterface(IID_IProvideClassInfo2, reinterpret_cast<void**>(&pClassInfo))))
        return;
    IID iid;
    const HRESULT found = pClassInfo->GetGUID(GUIDKIND_DEFAULT_SOURCE_DISP_IID, &iid);
    pClassInfo->Release();
    if (FAILED(found))
        return;

    IConnectionPointContainer* pContainer = nullptr;
    if (FAILED(m_pObject->QueryInterface(IID_IConnectionPointContainer, reinterpret_cast<void**>(&pContainer))))
        return;
    if (SUCCEEDED(pContainer->FindConnectionPoint(iid, &m_pConnectionPoint))) {
        m_eventSink.m_iid = iid;
        if (FAILED(m_pConnectionPoint->Advise(&m_eventSink, &m_dwCookie)))
            ReleaseInterface(m_pConnectionPoint);
    }
    pContainer->Release();
}

void COleControlSite::Close()
{
    // Events stop first, so none arrives half-way through the teardown; then the control
    // leaves its window and lets go of this site before the last references go.
    if (m_pConnectionPoint) {
        m_pConnectionPoint->Unadvise(m_dwCookie);
        ReleaseInterface(m_pConnectionPoint);
    }
    ReleaseInterface(m_pActiveObject);
    if (m_pInPlaceObject) {
        m_pInPlaceObject->InPlaceDeactivate();
        ReleaseInterface(m_pInPlaceObject);
    }
    if (m_pObject) {
        m_pObject->Close(OLECLOSE_NOSAVE);
        m_pObject->SetClientSite(nullptr);
    }
    ReleaseInterface(m_pDispatch);
    ReleaseInterface(m_pObject);
    m_hWndCtrl = nullptr;
}

BOOL COleControlSite::TranslateAccelerator(MSG* pMsg)
{
    return m_pActiveObject && m_pActiveObject->TranslateAccelerator(pMsg) == S_OK;
}

STDMETHODIMP COleControlSite::QueryInterface(REFIID riid, void** ppv)
{
    return QueryFaces({{IID_IUnknown, static_cast<IOleClientSite*>(this)},
                       {IID_IOleClientSite, static_cast<IOleClientSite*>(this)},
                       {IID_IOleWindow, static_cast<IOleInPlaceSite*>(this)},
                       {IID_IOleInPlaceSite, static_cast<IOleInPlaceSite*>(this)},
                       {IID_IOleInPlaceUIWindow, static_cast<IOleInPlaceFrame*>(this)},
                       {IID_IOleInPlaceFrame, static_cast<IOleInPlaceFrame*>(this)}},
                      riid, ppv);
}

STDMETHODIMP COleControlSite::GetMoniker(DWORD, DWORD, IMoniker** ppmk)
{
    if (ppmk)
        *ppmk = nullptr;
    return E_NOTIMPL;
}

STDMETHODIMP COleControlSite::GetContainer(IOleContainer** ppContainer)
{
    if (ppContainer)
        *ppContainer = nullptr;
    return E_NOINTERFACE;
}

STDMETHODIMP COleControlSite::GetWindow(HWND* phwnd)
{
    if (!phwnd)
        return E_POINTER;
    *phwnd = m_pDialog->m_hWnd;
    return S_OK;
}

STDMETHODIMP COleControlSite::GetWindowContext(IOleInPlaceFrame** ppFrame, IOleInPlaceUIWindow** ppDoc,
                                               LPRECT lprcPosRect, LPRECT lprcClipRect,
                                               LPOLEINPLACEFRAMEINFO lpFrameInfo)
{
    if (!ppFrame || !ppDoc || !lprcPosRect || !lprcClipRect || !lpFrameInfo)
        return E_POINTER;
    *ppFrame = this;
    AddRef();
    *ppDoc = nullptr;
    *lprcPosRect = m_rect;
    *lprcClipRect = m_rect;
    lpFrameInfo->fMDIApp = FALSE;
    lpFrameInfo->hwndFrame = m_pDialog->m_hWnd;
    lpFrameInfo->haccel = nullptr;
    lpFrameInfo->cAccelEntries = 0;
    return S_OK;
}

STDMETHODIMP COleControlSite::OnPosRectChange(LPCRECT lprcPosRect)
{
    if (!lprcPosRect)
        return E_POINTER;
    m_rect = *lprcPosRect;
    if (m_pInPlaceObject)
        m_pInPlaceObject->SetObjectRects(&m_rect, &m_rect);
    return S_OK;
}

STDMETHODIMP COleControlSite::SetActiveObject(IOleInPlaceActiveObject* pActiveObject, LPCOLESTR)
{
    if (pActiveObject)
        pActiveObject->AddRef();
    ReleaseInterface(m_pActiveObject);
    m_pActiveObject = pActiveObject;
    return S_OK;
}

STDMETHODIMP COleControlSite::CEventSink::QueryInterface(REFIID riid, void** ppv)
{
    if (ppv && !IsEqualIID(m_iid, IID_NULL) && IsEqualIID(riid, m_iid)) {
        *ppv = static_cast<IDispatch*>(this);
        return S_OK;
    }
    return QueryFaces({{IID_IUnknown, this}, {IID_IDispatch, this}}, riid, ppv);
}

STDMETHODIMP COleControlSite::CEventSink::GetTypeInfoCount(UINT* pctinfo)
{
    if (!pctinfo)
        return E_POINTER;
    *pctinfo = 0;
    return S_OK;
}

STDMETHODIMP COleControlSite::CEventSink::Invoke(DISPID dispid, REFIID, LCID, WORD, DISPPARAMS* pParams, VARIANT*,
                                                 EXCEPINFO*, UINT*)
{
    return m_pSite->m_pDialog->OnControlEvent(m_pSite->m_nID, dispid, CDispatchArgs(pParams));
}
