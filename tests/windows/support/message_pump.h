#pragma once
// Dispatches this thread's messages, through the framework's pre-translation as the
// program's own loops do, until `condition` holds or `timeoutMs` has passed; returns
// whether it held. Tests wait with generous time-outs, never with fixed sleeps.
#include <windows.h>

#include <functional>

#include "framework/pre_translate.h"

inline bool PumpUntil(const std::function<bool()>& condition, DWORD timeoutMs = 10000)
{
    const DWORD start = GetTickCount();
    for (;;) {
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (!AfxPreTranslateMessage(&msg)) {
                TranslateMessage(&msg);
                DispatchMessageA(&msg);
            }
        }
        if (condition())
            return true;
        if (GetTickCount() - start >= timeoutMs)
            return false;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
}

// Lets queued messages through for a few rounds, for checks that something did NOT happen.
inline void PumpRounds(int rounds)
{
    int round = 0;
    PumpUntil([&] { return ++round > rounds; });
}
