// The real launcher with its default login movie, run as a user runs it: what it presents,
// where the web view lands, and what its buttons and dragging do.
#include <windows.h>

#include <gtest/gtest.h>

#include "support/host_path.h"
#include "tools/capture/launcher_process.h"

namespace {

TEST(LauncherMovieRun, ProbeSmoke)
{
    CLauncherProcess launcher;
    ASSERT_TRUE(launcher.Start(HostPathToWindows(TVRL_EXE_PATH), HostPathToWindows(TVRL_FRAME_PROBE_PATH)));
    HWND window = launcher.WaitForMainWindow(60000);
    ASSERT_TRUE(window);
    const DWORD start = GetTickCount();
    while (GetTickCount() - start < 5000 && launcher.Probe()->frames < 1)
        Sleep(50);
    printf("hooked %ld frames %ld size %ldx%ld first after %lu ms\n", launcher.Probe()->hooked, launcher.Probe()->frames,
           launcher.Probe()->width, launcher.Probe()->height, launcher.Probe()->firstFrameTick - launcher.StartTick());
    PostMessageW(window, WM_CLOSE, 0, 0);
    EXPECT_TRUE(launcher.WaitForExit(30000));
}

}  // namespace
