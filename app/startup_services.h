#pragma once
// The platform services that start-up brings up and takes down, reached through one table
// so that a test can record the order in which start-up calls them. The launcher always
// runs with PlatformStartupServices().
#include <winsock2.h>
#include <windows.h>

struct StartupServices {
    void (*enableControlContainer)();
    HRESULT(WINAPI* oleInitialize)(LPVOID reserved);
    // The control that plays the login movie, for this process; no-ops when the system's
    // Flash control is used.
    HRESULT (*registerMovieControl)(DWORD* cookie);
    void(WINAPI* initCommonControls)();
    int(WINAPI* wsaStartup)(WORD version, LPWSADATA data);
    HRSRC(WINAPI* findResource)(HMODULE module, LPCSTR name, LPCSTR type);
    HGLOBAL(WINAPI* loadResource)(HMODULE module, HRSRC resource);
    DWORD(WINAPI* sizeofResource)(HMODULE module, HRSRC resource);
    int(WINAPI* wsaCleanup)();
    void (*revokeMovieControl)(DWORD cookie);
    void(WINAPI* oleUninitialize)();
};

const StartupServices& PlatformStartupServices();
