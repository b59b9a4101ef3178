#include "ui/launcher_dlg.h"

#include <memory>
#include <string>

#include "app/globals.h"
#include "flashhost/com_error.h"
#include "framework/message_box.h"
#include "framework/win_app.h"
#include "res/resource.h"
#include "ui/about_dlg.h"
#include "update/update_dlg.h"
#include "update/update_notice.h"
#include "update/update_texts.h"
#include "update/update_worker.h"
#include "update/updater_command.h"

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
        OnMessage(WM_UPDATE_NOTIFY, &CLauncherDlg::OnUpdateNotify),
        OnMessage(WM_UPDATE_SPARE, &CLauncherDlg::OnUpdateSpare),
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

    // Only a check: the update dialog's own worker fetches the files, so the two never
    // write the same ones.
    StartUpdateWorker(m_hWnd, TRUE);

    // The window becomes a layered pop-up of 996 x 646 and the movie starts. A control that
    // fails leaves the launcher running without a movie.
    try {
        CreateOleControl(m_hWnd, CLSID_ShockwaveFlash, WS_EX_LAYERED, WS_POPUP | WS_SYSMENU | WS_MINIMIZEBOX, m_hWnd,
                         AfxGetResourceHandle());
    } catch (const CComError&) {
    }

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
    ::SetFocus(m_wndWeb.m_hWnd);
    BringWindowToTop(m_wndWeb.m_hWnd);
}

BOOL CLauncherDlg::PreTranslateMessage(MSG* pMsg) { return RouteSiteInput(pMsg); }

void CLauncherDlg::OnSiteDragged() { PlaceWebView(); }

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

LRESULT CLauncherDlg::OnUpdateNotify(WPARAM, LPARAM lParam)
{
    const std::unique_ptr<CHttpCallBack> record(reinterpret_cast<CHttpCallBack*>(lParam));
    if (!record)
        return 0;

    if (record->m_nStatus == HTTPCB_FILE_FAILED) {
        AfxMessageBox(kUpdateSaveFailedText);
    } else if (record->m_nStatus == HTTPCB_NEW_VERSION) {
        CUpdateDlg dlg;
        if (dlg.DoModal() == IDOK) {
            AfxMessageBox(kUpdateRestartText);
            char launcherPath[512] = {};
            GetModuleFileNameA(nullptr, launcherPath, sizeof launcherPath);
            const std::string commandLine = UpdaterCommandLine(g_strLocalDir, launcherPath);
            WinExec(commandLine.c_str(), SW_HIDE);
            OnCancel();
        }
    }
    return 0;
}

LRESULT CLauncherDlg::OnUpdateSpare(WPARAM, LPARAM) { return 0; }
