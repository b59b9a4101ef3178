#include "framework/thread.h"

#include <process.h>

namespace {

struct ThreadStart {
    AFX_THREADPROC proc;
    LPVOID param;
};

unsigned __stdcall RunThread(void* start)
{
    const ThreadStart run = *static_cast<ThreadStart*>(start);
    delete static_cast<ThreadStart*>(start);
    return run.proc(run.param);
}

}  // namespace

BOOL AfxBeginThread(AFX_THREADPROC pfnThreadProc, LPVOID pParam, int nPriority,
                    UINT nStackSize, DWORD dwCreateFlags, LPSECURITY_ATTRIBUTES lpSecurityAttrs)
{
    auto* start = new ThreadStart{pfnThreadProc, pParam};
    // Started suspended so the priority is in place before the procedure runs.
    const uintptr_t handle = _beginthreadex(lpSecurityAttrs, nStackSize, RunThread, start,
                                            dwCreateFlags | CREATE_SUSPENDED, nullptr);
    if (handle == 0) {
        delete start;
        return FALSE;
    }
    HANDLE thread = reinterpret_cast<HANDLE>(handle);
    SetThreadPriority(thread, nPriority);
    ResumeThread(thread);
    CloseHandle(thread);
    return TRUE;
}
