#include "player/swf/control_tags.h"

#include "player/swf/action_reader.h"

namespace tvrl::swf {

bool readPlaceObject(ByteReader& in, FrameCommand& out) {
  out.kind = FrameCommand::Kind::Place;
  PlaceCommand& p = out.place;
  p.characterId = in.u16();
  p.depth = in.u16();
  p.matrix = in.matrix();
  if (in.remaining() > 0) p.colorTransform = in.colorTransform(false);
  return !in.failed();
}

bool readPlaceObject2(ByteReader& in, bool version3, FrameCommand& out, int swfVersion) {
  out.kind = FrameCommand::Kind::Place;
  PlaceCommand& p = out.place;
  uint8_t flags = in.u8();
  uint8_t flags2 = version3 ? in.u8() : 0;
  p.depth = in.u16();
  p.move = flags & 0x01;
  bool hasCharacter = flags & 0x02;
  if ((flags2 & 0x08) || ((flags2 & 0x10) && hasCharacter)) in.cString();  // class name
  if (hasCharacter) p.characterId = in.u16();
  if (flags & 0x04) p.matrix = in.matrix();
  if (flags & 0x08) p.colorTransform = in.colorTransform(true);
  if (flags & 0x10) p.ratio = in.u16();
  if (flags & 0x20) p.name = in.cString();
  if (flags & 0x40) p.clipDepth = in.u16();
  if ((flags2 & 0x01) && !skipFilterList(in)) return false;
  if (flags2 & 0x02) in.u8();  // blend mode
  if (flags2 & 0x04) in.u8();  // bitmap caching
  if (in.failed()) return false;
  if (flags & 0x80) return readClipActions(in, swfVersion, p.clipActions);
  return true;
}

bool readRemoveObject(ByteReader& in, bool version2, FrameCommand& out) {
  out.kind = FrameCommand::Kind::Remove;
  if (!version2) in.u16();
  out.place.depth = in.u16();
  return !in.failed();
}

bool skipFilterList(ByteReader& in) {
  unsigned count = in.u8();
  for (unsigned i = 0; i < count && !in.failed(); ++i) {
    switch (in.u8()) {
      case 0: in.skip(23); break;  // drop shadow
      case 1: in.skip(9); break;   // blur
      case 2: in.skip(15); break;  // glow
      case 3: in.skip(27); break;  // bevel
      case 4:                      // gradient glow
      case 7: {                    // gradient bevel
        unsigned colors = in.u8();
        in.skip(colors * 5 + 19);
        break;
      }
      case 5: {  // convolution
        unsigned w = in.u8(), h = in.u8();
        in.skip(8 + 4u * w * h + 5);
        break;
      }
      case 6: in.skip(80); break;  // colour matrix
      default: in.fail(); break;
    }
  }
  return !in.failed();
}

}  // namespace tvrl::swf
