// Reads the script parts of tags: clip actions of PlaceObject2/3 and the conditional
// actions of buttons. The action bytes are kept as they are; the script machine
// decodes them when it runs them.
#pragma once

#include <vector>

#include "player/swf/byte_reader.h"
#include "player/swf/characters.h"

namespace tvrl::swf {

// Event flags are 16 bits wide in SWF 5 movies and 32 bits from SWF 6.
bool readClipActions(ByteReader& in, int swfVersion, std::vector<ClipAction>& out);
// DefineButton2's records after the action offset; DefineButton's single block runs on release.
bool readButtonActions(ByteReader& in, bool version2, std::vector<ButtonAction>& out);

}  // namespace tvrl::swf
