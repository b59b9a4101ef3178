#pragma once
// The embedded web view: a modeless pop-up dialog on template 141, owned by the main window
// and kept over the rectangle the login movie asks for. It opens the game page, recognised
// by the last status text, in the pop-up browser window while the launcher hides.
#include <string>

#include "framework/dialog.h"
#include "web/web_browser2.h"

class CLauncherDlg;

// The one web view of the process, for the Backspace hook.
extern HWND g_hWebWnd;
extern HHOOK g_hMsgHook;

class CWebWnd : public CDialog {
public:
    CWebWnd();
    ~CWebWnd() override;

    // The main window, which the web view hides and shows around the game window.
    void SetLauncherDlg(CLauncherDlg* pDlg) { m_pLauncherDlg = pDlg; }
    void Navigate(LPCSTR url, VARIANT* flags, VARIANT* targetFrameName, VARIANT* postData, VARIANT* headers);

    BOOL PreTranslateMessage(MSG* pMsg) override;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    BOOL OnInitDialog() override;
    void OnOK() override;
    const MessageMap* GetMessageMap() const override;
    const EventSinkMap* GetEventSinkMap() const override;

    LRESULT OnSize(WPARAM wParam, LPARAM lParam);
    void OnStatusTextChange(BSTR text);
    void OnNewWindow2(IDispatch** ppDisp, VARIANT_BOOL* Cancel);
    // Runs the game page in the pop-up window with the launcher hidden and the movie stopped,
    // then cancels the browser's own new window.
    void OpenGameWindow(const std::string& url, VARIANT_BOOL* Cancel);

    CWebBrowser2 m_browser;
    CLauncherDlg* m_pLauncherDlg = nullptr;
    std::string m_strStatusText;
};
