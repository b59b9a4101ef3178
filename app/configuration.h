#pragma once
// Reading the launcher's embedded INI configuration. Portable: the caller finds the bytes.
#include <cstddef>
#include <string>

#include <SimpleIni.h>

struct LauncherConfig {
    std::string name;
    std::string webUrl;
    std::string updateUrl;
    std::string gameUrl;
};

// The parser the launcher reads its configuration with: narrow text taken as stored
// (not UTF-8), no repeated keys, no multi-line values.
inline CSimpleIniA MakeConfigParser() { return CSimpleIniA(false, false, false); }

// Loads `size` bytes of INI text into `parser` and reads the keys "name", "weburl",
// "updateurl" and "gameurl" of section "config", in that order. Section and key names
// match without regard to ASCII case; a missing key (or no text at all: data may be null
// when size is 0) reads as empty. Malformed text is not an error: whatever the parser
// accepted is used. The parser keeps its own copy, so `data` may go away afterwards.
LauncherConfig ReadLauncherConfig(CSimpleIniA& parser, const char* data, size_t size);
