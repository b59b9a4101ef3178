#include "web/web_wnd.h"

#include "app/globals.h"
#include "flashhost/com_error.h"
#include "framework/ansi_string.h"
#include "res/resource.h"
#include "ui/launcher_dlg.h"
#include "web/new_window_dlg.h"

HWND g_hWebWnd = nullptr;
HHOOK g_hMsgHook = nullptr;

namespace {

const DISPID kDispidStatusTextChange = 102;
const DISPID kDispidNewWindow2 = 251;

// Backspace inside the web view goes through the dialog manager straight to the focused
// window, and the loop gets an empty message instead, so the browser's accelerator handling
// in the loop's pre-translation never sees it (it would navigate back).
LRESULT CALLBACK GetMsgHookProc(int code, WPARAM wParam, LPARAM lParam)
{
    auto* msg = reinterpret_cast<MSG*>(lParam);
    if (code >= 0 && wParam == PM_REMOVE && msg->message >= WM_KEYFIRST && msg->message <= 0x0109 &&
        msg->wParam == VK_BACK) {
        if (IsDialogMessageA(g_hWebWnd, msg)) {
            msg->message = WM_NULL;
            msg->wParam = 0;
            msg->lParam = 0;
        }
    }
    return CallNextHookEx(g_hMsgHook, code, wParam, lParam);
}

}  // namespace

CWebWnd::CWebWnd() : CDialog(IDD_WEB_VIEW) {}

CWebWnd::~CWebWnd()
{
    // The window goes before the members: its controls are released at WM_DESTROY while
    // m_browser still wraps a live control window.
    if (m_hWnd)
        DestroyWindow(m_hWnd);
}

void CWebWnd::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_WEB_BROWSER, m_browser);
}

const MessageMap* CWebWnd::GetMessageMap() const
{
    static const MessageMapEntry entries[] = {
        OnMessage(WM_SIZE, &CWebWnd::OnSize),
    };
    static const MessageMap map = MakeMessageMap(CDialog::GetMessageMap(), entries);
    return &map;
}

const EventSinkMap* CWebWnd::GetEventSinkMap() const
{
    static const EventSinkEntry entries[] = {
        OnEvent<&CWebWnd::OnStatusTextChange>(IDC_WEB_BROWSER, kDispidStatusTextChange),
        OnEvent<&CWebWnd::OnNewWindow2>(IDC_WEB_BROWSER, kDispidNewWindow2),
    };
    static const EventSinkMap map = MakeEventSinkMap(entries);
    return &map;
}

LRESULT CWebWnd::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    // The hook lives exactly as long as the window: from before OnInitDialog to WM_DESTROY.
    if (message == WM_INITDIALOG)
        g_hMsgHook = SetWindowsHookExA(WH_GETMESSAGE, &GetMsgHookProc, nullptr, GetCurrentThreadId());
    else if (message == WM_DESTROY && g_hMsgHook) {
        UnhookWindowsHookEx(g_hMsgHook);
        g_hMsgHook = nullptr;
    }
    return CDialog::DefWindowProc(message, wParam, lParam);
}

BOOL CWebWnd::OnInitDialog()
{
    CDialog::OnInitDialog();
    g_hWebWnd = m_hWnd;
    return TRUE;
}

void CWebWnd::OnOK() {}

void CWebWnd::Navigate(LPCSTR url, VARIANT* flags, VARIANT* targetFrameName, VARIANT* postData, VARIANT* headers)
{
    m_browser.Navigate(url, flags, targetFrameName, postData, headers);
}

BOOL CWebWnd::PreTranslateMessage(MSG* pMsg)
{
    if (pMsg->message == WM_KEYDOWN) {
        if (pMsg->wParam == VK_F5) {
            m_browser.Refresh();
            return TRUE;
        }
        // Enter and Esc belong to the page; the dialog manager would make them OK and Cancel.
        if (pMsg->wParam == VK_RETURN || pMsg->wParam == VK_ESCAPE)
            return CWnd::PreTranslateMessage(pMsg);
    }
    return CDialog::PreTranslateMessage(pMsg);
}

LRESULT CWebWnd::OnSize(WPARAM, LPARAM)
{
    // The browser's 2-pixel border lies outside the visible client area on every side.
    if (m_browser.m_hWnd) {
        RECT rc;
        GetClientRect(m_hWnd, &rc);
        SetWindowPos(m_browser.m_hWnd, nullptr, -2, -2, rc.right - rc.left + 4, rc.bottom - rc.top + 4,
                     SWP_NOZORDER | SWP_NOACTIVATE);
    }
    return Default();
}

void CWebWnd::OnStatusTextChange(BSTR text) { m_strStatusText = WideToAnsi(text); }

void CWebWnd::OnNewWindow2(IDispatch**, VARIANT_BOOL* Cancel)
{
    // The event carries no address: the link under the pointer was reported as status text.
    const std::string url = m_strStatusText;
    if (url.find(g_strGameUrl) == std::string::npos)
        return;
    OpenGameWindow(url, Cancel);
}

void CWebWnd::OpenGameWindow(const std::string& url, VARIANT_BOOL* Cancel)
{
    // A movie that fails to stop or restart stays as it is: the game window opens all the
    // same, and no exception crosses the browser's event call.
    ShowWindow(m_hWnd, SW_HIDE);
    if (m_pLauncherDlg) {
        try {
            m_pLauncherDlg->StopMovie();
        } catch (const CComError&) {
        }
        ShowWindow(m_pLauncherDlg->m_hWnd, SW_HIDE);
    }
    CNewWindowDlg dlg;
    dlg.m_strUrl = url;
    dlg.DoModal();
    if (m_pLauncherDlg) {
        try {
            m_pLauncherDlg->PlayMovie();
        } catch (const CComError&) {
        }
        ShowWindow(m_pLauncherDlg->m_hWnd, SW_SHOW);
    }
    ShowWindow(m_hWnd, SW_SHOW);
    // The browser opens no window of its own.
    *Cancel = VARIANT_TRUE;
}
