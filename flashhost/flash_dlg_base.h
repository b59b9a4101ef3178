#pragma once
// The Flash layer of the main window: loads the login movie into the hosted Flash control
// and turns the control's events into virtual calls.
#include <windows.h>
#include <oleauto.h>

class CFlashDlgBase {
public:
    CFlashDlgBase();
    virtual ~CFlashDlgBase();
    CFlashDlgBase(const CFlashDlgBase&) = delete;
    CFlashDlgBase& operator=(const CFlashDlgBase&) = delete;

    // The movie's fscommand(command, args). Both strings belong to the callee, which frees
    // them. The default shows the arguments in a message box.
    virtual HRESULT FSCommand(BSTR command, BSTR args);
    // The movie's ExternalInterface call; the request belongs to the callee.
    virtual HRESULT FlashCall(BSTR request);

    // Restart and stop the movie (around the game window); nothing without a control.
    void PlayMovie();
    void StopMovie();
};
