// Start-up and shutdown of the launcher: the order in which the platform services come up
// and go down around the main window, and the configuration they read.
#include <winsock2.h>
#include <windows.h>
#include <ole2.h>

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "app/globals.h"
#include "app/launcher_app.h"
#include "app/local_dir.h"
#include "flashhost/shockwave_flash.h"
#include "support/host_path.h"
#include "ui/launcher_dlg.h"

namespace {

std::vector<std::string> g_calls;
bool g_hideConfiguration = false;

void RecordEnableControlContainer()
{
    g_calls.push_back("AfxEnableControlContainer");
    PlatformStartupServices().enableControlContainer();
}
HRESULT WINAPI RecordOleInitialize(LPVOID reserved)
{
    g_calls.push_back("OleInitialize");
    return PlatformStartupServices().oleInitialize(reserved);
}
HRESULT RecordRegisterMovieControl(DWORD* cookie)
{
    g_calls.push_back("RegisterMovieControl");
    return PlatformStartupServices().registerMovieControl(cookie);
}
void RecordRevokeMovieControl(DWORD cookie)
{
    g_calls.push_back("RevokeMovieControl");
    PlatformStartupServices().revokeMovieControl(cookie);
}
void WINAPI RecordInitCommonControls()
{
    g_calls.push_back("InitCommonControls");
    PlatformStartupServices().initCommonControls();
}
int WINAPI RecordWsaStartup(WORD version, LPWSADATA data)
{
    char text[32];
    wsprintfA(text, "WSAStartup %04X", version);
    g_calls.push_back(text);
    return PlatformStartupServices().wsaStartup(version, data);
}
HRSRC WINAPI RecordFindResource(HMODULE module, LPCSTR name, LPCSTR type)
{
    const bool numeric = IS_INTRESOURCE(name);
    g_calls.push_back(std::string("FindResourceA ") + (module ? "module " : "null ") +
                      (numeric ? std::to_string(reinterpret_cast<UINT_PTR>(name)) : name) + " " + type);
    return g_hideConfiguration ? nullptr : PlatformStartupServices().findResource(module, name, type);
}
HGLOBAL WINAPI RecordLoadResource(HMODULE module, HRSRC resource)
{
    g_calls.push_back("LoadResource");
    return PlatformStartupServices().loadResource(module, resource);
}
DWORD WINAPI RecordSizeofResource(HMODULE module, HRSRC resource)
{
    g_calls.push_back("SizeofResource");
    return PlatformStartupServices().sizeofResource(module, resource);
}
int WINAPI RecordWsaCleanup()
{
    g_calls.push_back("WSACleanup");
    return PlatformStartupServices().wsaCleanup();
}
void WINAPI RecordOleUninitialize()
{
    g_calls.push_back("OleUninitialize");
    PlatformStartupServices().oleUninitialize();
}

const StartupServices kRecordingServices = {
    &RecordEnableControlContainer, &RecordOleInitialize,  &RecordRegisterMovieControl,
    &RecordInitCommonControls,     &RecordWsaStartup,     &RecordFindResource,
    &RecordLoadResource,           &RecordSizeofResource, &RecordWsaCleanup,
    &RecordRevokeMovieControl,     &RecordOleUninitialize,
};

// The Flash class id creates the built-in player: it answers as Flash Player 8.
bool BuiltInPlayerAnswers()
{
    IShockwaveFlash* flash = nullptr;
    if (FAILED(CoCreateInstance(CLSID_ShockwaveFlash, nullptr, CLSCTX_INPROC_SERVER, IID_IShockwaveFlash,
                                reinterpret_cast<void**>(&flash))))
        return false;
    long version = 0;
    const bool ours = SUCCEEDED(flash->FlashVersion(&version)) && version == 0x00080000;
    flash->Release();
    return ours;
}

// The real main window, recording its lifetime; it quits as soon as it is up, as the
// movie's "close" does.
class RecordingLauncherDlg : public CLauncherDlg {
public:
    RecordingLauncherDlg() { g_calls.push_back("main window constructed"); }
    ~RecordingLauncherDlg() override { g_calls.push_back("main window destroyed"); }

    INT_PTR DoModal() override
    {
        g_calls.push_back("DoModal");
        const INT_PTR result = CLauncherDlg::DoModal();
        g_calls.push_back("DoModal returned " + std::to_string(result));
        return result;
    }

protected:
    BOOL OnInitDialog() override
    {
        const BOOL result = CLauncherDlg::OnInitDialog();
        char caption[256] = {};
        GetWindowTextA(m_hWnd, caption, sizeof caption);
        g_calls.push_back(std::string("caption ") + caption);
        // OLE and Winsock are up while the main window lives.
        WSADATA data;
        if (WSAStartup(0x0101, &data) == 0) {
            g_calls.push_back("Winsock usable");
            WSACleanup();
        }
        if (OleInitialize(nullptr) == S_FALSE)  // already initialised on this thread
            g_calls.push_back("OLE usable");
        OleUninitialize();
        if (BuiltInPlayerAnswers())
            g_calls.push_back("built-in player answers the Flash class id");
        PostQuitMessage(0);
        return result;
    }
};

class TestLauncherApp : public CLauncherApp {
public:
    TestLauncherApp() : CLauncherApp(kRecordingServices) {}

protected:
    std::unique_ptr<CLauncherDlg> CreateMainWindow() override { return std::make_unique<RecordingLauncherDlg>(); }
};

class StartupTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        g_calls.clear();
        g_hideConfiguration = false;
        g_strName = g_strWebUrl = g_strUpdateUrl = g_strGameUrl = g_strLocalDir = "stale";
    }

    // Runs start-up to the end and reports whether the main window's quit message is still
    // queued for the outer loop, then removes it.
    bool RunAndTakeQuitMessage()
    {
        TestLauncherApp app;
        app.AttachModule(GetModuleHandleA(nullptr));
        EXPECT_EQ(app.InitInstance(), FALSE);
        EXPECT_EQ(app.m_pMainWnd, nullptr);
        MSG msg;
        return PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE) != 0;
    }
};

TEST_F(StartupTest, ServicesComeUpAndGoDownInOrderAroundTheMainWindow)
{
    EXPECT_EQ(g_nWorkerGeneration.load(), 1);
    EXPECT_TRUE(RunAndTakeQuitMessage()) << "a quit message must end the modal loop and stay queued";

    const std::vector<std::string> expected = {
        "AfxEnableControlContainer",
        "OleInitialize",
        "RegisterMovieControl",
        "InitCommonControls",
        "WSAStartup 0101",
        "FindResourceA null 174 ini",
        "LoadResource",
        "SizeofResource",
        "main window constructed",
        "DoModal",
        "caption \xB2\xE2\xCA\xD4\xC6\xF4\xB6\xAF\xC6\xF7v0.0",
        "Winsock usable",
        "OLE usable",
        "built-in player answers the Flash class id",
        "DoModal returned -1",
        "WSACleanup",
        "main window destroyed",
        "RevokeMovieControl",
        "OleUninitialize",
    };
    EXPECT_EQ(g_calls, expected);
}

TEST_F(StartupTest, ReadsTheEmbeddedConfigurationIntoTheGlobals)
{
    RunAndTakeQuitMessage();
    EXPECT_EQ(g_strName, "\xB2\xE2\xCA\xD4\xC6\xF4\xB6\xAF\xC6\xF7");  // "测试启动器" in code page 936
    EXPECT_EQ(g_strWebUrl, "http://web.example/");
    EXPECT_EQ(g_strUpdateUrl, "http://update.example");
    EXPECT_EQ(g_strGameUrl, "game.php");
    EXPECT_STREQ(g_strVersion, "v0.0");
    EXPECT_STREQ(g_strUpdateId, "1");
}

TEST_F(StartupTest, LocalFilesLiveBesideTheExecutable)
{
    RunAndTakeQuitMessage();
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string folder(path);
    folder.resize(folder.find_last_of('\\') + 1);
    EXPECT_EQ(g_strLocalDir, folder);
    ASSERT_FALSE(g_strLocalDir.empty());
    EXPECT_EQ(g_strLocalDir.back(), '\\');
}

TEST_F(StartupTest, MissingConfigurationStartsNormallyWithEmptySettings)
{
    g_hideConfiguration = true;
    EXPECT_TRUE(RunAndTakeQuitMessage());
    EXPECT_EQ(g_strName + g_strWebUrl + g_strUpdateUrl + g_strGameUrl, "");

    const std::vector<std::string> expected = {
        "AfxEnableControlContainer",
        "OleInitialize",
        "RegisterMovieControl",
        "InitCommonControls",
        "WSAStartup 0101",
        "FindResourceA null 174 ini",
        "main window constructed",
        "DoModal",
        "caption v0.0",
        "Winsock usable",
        "OLE usable",
        "built-in player answers the Flash class id",
        "DoModal returned -1",
        "WSACleanup",
        "main window destroyed",
        "RevokeMovieControl",
        "OleUninitialize",
    };
    EXPECT_EQ(g_calls, expected);
}

TEST(ModuleDirectory, FolderWithoutAnAnsiNameFallsBackToTheCurrentDirectory)
{
    // Hangul has no code page 936 form: narrowed, the name would hold question marks and
    // name no folder at all.
    wchar_t self[MAX_PATH];
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    std::wstring folder(self);
    folder.resize(folder.find_last_of(L'\\') + 1);
    folder += L"tvrl-\uD55C\uAE00\\";
    ASSERT_TRUE(CreateDirectoryW(folder.c_str(), nullptr) || GetLastError() == ERROR_ALREADY_EXISTS);
    const std::wstring dll = folder + L"empty_module.dll";
    const std::string source = HostPathToWindows(TVRL_EMPTY_MODULE_PATH);  // ASCII: the build folder's path
    ASSERT_TRUE(CopyFileW(std::wstring(source.begin(), source.end()).c_str(), dll.c_str(), FALSE)) << source;
    HMODULE module = LoadLibraryExW(dll.c_str(), nullptr, 0);
    ASSERT_NE(module, nullptr);

    const std::string narrow = ModuleDirectory(module);
    FreeLibrary(module);
    DeleteFileW(dll.c_str());
    RemoveDirectoryW(folder.c_str());

    EXPECT_EQ(narrow, "");
}

}  // namespace
