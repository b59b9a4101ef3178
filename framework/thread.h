#pragma once
// Starting a worker thread the way the platform's framework does.
#include <windows.h>

typedef UINT (*AFX_THREADPROC)(LPVOID pParam);

// Runs pfnThreadProc(pParam) on a new thread with the given priority, stack size (0: the
// default) and creation flags. The thread's handle is not kept, so the thread always
// runs (CREATE_SUSPENDED would leave nobody to resume it) and ends on its own. Returns
// FALSE when the thread could not be started; pParam is then untouched.
BOOL AfxBeginThread(AFX_THREADPROC pfnThreadProc, LPVOID pParam,
                    int nPriority = THREAD_PRIORITY_NORMAL, UINT nStackSize = 0,
                    DWORD dwCreateFlags = 0, LPSECURITY_ATTRIBUTES lpSecurityAttrs = nullptr);
