#pragma once
// The embedded web view: a modeless pop-up dialog on template 141, owned by the main window
// and kept over the rectangle the login movie asks for.
#include "framework/dialog.h"

class CLauncherDlg;

class CWebWnd : public CDialog {
public:
    CWebWnd();
    ~CWebWnd() override;

    // The main window, which the web view hides and shows around the game window.
    void SetLauncherDlg(CLauncherDlg* pDlg) { m_pLauncherDlg = pDlg; }

private:
    CLauncherDlg* m_pLauncherDlg = nullptr;
};
