// The system's own WebBrowser control under Wine: it cannot render pages here (no browser
// engine is installed), but the web view must create, activate, navigate and release it
// without any prompt or crash.
#include <windows.h>

#include <set>

#include <gtest/gtest.h>

#include "framework/win_app.h"
#include "res/resource.h"
#include "support/message_pump.h"
#include "web/web_wnd.h"

namespace {

class TestApp : public CWinApp {
public:
    BOOL InitInstance() override { return FALSE; }
};

BOOL CALLBACK CollectVisible(HWND hWnd, LPARAM lParam)
{
    DWORD pid = 0;
    GetWindowThreadProcessId(hWnd, &pid);
    if (pid == GetCurrentProcessId() && IsWindowVisible(hWnd))
        reinterpret_cast<std::set<HWND>*>(lParam)->insert(hWnd);
    return TRUE;
}

std::set<HWND> VisibleWindows()
{
    std::set<HWND> windows;
    EnumWindows(&CollectVisible, reinterpret_cast<LPARAM>(&windows));
    return windows;
}

TEST(WebBrowserSmoke, WebViewHostsTheSystemControlWithoutAPrompt)
{
    ASSERT_TRUE(SUCCEEDED(OleInitialize(nullptr)));
    TestApp app;
    app.AttachModule(GetModuleHandleA(nullptr));
    {
        CWebWnd web;
        ASSERT_TRUE(web.Create(IDD_WEB_VIEW));
        ShowWindow(web.m_hWnd, SW_SHOW);
        HWND control = GetDlgItem(web.m_hWnd, IDC_WEB_BROWSER);
        ASSERT_NE(control, nullptr) << "the system control was not created";
        EXPECT_TRUE(IsWindowVisible(control));
        EXPECT_NE(web.FindControlSite(control), nullptr);

        const std::set<HWND> before = VisibleWindows();
        web.Navigate("about:blank", nullptr, nullptr, nullptr, nullptr);
        // Any window that shows up now would be a prompt: a few seconds give it time to.
        const DWORD start = GetTickCount();
        std::set<HWND> after;
        PumpUntil(
            [&] {
                after = VisibleWindows();
                return after != before || GetTickCount() - start > 3000;
            },
            10000);
        EXPECT_EQ(after, before) << "a window appeared after navigating";
        DestroyWindow(web.m_hWnd);
        EXPECT_EQ(web.m_hWnd, nullptr);
    }
    OleUninitialize();
}

}  // namespace
