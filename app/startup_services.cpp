#include "app/startup_services.h"

#include <commctrl.h>
#include <ole2.h>

#include "framework/control_container.h"
#include "player/control/player_control_registration.h"

namespace {

#if TVRL_SYSTEM_FLASH
// The operator chose the system's Flash control: nothing is registered, OleCreate finds the
// installed one (or none).
HRESULT RegisterMovieControl(DWORD* cookie)
{
    if (cookie)
        *cookie = 0;
    return S_FALSE;
}
void RevokeMovieControl(DWORD) {}
#else
HRESULT RegisterMovieControl(DWORD* cookie) { return RegisterPlayerControl(cookie); }
void RevokeMovieControl(DWORD cookie) { RevokePlayerControl(cookie); }
#endif

}  // namespace

const StartupServices& PlatformStartupServices()
{
    static const StartupServices services = {
        &AfxEnableControlContainer,
        &OleInitialize,
        &RegisterMovieControl,
        &InitCommonControls,
        &WSAStartup,
        &FindResourceA,
        &LoadResource,
        &SizeofResource,
        &WSACleanup,
        &RevokeMovieControl,
        &OleUninitialize,
    };
    return services;
}
