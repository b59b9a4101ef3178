// Runs the built launcher as a user would start it: its main window comes up with the
// configured caption, and closing the window ends the process cleanly.
#include <windows.h>

#include <string>

#include <gtest/gtest.h>

#include "support/host_path.h"
#include "tools/capture/launcher_process.h"

namespace {

struct RunCase {
    const char* exe;
    const wchar_t* caption;
};

void PrintTo(const RunCase& c, std::ostream* os) { *os << c.exe; }

class LauncherRun : public ::testing::TestWithParam<RunCase> {};

TEST_P(LauncherRun, ShowsTheMainWindowAndEndsWhenItCloses)
{
    CLauncherProcess launcher;
    ASSERT_TRUE(launcher.Start(HostPathToWindows(GetParam().exe))) << GetParam().exe;
    HWND hWnd = launcher.WaitForMainWindow(60000);
    ASSERT_NE(hWnd, nullptr) << "no window appeared";

    wchar_t className[64] = {};
    GetClassNameW(hWnd, className, 64);
    EXPECT_STREQ(className, L"#32770");
    wchar_t caption[256] = {};
    GetWindowTextW(hWnd, caption, 256);
    EXPECT_STREQ(caption, GetParam().caption);
    EXPECT_TRUE(GetWindowLongW(hWnd, GWL_STYLE) & WS_POPUP);

    PostMessageW(hWnd, WM_CLOSE, 0, 0);
    DWORD exitCode = 1;
    EXPECT_TRUE(launcher.WaitForExit(30000, &exitCode)) << "the launcher did not end";
    EXPECT_EQ(exitCode, 0u);
}

INSTANTIATE_TEST_SUITE_P(Copies, LauncherRun,
                         ::testing::Values(RunCase{TVRL_EXE_PATH, L"QarvoTavrel登录器v0.0"},
                                           RunCase{TVRL_TEST_COPY_PATH, L"测试启动器v0.0"}),
                         [](const ::testing::TestParamInfo<RunCase>& info) {
                             return info.index == 0 ? std::string("shipped") : std::string("test_copy");
                         });

}  // namespace
