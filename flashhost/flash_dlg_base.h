#pragma once
// The Flash layer of the main window: connects to the hosted Flash control's events, sets
// its display properties, loads the login movie carried in the executable and starts it,
// and turns the control's events into virtual calls. Failing property settings, Play and
// StopPlay raise CComError.
#include <windows.h>
#include <oleauto.h>

#include "flashhost/ole_base_dlg.h"
#include "flashhost/shockwave_flash.h"

class CFlashDlgBase : public TOleBaseDlg<IShockwaveFlash>, public _IShockwaveFlashEvents {
public:
    CFlashDlgBase();
    ~CFlashDlgBase() override;

    // Every face, the event face included, shares the site's identity and count.
    STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override;
    STDMETHODIMP_(ULONG) AddRef() override;
    STDMETHODIMP_(ULONG) Release() override;

    // The event face.
    STDMETHODIMP GetTypeInfoCount(UINT* pctinfo) override;
    STDMETHODIMP GetTypeInfo(UINT iTInfo, LCID lcid, ITypeInfo** ppTInfo) override;
    STDMETHODIMP GetIDsOfNames(REFIID riid, LPOLESTR* names, UINT count, LCID lcid, DISPID* ids) override;
    STDMETHODIMP Invoke(DISPID dispid, REFIID riid, LCID lcid, WORD flags, DISPPARAMS* params, VARIANT* result,
                        EXCEPINFO* excepInfo, UINT* argErr) override;

    // The movie's fscommand(command, args). Both strings belong to the callee, which frees
    // them. The default shows the arguments in a message box.
    virtual HRESULT FSCommand(BSTR command, BSTR args);
    // The movie's ExternalInterface call; the request belongs to the callee.
    virtual HRESULT FlashCall(BSTR request);

    // Restart and stop the movie (around the game window); nothing without a control.
    void PlayMovie();
    void StopMovie();

protected:
    BOOL OnControlCreated() override;
    BOOL OnControlActivated() override;

private:
    // Raises CComError for a failed call on the control.
    void Check(HRESULT hr);
};
