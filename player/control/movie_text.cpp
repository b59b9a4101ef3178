#include "player/control/movie_text.h"

#include <oleauto.h>

namespace {

UINT CodePageOf(int swfVersion) { return swfVersion >= 6 ? CP_UTF8 : CP_ACP; }

}  // namespace

std::wstring MovieTextToWide(const std::string& text, int swfVersion)
{
    if (text.empty())
        return std::wstring();
    const UINT codePage = CodePageOf(swfVersion);
    const int length = MultiByteToWideChar(codePage, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    if (length <= 0)
        return std::wstring();
    std::wstring wide(static_cast<size_t>(length), L'\0');
    MultiByteToWideChar(codePage, 0, text.data(), static_cast<int>(text.size()), &wide[0], length);
    return wide;
}

std::string WideToMovieText(const wchar_t* text, int swfVersion)
{
    if (!text || !*text)
        return std::string();
    const UINT codePage = CodePageOf(swfVersion);
    const int length = WideCharToMultiByte(codePage, 0, text, -1, nullptr, 0, nullptr, nullptr);
    if (length <= 1)
        return std::string();
    std::string narrow(static_cast<size_t>(length), '\0');
    WideCharToMultiByte(codePage, 0, text, -1, &narrow[0], length, nullptr, nullptr);
    narrow.resize(static_cast<size_t>(length) - 1);
    return narrow;
}

BSTR MovieTextToBstr(const std::string& text, int swfVersion)
{
    const std::wstring wide = MovieTextToWide(text, swfVersion);
    return SysAllocStringLen(wide.data(), static_cast<UINT>(wide.size()));
}
