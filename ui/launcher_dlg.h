#pragma once
// The launcher's main window: a borderless dialog on template 102 whose face is the login movie.
#include "framework/dialog.h"

class CLauncherDlg : public CDialog {
public:
    CLauncherDlg();
    ~CLauncherDlg() override;

protected:
    BOOL OnInitDialog() override;
};
