#pragma once
// The container of one windowless ActiveX control, implemented on the host object itself:
// the object is the control's client site, its windowless in-place site, its in-place
// frame and the (empty) storage it is created in. The faces share one reference count
// that never frees the object: the host window object's own lifetime governs.
//
// In layered mode (the host window has WS_EX_LAYERED and the control accepts windowless
// activation) every redraw the control asks for renders the whole window off-screen and
// hands it to the window manager with per-pixel alpha.
#include <windows.h>
#include <ocidl.h>
#include <ole2.h>

#include <cstring>

#include "flashhost/alpha_recovery.h"

template <class T>
class TOleBaseDlg : public IOleClientSite, public IOleInPlaceSiteWindowless, public IOleInPlaceFrame, public IStorage {
public:
    TOleBaseDlg() = default;
    TOleBaseDlg(const TOleBaseDlg&) = delete;
    TOleBaseDlg& operator=(const TOleBaseDlg&) = delete;

    // IUnknown, shared by every face.
    STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override
    {
        void* face = nullptr;
        if (riid == IID_IUnknown)
            face = static_cast<IOleClientSite*>(this);
        else if (riid == IID_IOleInPlaceSite || riid == IID_IOleInPlaceSiteEx || riid == IID_IOleInPlaceSiteWindowless)
            face = static_cast<IOleInPlaceSiteWindowless*>(this);
        else if (riid == IID_IOleInPlaceFrame)
            face = static_cast<IOleInPlaceFrame*>(this);
        else if (riid == IID_IStorage)
            face = static_cast<IStorage*>(this);
        if (ppv)
            *ppv = face;
        if (!face)
            return E_NOINTERFACE;
        ++m_lRefCount;
        return S_OK;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return static_cast<ULONG>(++m_lRefCount); }
    STDMETHODIMP_(ULONG) Release() override { return static_cast<ULONG>(--m_lRefCount); }

    // IOleClientSite
    STDMETHODIMP SaveObject() override { return E_NOTIMPL; }
    STDMETHODIMP GetMoniker(DWORD, DWORD, IMoniker**) override { return E_NOTIMPL; }
    STDMETHODIMP GetContainer(IOleContainer** ppContainer) override
    {
        if (ppContainer)
            *ppContainer = nullptr;
        return E_NOINTERFACE;
    }
    STDMETHODIMP ShowObject() override { return S_OK; }
    STDMETHODIMP OnShowWindow(BOOL) override { return E_NOTIMPL; }
    STDMETHODIMP RequestNewObjectLayout() override { return E_NOTIMPL; }

    virtual ~TOleBaseDlg()
    {
        // The event connection goes first, then the control is closed while its other
        // interfaces are still held, and the control's primary interface goes last.
        if (m_pControl) {
            if (m_pConnectionPoint) {
                if (m_dwEventCookie)
                    m_pConnectionPoint->Unadvise(m_dwEventCookie);
                m_pConnectionPoint->Release();
            }
            if (m_pConnectionPointContainer)
                m_pConnectionPointContainer->Release();
            if (m_pOleObject)
                m_pOleObject->Close(OLECLOSE_NOSAVE);
            ReleaseAll(m_pViewObjectEx, m_pViewObject, m_pInPlaceObjectWindowless, m_pInPlaceObject, m_pOleObject);
            m_pControl->Release();
        } else {
            // Creation may have stopped before the primary interface: what it got is released.
            ReleaseAll(m_pConnectionPoint, m_pConnectionPointContainer, m_pViewObjectEx, m_pViewObject,
                       m_pInPlaceObjectWindowless, m_pInPlaceObject, m_pOleObject);
        }
        DeleteSurfaces();
    }

    // The same routing as the host's pre-translation, for a site window whose procedure is
    // its own: it keeps a drag state of its own and answers like a window procedure.
    virtual LRESULT SiteWindowProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam)
    {
        switch (message) {
        case WM_CREATE:
            SetWindowLongPtrA(hWnd, GWLP_USERDATA,
                              reinterpret_cast<LONG_PTR>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams));
            return 0;
        case WM_DESTROY:
            PostQuitMessage(0);
            break;
        case WM_SIZE:
            ResizeControl();
            return 0;
        case WM_PAINT:
            if (!m_bLayered) {
                PaintWindowed();
                return 0;
            }
            break;
        case WM_LBUTTONDOWN:
            s_windowDrag.Start(hWnd);
            break;
        case WM_MOUSEMOVE:
            s_windowDrag.Step(hWnd);
            break;
        case WM_LBUTTONUP:
            s_windowDrag.Stop();
            break;
        }
        LRESULT result = 0;
        if (ForwardInput(message, wParam, lParam, false, result))
            return result;
        return DefWindowProcA(hWnd, message, wParam, lParam);
    }

    // Creates the control, embeds it in this site and activates it in place, windowless in
    // layered mode. Stops at the first failing step and returns FALSE; what was obtained
    // until then is released by the destructor.
    virtual BOOL CreateOleControl(HWND hWndHost, CLSID clsid, DWORD dwExStyle, DWORD dwStyle, HWND hWndParent,
                                  HINSTANCE hInstance)
    {
        m_clsid = clsid;
        m_hInstance = hInstance;
        m_hWndParent = hWndParent;
        m_bLayered = (dwExStyle & WS_EX_LAYERED) != 0;
        m_hWndHost = hWndHost;
        SetWindowLongA(hWndHost, GWL_STYLE, static_cast<LONG>(dwStyle & 0xFF3FFFFF));
        SetWindowLongA(hWndHost, GWL_EXSTYLE, static_cast<LONG>(dwExStyle));
        SetWindowPos(hWndHost, nullptr, 0, 0, 996, 646, SWP_NOZORDER);
        UpdateWindow(hWndHost);

        // Without a control registered under the class id there is no object to go on with.
        const HRESULT created = OleCreate(m_clsid, IID_IOleObject, OLERENDER_DRAW, nullptr, ClientSite(),
                                          static_cast<IStorage*>(this), reinterpret_cast<void**>(&m_pOleObject));
        if (FAILED(created) || !m_pOleObject)
            return FALSE;
        if (FAILED(OleSetContainedObject(m_pOleObject, TRUE)))
            return FALSE;
        if (FAILED(m_pOleObject->QueryInterface(__uuidof(T), reinterpret_cast<void**>(&m_pControl))))
            return FALSE;
        if (FAILED(m_pOleObject->QueryInterface(IID_IViewObjectEx, reinterpret_cast<void**>(&m_pViewObjectEx)))) {
            m_pViewObjectEx = nullptr;
            if (FAILED(m_pOleObject->QueryInterface(IID_IViewObject, reinterpret_cast<void**>(&m_pViewObject))))
                return FALSE;
        }
        if (m_bLayered && FAILED(m_pOleObject->QueryInterface(IID_IOleInPlaceObjectWindowless,
                                                              reinterpret_cast<void**>(&m_pInPlaceObjectWindowless)))) {
            m_pInPlaceObjectWindowless = nullptr;
            m_bLayered = FALSE;  // an ordinary in-place object, drawn the windowed way
        }
        if (!m_pInPlaceObjectWindowless &&
            FAILED(m_pOleObject->QueryInterface(IID_IOleInPlaceObject, reinterpret_cast<void**>(&m_pInPlaceObject))))
            return FALSE;
        if (!OnControlCreated())
            return FALSE;
        if (FAILED(m_pOleObject->SetClientSite(ClientSite())))
            return FALSE;
        if (FAILED(m_pOleObject->DoVerb(OLEIVERB_SHOW, nullptr, ClientSite(), 0, nullptr, nullptr)))
            return FALSE;
        return OnControlActivated() ? TRUE : FALSE;
    }

    // Renders the control: in layered mode the whole window, over black and over white, and
    // presents it with per-pixel alpha; otherwise into `hdc` (or a window DC) the plain way.
    virtual void DrawControl(HDC hdc, LPCRECT, BOOL)
    {
        IViewObject* view = m_pViewObjectEx ? m_pViewObjectEx : m_pViewObject;
        if (!m_bLayered) {
            RECT client;
            GetClientRect(m_hWndHost, &client);
            if (!view)
                return;
            if (hdc) {
                OleDraw(view, DVASPECT_CONTENT, hdc, &client);
            } else {
                HDC windowDC = ::GetDC(m_hWndHost);
                OleDraw(view, DVASPECT_CONTENT, windowDC, &client);
                ::ReleaseDC(m_hWndHost, windowDC);
            }
            return;
        }

        RECT window;
        GetWindowRect(m_hWndHost, &window);
        if (!(m_hdcBlack && EqualRect(&window, &m_rcWindow)))
            RebuildSurfaces(window);
        // Without both surfaces there is nothing to render into or present.
        if (!m_pBitsBlack || !m_pBitsWhite)
            return;

        const int width = window.right - window.left;
        const int height = window.bottom - window.top;
        POINT destination = {window.left, window.top};
        SIZE size = {width, height};
        POINT source = {0, 0};
        if (m_pOleObject && view) {
            RECT bounds;
            GetClientRect(m_hWndHost, &bounds);
            const size_t bytes = static_cast<size_t>(width) * static_cast<size_t>(height) * 4;
            std::memset(m_pBitsBlack, 0x00, bytes);
            std::memset(m_pBitsWhite, 0xFF, bytes);
            OleDraw(view, DVASPECT_TRANSPARENT, m_hdcBlack, &bounds);
            OleDraw(view, DVASPECT_TRANSPARENT, m_hdcWhite, &bounds);
            RecoverAlpha(static_cast<uint8_t*>(m_pBitsBlack), static_cast<const uint8_t*>(m_pBitsWhite),
                         static_cast<size_t>(width) * static_cast<size_t>(height));
        }
        BLENDFUNCTION blend = {AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};

        // Looked up by name on every frame rather than imported.
        using UpdateLayeredWindowFn = BOOL(WINAPI*)(HWND, HDC, POINT*, SIZE*, HDC, POINT*, COLORREF, BLENDFUNCTION*, DWORD);
        HMODULE user32 = LoadLibraryA("User32.DLL");
        if (!user32)
            return;
        auto update = reinterpret_cast<UpdateLayeredWindowFn>(
            reinterpret_cast<void*>(GetProcAddress(user32, "UpdateLayeredWindow")));
        if (update)
            update(m_hWndHost, nullptr, &destination, &size, m_hdcBlack, &source, 0, &blend, ULW_ALPHA);
        FreeLibrary(user32);
    }

    virtual BOOL OnControlCreated() { return TRUE; }
    virtual BOOL OnControlActivated() { return TRUE; }

    // The dispatch methods an event face of a derived class is served from.
    virtual STDMETHODIMP GetTypeInfoCount(UINT*) { return E_NOTIMPL; }
    virtual STDMETHODIMP GetTypeInfo(UINT, LCID, ITypeInfo**) { return E_NOTIMPL; }
    virtual STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) { return E_NOTIMPL; }
    virtual STDMETHODIMP Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) { return S_OK; }

    // IOleWindow (site and frame faces)
    STDMETHODIMP GetWindow(HWND* phwnd) override
    {
        *phwnd = m_hWndHost;
        return S_OK;
    }
    STDMETHODIMP ContextSensitiveHelp(BOOL) override { return E_NOTIMPL; }

    // IOleInPlaceSite
    STDMETHODIMP CanInPlaceActivate() override { return S_OK; }
    STDMETHODIMP OnInPlaceActivate() override { return S_OK; }
    STDMETHODIMP OnUIActivate() override { return S_OK; }
    STDMETHODIMP GetWindowContext(IOleInPlaceFrame** ppFrame, IOleInPlaceUIWindow** ppDoc, LPRECT lprcPosRect,
                                  LPRECT lprcClipRect, LPOLEINPLACEFRAMEINFO lpFrameInfo) override
    {
        *ppFrame = static_cast<IOleInPlaceFrame*>(this);
        *ppDoc = nullptr;
        lpFrameInfo->fMDIApp = FALSE;
        lpFrameInfo->hwndFrame = m_hWndHost;
        lpFrameInfo->haccel = nullptr;
        lpFrameInfo->cAccelEntries = 0;
        GetClientRect(m_hWndHost, lprcPosRect);
        GetClientRect(m_hWndHost, lprcClipRect);
        return S_OK;
    }
    STDMETHODIMP Scroll(SIZE) override { return E_NOTIMPL; }
    STDMETHODIMP OnUIDeactivate(BOOL) override { return S_OK; }
    STDMETHODIMP OnInPlaceDeactivate() override { return S_OK; }
    STDMETHODIMP DiscardUndoState() override { return E_NOTIMPL; }
    STDMETHODIMP DeactivateAndUndo() override { return E_NOTIMPL; }
    STDMETHODIMP OnPosRectChange(LPCRECT) override { return S_OK; }

    // IOleInPlaceSiteEx
    STDMETHODIMP OnInPlaceActivateEx(BOOL* pfNoRedraw, DWORD) override
    {
        if (pfNoRedraw)
            *pfNoRedraw = FALSE;
        return S_OK;
    }
    STDMETHODIMP OnInPlaceDeactivateEx(BOOL) override { return S_FALSE; }
    STDMETHODIMP RequestUIActivate() override { return S_FALSE; }

    // IOleInPlaceSiteWindowless
    STDMETHODIMP CanWindowlessActivate() override { return S_OK; }
    STDMETHODIMP GetCapture() override { return S_FALSE; }
    STDMETHODIMP SetCapture(BOOL) override { return S_FALSE; }
    STDMETHODIMP GetFocus() override { return S_OK; }
    STDMETHODIMP SetFocus(BOOL) override { return S_OK; }
    STDMETHODIMP GetDC(LPCRECT, DWORD, HDC* phDC) override
    {
        if (phDC)
            *phDC = nullptr;
        return S_FALSE;
    }
    STDMETHODIMP ReleaseDC(HDC) override { return S_FALSE; }
    STDMETHODIMP InvalidateRect(LPCRECT pRect, BOOL fErase) override
    {
        DrawControl(nullptr, pRect, fErase);
        return S_OK;
    }
    STDMETHODIMP InvalidateRgn(HRGN, BOOL) override { return S_OK; }
    STDMETHODIMP ScrollRect(INT, INT, LPCRECT, LPCRECT) override { return E_NOTIMPL; }
    STDMETHODIMP AdjustRect(LPRECT) override { return S_FALSE; }
    STDMETHODIMP OnDefWindowMessage(UINT, WPARAM, LPARAM, LRESULT*) override { return S_FALSE; }

    // IOleInPlaceUIWindow
    STDMETHODIMP GetBorder(LPRECT) override { return E_NOTIMPL; }
    STDMETHODIMP RequestBorderSpace(LPCBORDERWIDTHS) override { return E_NOTIMPL; }
    STDMETHODIMP SetBorderSpace(LPCBORDERWIDTHS) override { return E_NOTIMPL; }
    STDMETHODIMP SetActiveObject(IOleInPlaceActiveObject*, LPCOLESTR) override { return S_OK; }

    // IOleInPlaceFrame
    STDMETHODIMP InsertMenus(HMENU, LPOLEMENUGROUPWIDTHS) override { return E_NOTIMPL; }
    STDMETHODIMP SetMenu(HMENU, HOLEMENU, HWND) override { return S_OK; }
    STDMETHODIMP RemoveMenus(HMENU) override { return E_NOTIMPL; }
    STDMETHODIMP SetStatusText(LPCOLESTR) override { return S_OK; }
    STDMETHODIMP EnableModeless(BOOL) override { return S_OK; }
    STDMETHODIMP TranslateAccelerator(LPMSG, WORD) override { return E_NOTIMPL; }

    // IStorage: a stand-in the control is created in; it stores nothing.
    STDMETHODIMP CreateStream(const OLECHAR*, DWORD, DWORD, DWORD, IStream**) override { return E_NOTIMPL; }
    STDMETHODIMP OpenStream(const OLECHAR*, void*, DWORD, DWORD, IStream**) override { return E_NOTIMPL; }
    STDMETHODIMP CreateStorage(const OLECHAR*, DWORD, DWORD, DWORD, IStorage**) override { return E_NOTIMPL; }
    STDMETHODIMP OpenStorage(const OLECHAR*, IStorage*, DWORD, SNB, DWORD, IStorage**) override { return E_NOTIMPL; }
    STDMETHODIMP CopyTo(DWORD, const IID*, SNB, IStorage*) override { return E_NOTIMPL; }
    STDMETHODIMP MoveElementTo(const OLECHAR*, IStorage*, const OLECHAR*, DWORD) override { return E_NOTIMPL; }
    STDMETHODIMP Commit(DWORD) override { return E_NOTIMPL; }
    STDMETHODIMP Revert() override { return E_NOTIMPL; }
    STDMETHODIMP EnumElements(DWORD, void*, DWORD, IEnumSTATSTG**) override { return E_NOTIMPL; }
    STDMETHODIMP DestroyElement(const OLECHAR*) override { return E_NOTIMPL; }
    STDMETHODIMP RenameElement(const OLECHAR*, const OLECHAR*) override { return E_NOTIMPL; }
    STDMETHODIMP SetElementTimes(const OLECHAR*, const FILETIME*, const FILETIME*, const FILETIME*) override
    {
        return E_NOTIMPL;
    }
    STDMETHODIMP SetClass(REFCLSID) override { return S_OK; }
    STDMETHODIMP SetStateBits(DWORD, DWORD) override { return E_NOTIMPL; }
    STDMETHODIMP Stat(STATSTG*, DWORD) override { return E_NOTIMPL; }

protected:
    IOleClientSite* ClientSite() { return static_cast<IOleClientSite*>(this); }

    // The host's input routing, for its pre-translation of queued messages: closing, the
    // drag of the borderless window with the left button, and the input the windowless
    // control takes. TRUE ends the message's processing. OnSiteDragged runs after each
    // drag step.
    BOOL RouteSiteInput(MSG* pMsg)
    {
        if (pMsg->message == WM_SYSCOMMAND && pMsg->wParam == SC_CLOSE) {
            PostQuitMessage(0);
            return TRUE;
        }
        switch (pMsg->message) {
        case WM_CREATE:
            SetWindowLongPtrA(m_hWndHost, GWLP_USERDATA,
                              reinterpret_cast<LONG_PTR>(reinterpret_cast<CREATESTRUCTA*>(pMsg->lParam)->lpCreateParams));
            return FALSE;
        case WM_DESTROY:
            PostQuitMessage(0);
            break;
        case WM_SIZE:
            ResizeControl();
            return FALSE;
        case WM_PAINT:
            if (!m_bLayered) {
                PaintWindowed();
                return FALSE;
            }
            break;
        case WM_LBUTTONDOWN:
            s_hostDrag.Start(m_hWndHost);
            break;
        case WM_MOUSEMOVE:
            if (s_hostDrag.Step(m_hWndHost))
                OnSiteDragged();
            break;
        case WM_LBUTTONUP:
            s_hostDrag.Stop();
            break;
        }
        LRESULT result = 0;
        if (ForwardInput(pMsg->message, pMsg->wParam, pMsg->lParam, true, result))
            return static_cast<BOOL>(result);
        return FALSE;
    }
    virtual void OnSiteDragged() {}

    CLSID m_clsid = {};
    T* m_pControl = nullptr;
    IOleObject* m_pOleObject = nullptr;
    IViewObject* m_pViewObject = nullptr;
    IViewObjectEx* m_pViewObjectEx = nullptr;
    IOleInPlaceObject* m_pInPlaceObject = nullptr;
    IOleInPlaceObjectWindowless* m_pInPlaceObjectWindowless = nullptr;
    IConnectionPointContainer* m_pConnectionPointContainer = nullptr;
    IConnectionPoint* m_pConnectionPoint = nullptr;
    HWND m_hWndHost = nullptr;
    HWND m_hWndParent = nullptr;
    HINSTANCE m_hInstance = nullptr;
    BOOL m_bLayered = FALSE;
    DWORD m_dwEventCookie = 0;
    HDC m_hdcBlack = nullptr;
    HBITMAP m_hbmBlack = nullptr;
    RECT m_rcWindow = {0, 0, 0, 0};
    void* m_pBitsBlack = nullptr;
    HDC m_hdcWhite = nullptr;
    HBITMAP m_hbmWhite = nullptr;
    void* m_pBitsWhite = nullptr;
    LONG m_lRefCount = 0;

private:
    // Dragging a borderless window: the cursor's offset from the window's corner is kept
    // while the left button is down. One host window per process, so one state.
    struct WindowDrag {
        POINT offset = {0, 0};
        bool dragging = false;

        void Start(HWND hWnd)
        {
            POINT cursor;
            GetCursorPos(&cursor);
            RECT rc;
            GetWindowRect(hWnd, &rc);
            offset = {cursor.x - rc.left, cursor.y - rc.top};
            dragging = true;
            ::SetCapture(hWnd);
        }
        bool Step(HWND hWnd)
        {
            if (!dragging)
                return false;
            POINT cursor;
            GetCursorPos(&cursor);
            SetWindowPos(hWnd, nullptr, cursor.x - offset.x, cursor.y - offset.y, 0, 0, SWP_NOSIZE);
            return true;
        }
        void Stop()
        {
            ::ReleaseCapture();
            dragging = false;
        }
    };
    static inline WindowDrag s_hostDrag;
    static inline WindowDrag s_windowDrag;

    // Keyboard, cursor and mouse input goes to the windowless control; WM_SYSKEYDOWN only
    // from the host's pre-translation.
    bool ForwardInput(UINT message, WPARAM wParam, LPARAM lParam, bool withSysKeyDown, LRESULT& result)
    {
        if (!m_pInPlaceObjectWindowless)
            return false;
        const bool input = message == WM_SETCURSOR || message == WM_KEYDOWN || message == WM_KEYUP ||
                           message == WM_CHAR || (withSysKeyDown && message == WM_SYSKEYDOWN) ||
                           (message >= WM_MOUSEMOVE && message <= WM_MOUSEWHEEL);
        if (!input)
            return false;
        result = 0;
        return m_pInPlaceObjectWindowless->OnWindowMessage(message, wParam, lParam, &result) == S_OK;
    }

    void ResizeControl()
    {
        if (m_pOleObject && FAILED(m_pOleObject->DoVerb(OLEIVERB_SHOW, nullptr, ClientSite(), 0, nullptr, nullptr)))
            return;
        RECT client;
        GetClientRect(m_hWndHost, &client);
        if (m_pInPlaceObjectWindowless)
            m_pInPlaceObjectWindowless->SetObjectRects(&client, &client);
        else if (m_pInPlaceObject)
            m_pInPlaceObject->SetObjectRects(&client, &client);
    }

    void PaintWindowed()
    {
        PAINTSTRUCT ps;
        HDC hdc = BeginPaint(m_hWndHost, &ps);
        DrawControl(hdc, &ps.rcPaint, ps.fErase);
        EndPaint(m_hWndHost, &ps);
    }

    void DeleteSurfaces()
    {
        if (m_hdcBlack)
            DeleteDC(m_hdcBlack);
        if (m_hbmBlack)
            DeleteObject(m_hbmBlack);
        if (m_hdcWhite)
            DeleteDC(m_hdcWhite);
        if (m_hbmWhite)
            DeleteObject(m_hbmWhite);
        m_hdcBlack = m_hdcWhite = nullptr;
        m_hbmBlack = m_hbmWhite = nullptr;
        m_pBitsBlack = m_pBitsWhite = nullptr;
    }

    void RebuildSurfaces(const RECT& window)
    {
        DeleteSurfaces();
        m_rcWindow = window;
        HDC reference = ::GetDC(m_hWndHost);
        BITMAPINFO info = {};
        info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
        info.bmiHeader.biWidth = window.right - window.left;
        info.bmiHeader.biHeight = window.top - window.bottom;  // negative: top-down rows
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        info.bmiHeader.biCompression = BI_RGB;
        MakeSurface(reference, info, m_hdcBlack, m_hbmBlack, m_pBitsBlack);
        MakeSurface(reference, info, m_hdcWhite, m_hbmWhite, m_pBitsWhite);
        ::ReleaseDC(m_hWndHost, reference);
        if (!m_pBitsBlack || !m_pBitsWhite) {
            // Half a pair is no use; the next frame tries again.
            DeleteSurfaces();
            m_rcWindow = RECT{0, 0, 0, 0};
        }
    }

    static void MakeSurface(HDC reference, const BITMAPINFO& info, HDC& hdc, HBITMAP& bitmap, void*& bits)
    {
        hdc = CreateCompatibleDC(reference);
        bitmap = hdc ? CreateDIBSection(reference, &info, DIB_RGB_COLORS, &bits, nullptr, 0) : nullptr;
        if (bitmap)
            SelectObject(hdc, bitmap);
        else
            bits = nullptr;
    }

    template <class... I>
    static void ReleaseAll(I*&... pointers)
    {
        ((pointers ? (pointers->Release(), pointers = nullptr) : nullptr), ...);
    }
};
