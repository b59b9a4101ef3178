#pragma once
// Process-wide values shared by the launcher's subsystems.
// The configuration strings are filled once at start-up, before any other thread exists,
// and only read afterwards.
#include <atomic>
#include <cstdint>
#include <string>

// From the embedded configuration, code page 936 bytes as stored.
extern std::string g_strName;       // display name; with g_strVersion the main window's caption
extern std::string g_strWebUrl;     // stored, not consulted
extern std::string g_strUpdateUrl;  // update server base address, no trailing "/"
extern std::string g_strGameUrl;    // text that marks the game page's address

// Build constants.
extern const char g_strVersion[];   // "v0.0", the caption suffix
extern const char g_strUpdateId[];  // "1", this launcher's update id

// Directory put directly in front of every local file name; ends with a backslash
// when set (the launcher sets it to its own folder at start-up).
extern std::string g_strLocalDir;

// Generation of the newest update worker: written on the user-interface thread only,
// read by the workers. Relaxed loads and stores are plain moves on x86 and keep the
// cross-thread read well defined.
extern std::atomic<int32_t> g_nWorkerGeneration;
