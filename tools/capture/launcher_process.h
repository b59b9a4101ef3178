#pragma once
// A launcher started as its own process for end-to-end tests and benchmarks, optionally with
// the frame probe loaded into it before its first frame, so every presented frame can be read
// back.
#include <windows.h>

#include <string>

#include "tools/capture/frame_probe_shared.h"

class CLauncherProcess {
public:
    CLauncherProcess() = default;
    ~CLauncherProcess();
    CLauncherProcess(const CLauncherProcess&) = delete;
    CLauncherProcess& operator=(const CLauncherProcess&) = delete;

    // Starts `exe` (a Windows path); with `probePath`, the probe DLL is loaded into it.
    bool Start(const std::string& exe, const std::string& probePath = std::string());
    // The launcher's main window (its visible, unowned top-level window), or null.
    HWND WaitForMainWindow(DWORD timeoutMs);
    // The probe's shared record; null without a probe.
    const FrameProbeShared* Probe() const { return m_shared; }
    // With the probe: waits until the launcher has presented a frame and then nothing new
    // for `quietMs` (its login screen has settled). Returns the frames presented, or 0 when
    // none came within `timeoutMs`.
    LONG WaitUntilSettled(DWORD quietMs, DWORD timeoutMs) const;
    // The probe library beside the running program, where the capture tools keep it.
    static std::string ProbeBesideThisProgram();
    bool WaitForExit(DWORD timeoutMs, DWORD* exitCode = nullptr);
    // Working set in bytes.
    size_t WorkingSet() const;
    DWORD StartTick() const { return m_startTick; }

private:
    bool LoadProbe(const std::string& probePath);

    PROCESS_INFORMATION m_process = {};
    HANDLE m_mapping = nullptr;
    FrameProbeShared* m_shared = nullptr;
    DWORD m_startTick = 0;
};
