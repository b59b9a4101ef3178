#include "framework/ansi_string.h"

#include <windows.h>

std::string WideToAnsi(const wchar_t* text)
{
    if (!text || !*text)
        return std::string();
    const int size = WideCharToMultiByte(CP_ACP, 0, text, -1, nullptr, 0, nullptr, nullptr);
    if (size <= 1)
        return std::string();
    std::string narrow(size - 1, '\0');
    WideCharToMultiByte(CP_ACP, 0, text, -1, &narrow[0], size, nullptr, nullptr);
    return narrow;
}

std::wstring AnsiToWide(const char* text)
{
    if (!text || !*text)
        return std::wstring();
    const int size = MultiByteToWideChar(CP_ACP, 0, text, -1, nullptr, 0);
    if (size <= 1)
        return std::wstring();
    std::wstring wide(size - 1, L'\0');
    MultiByteToWideChar(CP_ACP, 0, text, -1, &wide[0], size);
    return wide;
}
