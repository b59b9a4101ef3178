#pragma once
// The About box: template 100, nothing of its own.
#include "framework/dialog.h"

class CAboutDlg : public CDialog {
public:
    CAboutDlg();
};
