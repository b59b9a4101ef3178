#pragma once
// Test programs run under Wine and get Linux paths from ctest; Wine's drive Z: is the Linux root.
#include <string>

inline std::string HostPathToWindows(const std::string& path)
{
    return !path.empty() && path[0] == '/' ? "Z:" + path : path;
}
