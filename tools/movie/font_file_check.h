// stb_truetype follows a font's offsets without knowing the file's size. This checks a
// face's tables against the file first, so that a damaged or foreign file gives an error
// instead of reads past its end.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace tvrl::movie {

// The offset of face `face` in a TrueType file or collection with TrueType outlines.
// Throws std::runtime_error saying what is wrong.
int checkTrueTypeFace(const std::vector<uint8_t>& file, int face);

}  // namespace tvrl::movie
