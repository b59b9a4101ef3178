// The script parts of tags: DoInitAction, clip actions and button actions.
#pragma once

#include <vector>

#include "player/swf/characters.h"
#include "player/writer/byte_writer.h"

namespace tvrl::swf::writer {

std::vector<uint8_t> doInitAction(uint16_t spriteId, const std::vector<uint8_t>& actions);
// In the 32-bit layout of SWF 6 and later.
void writeClipActions(ByteWriter& out, const std::vector<ClipAction>& actions);
void writeButtonActions(ByteWriter& out, const std::vector<ButtonAction>& actions, bool version2);

}  // namespace tvrl::swf::writer
