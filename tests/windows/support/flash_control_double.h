#pragma once
// A test double of a windowless Flash control, registered in the test process under the
// Flash class id, so the launcher creates it through OleCreate as it would the real one.
// It records every call the launcher makes, draws known pixels, fires FSCommand and
// FlashCall, and asks for redraws. Options take interfaces away or make calls fail.
#include <windows.h>
#include <ocidl.h>
#include <ole2.h>

#include <string>
#include <vector>

#include "player/control/shockwave_flash_defaults.h"

struct FlashDoubleOptions {
    bool windowless = true;          // IOleInPlaceObjectWindowless offered
    bool viewObjectEx = true;        // IViewObjectEx offered (IViewObject always)
    bool viewObject = true;          // IViewObject offered at all
    bool shockwaveFlash = true;      // IShockwaveFlash offered
    bool connectionPoints = true;    // IConnectionPointContainer offered
    HRESULT scaleResult = S_OK;      // what put_Scale answers
    HRESULT playResult = S_OK;       // what Play and StopPlay answer once the movie runs
    HRESULT setClientSiteResult = S_OK;
    HRESULT doVerbResult = S_OK;
    LRESULT inputResult = 0;         // the result OnWindowMessage reports
    bool fullFrame = false;          // Draw paints every pixel of its bounds (for benchmarks)
};

class CFlashEventsPoint;

class CFlashControlDouble : public CShockwaveFlashNotImplemented,
                            public IOleObject,
                            public IPersistStorage,
                            public IPersistStreamInit,
                            public IViewObjectEx,
                            public IOleInPlaceObjectWindowless,
                            public IConnectionPointContainer {
public:
    explicit CFlashControlDouble(const FlashDoubleOptions& options = FlashDoubleOptions());
    virtual ~CFlashControlDouble();

    // What the launcher asked, in order ("put_Scale showAll", "Draw 32", ...).
    std::vector<std::string> calls;
    // The bytes of the stream handed to Load, read from its position at the time.
    std::string loadedStream;
    ULONGLONG loadedStreamPosition = ~0ull;
    // The messages passed to OnWindowMessage.
    std::vector<UINT> forwarded;
    RECT activationRect = {0, 0, 0, 0};

    LONG References() const { return m_refs; }
    bool HasSink() const;

    // Fires an event at the advised sink, the arguments in the order the caller lists them
    // (the double reverses them, as dispatch does). Returns the sink's answer.
    HRESULT Fire(DISPID dispid, const std::vector<VARIANT>& args);
    // Asks the site for a redraw, as a playing movie does.
    HRESULT RequestRedraw();

    // From now on Play and StopPlay answer `hr`.
    void FailPlayWith(HRESULT hr) { m_options.playResult = hr; }

    // Registers this object as the Flash class in this thread's apartment; revoked when
    // the double goes.
    bool Register();

    // IUnknown
    STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override;
    STDMETHODIMP_(ULONG) AddRef() override;
    STDMETHODIMP_(ULONG) Release() override;

    // IDispatch
    STDMETHODIMP GetTypeInfoCount(UINT*) override { return E_NOTIMPL; }
    STDMETHODIMP GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
    STDMETHODIMP Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) override { return E_NOTIMPL; }

    // IShockwaveFlash: what the launcher sets and calls.
    STDMETHODIMP put_WMode(BSTR value) override;
    STDMETHODIMP put_Scale(BSTR value) override;
    STDMETHODIMP put_BackgroundColor(long value) override;
    STDMETHODIMP put_EmbedMovie(VARIANT_BOOL value) override;
    STDMETHODIMP Play() override;
    STDMETHODIMP StopPlay() override;

    // IOleObject
    STDMETHODIMP SetClientSite(IOleClientSite* site) override;
    STDMETHODIMP GetClientSite(IOleClientSite** site) override;
    STDMETHODIMP SetHostNames(LPCOLESTR, LPCOLESTR) override { return S_OK; }
    STDMETHODIMP Close(DWORD) override;
    STDMETHODIMP SetMoniker(DWORD, IMoniker*) override { return E_NOTIMPL; }
    STDMETHODIMP GetMoniker(DWORD, DWORD, IMoniker**) override { return E_NOTIMPL; }
    STDMETHODIMP InitFromData(IDataObject*, BOOL, DWORD) override { return E_NOTIMPL; }
    STDMETHODIMP GetClipboardData(DWORD, IDataObject**) override { return E_NOTIMPL; }
    STDMETHODIMP DoVerb(LONG verb, LPMSG, IOleClientSite* site, LONG, HWND, LPCRECT) override;
    STDMETHODIMP EnumVerbs(IEnumOLEVERB**) override { return E_NOTIMPL; }
    STDMETHODIMP Update() override { return S_OK; }
    STDMETHODIMP IsUpToDate() override { return S_OK; }
    STDMETHODIMP GetUserClassID(CLSID* clsid) override;
    STDMETHODIMP GetUserType(DWORD, LPOLESTR*) override { return E_NOTIMPL; }
    STDMETHODIMP SetExtent(DWORD, SIZEL*) override { return S_OK; }
    STDMETHODIMP GetExtent(DWORD, SIZEL*) override { return E_NOTIMPL; }
    STDMETHODIMP Advise(IAdviseSink*, DWORD* cookie) override;
    STDMETHODIMP Unadvise(DWORD) override { return S_OK; }
    STDMETHODIMP EnumAdvise(IEnumSTATDATA**) override { return E_NOTIMPL; }
    STDMETHODIMP GetMiscStatus(DWORD, DWORD* status) override;
    STDMETHODIMP SetColorScheme(LOGPALETTE*) override { return E_NOTIMPL; }

    // IPersistStorage and IPersistStreamInit
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
    STDMETHODIMP SetAdvise(DWORD, DWORD, IAdviseSink*) override { return S_OK; }
    STDMETHODIMP GetAdvise(DWORD*, DWORD*, IAdviseSink**) override { return E_NOTIMPL; }
    STDMETHODIMP GetExtent(DWORD, LONG, DVTARGETDEVICE*, LPSIZEL) override { return E_NOTIMPL; }
    STDMETHODIMP GetRect(DWORD, LPRECTL) override { return E_NOTIMPL; }
    STDMETHODIMP GetViewStatus(DWORD*) override { return E_NOTIMPL; }
    STDMETHODIMP QueryHitPoint(DWORD, LPCRECT, POINT, LONG, DWORD*) override { return E_NOTIMPL; }
    STDMETHODIMP QueryHitRect(DWORD, LPCRECT, LPCRECT, LONG, DWORD*) override { return E_NOTIMPL; }
    STDMETHODIMP GetNaturalExtent(DWORD, LONG, DVTARGETDEVICE*, HDC, DVEXTENTINFO*, LPSIZEL) override { return E_NOTIMPL; }

    // IOleInPlaceObjectWindowless
    STDMETHODIMP GetWindow(HWND*) override { return E_FAIL; }
    STDMETHODIMP ContextSensitiveHelp(BOOL) override { return E_NOTIMPL; }
    STDMETHODIMP InPlaceDeactivate() override { return S_OK; }
    STDMETHODIMP UIDeactivate() override { return S_OK; }
    STDMETHODIMP SetObjectRects(LPCRECT position, LPCRECT) override;
    STDMETHODIMP ReactivateAndUndo() override { return E_NOTIMPL; }
    STDMETHODIMP OnWindowMessage(UINT message, WPARAM, LPARAM, LRESULT* result) override;
    STDMETHODIMP GetDropTarget(IDropTarget**) override { return E_NOTIMPL; }

    // IConnectionPointContainer
    STDMETHODIMP EnumConnectionPoints(IEnumConnectionPoints**) override { return E_NOTIMPL; }
    STDMETHODIMP FindConnectionPoint(REFIID riid, IConnectionPoint** point) override;

private:
    void Record(const std::string& call) { calls.push_back(call); }

    FlashDoubleOptions m_options;
    LONG m_refs = 1;
    IOleClientSite* m_site = nullptr;
    CFlashEventsPoint* m_point;
    IClassFactory* m_factory = nullptr;
    DWORD m_registration = 0;
};
