#pragma once
// The pop-up browser window of the game page: a maximised, unowned top-level dialog on
// template 130 with its own taskbar button. It shows the page title with the F5 hint, keeps
// script errors silent and asks before it closes.
#include <string>

#include "framework/dialog.h"
#include "web/web_browser2.h"

class CNewWindowDlg : public CDialog {
public:
    CNewWindowDlg();
    ~CNewWindowDlg() override;

    BOOL PreTranslateMessage(MSG* pMsg) override;

    std::string m_strUrl;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    const MessageMap* GetMessageMap() const override;
    const EventSinkMap* GetEventSinkMap() const override;

    LRESULT OnSize(WPARAM wParam, LPARAM lParam);
    LRESULT OnClose(WPARAM wParam, LPARAM lParam);
    LRESULT OnEraseBkgnd(WPARAM wParam, LPARAM lParam);
    void OnDocumentComplete(IDispatch* pDisp, VARIANT* URL);
    void OnNavigateComplete2(IDispatch* pDisp, VARIANT* URL);

    CWebBrowser2 m_browser;
    HICON m_hIcon = nullptr;
};
