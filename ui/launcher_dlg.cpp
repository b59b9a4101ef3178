#include "ui/launcher_dlg.h"

#include <string>

#include "app/globals.h"
#include "framework/win_app.h"
#include "res/resource.h"
#include "ui/about_dlg.h"

namespace {
const UINT kAboutCommand = 0x0010;
}

CLauncherDlg::CLauncherDlg()
    : CDialog(IDD_TVRL_DIALOG), m_hIcon(LoadIconA(AfxGetResourceHandle(), MAKEINTRESOURCEA(IDI_TAVREL)))
{
}

CLauncherDlg::~CLauncherDlg() = default;

const MessageMap* CLauncherDlg::GetMessageMap() const
{
    static const MessageMapEntry entries[] = {
        OnMessage(WM_SYSCOMMAND, &CLauncherDlg::OnSysCommand),
        OnMessage(WM_PAINT, &CLauncherDlg::OnPaint),
        OnMessage(WM_QUERYDRAGICON, &CLauncherDlg::OnQueryDragIcon),
        OnMessage(WM_SIZE, &CLauncherDlg::OnSize),
    };
    static const MessageMap map = MakeMessageMap(CDialog::GetMessageMap(), entries);
    return &map;
}

BOOL CLauncherDlg::OnInitDialog()
{
    CDialog::OnInitDialog();

    SendMessageA(m_hWnd, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(m_hIcon));
    SendMessageA(m_hWnd, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(m_hIcon));
    SetWindowPos(m_hWnd, HWND_TOP, 0, 0, 0, 0, SWP_NOSIZE);

    CenterWindow();

    // A pop-up owned by this window, not a child: a child would not show through the
    // layered main window.
    m_wndWeb.Create(IDD_WEB_VIEW, this);
    ShowWindow(m_wndWeb.m_hWnd, SW_SHOW);
    m_wndWeb.SetLauncherDlg(this);
    PlaceWebView();

    const std::string caption = g_strName + g_strVersion;
    SetWindowTextA(m_hWnd, caption.c_str());
    return TRUE;
}

void CLauncherDlg::PlaceWebView()
{
    if (IsRectEmpty(&m_rcWebView))
        return;
    RECT rc = m_rcWebView;
    ClientToScreen(m_hWnd, reinterpret_cast<POINT*>(&rc.left));
    ClientToScreen(m_hWnd, reinterpret_cast<POINT*>(&rc.right));
    if (!m_wndWeb.m_hWnd)
        return;
    SetWindowPos(m_wndWeb.m_hWnd, HWND_TOP, rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top,
                 SWP_NOZORDER | SWP_NOACTIVATE);
    SetFocus(m_wndWeb.m_hWnd);
    BringWindowToTop(m_wndWeb.m_hWnd);
}

void CLauncherDlg::OnOK()
{
    // Enter must never close the launcher.
    UpdateData(TRUE);
}

LRESULT CLauncherDlg::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    // Every point is client area: no caption or border dragging or sizing by the system.
    if (message == WM_NCHITTEST)
        return HTCLIENT;
    return CDialog::DefWindowProc(message, wParam, lParam);
}

LRESULT CLauncherDlg::OnSysCommand(WPARAM wParam, LPARAM)
{
    if ((wParam & 0xFFF0) == kAboutCommand) {
        CAboutDlg about;
        about.DoModal();
        return 0;
    }
    return Default();
}

LRESULT CLauncherDlg::OnPaint(WPARAM, LPARAM)
{
    if (!IsIconic(m_hWnd))
        return Default();
    PAINTSTRUCT ps;
    HDC hdc = BeginPaint(m_hWnd, &ps);
    SendMessageA(m_hWnd, WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(hdc), 0);
    const int cxIcon = GetSystemMetrics(SM_CXICON);
    const int cyIcon = GetSystemMetrics(SM_CYICON);
    RECT rect;
    GetClientRect(m_hWnd, &rect);
    const int x = (rect.right - rect.left - cxIcon + 1) / 2;
    const int y = (rect.bottom - rect.top - cyIcon + 1) / 2;
    DrawIcon(hdc, x, y, m_hIcon);
    EndPaint(m_hWnd, &ps);
    return 0;
}

LRESULT CLauncherDlg::OnQueryDragIcon(WPARAM, LPARAM) { return reinterpret_cast<LRESULT>(m_hIcon); }

LRESULT CLauncherDlg::OnSize(WPARAM, LPARAM)
{
    Default();
    PlaceWebView();
    return 0;
}
