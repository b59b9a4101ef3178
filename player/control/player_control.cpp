#include "player/control/player_control.h"

#include <olectl.h>

#include <algorithm>

#include "framework/com_object.h"
#include "player/control/browser_open.h"
#include "player/control/dc_canvas.h"
#include "player/control/movie_stream.h"
#include "player/control/movie_text.h"
#include "player/control/scale_mode.h"
#include "player/player.h"

namespace {

const char kPlayerWindowClass[] = "TvrlMoviePlayer";

// HIMETRIC per pixel at the customary 96 dots per inch.
LONG PixelsToHimetric(LONG pixels) { return MulDiv(pixels, 2540, 96); }

}  // namespace

CPlayerControl::CPlayerControl() : m_events(this), m_clock(*this) {}

CPlayerControl::~CPlayerControl()
{
    Close(OLECLOSE_NOSAVE);
    if (m_oleAdvise)
        m_oleAdvise->Release();
}

STDMETHODIMP CPlayerControl::QueryInterface(REFIID riid, void** ppv)
{
    return QueryFaces({{IID_IUnknown, static_cast<IShockwaveFlash*>(this)},
                       {IID_IDispatch, static_cast<IShockwaveFlash*>(this)},
                       {IID_IShockwaveFlash, static_cast<IShockwaveFlash*>(this)},
                       {IID_IOleObject, static_cast<IOleObject*>(this)},
                       {IID_IPersist, static_cast<IPersistStorage*>(this)},
                       {IID_IPersistStorage, static_cast<IPersistStorage*>(this)},
                       {IID_IPersistStreamInit, static_cast<IPersistStreamInit*>(this)},
                       {IID_IViewObject, static_cast<IViewObjectEx*>(this)},
                       {IID_IViewObject2, static_cast<IViewObjectEx*>(this)},
                       {IID_IViewObjectEx, static_cast<IViewObjectEx*>(this)},
                       {IID_IOleWindow, static_cast<IOleInPlaceObjectWindowless*>(this)},
                       {IID_IOleInPlaceObject, static_cast<IOleInPlaceObjectWindowless*>(this)},
                       {IID_IOleInPlaceObjectWindowless, static_cast<IOleInPlaceObjectWindowless*>(this)},
                       {IID_IConnectionPointContainer, static_cast<IConnectionPointContainer*>(this)}},
                      riid, ppv);
}

STDMETHODIMP_(ULONG) CPlayerControl::AddRef() { return static_cast<ULONG>(InterlockedIncrement(&m_refs)); }

STDMETHODIMP_(ULONG) CPlayerControl::Release()
{
    const LONG count = InterlockedDecrement(&m_refs);
    if (count == 0)
        delete this;
    return static_cast<ULONG>(count);
}

// ---- Embedding -------------------------------------------------------------------------

STDMETHODIMP CPlayerControl::SetClientSite(IOleClientSite* site)
{
    if (site)
        site->AddRef();
    if (m_site)
        m_site->Release();
    m_site = site;
    return S_OK;
}

STDMETHODIMP CPlayerControl::GetClientSite(IOleClientSite** site)
{
    if (!site)
        return E_POINTER;
    *site = m_site;
    if (m_site)
        m_site->AddRef();
    return S_OK;
}

STDMETHODIMP CPlayerControl::Close(DWORD)
{
    InPlaceDeactivate();
    m_clock.Stop();
    SetClientSite(nullptr);
    if (m_viewAdvise) {
        m_viewAdvise->Release();
        m_viewAdvise = nullptr;
    }
    return S_OK;
}

STDMETHODIMP CPlayerControl::DoVerb(LONG verb, LPMSG, IOleClientSite* site, LONG, HWND parent, LPCRECT position)
{
    switch (verb) {
    case OLEIVERB_HIDE:
        if (m_hWnd)
            ShowWindow(m_hWnd, SW_HIDE);
        return S_OK;
    case OLEIVERB_DISCARDUNDOSTATE:
        return S_OK;
    case OLEIVERB_PRIMARY:
    case OLEIVERB_SHOW:
    case OLEIVERB_OPEN:
    case OLEIVERB_INPLACEACTIVATE:
    case OLEIVERB_UIACTIVATE:
        break;
    default:
        return verb > 0 ? OLEOBJ_S_INVALIDVERB : E_NOTIMPL;
    }
    if (m_activation != Activation::None) {
        if (m_hWnd)
            ShowWindow(m_hWnd, SW_SHOWNA);
        return S_OK;
    }
    IOleClientSite* activeSite = site ? site : m_site;
    if (!activeSite)
        return E_UNEXPECTED;

    // Windowless when the container offers it, as the Flash control does; otherwise in a
    // child window of the container's.
    IOleInPlaceSiteWindowless* windowless = nullptr;
    if (SUCCEEDED(activeSite->QueryInterface(IID_IOleInPlaceSiteWindowless, reinterpret_cast<void**>(&windowless))) &&
        windowless) {
        if (windowless->CanWindowlessActivate() == S_OK) {
            const HRESULT hr = ActivateWindowless(windowless);
            windowless->Release();
            return hr;
        }
        windowless->Release();
    }
    IOleInPlaceSite* inPlace = nullptr;
    if (FAILED(activeSite->QueryInterface(IID_IOleInPlaceSite, reinterpret_cast<void**>(&inPlace))) || !inPlace)
        return E_NOINTERFACE;
    if (position)
        m_rcPos = *position;
    const HRESULT hr = ActivateWindowed(inPlace, parent);
    inPlace->Release();
    return hr;
}

HRESULT CPlayerControl::ActivateWindowless(IOleInPlaceSiteWindowless* site)
{
    if (site->CanInPlaceActivate() != S_OK)
        return E_FAIL;
    BOOL noRedraw = FALSE;
    if (FAILED(site->OnInPlaceActivateEx(&noRedraw, ACTIVATE_WINDOWLESS)))
        return E_FAIL;
    site->AddRef();
    m_windowlessSite = site;
    site->AddRef();
    m_inPlaceSite = site;
    m_activation = Activation::Windowless;
    ReadWindowContext(site);
    ApplyViewport();
    UpdateClock();
    return S_OK;
}

HRESULT CPlayerControl::ActivateWindowed(IOleInPlaceSite* site, HWND parent)
{
    if (site->CanInPlaceActivate() != S_OK)
        return E_FAIL;
    if (FAILED(site->OnInPlaceActivate()))
        return E_FAIL;
    site->AddRef();
    m_inPlaceSite = site;
    m_activation = Activation::Windowed;
    HWND container = nullptr;
    if (FAILED(site->GetWindow(&container)) || !container)
        container = parent;
    ReadWindowContext(site);

    WNDCLASSA cls = {};
    cls.style = CS_DBLCLKS;
    cls.lpfnWndProc = &CPlayerControl::WindowProc;
    cls.hInstance = GetModuleHandleA(nullptr);
    cls.hCursor = LoadCursor(nullptr, IDC_ARROW);
    cls.lpszClassName = kPlayerWindowClass;
    RegisterClassA(&cls);  // fails harmlessly once the class exists
    m_hWnd = CreateWindowExA(0, kPlayerWindowClass, "", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, m_rcPos.left,
                             m_rcPos.top, m_rcPos.right - m_rcPos.left, m_rcPos.bottom - m_rcPos.top, container,
                             nullptr, cls.hInstance, this);
    if (!m_hWnd) {
        InPlaceDeactivate();
        return E_FAIL;
    }
    ApplyViewport();
    UpdateClock();
    return S_OK;
}

void CPlayerControl::ReadWindowContext(IOleInPlaceSite* site)
{
    IOleInPlaceFrame* frame = nullptr;
    IOleInPlaceUIWindow* document = nullptr;
    RECT position = m_rcPos, clip = m_rcPos;
    OLEINPLACEFRAMEINFO info = {sizeof info, FALSE, nullptr, nullptr, 0};
    if (SUCCEEDED(site->GetWindowContext(&frame, &document, &position, &clip, &info)))
        m_rcPos = position;
    if (frame)
        frame->Release();
    if (document)
        document->Release();
}

STDMETHODIMP CPlayerControl::InPlaceDeactivate()
{
    if (m_activation == Activation::None)
        return S_OK;
    m_activation = Activation::None;
    m_clock.Stop();
    if (m_hWnd) {
        HWND window = m_hWnd;
        m_hWnd = nullptr;
        SetWindowLongPtrA(window, GWLP_USERDATA, 0);
        DestroyWindow(window);
    }
    if (m_windowlessSite) {
        m_windowlessSite->OnInPlaceDeactivateEx(TRUE);
        m_windowlessSite->Release();
        m_windowlessSite = nullptr;
    } else if (m_inPlaceSite) {
        m_inPlaceSite->OnInPlaceDeactivate();
    }
    if (m_inPlaceSite) {
        m_inPlaceSite->Release();
        m_inPlaceSite = nullptr;
    }
    return S_OK;
}

STDMETHODIMP CPlayerControl::SetObjectRects(LPCRECT position, LPCRECT)
{
    if (!position)
        return E_POINTER;
    m_rcPos = *position;
    if (m_hWnd)
        MoveWindow(m_hWnd, m_rcPos.left, m_rcPos.top, m_rcPos.right - m_rcPos.left, m_rcPos.bottom - m_rcPos.top,
                   TRUE);
    ApplyViewport();
    return S_OK;
}

STDMETHODIMP CPlayerControl::GetWindow(HWND* window)
{
    if (!window)
        return E_POINTER;
    *window = m_hWnd;
    return m_hWnd ? S_OK : E_FAIL;
}

void CPlayerControl::ApplyViewport()
{
    if (m_player)
        m_player->setViewport(m_rcPos.right - m_rcPos.left, m_rcPos.bottom - m_rcPos.top, ScaleModeFromName(m_scale));
    m_frameStale = true;
}

STDMETHODIMP CPlayerControl::EnumVerbs(IEnumOLEVERB** verbs) { return OleRegEnumVerbs(CLSID_ShockwaveFlash, verbs); }

STDMETHODIMP CPlayerControl::GetUserClassID(CLSID* clsid) { return GetClassID(clsid); }

STDMETHODIMP CPlayerControl::GetUserType(DWORD, LPOLESTR* name)
{
    if (!name)
        return E_POINTER;
    static const wchar_t kName[] = L"Shockwave Flash Object";
    *name = static_cast<LPOLESTR>(CoTaskMemAlloc(sizeof kName));
    if (!*name)
        return E_OUTOFMEMORY;
    memcpy(*name, kName, sizeof kName);
    return S_OK;
}

STDMETHODIMP CPlayerControl::SetExtent(DWORD aspect, SIZEL* size)
{
    if (aspect != DVASPECT_CONTENT)
        return E_NOTIMPL;
    if (!size)
        return E_POINTER;
    m_extent = *size;
    return S_OK;
}

STDMETHODIMP CPlayerControl::GetExtent(DWORD aspect, SIZEL* size)
{
    if (!size)
        return E_POINTER;
    if (aspect != DVASPECT_CONTENT && aspect != DVASPECT_TRANSPARENT)
        return E_NOTIMPL;
    if (m_extent.cx || m_extent.cy) {
        *size = m_extent;
    } else if (m_player) {
        // The stage, from twips.
        const auto& frame = m_player->movie().frameSize;
        size->cx = PixelsToHimetric((frame.xMax - frame.xMin) / 20);
        size->cy = PixelsToHimetric((frame.yMax - frame.yMin) / 20);
    } else {
        size->cx = size->cy = 0;
    }
    return S_OK;
}

STDMETHODIMP CPlayerControl::Advise(IAdviseSink* sink, DWORD* cookie)
{
    if (!m_oleAdvise && FAILED(CreateOleAdviseHolder(&m_oleAdvise)))
        return E_OUTOFMEMORY;
    return m_oleAdvise->Advise(sink, cookie);
}

STDMETHODIMP CPlayerControl::Unadvise(DWORD cookie)
{
    return m_oleAdvise ? m_oleAdvise->Unadvise(cookie) : OLE_E_NOCONNECTION;
}

STDMETHODIMP CPlayerControl::GetMiscStatus(DWORD, DWORD* status)
{
    if (!status)
        return E_POINTER;
    *status = OLEMISC_RECOMPOSEONRESIZE | OLEMISC_CANTLINKINSIDE | OLEMISC_INSIDEOUT | OLEMISC_ACTIVATEWHENVISIBLE |
              OLEMISC_SETCLIENTSITEFIRST;
    return S_OK;
}

// ---- Persistence -----------------------------------------------------------------------

STDMETHODIMP CPlayerControl::GetClassID(CLSID* clsid)
{
    if (!clsid)
        return E_POINTER;
    *clsid = CLSID_ShockwaveFlash;
    return S_OK;
}

// The storage a container creates the control in holds nothing the player needs.
STDMETHODIMP CPlayerControl::InitNew(IStorage*) { return S_OK; }

STDMETHODIMP CPlayerControl::Load(LPSTREAM stream)
{
    std::vector<uint8_t> bytes;
    const HRESULT hr = ReadMovieStream(stream, bytes);
    if (FAILED(hr))
        return hr;
    return LoadMovieBytes(bytes);
}

HRESULT CPlayerControl::LoadMovieBytes(const std::vector<uint8_t>& bytes)
{
    std::string error;
    std::unique_ptr<tvrl::player::Player> player = tvrl::player::Player::load(bytes.data(), bytes.size(), error,
                                                                               &m_movieEvents);
    if (!player) {
        m_movieEvents.warning("the movie cannot be played: " + error);
        m_movieEvents.Take();
        return E_FAIL;
    }
    m_player = std::move(player);
    // The first frame's requests reach the container on the first tick, once it has
    // finished setting the control up, as they would from a movie still loading.
    m_started = false;
    m_frameStale = true;
    ApplyViewport();
    UpdateClock();
    return S_OK;
}

// ---- Playing ---------------------------------------------------------------------------

void CPlayerControl::UpdateClock()
{
    if (m_player && m_activation != Activation::None && m_playing)
        m_clock.Start(m_player->movie().frameRate);
    else
        m_clock.Stop();
}

void CPlayerControl::RunMovie(const std::function<bool()>& step)
{
    if (!m_player)
        return;
    AddRef();  // a handler of the events may let the container release the control
    const bool changed = step();
    if (changed)
        m_frameStale = true;
    DeliverEvents();
    if (changed)
        RequestRedraw();
    Release();
}

void CPlayerControl::OnClockTick(double elapsedMs, int framesDue)
{
    RunMovie([&] {
        bool changed = !m_started;
        m_started = true;
        changed |= m_player->setClock(elapsedMs);
        for (int i = 0; i < framesDue; ++i)
            changed |= m_player->advance();
        return changed;
    });
}

void CPlayerControl::DeliverEvents()
{
    const int version = m_player ? m_player->movie().version : 0;
    for (const MovieEvent& event : m_movieEvents.Take()) {
        if (event.kind == MovieEvent::Kind::FSCommand) {
            BSTR command = MovieTextToBstr(event.first, version);
            BSTR args = MovieTextToBstr(event.second, version);
            VARIANT values[2];
            values[0].vt = VT_BSTR;
            values[0].bstrVal = command;
            values[1].vt = VT_BSTR;
            values[1].bstrVal = args;
            m_events.Fire(DISPID_FLASH_FSCOMMAND, {values[0], values[1]});
            SysFreeString(command);
            SysFreeString(args);
        } else {
            OpenInBrowser(MovieTextToWide(event.first, version));
        }
    }
}

void CPlayerControl::RequestRedraw()
{
    if (m_windowlessSite)
        m_windowlessSite->InvalidateRect(nullptr, FALSE);
    else if (m_hWnd)
        ::InvalidateRect(m_hWnd, nullptr, FALSE);
    if (m_viewAdvise)
        m_viewAdvise->OnViewChange(DVASPECT_CONTENT, -1);
}

// ---- Drawing ---------------------------------------------------------------------------

bool CPlayerControl::RenderFrame(int width, int height)
{
    if (!m_player || width <= 0 || height <= 0 || width > 16384 || height > 16384)
        return false;
    if (!m_frameStale && width == m_frameWidth && height == m_frameHeight)
        return true;
    m_frame.assign(static_cast<size_t>(width) * static_cast<size_t>(height), 0);
    m_frameWidth = width;
    m_frameHeight = height;
    tvrl::player::RenderTarget target;
    target.pixels = m_frame.data();
    target.width = width;
    target.height = height;
    target.stride = width;
    tvrl::player::RenderOptions options;
    options.scaleMode = ScaleModeFromName(m_scale);
    options.paintBackground = false;  // the background is the canvas's, below the frame
    m_player->render(target, options);
    m_frameStale = false;
    return true;
}

STDMETHODIMP CPlayerControl::Draw(DWORD aspect, LONG, void*, DVTARGETDEVICE*, HDC, HDC hdcDraw, LPCRECTL bounds,
                                  LPCRECTL, BOOL(STDMETHODCALLTYPE*)(ULONG_PTR), ULONG_PTR)
{
    if (aspect != DVASPECT_CONTENT && aspect != DVASPECT_TRANSPARENT)
        return DV_E_DVASPECT;
    if (!hdcDraw)
        return E_INVALIDARG;
    RECT area;
    if (bounds)
        area = {bounds->left, bounds->top, bounds->right, bounds->bottom};
    else
        area = m_rcPos;
    if (!RenderFrame(area.right - area.left, area.bottom - area.top))
        return m_player ? E_INVALIDARG : S_OK;
    // A transparent control leaves the container's pixels under the movie; an opaque one
    // paints the background colour first.
    std::optional<COLORREF> background;
    if (aspect == DVASPECT_CONTENT && !m_transparent) {
        if (m_backgroundColor >= 0)
            background = RGB((m_backgroundColor >> 16) & 0xFF, (m_backgroundColor >> 8) & 0xFF, m_backgroundColor & 0xFF);
        else if (m_player->movie().background) {
            const auto& c = *m_player->movie().background;
            background = RGB(c.r, c.g, c.b);
        } else {
            background = RGB(255, 255, 255);
        }
    }
    return DrawFrameOnDC(hdcDraw, area, {m_frame.data(), m_frameWidth, m_frameHeight}, background) ? S_OK : E_FAIL;
}

STDMETHODIMP CPlayerControl::SetAdvise(DWORD, DWORD, IAdviseSink* sink)
{
    if (sink)
        sink->AddRef();
    if (m_viewAdvise)
        m_viewAdvise->Release();
    m_viewAdvise = sink;
    return S_OK;
}

STDMETHODIMP CPlayerControl::GetAdvise(DWORD* aspects, DWORD* flags, IAdviseSink** sink)
{
    if (aspects)
        *aspects = DVASPECT_CONTENT;
    if (flags)
        *flags = 0;
    if (sink) {
        *sink = m_viewAdvise;
        if (m_viewAdvise)
            m_viewAdvise->AddRef();
    }
    return S_OK;
}

STDMETHODIMP CPlayerControl::GetExtent(DWORD aspect, LONG, DVTARGETDEVICE*, LPSIZEL size)
{
    return GetExtent(aspect, size);
}

STDMETHODIMP CPlayerControl::GetRect(DWORD aspect, LPRECTL rect)
{
    if (!rect)
        return E_POINTER;
    if (aspect != DVASPECT_CONTENT && aspect != DVASPECT_TRANSPARENT)
        return DV_E_DVASPECT;
    *rect = {m_rcPos.left, m_rcPos.top, m_rcPos.right, m_rcPos.bottom};
    return S_OK;
}

STDMETHODIMP CPlayerControl::GetViewStatus(DWORD* status)
{
    if (!status)
        return E_POINTER;
    *status = m_transparent ? VIEWSTATUS_DVASPECTTRANSPARENT : (VIEWSTATUS_OPAQUE | VIEWSTATUS_SOLIDBKGND);
    return S_OK;
}

STDMETHODIMP CPlayerControl::QueryHitPoint(DWORD aspect, LPCRECT bounds, POINT location, LONG, DWORD* result)
{
    if (!bounds || !result)
        return E_POINTER;
    if (aspect != DVASPECT_CONTENT && aspect != DVASPECT_TRANSPARENT)
        return DV_E_DVASPECT;
    *result = PtInRect(bounds, location) ? HITRESULT_HIT : HITRESULT_OUTSIDE;
    return S_OK;
}

STDMETHODIMP CPlayerControl::QueryHitRect(DWORD aspect, LPCRECT bounds, LPCRECT location, LONG, DWORD* result)
{
    if (!bounds || !location || !result)
        return E_POINTER;
    if (aspect != DVASPECT_CONTENT && aspect != DVASPECT_TRANSPARENT)
        return DV_E_DVASPECT;
    RECT overlap;
    *result = IntersectRect(&overlap, bounds, location) ? HITRESULT_HIT : HITRESULT_OUTSIDE;
    return S_OK;
}

// ---- Events ----------------------------------------------------------------------------

STDMETHODIMP CPlayerControl::FindConnectionPoint(REFIID riid, IConnectionPoint** point)
{
    if (!point)
        return E_POINTER;
    *point = nullptr;
    if (!IsEqualIID(riid, DIID__IShockwaveFlashEvents))
        return CONNECT_E_NOCONNECTION;
    m_events.AddRef();
    *point = &m_events;
    return S_OK;
}

// ---- Input -----------------------------------------------------------------------------

STDMETHODIMP CPlayerControl::OnWindowMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result)
{
    LRESULT answer = 0;
    const bool handled = HandleInput(message, wParam, lParam, answer);
    if (result)
        *result = answer;
    return handled ? S_OK : S_FALSE;
}

bool CPlayerControl::HandleInput(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result)
{
    if (!m_player)
        return false;
    // Windowless, the coordinates are the container window's; windowed, the control's own.
    const double offsetX = m_hWnd ? 0 : m_rcPos.left;
    const double offsetY = m_hWnd ? 0 : m_rcPos.top;
    const double x = static_cast<short>(LOWORD(lParam)) - offsetX;
    const double y = static_cast<short>(HIWORD(lParam)) - offsetY;
    result = 0;
    switch (message) {
    case WM_MOUSEMOVE:
        RunMovie([&] { return m_player->mouseMove(x, y); });
        ShowCursor();
        return true;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        m_mouseDown = true;
        if (m_windowlessSite)
            m_windowlessSite->SetCapture(TRUE);
        else if (m_hWnd)
            SetCapture(m_hWnd);
        RunMovie([&] { return m_player->mouseDown(x, y); });
        return true;
    case WM_LBUTTONUP:
        if (m_mouseDown) {
            m_mouseDown = false;
            if (m_windowlessSite)
                m_windowlessSite->SetCapture(FALSE);
            else if (m_hWnd)
                ReleaseCapture();
        }
        RunMovie([&] { return m_player->mouseUp(x, y); });
        return true;
    case WM_MOUSELEAVE:
        RunMovie([&] { return m_player->mouseLeave(); });
        return true;
    case WM_SETCURSOR:
        ShowCursor();
        result = TRUE;
        return true;
    case WM_KEYDOWN:
        RunMovie([&] { return m_player->keyDown(static_cast<int>(wParam)); });
        return true;
    case WM_KEYUP:
        RunMovie([&] { return m_player->keyUp(static_cast<int>(wParam)); });
        return true;
    default:
        return false;
    }
}

void CPlayerControl::ShowCursor() const
{
    const bool hand = m_player && m_player->cursor() == tvrl::player::Cursor::Hand;
    SetCursor(LoadCursor(nullptr, hand ? IDC_HAND : IDC_ARROW));
}

// ---- The window of a windowed activation -------------------------------------------------

void CPlayerControl::PaintWindow()
{
    PAINTSTRUCT paint;
    HDC hdc = BeginPaint(m_hWnd, &paint);
    RECT client;
    GetClientRect(m_hWnd, &client);
    RECTL bounds = {client.left, client.top, client.right, client.bottom};
    if (m_player)
        Draw(DVASPECT_CONTENT, -1, nullptr, nullptr, nullptr, hdc, &bounds, nullptr, nullptr, 0);
    else
        FillRect(hdc, &client, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    EndPaint(m_hWnd, &paint);
}

LRESULT CALLBACK CPlayerControl::WindowProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_NCCREATE) {
        auto* create = reinterpret_cast<CREATESTRUCTA*>(lParam);
        SetWindowLongPtrA(hWnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
        return DefWindowProcA(hWnd, message, wParam, lParam);
    }
    auto* control = reinterpret_cast<CPlayerControl*>(GetWindowLongPtrA(hWnd, GWLP_USERDATA));
    if (!control || control->m_hWnd != hWnd)
        return DefWindowProcA(hWnd, message, wParam, lParam);
    switch (message) {
    case WM_PAINT:
        control->PaintWindow();
        return 0;
    case WM_ERASEBKGND:
        return 1;  // the paint covers every pixel
    case WM_SETCURSOR:
        if (LOWORD(lParam) == HTCLIENT) {
            control->ShowCursor();
            return TRUE;
        }
        break;
    default: {
        LRESULT result = 0;
        if (control->HandleInput(message, wParam, lParam, result))
            return result;
    }
    }
    return DefWindowProcA(hWnd, message, wParam, lParam);
}
