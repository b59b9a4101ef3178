#pragma once
#include <windows.h>

#include <string>

// The folder of `module`'s file with a trailing backslash, in the ANSI code page, so that
// local files live beside the launcher whatever the current directory. When the folder
// cannot be written in the ANSI code page, its short (8.3) form is used; failing that,
// the result is empty and local files fall back to the current directory.
std::string ModuleDirectory(HMODULE module);
