// The program's entry point: hands control to the application object.
#include "framework/win_app.h"

int WINAPI WinMain(HINSTANCE hInstance, HINSTANCE, LPSTR, int)
{
    CWinApp* app = AfxGetApp();
    if (!app)
        return 1;
    app->AttachModule(hInstance);
    app->InitInstance();
    return 0;
}
