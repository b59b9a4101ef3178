#include "app/launcher_app.h"

#include "app/configuration.h"
#include "app/globals.h"
#include "app/local_dir.h"
#include "res/resource.h"
#include "ui/launcher_dlg.h"

CLauncherApp::CLauncherApp(const StartupServices& services) : m_services(services) {}

CLauncherApp::~CLauncherApp() = default;

std::unique_ptr<CLauncherDlg> CLauncherApp::CreateMainWindow() { return std::make_unique<CLauncherDlg>(); }

BOOL CLauncherApp::InitInstance()
{
    // Results are not examined during start-up: each step runs whatever the previous one returned.
    m_services.enableControlContainer();
    m_services.oleInitialize(nullptr);
    DWORD movieControl = 0;
    m_services.registerMovieControl(&movieControl);
    m_services.initCommonControls();
    WSADATA wsaData;
    m_services.wsaStartup(0x0101, &wsaData);

    {
        // The configuration is a resource of this module. Without it the parser sees no text
        // and every setting reads as empty.
        HRSRC hResource = m_services.findResource(nullptr, MAKEINTRESOURCEA(IDR_CONFIG_INI), "ini");
        HGLOBAL hData = hResource ? m_services.loadResource(nullptr, hResource) : nullptr;
        const DWORD size = hResource ? m_services.sizeofResource(nullptr, hResource) : 0;
        const char* text = hData ? static_cast<const char*>(LockResource(hData)) : nullptr;

        CSimpleIniA parser = MakeConfigParser();
        const LauncherConfig config = ReadLauncherConfig(parser, text, text ? size : 0);
        g_strName = config.name;
        g_strWebUrl = config.webUrl;
        g_strUpdateUrl = config.updateUrl;
        g_strGameUrl = config.gameUrl;
        g_strLocalDir = ModuleDirectory(nullptr);

        std::unique_ptr<CLauncherDlg> mainWindow = CreateMainWindow();
        m_pMainWnd = mainWindow.get();
        mainWindow->DoModal();

        m_services.wsaCleanup();
        m_pMainWnd = nullptr;
        mainWindow.reset();
    }  // the parser goes after the main window

    m_services.revokeMovieControl(movieControl);
    m_services.oleUninitialize();
    return FALSE;
}
