#pragma once
// The framework's site for one windowed ActiveX control of a dialog: client site, in-place
// site and in-place frame in one object, plus an event sink connected to the control's
// default source interface. The dialog's control container owns it; the faces' reference
// count never frees it, because the dialog's lifetime governs.
#include <ole2.h>
#include <ocidl.h>

class CDialog;

class COleControlSite : public IOleClientSite, public IOleInPlaceSite, public IOleInPlaceFrame {
public:
    COleControlSite(CDialog* pDialog, UINT nID);
    ~COleControlSite();
    COleControlSite(const COleControlSite&) = delete;
    COleControlSite& operator=(const COleControlSite&) = delete;

    // Creates, in-place activates and connects the control at rc (dialog client pixels);
    // false on any failure, with what was obtained released by Close.
    bool CreateControl(REFCLSID clsid, DWORD style, const RECT& rc);
    // Disconnects the events, deactivates and closes the control and releases it.
    void Close();

    UINT GetID() const { return m_nID; }
    HWND GetControlWindow() const { return m_hWndCtrl; }
    IDispatch* GetDispatch() const { return m_pDispatch; }
    // Offers a keyboard message to the control's accelerators; TRUE when it took it.
    BOOL TranslateAccelerator(MSG* pMsg);

    // IUnknown
    STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override;
    STDMETHODIMP_(ULONG) AddRef() override { return 1; }
    STDMETHODIMP_(ULONG) Release() override { return 1; }

    // IOleClientSite
    STDMETHODIMP SaveObject() override { return E_NOTIMPL; }
    STDMETHODIMP GetMoniker(DWORD, DWORD, IMoniker** ppmk) override;
    STDMETHODIMP GetContainer(IOleContainer** ppContainer) override;
    STDMETHODIMP ShowObject() override { return S_OK; }
    STDMETHODIMP OnShowWindow(BOOL) override { return S_OK; }
    STDMETHODIMP RequestNewObjectLayout() override { return E_NOTIMPL; }

    // IOleWindow (for the in-place site and the frame alike)
    STDMETHODIMP GetWindow(HWND* phwnd) override;
    STDMETHODIMP ContextSensitiveHelp(BOOL) override { return E_NOTIMPL; }

    // IOleInPlaceSite
    STDMETHODIMP CanInPlaceActivate() override { return S_OK; }
    STDMETHODIMP OnInPlaceActivate() override { return S_OK; }
    STDMETHODIMP OnUIActivate() override { return S_OK; }
    STDMETHODIMP GetWindowContext(IOleInPlaceFrame** ppFrame, IOleInPlaceUIWindow** ppDoc, LPRECT lprcPosRect,
                                  LPRECT lprcClipRect, LPOLEINPLACEFRAMEINFO lpFrameInfo) override;
    STDMETHODIMP Scroll(SIZE) override { return E_NOTIMPL; }
    STDMETHODIMP OnUIDeactivate(BOOL) override { return S_OK; }
    STDMETHODIMP OnInPlaceDeactivate() override { return S_OK; }
    STDMETHODIMP DiscardUndoState() override { return E_NOTIMPL; }
    STDMETHODIMP DeactivateAndUndo() override { return E_NOTIMPL; }
    STDMETHODIMP OnPosRectChange(LPCRECT lprcPosRect) override;

    // IOleInPlaceUIWindow, IOleInPlaceFrame: no tool space, no menus of ours.
    STDMETHODIMP GetBorder(LPRECT) override { return INPLACE_E_NOTOOLSPACE; }
    STDMETHODIMP RequestBorderSpace(LPCBORDERWIDTHS) override { return INPLACE_E_NOTOOLSPACE; }
    STDMETHODIMP SetBorderSpace(LPCBORDERWIDTHS) override { return INPLACE_E_NOTOOLSPACE; }
    STDMETHODIMP SetActiveObject(IOleInPlaceActiveObject* pActiveObject, LPCOLESTR) override;
    STDMETHODIMP InsertMenus(HMENU, LPOLEMENUGROUPWIDTHS) override { return E_NOTIMPL; }
    STDMETHODIMP SetMenu(HMENU, HOLEMENU, HWND) override { return S_OK; }
    STDMETHODIMP RemoveMenus(HMENU) override { return E_NOTIMPL; }
    STDMETHODIMP SetStatusText(LPCOLESTR) override { return S_OK; }
    STDMETHODIMP EnableModeless(BOOL) override { return S_OK; }
    STDMETHODIMP TranslateAccelerator(LPMSG, WORD) override { return S_FALSE; }

private:
    // The control's events, delivered to the dialog's event sink map.
    class CEventSink : public IDispatch {
    public:
        explicit CEventSink(COleControlSite* pSite) : m_pSite(pSite) {}
        IID m_iid = IID_NULL;

        STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override;
        STDMETHODIMP_(ULONG) AddRef() override { return 1; }
        STDMETHODIMP_(ULONG) Release() override { return 1; }
        STDMETHODIMP GetTypeInfoCount(UINT* pctinfo) override;
        STDMETHODIMP GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
        STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
        STDMETHODIMP Invoke(DISPID dispid, REFIID, LCID, WORD, DISPPARAMS* pParams, VARIANT*, EXCEPINFO*,
                            UINT*) override;

    private:
        COleControlSite* m_pSite;
    };

    void ConnectEvents();

    CDialog* m_pDialog;
    UINT m_nID;
    RECT m_rect = {};
    HWND m_hWndCtrl = nullptr;
    IOleObject* m_pObject = nullptr;
    IOleInPlaceObject* m_pInPlaceObject = nullptr;
    IOleInPlaceActiveObject* m_pActiveObject = nullptr;
    IDispatch* m_pDispatch = nullptr;
    IConnectionPoint* m_pConnectionPoint = nullptr;
    DWORD m_dwCookie = 0;
    CEventSink m_eventSink{this};
};
