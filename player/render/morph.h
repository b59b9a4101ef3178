// The shape a morph shape shows at a ratio between its two ends.
#pragma once

#include "player/swf/characters.h"

namespace tvrl::player {

// t runs from 0 (start) to 1 (end).
swf::Shape interpolateMorph(const swf::MorphShapeCharacter& morph, double t);

}  // namespace tvrl::player
