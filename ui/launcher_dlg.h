#pragma once
// The launcher's main window: a borderless dialog on template 102 whose face is the login
// movie. It keeps the embedded web view over the rectangle the movie asks for, in screen
// coordinates, whenever it moves or changes size.
#include "flashhost/flash_dlg_base.h"
#include "framework/dialog.h"
#include "web/web_wnd.h"

class CLauncherDlg : public CDialog, public CFlashDlgBase {
public:
    CLauncherDlg();
    ~CLauncherDlg() override;

    // Moves the web view over m_rcWebView (client coordinates) and gives it the focus;
    // does nothing until the movie has asked for a non-empty rectangle.
    void PlaceWebView();

    // The control site's routing: closing, dragging the borderless window, and the input
    // the windowless movie takes. No dialog keys: Tab, Enter and Escape go to the movie.
    BOOL PreTranslateMessage(MSG* pMsg) override;

    // The login movie's commands: "close", "moveweb", "openweb", "weburl", "min".
    HRESULT FSCommand(BSTR command, BSTR args) override;

protected:
    BOOL OnInitDialog() override;
    void OnOK() override;
    LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    const MessageMap* GetMessageMap() const override;
    void OnSiteDragged() override;

    LRESULT OnSysCommand(WPARAM wParam, LPARAM lParam);
    LRESULT OnPaint(WPARAM wParam, LPARAM lParam);
    LRESULT OnQueryDragIcon(WPARAM wParam, LPARAM lParam);
    LRESULT OnSize(WPARAM wParam, LPARAM lParam);
    // The update check's outcome: on a newer version, the update dialog, then the restart
    // through the updater.
    LRESULT OnUpdateNotify(WPARAM wParam, LPARAM lParam);
    LRESULT OnUpdateSpare(WPARAM wParam, LPARAM lParam);

    CWebWnd m_wndWeb;
    RECT m_rcWebView = {0, 0, 0, 0};
    HICON m_hIcon;
};
