// Runs the built launcher as a user would start it: its main window comes up with the
// configured caption, and closing the window ends the process cleanly.
#include <windows.h>

#include <string>

#include <gtest/gtest.h>

#include "support/host_path.h"

namespace {

struct RunCase {
    const char* exe;
    const wchar_t* caption;
};

void PrintTo(const RunCase& c, std::ostream* os) { *os << c.exe; }

struct FindState {
    DWORD processId;
    HWND found;
};

BOOL CALLBACK FindVisibleWindowOf(HWND hWnd, LPARAM lParam)
{
    auto* state = reinterpret_cast<FindState*>(lParam);
    DWORD pid = 0;
    GetWindowThreadProcessId(hWnd, &pid);
    // The main window is the unowned one: the web view it owns is visible too.
    if (pid == state->processId && IsWindowVisible(hWnd) && !GetWindow(hWnd, GW_OWNER)) {
        state->found = hWnd;
        return FALSE;
    }
    return TRUE;
}

HWND WaitForMainWindow(const PROCESS_INFORMATION& process, DWORD timeoutMs)
{
    const DWORD start = GetTickCount();
    while (GetTickCount() - start < timeoutMs) {
        FindState state{process.dwProcessId, nullptr};
        EnumWindows(&FindVisibleWindowOf, reinterpret_cast<LPARAM>(&state));
        if (state.found)
            return state.found;
        if (WaitForSingleObject(process.hProcess, 100) == WAIT_OBJECT_0)
            return nullptr;
    }
    return nullptr;
}

class LauncherRun : public ::testing::TestWithParam<RunCase> {};

TEST_P(LauncherRun, ShowsTheMainWindowAndEndsWhenItCloses)
{
    std::string commandLine = "\"" + HostPathToWindows(GetParam().exe) + "\"";
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    ASSERT_TRUE(CreateProcessA(nullptr, &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process))
        << commandLine;

    HWND hWnd = WaitForMainWindow(process, 60000);
    if (!hWnd)
        TerminateProcess(process.hProcess, 99);
    ASSERT_NE(hWnd, nullptr) << "no window appeared";

    wchar_t className[64] = {};
    GetClassNameW(hWnd, className, 64);
    EXPECT_STREQ(className, L"#32770");
    wchar_t caption[256] = {};
    GetWindowTextW(hWnd, caption, 256);
    EXPECT_STREQ(caption, GetParam().caption);
    EXPECT_TRUE(GetWindowLongW(hWnd, GWL_STYLE) & WS_POPUP);

    PostMessageW(hWnd, WM_CLOSE, 0, 0);
    const DWORD waited = WaitForSingleObject(process.hProcess, 30000);
    if (waited != WAIT_OBJECT_0)
        TerminateProcess(process.hProcess, 99);
    EXPECT_EQ(waited, static_cast<DWORD>(WAIT_OBJECT_0)) << "the launcher did not end";
    DWORD exitCode = 1;
    GetExitCodeProcess(process.hProcess, &exitCode);
    EXPECT_EQ(exitCode, 0u);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
}

INSTANTIATE_TEST_SUITE_P(Copies, LauncherRun,
                         ::testing::Values(RunCase{TVRL_EXE_PATH, L"QarvoTavrel登录器v0.0"},
                                           RunCase{TVRL_TEST_COPY_PATH, L"测试启动器v0.0"}),
                         [](const ::testing::TestParamInfo<RunCase>& info) {
                             return info.index == 0 ? std::string("shipped") : std::string("test_copy");
                         });

}  // namespace
