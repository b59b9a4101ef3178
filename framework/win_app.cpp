#include "framework/win_app.h"

#include "framework/ansi_string.h"

namespace {
CWinApp* g_pApp = nullptr;
}

CWinApp::CWinApp() { g_pApp = this; }

CWinApp::~CWinApp()
{
    if (g_pApp == this)
        g_pApp = nullptr;
}

void CWinApp::AttachModule(HINSTANCE hInstance)
{
    m_hInstance = hInstance;

    // Work on the wide path so that a backslash byte inside a double-byte character is never
    // taken for a separator; the name is then narrowed with the ANSI code page.
    wchar_t path[MAX_PATH] = {};
    GetModuleFileNameW(hInstance, path, MAX_PATH);
    const wchar_t* name = path;
    for (const wchar_t* p = path; *p; ++p)
        if (*p == L'\\' || *p == L'/')
            name = p + 1;
    std::wstring stem(name);
    const size_t dot = stem.rfind(L'.');
    if (dot != std::wstring::npos)
        stem.resize(dot);

    m_strAppName = WideToAnsi(stem.c_str());
}

CWinApp* AfxGetApp() { return g_pApp; }

HINSTANCE AfxGetResourceHandle()
{
    return g_pApp && g_pApp->m_hInstance ? g_pApp->m_hInstance : GetModuleHandleA(nullptr);
}
