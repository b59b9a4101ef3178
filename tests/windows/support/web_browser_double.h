#pragma once
// A stand-in for the WebBrowser control, registered in the test process under its class id
// so that the launcher's dialogs create it from their templates through COM. It is a
// windowed control that records the dispatch calls it gets (Navigate, Navigate2, Refresh),
// answers Document with a document set by the test, and fires DWebBrowserEvents2 events
// through its connection point as the test asks.
#include <windows.h>
#include <ocidl.h>
#include <ole2.h>

#include <string>
#include <vector>

#include "framework/com_object.h"

struct BrowserCall {
    DISPID dispid;
    std::wstring url;
    VARTYPE urlType;                    // as the URL argument arrived, after a variant reference
    std::vector<VARTYPE> optionalTypes;  // the four optional arguments; VT_ERROR when left out
    std::vector<VARIANT> optionals;      // their values (owned by the call record)
};

class CWebBrowserDouble : public CComRefCount,
                          public IOleObject,
                          public IOleInPlaceObject,
                          public IOleInPlaceActiveObject,
                          public IPersistStreamInit,
                          public IConnectionPointContainer,
                          public IConnectionPoint,
                          public IProvideClassInfo2,
                          public IDispatch {
public:
    CWebBrowserDouble();
    ~CWebBrowserDouble() override;

    // What the launcher did with the control.
    std::vector<BrowserCall> m_calls;
    std::vector<MSG> m_accelerators;    // messages offered to TranslateAccelerator
    std::vector<MSG> m_windowKeys;      // keyboard messages that reached the control's window
    bool m_bInitNew = false;
    bool m_bClosed = false;
    bool m_bDeactivated = false;
    HWND m_hWnd = nullptr;
    IDispatch* m_pDocument = nullptr;   // answered for Document; the double holds a reference

    void SetDocument(IDispatch* document);
    bool HasSink() const { return m_pSink != nullptr; }
    HRESULT FireStatusTextChange(const wchar_t* text);
    // Returns Cancel as the handler left it.
    VARIANT_BOOL FireNewWindow2();
    HRESULT FireDocumentComplete(IDispatch* pDisp);
    HRESULT FireNavigateComplete2(IDispatch* pDisp);
    // Any event, arguments in declaration order.
    HRESULT Fire(DISPID dispid, std::vector<VARIANT> args);
    ULONG References();

    // IUnknown
    STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override;
    STDMETHODIMP_(ULONG) AddRef() override { return AddRefCount(); }
    STDMETHODIMP_(ULONG) Release() override { return ReleaseCount(); }

    // IOleObject
    STDMETHODIMP SetClientSite(IOleClientSite* pClientSite) override;
    STDMETHODIMP GetClientSite(IOleClientSite** ppClientSite) override;
    STDMETHODIMP SetHostNames(LPCOLESTR, LPCOLESTR) override { return S_OK; }
    STDMETHODIMP Close(DWORD) override;
    STDMETHODIMP SetMoniker(DWORD, IMoniker*) override { return E_NOTIMPL; }
    STDMETHODIMP GetMoniker(DWORD, DWORD, IMoniker**) override { return E_NOTIMPL; }
    STDMETHODIMP InitFromData(IDataObject*, BOOL, DWORD) override { return E_NOTIMPL; }
    STDMETHODIMP GetClipboardData(DWORD, IDataObject**) override { return E_NOTIMPL; }
    STDMETHODIMP DoVerb(LONG iVerb, LPMSG, IOleClientSite* pActiveSite, LONG, HWND hwndParent, LPCRECT lprcPosRect) override;
    STDMETHODIMP EnumVerbs(IEnumOLEVERB**) override { return E_NOTIMPL; }
    STDMETHODIMP Update() override { return S_OK; }
    STDMETHODIMP IsUpToDate() override { return S_OK; }
    STDMETHODIMP GetUserClassID(CLSID*) override { return E_NOTIMPL; }
    STDMETHODIMP GetUserType(DWORD, LPOLESTR*) override { return E_NOTIMPL; }
    STDMETHODIMP SetExtent(DWORD, SIZEL*) override { return E_NOTIMPL; }
    STDMETHODIMP GetExtent(DWORD, SIZEL*) override { return E_NOTIMPL; }
    STDMETHODIMP Advise(IAdviseSink*, DWORD*) override { return E_NOTIMPL; }
    STDMETHODIMP EnumAdvise(IEnumSTATDATA**) override { return E_NOTIMPL; }
    STDMETHODIMP GetMiscStatus(DWORD, DWORD* pdwStatus) override;
    STDMETHODIMP SetColorScheme(LOGPALETTE*) override { return E_NOTIMPL; }

    // IOleWindow, IOleInPlaceObject, IOleInPlaceActiveObject
    STDMETHODIMP GetWindow(HWND* phwnd) override;
    STDMETHODIMP ContextSensitiveHelp(BOOL) override { return E_NOTIMPL; }
    STDMETHODIMP InPlaceDeactivate() override;
    STDMETHODIMP UIDeactivate() override { return S_OK; }
    STDMETHODIMP SetObjectRects(LPCRECT lprcPosRect, LPCRECT) override;
    STDMETHODIMP ReactivateAndUndo() override { return E_NOTIMPL; }
    STDMETHODIMP TranslateAccelerator(LPMSG lpmsg) override;
    STDMETHODIMP OnFrameWindowActivate(BOOL) override { return S_OK; }
    STDMETHODIMP OnDocWindowActivate(BOOL) override { return S_OK; }
    STDMETHODIMP ResizeBorder(LPCRECT, IOleInPlaceUIWindow*, BOOL) override { return S_OK; }
    STDMETHODIMP EnableModeless(BOOL) override { return S_OK; }

    // IPersistStreamInit
    STDMETHODIMP GetClassID(CLSID* pClassID) override;
    STDMETHODIMP IsDirty() override { return S_FALSE; }
    STDMETHODIMP Load(LPSTREAM) override { return E_NOTIMPL; }
    STDMETHODIMP Save(LPSTREAM, BOOL) override { return E_NOTIMPL; }
    STDMETHODIMP GetSizeMax(ULARGE_INTEGER*) override { return E_NOTIMPL; }
    STDMETHODIMP InitNew() override;

    // IConnectionPointContainer, IConnectionPoint
    STDMETHODIMP EnumConnectionPoints(IEnumConnectionPoints**) override { return E_NOTIMPL; }
    STDMETHODIMP FindConnectionPoint(REFIID riid, IConnectionPoint** ppCP) override;
    STDMETHODIMP GetConnectionInterface(IID* pIID) override;
    STDMETHODIMP GetConnectionPointContainer(IConnectionPointContainer** ppCPC) override;
    STDMETHODIMP Advise(IUnknown* pUnkSink, DWORD* pdwCookie) override;
    STDMETHODIMP Unadvise(DWORD dwCookie) override;
    STDMETHODIMP EnumConnections(IEnumConnections**) override { return E_NOTIMPL; }

    // IProvideClassInfo2
    STDMETHODIMP GetClassInfo(ITypeInfo**) override { return E_NOTIMPL; }
    STDMETHODIMP GetGUID(DWORD dwGuidKind, GUID* pGUID) override;

    // IDispatch: the control's own members by their published ids.
    STDMETHODIMP GetTypeInfoCount(UINT* pctinfo) override;
    STDMETHODIMP GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
    STDMETHODIMP Invoke(DISPID dispid, REFIID, LCID, WORD wFlags, DISPPARAMS* pParams, VARIANT* pResult, EXCEPINFO*,
                        UINT*) override;

private:
    static LRESULT CALLBACK ControlWindowProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);

    IOleClientSite* m_pSite = nullptr;
    IDispatch* m_pSink = nullptr;
};

// Registers the double's class object under the WebBrowser class id for as long as it
// lives, and keeps every control it made, in order, for the test to look at.
class CWebBrowserDoubleRegistration {
public:
    CWebBrowserDoubleRegistration();
    ~CWebBrowserDoubleRegistration();
    CWebBrowserDoubleRegistration(const CWebBrowserDoubleRegistration&) = delete;
    CWebBrowserDoubleRegistration& operator=(const CWebBrowserDoubleRegistration&) = delete;

    bool Registered() const { return m_dwRegister != 0; }
    const std::vector<CWebBrowserDouble*>& Controls() const;
    // The control whose window is hWnd, or null.
    CWebBrowserDouble* ControlOf(HWND hWnd) const;

private:
    DWORD m_dwRegister = 0;
};
