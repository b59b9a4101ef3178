// Decodes the bitmap tags into premultiplied pixels: lossless (zlib) bitmaps in their
// three formats, and JPEG (with optional zlib alpha) through stb_image.
#pragma once

#include <vector>

#include "player/swf/byte_reader.h"
#include "player/swf/characters.h"

namespace tvrl::swf {

// After the character id. version2 is DefineBitsLossless2 (alpha).
bool readLosslessBitmap(ByteReader& in, bool version2, BitmapCharacter& out);

// jpegTables is the movie's JPEGTables data (DefineBits only; may be empty).
// alpha, when given, is the zlib alpha of DefineBitsJPEG3.
bool decodeJpegBitmap(const uint8_t* data, size_t size, const std::vector<uint8_t>& jpegTables,
                      const uint8_t* alpha, size_t alphaSize, BitmapCharacter& out);

}  // namespace tvrl::swf
