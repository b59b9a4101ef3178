#pragma once
// Makes the built-in player the control that answers the Flash class id in this process:
// a class object registered with COM for the running process only, nothing written to the
// registry. Register after OleInitialize, revoke before OleUninitialize.
#include <windows.h>

// S_OK with a cookie for RevokePlayerControl, or COM's error.
HRESULT RegisterPlayerControl(DWORD* cookie);
void RevokePlayerControl(DWORD cookie);
