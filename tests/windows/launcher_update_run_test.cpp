// The whole self-update, as a user meets it: launcher copies whose configuration points at
// a busybox httpd on loopback (scripts/with-httpd) are started from folders of their own.
// A newer version brings the progress dialog, the files beside the launcher, the restart
// notice and the updater with its three paths; a version that is not newer, or a package
// that cannot be fetched, leaves the launcher running.
#include <windows.h>

#include <fstream>
#include <functional>
#include <iterator>
#include <string>

#include <gtest/gtest.h>

#include "support/host_path.h"

namespace {

std::string WindowsPath(const std::string& hostPath)
{
    std::string path = HostPathToWindows(hostPath);
    for (char& ch : path)
        if (ch == '/')
            ch = '\\';
    return path;
}

std::string ReadBytes(const std::string& path)
{
    std::ifstream file(path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
}

bool WaitFor(const std::function<bool()>& done, DWORD timeoutMs)
{
    for (const DWORD start = GetTickCount(); !done(); Sleep(50))
        if (GetTickCount() - start > timeoutMs)
            return false;
    return true;
}

struct WindowQuery {
    DWORD pid;
    std::wstring caption;
    HWND found;
};

BOOL CALLBACK MatchWindow(HWND hWnd, LPARAM lParam)
{
    auto* query = reinterpret_cast<WindowQuery*>(lParam);
    DWORD pid = 0;
    GetWindowThreadProcessId(hWnd, &pid);
    wchar_t caption[128] = {};
    GetWindowTextW(hWnd, caption, 128);
    if (pid == query->pid && IsWindowVisible(hWnd) && query->caption == caption) {
        query->found = hWnd;
        return FALSE;
    }
    return TRUE;
}

HWND FindVisibleWindow(DWORD pid, const std::wstring& caption)
{
    WindowQuery query{pid, caption, nullptr};
    EnumWindows(&MatchWindow, reinterpret_cast<LPARAM>(&query));
    return query.found;
}

// One launcher copy, started as TVRL.exe from a fresh folder of its own.
class LauncherProcess {
public:
    LauncherProcess(const char* copyPath, const std::string& folderName)
    {
        m_folder = WindowsPath(TVRL_WORK_DIR) + "\\" + folderName + "\\";
        CreateDirectoryA(WindowsPath(TVRL_WORK_DIR).c_str(), nullptr);
        CreateDirectoryA(m_folder.c_str(), nullptr);
        for (const char* name : {"version.ini", "update.exe", "QUILB.update", "command_line.txt"})
            DeleteFileA((m_folder + name).c_str());
        m_exe = m_folder + "TVRL.exe";
        m_started = CopyFileA(WindowsPath(copyPath).c_str(), m_exe.c_str(), FALSE);

        std::string commandLine = "\"" + m_exe + "\"";
        STARTUPINFOA startup = {};
        startup.cb = sizeof startup;
        m_started = m_started && CreateProcessA(nullptr, &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr,
                                                nullptr, &startup, &m_process);
    }

    ~LauncherProcess()
    {
        if (m_process.hProcess) {
            if (!HasEnded(0))
                TerminateProcess(m_process.hProcess, 99);
            CloseHandle(m_process.hThread);
            CloseHandle(m_process.hProcess);
        }
    }

    bool Started() const { return m_started; }
    DWORD Pid() const { return m_process.dwProcessId; }
    const std::string& Folder() const { return m_folder; }
    const std::string& Exe() const { return m_exe; }

    bool HasEnded(DWORD timeoutMs) const { return WaitForSingleObject(m_process.hProcess, timeoutMs) == WAIT_OBJECT_0; }
    DWORD ExitCode() const
    {
        DWORD code = 1;
        GetExitCodeProcess(m_process.hProcess, &code);
        return code;
    }

    HWND WaitForWindow(const std::wstring& caption, DWORD timeoutMs) const
    {
        HWND hWnd = nullptr;
        WaitFor([&] { return (hWnd = FindVisibleWindow(Pid(), caption)) != nullptr || HasEnded(0); }, timeoutMs);
        return hWnd;
    }

    bool FileExists(const char* name) const { return GetFileAttributesA((m_folder + name).c_str()) != INVALID_FILE_ATTRIBUTES; }

private:
    std::string m_folder;
    std::string m_exe;
    bool m_started = false;
    PROCESS_INFORMATION m_process = {};
};

const wchar_t kMainCaption[] = L"Updatev0.0";
const wchar_t kUpdateDialogCaption[] = L"程序升级";
const wchar_t kRestartText[] = L"程序升级完毕,即将重新启动";
const std::string kServed = WindowsPath(TVRL_SERVED_DIR);

TEST(LauncherUpdateRun, NewerVersionIsFetchedAndHandedToTheUpdater)
{
    LauncherProcess launcher(TVRL_COPY_NEWER, "newer");
    ASSERT_TRUE(launcher.Started());
    ASSERT_NE(launcher.WaitForWindow(kMainCaption, 60000), nullptr);
    EXPECT_NE(launcher.WaitForWindow(kUpdateDialogCaption, 60000), nullptr) << "no progress dialog";

    // The restart notice is a message box captioned with the program's name.
    HWND box = launcher.WaitForWindow(L"TVRL", 60000);
    ASSERT_NE(box, nullptr) << "no restart notice";
    wchar_t text[128] = {};
    GetDlgItemTextW(box, 0xFFFF, text, 128);
    EXPECT_STREQ(text, kRestartText);
    PostMessageW(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);

    ASSERT_TRUE(launcher.HasEnded(30000)) << "the launcher did not exit for the restart";
    EXPECT_EQ(launcher.ExitCode(), 0u);

    EXPECT_EQ(ReadBytes(launcher.Folder() + "version.ini"), ReadBytes(kServed + "\\newer\\version.txt"));
    EXPECT_EQ(ReadBytes(launcher.Folder() + "update.exe"), ReadBytes(kServed + "\\newer\\updatetools.exe"));
    EXPECT_EQ(ReadBytes(launcher.Folder() + "QUILB.update"), ReadBytes(kServed + "\\newer\\TVRL.exe"));

    std::string commandLine;
    WaitFor([&] { return !(commandLine = ReadBytes(launcher.Folder() + "command_line.txt")).empty(); }, 30000);
    EXPECT_EQ(commandLine, "\"" + launcher.Folder() + "update.exe\" \"" + launcher.Exe() + "\" \"" +
                               launcher.Folder() + "QUILB.update\"");
}

TEST(LauncherUpdateRun, VersionThatIsNotNewerShowsNothingAndKeepsRunning)
{
    LauncherProcess launcher(TVRL_COPY_SAME, "same");
    ASSERT_TRUE(launcher.Started());
    HWND main = launcher.WaitForWindow(kMainCaption, 60000);
    ASSERT_NE(main, nullptr);
    // The check is over once the descriptor is in; give its answer a moment to arrive.
    ASSERT_TRUE(WaitFor([&] { return launcher.FileExists("version.ini"); }, 30000));
    Sleep(1000);
    EXPECT_EQ(FindVisibleWindow(launcher.Pid(), kUpdateDialogCaption), nullptr);
    EXPECT_FALSE(launcher.HasEnded(0));
    EXPECT_FALSE(launcher.FileExists("update.exe"));

    PostMessageW(main, WM_CLOSE, 0, 0);
    ASSERT_TRUE(launcher.HasEnded(30000));
    EXPECT_EQ(launcher.ExitCode(), 0u);
}

TEST(LauncherUpdateRun, PackageThatCannotBeFetchedClosesTheDialogAndKeepsRunning)
{
    LauncherProcess launcher(TVRL_COPY_BROKEN, "broken");
    ASSERT_TRUE(launcher.Started());
    HWND main = launcher.WaitForWindow(kMainCaption, 60000);
    ASSERT_NE(main, nullptr);
    // Only the dialog's worker fetches the updater; the 404 for the package can close the
    // dialog too fast to be seen, so the updater's arrival shows that the dialog ran.
    ASSERT_TRUE(WaitFor([&] { return launcher.FileExists("update.exe"); }, 60000)) << "the update dialog never ran";
    EXPECT_TRUE(WaitFor([&] { return FindVisibleWindow(launcher.Pid(), kUpdateDialogCaption) == nullptr && IsWindowEnabled(main); },
                        60000))
        << "the dialog stayed open";
    Sleep(500);
    EXPECT_FALSE(launcher.HasEnded(0));
    EXPECT_EQ(FindVisibleWindow(launcher.Pid(), L"TVRL"), nullptr) << "no restart notice";
    EXPECT_FALSE(launcher.FileExists("command_line.txt")) << "no updater started";
    EXPECT_TRUE(IsWindowEnabled(main));

    PostMessageW(main, WM_CLOSE, 0, 0);
    ASSERT_TRUE(launcher.HasEnded(30000));
    EXPECT_EQ(launcher.ExitCode(), 0u);
}

}  // namespace
