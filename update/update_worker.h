#pragma once
// The update worker: fetches the version descriptor, decides whether an update is due
// and fetches the updater and the package, reporting every step to its window with
// WM_UPDATE_NOTIFY (update/update_notice.h). Starting a worker makes every earlier one
// stale: its notices are dropped and its download stops at the next one.
#include <windows.h>

#include <cstdint>

// The worker's start record; the worker deletes it when it ends.
struct UpdateWorkerParam {
    HWND hWnd;
    int32_t nGeneration;
    int32_t bCheckOnly;  // nonzero: end after announcing a newer version
};

// On the user-interface thread: takes the next generation and starts a worker for
// `hWnd`. The main window starts a check-only worker and the update dialog a full one,
// so the two never write the same files. Returns FALSE (the record freed) when the
// thread could not be started.
BOOL StartUpdateWorker(HWND hWnd, BOOL bCheckOnly);

// The thread procedure: 0 after all three files are in place and 13 is posted, -1
// (as UINT) on every other path. Deletes its UpdateWorkerParam.
UINT UpdateWorkerProc(LPVOID pParam);

// Reads the [update] id of the downloaded descriptor; when it is newer than the
// launcher's own, posts 10 and returns what PostUpdateNotice returned; else 0.
int32_t CheckForNewVersion(HWND hWnd, int32_t nGeneration);
