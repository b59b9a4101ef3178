// Reads morph shapes into a start shape and an end shape with matching paths.
#pragma once

#include "player/swf/byte_reader.h"
#include "player/swf/characters.h"

namespace tvrl::swf {

// After the character id. version2 is DefineMorphShape2.
bool readMorphShape(ByteReader& in, bool version2, MorphShapeCharacter& out);

}  // namespace tvrl::swf
