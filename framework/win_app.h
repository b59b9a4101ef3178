#pragma once
// The application object: one global instance per program, constructed before the entry
// point runs. The entry point (framework/entry_point.cpp) calls its InitInstance.
#include <windows.h>

#include <string>

class CWnd;

class CWinApp {
public:
    CWinApp();
    virtual ~CWinApp();
    CWinApp(const CWinApp&) = delete;
    CWinApp& operator=(const CWinApp&) = delete;

    // Runs the program. Returning FALSE ends it: the framework runs no message loop of its
    // own, the main window's modal loop being the program's loop.
    virtual BOOL InitInstance() = 0;

    // Fills the module handle and the application name (the executable's file name without
    // its extension, the caption of AfxMessageBox); the entry point calls it first.
    void AttachModule(HINSTANCE hInstance);

    HINSTANCE m_hInstance = nullptr;
    std::string m_strAppName;
    CWnd* m_pMainWnd = nullptr;
};

// The application object of the process (the one constructed last), or null.
CWinApp* AfxGetApp();
// The module whose resources the windows are made from.
HINSTANCE AfxGetResourceHandle();
