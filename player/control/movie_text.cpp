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

BSTR MovieTextToBstr(const std::string& text, int swfVersion)
{
    const std::wstring wide = MovieTextToWide(text, swfVersion);
    return SysAllocStringLen(wide.data(), static_cast<UINT>(wide.size()));
}
