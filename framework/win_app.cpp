#include "framework/win_app.h"

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

    const int size = WideCharToMultiByte(CP_ACP, 0, stem.c_str(), -1, nullptr, 0, nullptr, nullptr);
    m_strAppName.assign(size > 0 ? size - 1 : 0, '\0');
    if (size > 1)
        WideCharToMultiByte(CP_ACP, 0, stem.c_str(), -1, &m_strAppName[0], size, nullptr, nullptr);
}

CWinApp* AfxGetApp() { return g_pApp; }

HINSTANCE AfxGetResourceHandle()
{
    return g_pApp && g_pApp->m_hInstance ? g_pApp->m_hInstance : GetModuleHandleA(nullptr);
}
