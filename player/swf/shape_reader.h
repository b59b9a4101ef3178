// Reads shape definitions, glyph outlines and their styles.
#pragma once

#include "player/swf/byte_reader.h"
#include "player/swf/shape.h"

namespace tvrl::swf {

// shapeVersion is 1..4 for DefineShape, DefineShape2, 3 and 4; it decides colour sizes,
// extended counts and the line style layout.
bool readFillStyles(ByteReader& in, int shapeVersion, std::vector<FillStyle>& out);
bool readLineStyles(ByteReader& in, int shapeVersion, std::vector<LineStyle>& out);
bool readGradient(ByteReader& in, bool withAlpha, bool focal, Gradient& out);

// Reads edge records into `shape`, starting in its last layer (which holds the styles
// already read) and adding a layer at each NewStyles record.
bool readShapeRecords(ByteReader& in, int shapeVersion, Shape& shape);

// DefineShape 2, 22, 32, 83 after the tag's character id.
bool readShape(ByteReader& in, int shapeVersion, Shape& out);

// A glyph: edges only, filled with style 1.
bool readGlyphShape(ByteReader& in, Shape& out);

}  // namespace tvrl::swf
