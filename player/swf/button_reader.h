// Reads buttons: the characters of each state. Their actions are left for the script machine.
#pragma once

#include "player/swf/byte_reader.h"
#include "player/swf/characters.h"

namespace tvrl::swf {

// After the character id. version2 is DefineButton2.
bool readButton(ByteReader& in, bool version2, ButtonCharacter& out);
// DefineButtonCxform after its button id: one transform for every record.
bool readButtonColorTransform(ByteReader& in, ButtonCharacter& button);

}  // namespace tvrl::swf
