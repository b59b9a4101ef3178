#include "support/flash_control_double.h"

#include <olectl.h>

namespace {

std::string Narrow(BSTR text)
{
    std::string narrow;
    for (const wchar_t* p = text; p && *p; ++p)
        narrow += static_cast<char>(*p < 128 ? *p : '?');
    return narrow;
}

// Hands out the one double to whoever creates the Flash class.
class CDoubleFactory final : public IClassFactory {
public:
    explicit CDoubleFactory(IUnknown* object) : m_object(object) {}
    virtual ~CDoubleFactory() = default;

    STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override
    {
        if (riid == IID_IUnknown || riid == IID_IClassFactory) {
            *ppv = static_cast<IClassFactory*>(this);
            AddRef();
            return S_OK;
        }
        *ppv = nullptr;
        return E_NOINTERFACE;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return ++m_refs; }
    STDMETHODIMP_(ULONG) Release() override
    {
        const LONG refs = --m_refs;
        if (refs == 0)
            delete this;
        return refs;
    }
    STDMETHODIMP CreateInstance(IUnknown* outer, REFIID riid, void** ppv) override
    {
        if (outer)
            return CLASS_E_NOAGGREGATION;
        return m_object->QueryInterface(riid, ppv);
    }
    STDMETHODIMP LockServer(BOOL) override { return S_OK; }

private:
    IUnknown* m_object;
    LONG m_refs = 1;
};

}  // namespace

// The control's event connection point: one sink at a time.
class CFlashEventsPoint final : public IConnectionPoint {
public:
    explicit CFlashEventsPoint(CFlashControlDouble* owner) : m_owner(owner) {}
    virtual ~CFlashEventsPoint()
    {
        if (m_sink)
            m_sink->Release();
    }

    IDispatch* Sink() const { return m_sink; }

    STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override
    {
        if (riid == IID_IUnknown || riid == IID_IConnectionPoint) {
            *ppv = static_cast<IConnectionPoint*>(this);
            AddRef();
            return S_OK;
        }
        *ppv = nullptr;
        return E_NOINTERFACE;
    }
    // Owned by the double: the count is only looked at.
    STDMETHODIMP_(ULONG) AddRef() override { return ++m_refs; }
    STDMETHODIMP_(ULONG) Release() override { return --m_refs; }

    STDMETHODIMP GetConnectionInterface(IID* iid) override
    {
        *iid = DIID__IShockwaveFlashEvents;
        return S_OK;
    }
    STDMETHODIMP GetConnectionPointContainer(IConnectionPointContainer** container) override
    {
        *container = static_cast<IConnectionPointContainer*>(m_owner);
        m_owner->AddRef();
        return S_OK;
    }
    STDMETHODIMP Advise(IUnknown* sink, DWORD* cookie) override
    {
        m_owner->calls.push_back("Advise");
        // The real control asks the sink for the event interface, not for IDispatch.
        if (m_sink || FAILED(sink->QueryInterface(DIID__IShockwaveFlashEvents, reinterpret_cast<void**>(&m_sink))))
            return CONNECT_E_CANNOTCONNECT;
        *cookie = 77;
        return S_OK;
    }
    STDMETHODIMP Unadvise(DWORD cookie) override
    {
        m_owner->calls.push_back("Unadvise " + std::to_string(cookie));
        if (cookie != 77 || !m_sink)
            return CONNECT_E_NOCONNECTION;
        m_sink->Release();
        m_sink = nullptr;
        return S_OK;
    }
    STDMETHODIMP EnumConnections(IEnumConnections**) override { return E_NOTIMPL; }

    LONG m_refs = 0;

private:
    CFlashControlDouble* m_owner;
    IDispatch* m_sink = nullptr;
};

CFlashControlDouble::CFlashControlDouble(const FlashDoubleOptions& options)
    : m_options(options), m_point(new CFlashEventsPoint(this))
{
}

CFlashControlDouble::~CFlashControlDouble()
{
    if (m_registration)
        CoRevokeClassObject(m_registration);
    if (m_factory)
        m_factory->Release();
    if (m_site)
        m_site->Release();
    delete m_point;
}

bool CFlashControlDouble::Register()
{
    m_factory = new CDoubleFactory(static_cast<IOleObject*>(this));
    return SUCCEEDED(CoRegisterClassObject(CLSID_ShockwaveFlash, m_factory, CLSCTX_INPROC_SERVER, REGCLS_MULTIPLEUSE,
                                           &m_registration));
}

bool CFlashControlDouble::HasSink() const { return m_point->Sink() != nullptr; }

HRESULT CFlashControlDouble::Fire(DISPID dispid, const std::vector<VARIANT>& args)
{
    if (!m_point->Sink())
        return E_FAIL;
    std::vector<VARIANT> reversed(args.rbegin(), args.rend());
    DISPPARAMS params = {reversed.empty() ? nullptr : reversed.data(), nullptr, static_cast<UINT>(reversed.size()), 0};
    return m_point->Sink()->Invoke(dispid, IID_NULL, 0, DISPATCH_METHOD, &params, nullptr, nullptr, nullptr);
}

HRESULT CFlashControlDouble::RequestRedraw()
{
    IOleInPlaceSiteWindowless* site = nullptr;
    if (!m_site || FAILED(m_site->QueryInterface(IID_IOleInPlaceSiteWindowless, reinterpret_cast<void**>(&site))))
        return E_FAIL;
    const HRESULT hr = site->InvalidateRect(nullptr, FALSE);
    site->Release();
    return hr;
}

STDMETHODIMP CFlashControlDouble::QueryInterface(REFIID riid, void** ppv)
{
    void* face = nullptr;
    if (riid == IID_IUnknown || riid == IID_IOleObject)
        face = static_cast<IOleObject*>(this);
    else if ((riid == IID_IShockwaveFlash || riid == IID_IDispatch) && m_options.shockwaveFlash)
        face = static_cast<IShockwaveFlash*>(this);
    else if (riid == IID_IPersistStorage)
        face = static_cast<IPersistStorage*>(this);
    else if (riid == IID_IPersistStreamInit)
        face = static_cast<IPersistStreamInit*>(this);
    else if ((riid == IID_IViewObject || riid == IID_IViewObject2) && m_options.viewObject)
        face = static_cast<IViewObjectEx*>(this);
    else if (riid == IID_IViewObjectEx && m_options.viewObject && m_options.viewObjectEx)
        face = static_cast<IViewObjectEx*>(this);
    else if (riid == IID_IOleInPlaceObject || riid == IID_IOleWindow)
        face = static_cast<IOleInPlaceObjectWindowless*>(this);
    else if (riid == IID_IOleInPlaceObjectWindowless && m_options.windowless)
        face = static_cast<IOleInPlaceObjectWindowless*>(this);
    else if (riid == IID_IConnectionPointContainer && m_options.connectionPoints)
        face = static_cast<IConnectionPointContainer*>(this);
    *ppv = face;
    if (!face)
        return E_NOINTERFACE;
    AddRef();
    return S_OK;
}

// The double belongs to its test: counted, never freed by a Release. When the last outside
// reference goes it lets go of its site, as a real control's final release does.
STDMETHODIMP_(ULONG) CFlashControlDouble::AddRef() { return ++m_refs; }
STDMETHODIMP_(ULONG) CFlashControlDouble::Release()
{
    const LONG refs = --m_refs;
    if (refs == 1 && m_site) {
        IOleClientSite* site = m_site;
        m_site = nullptr;
        site->Release();
    }
    return refs;
}

STDMETHODIMP CFlashControlDouble::put_WMode(BSTR value)
{
    Record("put_WMode " + Narrow(value));
    return S_OK;
}

STDMETHODIMP CFlashControlDouble::put_Scale(BSTR value)
{
    Record("put_Scale " + Narrow(value));
    return m_options.scaleResult;
}

STDMETHODIMP CFlashControlDouble::put_BackgroundColor(long value)
{
    Record("put_BackgroundColor " + std::to_string(value));
    return S_OK;
}

STDMETHODIMP CFlashControlDouble::put_EmbedMovie(VARIANT_BOOL value)
{
    Record("put_EmbedMovie " + std::to_string(value));
    return S_OK;
}

STDMETHODIMP CFlashControlDouble::Play()
{
    Record("Play");
    return m_options.playResult;
}

STDMETHODIMP CFlashControlDouble::StopPlay()
{
    Record("StopPlay");
    return m_options.playResult;
}

STDMETHODIMP CFlashControlDouble::SetClientSite(IOleClientSite* site)
{
    Record("SetClientSite");
    if (FAILED(m_options.setClientSiteResult))
        return m_options.setClientSiteResult;
    if (site)
        site->AddRef();
    if (m_site)
        m_site->Release();
    m_site = site;
    return S_OK;
}

STDMETHODIMP CFlashControlDouble::GetClientSite(IOleClientSite** site)
{
    *site = m_site;
    if (m_site)
        m_site->AddRef();
    return S_OK;
}

STDMETHODIMP CFlashControlDouble::Close(DWORD option)
{
    // A closed control lets go of its site, as real ones do.
    Record("Close " + std::to_string(option));
    if (m_site) {
        m_site->Release();
        m_site = nullptr;
    }
    return S_OK;
}

STDMETHODIMP CFlashControlDouble::DoVerb(LONG verb, LPMSG, IOleClientSite* site, LONG, HWND, LPCRECT)
{
    Record("DoVerb " + std::to_string(verb));
    if (FAILED(m_options.doVerbResult))
        return m_options.doVerbResult;
    if (!site)
        return E_INVALIDARG;

    // Activates in place through the site, windowless when both sides can.
    IOleInPlaceSiteWindowless* windowless = nullptr;
    if (m_options.windowless &&
        SUCCEEDED(site->QueryInterface(IID_IOleInPlaceSiteWindowless, reinterpret_cast<void**>(&windowless)))) {
        if (windowless->CanWindowlessActivate() == S_OK) {
            BOOL noRedraw = TRUE;
            windowless->OnInPlaceActivateEx(&noRedraw, ACTIVATE_WINDOWLESS);
        }
        IOleInPlaceFrame* frame = nullptr;
        IOleInPlaceUIWindow* document = nullptr;
        RECT clip;
        OLEINPLACEFRAMEINFO info = {sizeof info, FALSE, nullptr, nullptr, 0};
        windowless->GetWindowContext(&frame, &document, &activationRect, &clip, &info);
        windowless->Release();
        return S_OK;
    }
    IOleInPlaceSite* inPlace = nullptr;
    if (FAILED(site->QueryInterface(IID_IOleInPlaceSite, reinterpret_cast<void**>(&inPlace))))
        return E_NOINTERFACE;
    inPlace->OnInPlaceActivate();
    IOleInPlaceFrame* frame = nullptr;
    IOleInPlaceUIWindow* document = nullptr;
    RECT clip;
    OLEINPLACEFRAMEINFO info = {sizeof info, FALSE, nullptr, nullptr, 0};
    inPlace->GetWindowContext(&frame, &document, &activationRect, &clip, &info);
    inPlace->Release();
    return S_OK;
}

STDMETHODIMP CFlashControlDouble::GetUserClassID(CLSID* clsid)
{
    *clsid = CLSID_ShockwaveFlash;
    return S_OK;
}

STDMETHODIMP CFlashControlDouble::Advise(IAdviseSink*, DWORD* cookie)
{
    *cookie = 1;
    return S_OK;
}

STDMETHODIMP CFlashControlDouble::GetMiscStatus(DWORD, DWORD* status)
{
    *status = OLEMISC_ACTIVATEWHENVISIBLE | OLEMISC_SETCLIENTSITEFIRST;
    return S_OK;
}

STDMETHODIMP CFlashControlDouble::GetClassID(CLSID* clsid)
{
    *clsid = CLSID_ShockwaveFlash;
    return S_OK;
}

STDMETHODIMP CFlashControlDouble::InitNew(IStorage*)
{
    // The site's storage stores nothing; a control must not need it.
    Record("InitNew");
    return S_OK;
}

STDMETHODIMP CFlashControlDouble::Load(LPSTREAM stream)
{
    Record("Load");
    LARGE_INTEGER zero = {};
    ULARGE_INTEGER position = {};
    stream->Seek(zero, STREAM_SEEK_CUR, &position);
    loadedStreamPosition = position.QuadPart;
    loadedStream.clear();
    char buffer[4096];
    ULONG read = 0;
    while (SUCCEEDED(stream->Read(buffer, sizeof buffer, &read)) && read > 0)
        loadedStream.append(buffer, read);
    return S_OK;
}

STDMETHODIMP CFlashControlDouble::Draw(DWORD aspect, LONG, void*, DVTARGETDEVICE*, HDC, HDC hdcDraw, LPCRECTL bounds,
                                       LPCRECTL, BOOL(STDMETHODCALLTYPE*)(ULONG_PTR), ULONG_PTR)
{
    Record("Draw " + std::to_string(aspect));
    if (!hdcDraw || !bounds)
        return E_INVALIDARG;
    if (m_options.fullFrame) {
        // A frame that covers the whole stage, as a login screen's background does.
        TRIVERTEX corners[2] = {{bounds->left, bounds->top, 0x2000, 0x4000, 0x8000, 0},
                                {bounds->right, bounds->bottom, 0xF000, 0xC000, 0x3000, 0}};
        GRADIENT_RECT rect = {0, 1};
        GradientFill(hdcDraw, corners, 2, &rect, 1, GRADIENT_FILL_RECT_H);
    }
    // An opaque block at the top left corner: blue 30, green 60, red 200.
    RECT block = {bounds->left, bounds->top, bounds->left + 10, bounds->top + 10};
    HBRUSH brush = CreateSolidBrush(RGB(200, 60, 30));
    FillRect(hdcDraw, &block, brush);
    DeleteObject(brush);
    // White at half opacity at (20, 0): halfway between what is there and white.
    const COLORREF under = GetPixel(hdcDraw, bounds->left + 20, bounds->top);
    SetPixel(hdcDraw, bounds->left + 20, bounds->top,
             RGB((GetRValue(under) + 256) / 2, (GetGValue(under) + 256) / 2, (GetBValue(under) + 256) / 2));
    return S_OK;
}

STDMETHODIMP CFlashControlDouble::SetObjectRects(LPCRECT position, LPCRECT)
{
    Record("SetObjectRects " + std::to_string(position->right - position->left) + "x" +
           std::to_string(position->bottom - position->top));
    return S_OK;
}

STDMETHODIMP CFlashControlDouble::OnWindowMessage(UINT message, WPARAM, LPARAM, LRESULT* result)
{
    forwarded.push_back(message);
    *result = m_options.inputResult;
    return S_OK;
}

STDMETHODIMP CFlashControlDouble::FindConnectionPoint(REFIID riid, IConnectionPoint** point)
{
    Record("FindConnectionPoint");
    if (riid != DIID__IShockwaveFlashEvents) {
        *point = nullptr;
        return CONNECT_E_NOCONNECTION;
    }
    *point = m_point;
    m_point->AddRef();
    return S_OK;
}
