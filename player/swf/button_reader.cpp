#include "player/swf/button_reader.h"

#include "player/swf/action_reader.h"
#include "player/swf/control_tags.h"

namespace tvrl::swf {

bool readButton(ByteReader& in, bool version2, ButtonCharacter& out) {
  bool hasActions = true;
  if (version2) {
    out.trackAsMenu = in.u8() & 1;
    hasActions = in.u16() != 0;  // offset of the actions; they follow the records
  }
  for (;;) {
    uint8_t flags = in.u8();
    if (in.failed()) return false;
    if (flags == 0) return !hasActions || readButtonActions(in, version2, out.actions);
    ButtonRecord r;
    r.states = flags & 0x0f;
    r.characterId = in.u16();
    r.depth = in.u16();
    r.matrix = in.matrix();
    if (version2) {
      r.colorTransform = in.colorTransform(true);
      if ((flags & 0x10) && !skipFilterList(in)) return false;
      if (flags & 0x20) in.u8();  // blend mode
    }
    if (in.failed()) return false;
    out.records.push_back(r);
  }
}

bool readButtonColorTransform(ByteReader& in, ButtonCharacter& button) {
  ColorTransform cx = in.colorTransform(false);
  if (in.failed()) return false;
  for (ButtonRecord& r : button.records) r.colorTransform = cx;
  return true;
}

}  // namespace tvrl::swf
