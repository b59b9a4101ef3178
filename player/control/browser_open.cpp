#include "player/control/browser_open.h"

#include <windows.h>
#include <shellapi.h>

bool IsBrowserAddress(const std::wstring& url)
{
    static const wchar_t* const kSchemes[] = {L"http://", L"https://", L"mailto:"};
    for (const wchar_t* scheme : kSchemes) {
        const size_t length = wcslen(scheme);
        if (url.size() > length && CompareStringOrdinal(url.c_str(), static_cast<int>(length), scheme,
                                                        static_cast<int>(length), TRUE) == CSTR_EQUAL)
            return true;
    }
    return false;
}

bool OpenInBrowser(const std::wstring& url)
{
    if (!IsBrowserAddress(url))
        return false;
    const HINSTANCE result = ShellExecuteW(nullptr, L"open", url.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
    return reinterpret_cast<INT_PTR>(result) > 32;
}
