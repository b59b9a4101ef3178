// Turns the login movie's description into the movie file: the panel and its shadow,
// texts drawn from the font's outlines, the web view's placeholder and the script that
// reports it, the buttons, and the intro animation.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "tools/movie/login_source.h"

namespace tvrl::movie {

// A relative font file is looked up from `folder`, the description's. Throws
// LoginSourceError naming the line of the problem (a font that cannot be used, a
// character it has no glyph for).
std::vector<uint8_t> buildLoginMovie(const LoginSource& source, const std::string& folder);

}  // namespace tvrl::movie
