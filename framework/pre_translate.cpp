#include "framework/pre_translate.h"

#include "framework/win_app.h"
#include "framework/wnd.h"

namespace {

// GetParent gives a pop-up's owner, so this climbs through owners as well.
HWND TopLevelOf(HWND hWnd)
{
    for (HWND parent; (parent = GetParent(hWnd)) != nullptr;)
        hWnd = parent;
    return hWnd;
}

}  // namespace

BOOL AfxPreTranslateMessage(MSG* pMsg)
{
    if (!pMsg->hwnd)
        return FALSE;
    CWinApp* app = AfxGetApp();
    CWnd* mainWnd = app ? app->m_pMainWnd : nullptr;
    HWND hMain = mainWnd ? mainWnd->m_hWnd : nullptr;

    for (HWND hWnd = pMsg->hwnd; hWnd; hWnd = GetParent(hWnd)) {
        if (CWnd* wnd = CWnd::FromHandlePermanent(hWnd))
            if (wnd->PreTranslateMessage(pMsg))
                return TRUE;
        if (hWnd == hMain)
            return FALSE;
    }
    if (hMain && TopLevelOf(pMsg->hwnd) != hMain)
        return mainWnd->PreTranslateMessage(pMsg);
    return FALSE;
}
