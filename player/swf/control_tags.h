// Reads the tags that build a timeline: placing, removing and labelling.
#pragma once

#include "player/swf/byte_reader.h"
#include "player/swf/characters.h"

namespace tvrl::swf {

bool readPlaceObject(ByteReader& in, FrameCommand& out);   // PlaceObject
bool readPlaceObject2(ByteReader& in, bool version3, FrameCommand& out, int swfVersion = 6);
bool readRemoveObject(ByteReader& in, bool version2, FrameCommand& out);
// Filters are read past, not drawn.
bool skipFilterList(ByteReader& in);

}  // namespace tvrl::swf
