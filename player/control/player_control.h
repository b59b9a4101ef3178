#pragma once
// The built-in movie player as an ActiveX control: the faces of the Flash control that a
// container uses (embedding, in-place activation windowless or in a window of its own,
// drawing, the movie stream, events and the IShockwaveFlash properties), over the portable
// engine. Everything runs on the thread that created it.
#include <windows.h>
#include <ocidl.h>
#include <ole2.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "player/control/shockwave_flash_defaults.h"
#include "player/control/flash_events_point.h"
#include "player/control/frame_clock.h"
#include "player/control/movie_events.h"

namespace tvrl::player {
class Player;
}

class CPlayerControl : public CShockwaveFlashNotImplemented,
                       public IOleObject,
                       public IPersistStorage,
                       public IPersistStreamInit,
                       public IViewObjectEx,
                       public IOleInPlaceObjectWindowless,
                       public IConnectionPointContainer,
                       private CFrameClock::Listener {
public:
    CPlayerControl();
    virtual ~CPlayerControl();
    CPlayerControl(const CPlayerControl&) = delete;
    CPlayerControl& operator=(const CPlayerControl&) = delete;

    // IUnknown
    STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override;
    STDMETHODIMP_(ULONG) AddRef() override;
    STDMETHODIMP_(ULONG) Release() override;

    // IDispatch: the IShockwaveFlash members by name.
    STDMETHODIMP GetTypeInfoCount(UINT* count) override;
    STDMETHODIMP GetTypeInfo(UINT, LCID, ITypeInfo**) override;
    STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID, DISPID* ids) override;
    STDMETHODIMP Invoke(DISPID dispid, REFIID, LCID, WORD flags, DISPPARAMS* params, VARIANT* result,
                        EXCEPINFO*, UINT* argError) override;

    // IShockwaveFlash: what the player offers; everything else is E_NOTIMPL.
    STDMETHODIMP get_ReadyState(long* value) override;
    STDMETHODIMP get_TotalFrames(long* value) override;
    STDMETHODIMP get_Playing(VARIANT_BOOL* value) override;
    STDMETHODIMP put_Playing(VARIANT_BOOL value) override;
    STDMETHODIMP get_BackgroundColor(long* value) override;
    STDMETHODIMP put_BackgroundColor(long value) override;
    STDMETHODIMP get_Movie(BSTR* value) override;
    STDMETHODIMP put_Movie(BSTR value) override;
    STDMETHODIMP get_FrameNum(long* value) override;
    STDMETHODIMP put_FrameNum(long value) override;
    STDMETHODIMP Play() override;
    STDMETHODIMP Stop() override;
    STDMETHODIMP StopPlay() override;
    STDMETHODIMP GotoFrame(long frame) override;
    STDMETHODIMP CurrentFrame(long* frame) override;
    STDMETHODIMP IsPlaying(VARIANT_BOOL* playing) override;
    STDMETHODIMP FlashVersion(long* version) override;
    STDMETHODIMP get_WMode(BSTR* value) override;
    STDMETHODIMP put_WMode(BSTR value) override;
    STDMETHODIMP get_Scale(BSTR* value) override;
    STDMETHODIMP put_Scale(BSTR value) override;
    STDMETHODIMP get_EmbedMovie(VARIANT_BOOL* value) override;
    STDMETHODIMP put_EmbedMovie(VARIANT_BOOL value) override;

    // IOleObject
    STDMETHODIMP SetClientSite(IOleClientSite* site) override;
    STDMETHODIMP GetClientSite(IOleClientSite** site) override;
    STDMETHODIMP SetHostNames(LPCOLESTR, LPCOLESTR) override { return S_OK; }
    STDMETHODIMP Close(DWORD saveOption) override;
    STDMETHODIMP SetMoniker(DWORD, IMoniker*) override { return E_NOTIMPL; }
    STDMETHODIMP GetMoniker(DWORD, DWORD, IMoniker**) override { return E_NOTIMPL; }
    STDMETHODIMP InitFromData(IDataObject*, BOOL, DWORD) override { return E_NOTIMPL; }
    STDMETHODIMP GetClipboardData(DWORD, IDataObject**) override { return E_NOTIMPL; }
    STDMETHODIMP DoVerb(LONG verb, LPMSG, IOleClientSite* site, LONG, HWND parent, LPCRECT position) override;
    STDMETHODIMP EnumVerbs(IEnumOLEVERB** verbs) override;
    STDMETHODIMP Update() override { return S_OK; }
    STDMETHODIMP IsUpToDate() override { return S_OK; }
    STDMETHODIMP GetUserClassID(CLSID* clsid) override;
    STDMETHODIMP GetUserType(DWORD form, LPOLESTR* name) override;
    STDMETHODIMP SetExtent(DWORD aspect, SIZEL* size) override;
    STDMETHODIMP GetExtent(DWORD aspect, SIZEL* size) override;
    STDMETHODIMP Advise(IAdviseSink* sink, DWORD* cookie) override;
    STDMETHODIMP Unadvise(DWORD cookie) override;
    STDMETHODIMP EnumAdvise(IEnumSTATDATA**) override { return E_NOTIMPL; }
    STDMETHODIMP GetMiscStatus(DWORD aspect, DWORD* status) override;
    STDMETHODIMP SetColorScheme(LOGPALETTE*) override { return E_NOTIMPL; }

    // IPersistStorage and IPersistStreamInit: a new control, or a movie from a stream.
    STDMETHODIMP GetClassID(CLSID* clsid) override;
    STDMETHODIMP IsDirty() override { return S_FALSE; }
    STDMETHODIMP InitNew(IStorage* storage) override;
    STDMETHODIMP Load(IStorage*) override { return E_NOTIMPL; }
    STDMETHODIMP Save(IStorage*, BOOL) override { return E_NOTIMPL; }
    STDMETHODIMP SaveCompleted(IStorage*) override { return S_OK; }
    STDMETHODIMP HandsOffStorage() override { return S_OK; }
    STDMETHODIMP Load(LPSTREAM stream) override;
    STDMETHODIMP Save(LPSTREAM, BOOL) override { return E_NOTIMPL; }
    STDMETHODIMP GetSizeMax(ULARGE_INTEGER*) override { return E_NOTIMPL; }
    STDMETHODIMP InitNew() override { return S_OK; }

    // IViewObjectEx
    STDMETHODIMP Draw(DWORD aspect, LONG, void*, DVTARGETDEVICE*, HDC, HDC hdcDraw, LPCRECTL bounds, LPCRECTL,
                      BOOL(STDMETHODCALLTYPE*)(ULONG_PTR), ULONG_PTR) override;
    STDMETHODIMP GetColorSet(DWORD, LONG, void*, DVTARGETDEVICE*, HDC, LOGPALETTE**) override { return E_NOTIMPL; }
    STDMETHODIMP Freeze(DWORD, LONG, void*, DWORD*) override { return E_NOTIMPL; }
    STDMETHODIMP Unfreeze(DWORD) override { return E_NOTIMPL; }
    STDMETHODIMP SetAdvise(DWORD aspects, DWORD flags, IAdviseSink* sink) override;
    STDMETHODIMP GetAdvise(DWORD* aspects, DWORD* flags, IAdviseSink** sink) override;
    STDMETHODIMP GetExtent(DWORD aspect, LONG, DVTARGETDEVICE*, LPSIZEL size) override;
    STDMETHODIMP GetRect(DWORD aspect, LPRECTL rect) override;
    STDMETHODIMP GetViewStatus(DWORD* status) override;
    STDMETHODIMP QueryHitPoint(DWORD aspect, LPCRECT bounds, POINT location, LONG, DWORD* result) override;
    STDMETHODIMP QueryHitRect(DWORD aspect, LPCRECT bounds, LPCRECT location, LONG, DWORD* result) override;
    STDMETHODIMP GetNaturalExtent(DWORD, LONG, DVTARGETDEVICE*, HDC, DVEXTENTINFO*, LPSIZEL) override { return E_NOTIMPL; }

    // IOleInPlaceObjectWindowless
    STDMETHODIMP GetWindow(HWND* window) override;
    STDMETHODIMP ContextSensitiveHelp(BOOL) override { return E_NOTIMPL; }
    STDMETHODIMP InPlaceDeactivate() override;
    STDMETHODIMP UIDeactivate() override { return S_OK; }
    STDMETHODIMP SetObjectRects(LPCRECT position, LPCRECT clip) override;
    STDMETHODIMP ReactivateAndUndo() override { return E_NOTIMPL; }
    STDMETHODIMP OnWindowMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) override;
    STDMETHODIMP GetDropTarget(IDropTarget**) override { return E_NOTIMPL; }

    // IConnectionPointContainer
    STDMETHODIMP EnumConnectionPoints(IEnumConnectionPoints**) override { return E_NOTIMPL; }
    STDMETHODIMP FindConnectionPoint(REFIID riid, IConnectionPoint** point) override;

private:
    enum class Activation { None, Windowless, Windowed };

    void OnClockTick(double elapsedMs, int framesDue) override;
    // Runs one engine call; events it raised are delivered afterwards and a visible change
    // asks the container for a redraw.
    void RunMovie(const std::function<bool()>& step);
    void DeliverEvents();
    void RequestRedraw();
    void UpdateClock();
    HRESULT LoadMovieBytes(const std::vector<uint8_t>& bytes);

    HRESULT ActivateWindowless(IOleInPlaceSiteWindowless* site);
    HRESULT ActivateWindowed(IOleInPlaceSite* site, HWND parent);
    void ReadWindowContext(IOleInPlaceSite* site);
    void ApplyViewport();
    bool HandleInput(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);
    void ShowCursor() const;
    void PaintWindow();
    static LRESULT CALLBACK WindowProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);

    // The engine's frame, rendered when it changed and reused by every Draw until then.
    bool RenderFrame(int width, int height);

    LONG m_refs = 1;
    IOleClientSite* m_site = nullptr;
    IOleInPlaceSite* m_inPlaceSite = nullptr;
    IOleInPlaceSiteWindowless* m_windowlessSite = nullptr;
    IAdviseSink* m_viewAdvise = nullptr;
    IOleAdviseHolder* m_oleAdvise = nullptr;
    CFlashEventsPoint m_events;
    CFrameClock m_clock;
    CMovieEventQueue m_movieEvents;
    std::unique_ptr<tvrl::player::Player> m_player;
    Activation m_activation = Activation::None;
    HWND m_hWnd = nullptr;  // when activated windowed
    RECT m_rcPos = {0, 0, 0, 0};
    SIZEL m_extent = {0, 0};  // HIMETRIC, as the container set it

    // IShockwaveFlash state.
    bool m_playing = true;
    bool m_transparent = false;
    bool m_embedMovie = false;
    long m_backgroundColor = -1;  // -1: the movie's own
    std::wstring m_wmode = L"Window";
    std::wstring m_scale = L"ShowAll";
    std::wstring m_movieUrl;

    std::vector<uint32_t> m_frame;
    int m_frameWidth = 0;
    int m_frameHeight = 0;
    bool m_frameStale = true;
    bool m_started = false;  // the first tick has delivered the first frame's events
    bool m_mouseDown = false;
};
