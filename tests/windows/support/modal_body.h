#pragma once
// Runs a test's body inside a dialog's own modal loop: once the dialog is initialised it
// posts itself a message whose handler runs the body, then posts the quit message that ends
// the run, unless the body said not to or the dialog has ended already.
#include <windows.h>

#include <functional>

#include "framework/win_app.h"

const UINT WM_RUN_TEST_BODY = WM_APP + 1;

template <class Dialog>
class TModalBody : public Dialog {
public:
    using Dialog::Dialog;

    std::function<void()> body;
    bool quitAfterBody = true;

protected:
    BOOL OnInitDialog() override
    {
        const BOOL result = Dialog::OnInitDialog();
        PostMessageA(this->m_hWnd, WM_RUN_TEST_BODY, 0, 0);
        return result;
    }

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message != WM_RUN_TEST_BODY)
            return Dialog::WindowProc(message, wParam, lParam);
        if (body)
            body();
        if (quitAfterBody && IsWindowVisible(this->m_hWnd))
            PostQuitMessage(0);
        return 0;
    }
};

// An application object for tests that run windows of the launcher without its start-up.
class CTestApp : public CWinApp {
public:
    CTestApp() { AttachModule(GetModuleHandleA(nullptr)); }
    BOOL InitInstance() override { return FALSE; }
};
