#pragma once
#include <windows.h>

#include <string>

// The folder of `module`'s file with a trailing backslash, in the ANSI code page, so that
// local files live beside the launcher whatever the current directory. A folder that the
// ANSI code page cannot write gives an empty result: local files then fall back to the
// current directory rather than to a mangled name. (Short 8.3 names are no way out: many
// volumes have them switched off.)
std::string ModuleDirectory(HMODULE module);
