#include "player/writer/action_tags.h"

namespace tvrl::swf::writer {

std::vector<uint8_t> doInitAction(uint16_t spriteId, const std::vector<uint8_t>& actions) {
  ByteWriter out;
  out.u16(spriteId);
  out.bytes(actions);
  return out.data();
}

void writeClipActions(ByteWriter& out, const std::vector<ClipAction>& actions) {
  uint32_t all = 0;
  for (const ClipAction& a : actions) all |= a.events;
  out.u16(0);
  out.u32(all);
  for (const ClipAction& a : actions) {
    out.u32(a.events);
    bool key = a.events & ClipEventKeyPress;
    out.u32(static_cast<uint32_t>(a.actions.size() + (key ? 1 : 0)));
    if (key) out.u8(a.keyCode);
    out.bytes(a.actions);
  }
  out.u32(0);
}

void writeButtonActions(ByteWriter& out, const std::vector<ButtonAction>& actions, bool version2) {
  if (!version2) {
    if (!actions.empty()) out.bytes(actions.front().actions);
    return;
  }
  for (size_t i = 0; i < actions.size(); ++i) {
    bool last = i + 1 == actions.size();
    out.u16(last ? 0 : static_cast<uint16_t>(actions[i].actions.size() + 4));
    out.u16(actions[i].conditions);
    out.bytes(actions[i].actions);
  }
}

}  // namespace tvrl::swf::writer
