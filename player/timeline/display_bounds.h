// Bounds and hit tests of what a display list shows, in the space the given matrix maps
// into (twips). Scripts read sizes from them and buttons test the pointer against them.
#pragma once

#include "player/timeline/display_list.h"

namespace tvrl::player {

// False when nothing in the list has an extent.
bool listBounds(const DisplayList& list, const swf::Matrix& toSpace, swf::Rect& out);
bool objectBounds(const DisplayObject& object, const swf::Matrix& toSpace, swf::Rect& out);

// The matrix from a sprite's space to the stage's.
swf::Matrix stageMatrix(const SpriteInstance* sprite);

// Whether a point (in the list's space) falls on a filled shape of the list; masks
// narrow what they cover. Buttons answer with their hit-test state.
bool listHitTest(const DisplayList& list, const swf::Matrix& toSpace, swf::Point point);
bool objectHitTest(const DisplayObject& object, const swf::Matrix& toSpace, swf::Point point);

}  // namespace tvrl::player
