#include "app/local_dir.h"

#include <vector>

namespace {

// The ANSI form of `wide`, or empty when a character has none.
std::string ToAnsiExactly(const std::wstring& wide)
{
    if (wide.empty())
        return std::string();
    BOOL lossy = FALSE;
    const int size = WideCharToMultiByte(CP_ACP, 0, wide.c_str(), -1, nullptr, 0, nullptr, &lossy);
    if (size <= 1 || lossy)
        return std::string();
    std::string narrow(size - 1, '\0');
    WideCharToMultiByte(CP_ACP, 0, wide.c_str(), -1, &narrow[0], size, nullptr, nullptr);
    return narrow;
}

}  // namespace

std::string ModuleDirectory(HMODULE module)
{
    std::vector<wchar_t> path(MAX_PATH);
    for (;;) {
        const DWORD length = GetModuleFileNameW(module, path.data(), static_cast<DWORD>(path.size()));
        if (length == 0)
            return std::string();
        if (length < path.size())
            break;
        path.resize(path.size() * 2);
    }

    std::wstring folder(path.data());
    const size_t slash = folder.find_last_of(L"\\/");
    if (slash == std::wstring::npos)
        return std::string();
    folder.resize(slash + 1);

    return ToAnsiExactly(folder);
}
