#pragma once
// Movies from SWF 6 on keep their strings in UTF-8; older ones in the system's code page.
#include <windows.h>
#include <oleauto.h>

#include <string>

std::wstring MovieTextToWide(const std::string& text, int swfVersion);
// A BSTR of the text; the caller frees it.
BSTR MovieTextToBstr(const std::string& text, int swfVersion);
