// Writes shapes, morph shapes and glyph outlines from the same model the reader fills,
// so that what a test writes is what it expects to read back.
#pragma once

#include "player/swf/characters.h"
#include "player/writer/byte_writer.h"

namespace tvrl::swf::writer {

// The body of DefineShape (1), DefineShape2 (2), 3 or 4, including the character id.
// Coordinates are rounded to whole twips.
std::vector<uint8_t> defineShape(uint16_t id, const Shape& shape, int shapeVersion);

// DefineMorphShape, or DefineMorphShape2 when version2. The end shape must have the
// same paths and style counts as the start shape.
std::vector<uint8_t> defineMorphShape(uint16_t id, const MorphShapeCharacter& morph, bool version2);

// A glyph: the first layer's paths, with style indices as given (fill 1 is the font's).
void writeGlyph(ByteWriter& out, const Shape& glyph);

}  // namespace tvrl::swf::writer
