#include "app/startup_services.h"

#include <commctrl.h>
#include <ole2.h>

#include "framework/control_container.h"

const StartupServices& PlatformStartupServices()
{
    static const StartupServices services = {
        &AfxEnableControlContainer,
        &OleInitialize,
        &InitCommonControls,
        &WSAStartup,
        &FindResourceA,
        &LoadResource,
        &SizeofResource,
        &WSACleanup,
        &OleUninitialize,
    };
    return services;
}
