#include "framework/message_box.h"

#include "framework/win_app.h"
#include "framework/wnd.h"

int AfxMessageBox(const char* lpszText, UINT nType)
{
    const CWinApp* app = AfxGetApp();
    const HWND owner = app && app->m_pMainWnd ? app->m_pMainWnd->m_hWnd : nullptr;
    return MessageBoxA(owner, lpszText, app ? app->m_strAppName.c_str() : "", nType);
}
