#include "ui/launcher_dlg.h"

#include <string>

#include "app/globals.h"
#include "res/resource.h"

CLauncherDlg::CLauncherDlg() : CDialog(IDD_TVRL_DIALOG) {}

CLauncherDlg::~CLauncherDlg() = default;

BOOL CLauncherDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    const std::string caption = g_strName + g_strVersion;
    SetWindowTextA(m_hWnd, caption.c_str());
    return TRUE;
}
