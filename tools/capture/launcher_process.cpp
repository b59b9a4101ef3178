#include "tools/capture/launcher_process.h"

#include <psapi.h>

#include <cwchar>

namespace {

struct FindState {
    DWORD processId;
    HWND found;
};

BOOL CALLBACK FindMainWindow(HWND hWnd, LPARAM lParam)
{
    auto* state = reinterpret_cast<FindState*>(lParam);
    DWORD pid = 0;
    GetWindowThreadProcessId(hWnd, &pid);
    // The main window is the unowned one: the web view it owns is visible too.
    if (pid == state->processId && IsWindowVisible(hWnd) && !GetWindow(hWnd, GW_OWNER)) {
        state->found = hWnd;
        return FALSE;
    }
    return TRUE;
}

}  // namespace

CLauncherProcess::~CLauncherProcess()
{
    if (m_process.hProcess) {
        if (WaitForSingleObject(m_process.hProcess, 0) == WAIT_TIMEOUT)
            TerminateProcess(m_process.hProcess, 99);
        WaitForSingleObject(m_process.hProcess, 10000);
        CloseHandle(m_process.hProcess);
        CloseHandle(m_process.hThread);
    }
    if (m_shared)
        UnmapViewOfFile(m_shared);
    if (m_mapping)
        CloseHandle(m_mapping);
}

bool CLauncherProcess::Start(const std::string& exe, const std::string& probePath)
{
    std::string commandLine = "\"" + exe + "\"";
    std::string folder = exe.substr(0, exe.find_last_of("\\/") + 1);
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    m_startTick = GetTickCount();
    if (!CreateProcessA(nullptr, &commandLine[0], nullptr, nullptr, FALSE, CREATE_SUSPENDED, nullptr,
                        folder.empty() ? nullptr : folder.c_str(), &startup, &m_process))
        return false;
    const bool loaded = probePath.empty() || LoadProbe(probePath);
    ResumeThread(m_process.hThread);
    return loaded;
}

// The probe's library is loaded by an asynchronous call queued to the launcher's first thread
// before it runs, so it is in place before the program's own code starts.
bool CLauncherProcess::LoadProbe(const std::string& probePath)
{
    wchar_t name[64];
    swprintf(name, 64, TVRL_FRAME_PROBE_MAPPING, m_process.dwProcessId);
    m_mapping = CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, sizeof(FrameProbeShared), name);
    if (!m_mapping)
        return false;
    m_shared = static_cast<FrameProbeShared*>(MapViewOfFile(m_mapping, FILE_MAP_ALL_ACCESS, 0, 0, 0));
    if (!m_shared)
        return false;
    const SIZE_T bytes = probePath.size() + 1;
    void* remotePath = VirtualAllocEx(m_process.hProcess, nullptr, bytes, MEM_COMMIT, PAGE_READWRITE);
    if (!remotePath || !WriteProcessMemory(m_process.hProcess, remotePath, probePath.c_str(), bytes, nullptr))
        return false;
    // Kernel32 sits at the same address in every process of a session.
    auto loadLibrary = reinterpret_cast<PAPCFUNC>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("kernel32.dll"), "LoadLibraryA")));
    return QueueUserAPC(loadLibrary, m_process.hThread, reinterpret_cast<ULONG_PTR>(remotePath)) != 0;
}

HWND CLauncherProcess::WaitForMainWindow(DWORD timeoutMs)
{
    const DWORD start = GetTickCount();
    while (GetTickCount() - start < timeoutMs) {
        FindState state{m_process.dwProcessId, nullptr};
        EnumWindows(&FindMainWindow, reinterpret_cast<LPARAM>(&state));
        if (state.found)
            return state.found;
        if (WaitForSingleObject(m_process.hProcess, 20) == WAIT_OBJECT_0)
            return nullptr;
    }
    return nullptr;
}

LONG CLauncherProcess::WaitUntilSettled(DWORD quietMs, DWORD timeoutMs) const
{
    if (!m_shared)
        return 0;
    const DWORD start = GetTickCount();
    LONG seen = -1;
    DWORD seenAt = start;
    while (GetTickCount() - start < timeoutMs) {
        const LONG frames = m_shared->frames;
        if (frames != seen) {
            seen = frames;
            seenAt = GetTickCount();
        } else if (seen > 0 && GetTickCount() - seenAt >= quietMs) {
            return seen;
        }
        Sleep(20);
    }
    return 0;
}

std::string CLauncherProcess::ProbeBesideThisProgram()
{
    char self[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, self, MAX_PATH);
    std::string path(self);
    return path.substr(0, path.find_last_of('\\') + 1) + "frame_probe.dll";
}

bool CLauncherProcess::WaitForExit(DWORD timeoutMs, DWORD* exitCode)
{
    if (WaitForSingleObject(m_process.hProcess, timeoutMs) != WAIT_OBJECT_0)
        return false;
    if (exitCode)
        GetExitCodeProcess(m_process.hProcess, exitCode);
    return true;
}

size_t CLauncherProcess::WorkingSet() const
{
    PROCESS_MEMORY_COUNTERS counters = {};
    counters.cb = sizeof counters;
    if (!GetProcessMemoryInfo(m_process.hProcess, &counters, sizeof counters))
        return 0;
    return counters.WorkingSetSize;
}
