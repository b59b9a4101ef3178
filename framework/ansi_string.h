#pragma once
// The one place where COM's wide strings and the launcher's narrow ones (the system's ANSI
// code page) are converted into each other.
#include <string>

// A null string converts to the empty string; unmappable characters become the default one.
std::string WideToAnsi(const wchar_t* text);
std::wstring AnsiToWide(const char* text);
