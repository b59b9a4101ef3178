// The main launcher window and the dialog framework under it, with real windows: each test
// runs its body inside the main window's own modal loop.
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "app/globals.h"
#include "framework/pre_translate.h"
#include "framework/win_app.h"
#include "support/host_path.h"
#include "support/loopback_server.h"
#include "support/message_box_answerer.h"
#include "support/message_pump.h"
#include "support/modal_body.h"
#include "support/update_texts_expected.h"
#include "ui/launcher_dlg.h"
#include "update/update_notice.h"

namespace {

// The real main window; the test body runs once the window is up, then the window quits.
class TestLauncherDlg : public TModalBody<CLauncherDlg> {
public:
    std::vector<UINT> preTranslated;

    void SetWebViewRect(const RECT& rc) { m_rcWebView = rc; }
    CWebWnd& WebView() { return m_wndWeb; }
    HICON Icon() const { return m_hIcon; }

    BOOL PreTranslateMessage(MSG* pMsg) override
    {
        if (pMsg->message >= WM_APP + 100)
            preTranslated.push_back(pMsg->message);
        return CLauncherDlg::PreTranslateMessage(pMsg);
    }
};

class LauncherWindowTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        g_strName = "\xB2\xE2\xCA\xD4";  // "测试"
        g_strUpdateUrl = m_server.Url("");
    }

    // Runs the main window with `body` inside its loop; the body's end quits it unless the
    // window has ended by itself. Returns how DoModal ended.
    INT_PTR RunToEnd(std::function<void(TestLauncherDlg&)> body)
    {
        TestLauncherDlg dlg;
        m_app.m_pMainWnd = &dlg;
        dlg.body = [&] { body(dlg); };
        const INT_PTR result = dlg.DoModal();
        m_app.m_pMainWnd = nullptr;
        return result;
    }

    void Run(std::function<void(TestLauncherDlg&)> body)
    {
        EXPECT_EQ(RunToEnd(std::move(body)), -1) << "the quit message must end the run";
        MSG msg;
        EXPECT_TRUE(PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) << "the quit message stays queued";
    }

    CTestApp m_app;
    // The update checks of these windows reach a server that accepts and says nothing.
    CLoopbackServer m_server{[](const std::string&) { return LoopbackReply("", 60000); }};
};

TEST_F(LauncherWindowTest, InitialisesAsACentredPopupWithIconAndCaption)
{
    Run([](TestLauncherDlg& dlg) {
        char caption[64] = {};
        GetWindowTextA(dlg.m_hWnd, caption, sizeof caption);
        EXPECT_STREQ(caption, "\xB2\xE2\xCA\xD4v0.0");
        EXPECT_TRUE(GetWindowLongA(dlg.m_hWnd, GWL_STYLE) & WS_POPUP);
        EXPECT_EQ(reinterpret_cast<HICON>(SendMessageA(dlg.m_hWnd, WM_GETICON, ICON_BIG, 0)), dlg.Icon());
        EXPECT_EQ(reinterpret_cast<HICON>(SendMessageA(dlg.m_hWnd, WM_GETICON, ICON_SMALL, 0)), dlg.Icon());
        EXPECT_NE(dlg.Icon(), nullptr);

        RECT window, work;
        GetWindowRect(dlg.m_hWnd, &window);
        SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
        EXPECT_LE(std::abs((window.left + window.right) - (work.left + work.right)), 1);
        EXPECT_LE(std::abs((window.top + window.bottom) - (work.top + work.bottom)), 1);
    });
}

TEST_F(LauncherWindowTest, EmptyNameGivesTheVersionAlone)
{
    g_strName.clear();
    Run([](TestLauncherDlg& dlg) {
        char caption[64] = {};
        GetWindowTextA(dlg.m_hWnd, caption, sizeof caption);
        EXPECT_STREQ(caption, "v0.0");
    });
}

TEST_F(LauncherWindowTest, EnterAndOkNeverCloseIt)
{
    Run([](TestLauncherDlg& dlg) {
        SendMessageA(dlg.m_hWnd, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
        PostMessageA(dlg.m_hWnd, WM_KEYDOWN, VK_RETURN, 0);
        PostMessageA(dlg.m_hWnd, WM_KEYUP, VK_RETURN, 0);
        PumpRounds(10);
        EXPECT_TRUE(IsWindowVisible(dlg.m_hWnd));
    });
}

TEST_F(LauncherWindowTest, EveryPointIsClientArea)
{
    Run([](TestLauncherDlg& dlg) {
        RECT rc;
        GetWindowRect(dlg.m_hWnd, &rc);
        for (POINT pt : {POINT{rc.left, rc.top}, POINT{rc.left + 5, rc.top + 5}, POINT{rc.right - 1, rc.bottom - 1}})
            EXPECT_EQ(SendMessageA(dlg.m_hWnd, WM_NCHITTEST, 0, MAKELPARAM(pt.x, pt.y)), HTCLIENT);
    });
}

struct FoundDialog {
    HWND hWnd = nullptr;
    HWND owner = nullptr;
    bool ownerEnabled = true;
    std::wstring caption;
};

BOOL CALLBACK FindAboutBox(HWND hWnd, LPARAM lParam)
{
    auto* found = reinterpret_cast<FoundDialog*>(lParam);
    wchar_t caption[64] = {};
    GetWindowTextW(hWnd, caption, 64);
    if (IsWindowVisible(hWnd) && std::wstring(caption) == L"关于Tavrel") {
        found->hWnd = hWnd;
        found->caption = caption;
        found->owner = GetWindow(hWnd, GW_OWNER);
        found->ownerEnabled = found->owner && IsWindowEnabled(found->owner);
        return FALSE;
    }
    return TRUE;
}

FoundDialog* g_pAboutBox = nullptr;

// Runs inside the About box's nested modal loop: notes the box and closes it with its OK button.
void CALLBACK CloseAboutBoxWhenShown(HWND, UINT, UINT_PTR, DWORD)
{
    if (!g_pAboutBox->hWnd && !EnumWindows(&FindAboutBox, reinterpret_cast<LPARAM>(g_pAboutBox)))
        PostMessageA(g_pAboutBox->hWnd, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
}

class SystemCommandTest : public LauncherWindowTest, public ::testing::WithParamInterface<UINT> {};

TEST_P(SystemCommandTest, AboutCommandsOpenTheAboutBoxOwnedAndModal)
{
    const UINT command = GetParam();
    Run([command](TestLauncherDlg& dlg) {
        FoundDialog found;
        g_pAboutBox = &found;
        const UINT_PTR timer = SetTimer(nullptr, 0, 50, &CloseAboutBoxWhenShown);
        PostMessageA(dlg.m_hWnd, WM_SYSCOMMAND, command, 0);
        PumpUntil([&] { return found.hWnd && !IsWindow(found.hWnd); });
        KillTimer(nullptr, timer);

        ASSERT_NE(found.hWnd, nullptr) << "no About box";
        EXPECT_EQ(found.owner, dlg.m_hWnd);
        EXPECT_FALSE(found.ownerEnabled) << "the main window is disabled while the box is open";
        EXPECT_FALSE(IsWindow(found.hWnd));
        EXPECT_TRUE(IsWindowEnabled(dlg.m_hWnd));
    });
}

INSTANTIATE_TEST_SUITE_P(Ids, SystemCommandTest, ::testing::Values(0x0010u, 0x0013u, 0x001Fu));

TEST_F(LauncherWindowTest, MinimiseTakesItsDefaultCourse)
{
    Run([](TestLauncherDlg& dlg) {
        SendMessageA(dlg.m_hWnd, WM_SYSCOMMAND, SC_MINIMIZE, 0);
        EXPECT_TRUE(PumpUntil([&] { return IsIconic(dlg.m_hWnd) != FALSE; }));
    });
}

// A plain pop-up owned by the main window stands in for the web view's window.
HWND MakeStandInWebView(TestLauncherDlg& dlg)
{
    HWND popup = CreateWindowExA(0, "STATIC", "", WS_POPUP | WS_VISIBLE, 500, 500, 50, 50, dlg.m_hWnd, nullptr,
                                 GetModuleHandleA(nullptr), nullptr);
    if (dlg.WebView().m_hWnd)
        DestroyWindow(dlg.WebView().m_hWnd);
    dlg.WebView().SubclassWindow(popup);
    return popup;
}

TEST_F(LauncherWindowTest, PlaceWebViewPutsTheWebViewOverTheRectangleInScreenCoordinates)
{
    Run([](TestLauncherDlg& dlg) {
        HWND web = MakeStandInWebView(dlg);
        // Template 102 has no frame: the client origin is the window origin.
        SetWindowPos(dlg.m_hWnd, nullptr, 100, 50, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
        POINT origin = {0, 0};
        ClientToScreen(dlg.m_hWnd, &origin);
        ASSERT_EQ(origin.x, 100);
        ASSERT_EQ(origin.y, 50);

        dlg.SetWebViewRect(RECT{10, 20, 310, 420});
        dlg.PlaceWebView();
        RECT rc;
        GetWindowRect(web, &rc);
        EXPECT_EQ(rc.left, 110);
        EXPECT_EQ(rc.top, 70);
        EXPECT_EQ(rc.right - rc.left, 300);
        EXPECT_EQ(rc.bottom - rc.top, 400);
        EXPECT_EQ(GetFocus(), web);

        // Moving the window by hand and resizing it re-places the web view (WM_SIZE).
        SetWindowPos(dlg.m_hWnd, nullptr, 200, 100, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
        SetWindowPos(dlg.m_hWnd, nullptr, 0, 0, 640, 480, SWP_NOMOVE | SWP_NOZORDER);
        GetWindowRect(web, &rc);
        EXPECT_EQ(rc.left, 210);
        EXPECT_EQ(rc.top, 120);
    });
}

TEST_F(LauncherWindowTest, EmptyOrInvertedRectangleMovesNothing)
{
    Run([](TestLauncherDlg& dlg) {
        HWND web = MakeStandInWebView(dlg);
        for (const RECT& empty : {RECT{0, 0, 0, 0}, RECT{10, 20, 10, 400}, RECT{10, 20, 300, 5}}) {
            dlg.SetWebViewRect(empty);
            dlg.PlaceWebView();
            SetWindowPos(dlg.m_hWnd, nullptr, 0, 0, 500, 400, SWP_NOMOVE | SWP_NOZORDER);  // WM_SIZE too
            RECT rc;
            GetWindowRect(web, &rc);
            EXPECT_EQ(rc.left, 500);
            EXPECT_EQ(rc.top, 500);
            EXPECT_EQ(rc.right - rc.left, 50);
        }
    });
}

TEST_F(LauncherWindowTest, QueuedMessagesOfOwnedAndUnownedWindowsReachTheMainWindow)
{
    Run([](TestLauncherDlg& dlg) {
        HINSTANCE instance = GetModuleHandleA(nullptr);
        HWND owned = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 10, 10, dlg.m_hWnd, nullptr, instance, nullptr);
        HWND child = CreateWindowExA(0, "STATIC", "", WS_CHILD, 0, 0, 5, 5, owned, nullptr, instance, nullptr);
        HWND unowned = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, instance, nullptr);
        HWND stranger = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, instance, nullptr);
        PostMessageA(child, WM_APP + 100, 0, 0);
        PostMessageA(owned, WM_APP + 101, 0, 0);
        PostMessageA(unowned, WM_APP + 102, 0, 0);
        PostMessageA(dlg.m_hWnd, WM_APP + 103, 0, 0);
        PostThreadMessageA(GetCurrentThreadId(), WM_APP + 104, 0, 0);  // no window: nobody's
        PumpUntil([&] { return dlg.preTranslated.size() >= 4; });
        PumpRounds(5);
        EXPECT_EQ(dlg.preTranslated, (std::vector<UINT>{WM_APP + 100, WM_APP + 101, WM_APP + 102, WM_APP + 103}));
        for (HWND hWnd : {child, owned, unowned, stranger})
            DestroyWindow(hWnd);
    });
}

void PostNotice(HWND hWnd, int32_t status, int32_t bytes = 0)
{
    auto* record = new CHttpCallBack;
    record->m_nStatus = status;
    record->m_nBytes = bytes;
    PostMessageA(hWnd, WM_UPDATE_NOTIFY, 0, reinterpret_cast<LPARAM>(record));
}

// What a test does with the update dialog once it is up (inside its nested modal loop).
struct UpdateDialogScript {
    std::function<void(HWND)> act;
    HWND dialog = nullptr;
    bool mainWindowDisabled = false;
};
UpdateDialogScript* g_pScript = nullptr;

BOOL CALLBACK FindUpdateDialog(HWND hWnd, LPARAM)
{
    wchar_t caption[32] = {};
    GetWindowTextW(hWnd, caption, 32);
    if (IsWindowVisible(hWnd) && std::wstring(caption) == L"程序升级") {
        g_pScript->dialog = hWnd;
        return FALSE;
    }
    return TRUE;
}

void CALLBACK DriveUpdateDialog(HWND, UINT, UINT_PTR, DWORD)
{
    if (g_pScript->dialog || EnumWindows(&FindUpdateDialog, 0))
        return;
    // The dialog's own worker goes stale: only what the script posts reaches the dialog.
    g_nWorkerGeneration.fetch_add(1);
    HWND owner = GetWindow(g_pScript->dialog, GW_OWNER);
    g_pScript->mainWindowDisabled = owner && !IsWindowEnabled(owner);
    g_pScript->act(g_pScript->dialog);
}

class LauncherUpdateTest : public LauncherWindowTest {
protected:
    // Sends the main window status 10 and lets `act` drive the update dialog.
    INT_PTR RunUpdate(UpdateDialogScript& script)
    {
        g_pScript = &script;
        const INT_PTR result = RunToEnd([&](TestLauncherDlg& dlg) {
            const UINT_PTR timer = SetTimer(nullptr, 0, 50, &DriveUpdateDialog);
            PostNotice(dlg.m_hWnd, HTTPCB_NEW_VERSION);
            PumpUntil([&] { return script.dialog && !IsWindow(script.dialog); });
            KillTimer(nullptr, timer);
            EXPECT_TRUE(script.dialog) << "no update dialog";
        });
        g_pScript = nullptr;
        return result;
    }
};

TEST_F(LauncherUpdateTest, SaveFailureIsShownAndNothingElseHappens)
{
    CMessageBoxAnswerer answerer(m_app.m_strAppName);
    Run([&](TestLauncherDlg& dlg) {
        PostNotice(dlg.m_hWnd, HTTPCB_FILE_FAILED);
        EXPECT_TRUE(PumpUntil([&] { return !answerer.Texts().empty(); }));
        EXPECT_TRUE(IsWindowVisible(dlg.m_hWnd));
    });
    EXPECT_EQ(answerer.Texts(), std::vector<std::string>{kExpectedSaveFailedText});
}

TEST_F(LauncherUpdateTest, OtherNoticesAndTheSpareMessageDoNothing)
{
    CMessageBoxAnswerer answerer(m_app.m_strAppName);
    Run([&](TestLauncherDlg& dlg) {
        for (int32_t status : {1, 3, 4, 5, 6, 7, 11, 12, 13})
            PostNotice(dlg.m_hWnd, status, 4096);
        PostMessageA(dlg.m_hWnd, WM_UPDATE_NOTIFY, 0, 0);  // no record at all
        EXPECT_EQ(SendMessageA(dlg.m_hWnd, WM_UPDATE_SPARE, 1, 2), 0);
        PumpRounds(10);
        EXPECT_TRUE(IsWindowVisible(dlg.m_hWnd));
        EXPECT_TRUE(IsWindowEnabled(dlg.m_hWnd));
    });
    EXPECT_TRUE(answerer.Texts().empty());
}

TEST_F(LauncherUpdateTest, CancelledUpdateKeepsTheLauncherRunning)
{
    CMessageBoxAnswerer answerer(m_app.m_strAppName);
    UpdateDialogScript script;
    script.act = [](HWND dialog) {
        // A stale main-window worker still reports while the dialog is open: ignored.
        for (int32_t status : {6, 7, 11, 12})
            PostNotice(GetWindow(dialog, GW_OWNER), status, 2048);
        PostMessageA(dialog, WM_CLOSE, 0, 0);
    };
    EXPECT_EQ(RunUpdate(script), -1) << "the launcher goes on until the test quits it";
    EXPECT_TRUE(script.mainWindowDisabled) << "the dialog is modal over the main window";
    EXPECT_TRUE(answerer.Texts().empty());
    MSG msg;
    PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE);
}

TEST_F(LauncherUpdateTest, CompletedUpdateStartsTheUpdaterAndEndsTheLauncher)
{
    // The updater stands in a folder of its own: a program that writes down its command line.
    char self[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, self, MAX_PATH);
    std::string folder(self);
    folder.resize(folder.find_last_of('\\') + 1);
    folder += "updater_run\\";
    CreateDirectoryA(folder.c_str(), nullptr);
    ASSERT_TRUE(CopyFileA(HostPathToWindows(TVRL_RECORDER_PATH).c_str(), (folder + "update.exe").c_str(), FALSE));
    const std::string record = folder + "command_line.txt";
    DeleteFileA(record.c_str());
    g_strLocalDir = folder;

    CMessageBoxAnswerer answerer(m_app.m_strAppName);
    UpdateDialogScript script;
    script.act = [](HWND dialog) {
        PostNotice(dialog, HTTPCB_STARTED);
        PostNotice(dialog, HTTPCB_LENGTH, 4096);
        PostNotice(dialog, HTTPCB_PROGRESS, 4096);
        PostNotice(dialog, HTTPCB_FILE_DONE);
        PostNotice(dialog, HTTPCB_ALL_DONE);
    };
    EXPECT_EQ(RunUpdate(script), IDCANCEL) << "the launcher's window ends through OnCancel";
    g_strLocalDir.clear();
    EXPECT_EQ(answerer.Texts(), std::vector<std::string>{kExpectedRestartText});

    std::string commandLine;
    PumpUntil([&] {
        HANDLE file = CreateFileA(record.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
        if (file == INVALID_HANDLE_VALUE)
            return false;
        char text[2048] = {};
        DWORD read = 0;
        ReadFile(file, text, sizeof text - 1, &read, nullptr);
        CloseHandle(file);
        commandLine.assign(text, read);
        return read > 0;
    });
    EXPECT_EQ(commandLine, "\"" + folder + "update.exe\" \"" + self + "\" \"" + folder + "QUILB.update\"");
}

}  // namespace
