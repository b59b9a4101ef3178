#pragma once
// The launcher's application object: brings up the platform services, reads the embedded
// configuration, runs the main window modally (the program's main loop) and takes the
// services down again.
#include <memory>

#include "app/startup_services.h"
#include "framework/win_app.h"

class CLauncherDlg;

class CLauncherApp : public CWinApp {
public:
    explicit CLauncherApp(const StartupServices& services = PlatformStartupServices());
    ~CLauncherApp() override;

    BOOL InitInstance() override;

protected:
    // Constructs the main window object; tests return one that also records its lifetime.
    virtual std::unique_ptr<CLauncherDlg> CreateMainWindow();

private:
    const StartupServices& m_services;
};
