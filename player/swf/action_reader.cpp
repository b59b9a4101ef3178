#include "player/swf/action_reader.h"

namespace tvrl::swf {

namespace {

std::vector<uint8_t> take(ByteReader& in, size_t n) {
  const uint8_t* p = in.bytes(n);
  return p ? std::vector<uint8_t>(p, p + n) : std::vector<uint8_t>{};
}

}  // namespace

bool readClipActions(ByteReader& in, int swfVersion, std::vector<ClipAction>& out) {
  bool wide = swfVersion >= 6;
  in.u16();                   // reserved
  wide ? in.u32() : in.u16();  // every event used, repeated in the records
  while (!in.failed()) {
    uint32_t events = wide ? in.u32() : in.u16();
    if (events == 0 || in.failed()) break;
    ClipAction action;
    action.events = events;
    uint32_t size = in.u32();
    if (events & ClipEventKeyPress) {
      action.keyCode = in.u8();
      if (size == 0) return false;
      --size;
    }
    if (size > in.remaining()) return false;
    action.actions = take(in, size);
    out.push_back(std::move(action));
  }
  return !in.failed();
}

bool readButtonActions(ByteReader& in, bool version2, std::vector<ButtonAction>& out) {
  if (!version2) {
    // A lone ActionEnd is no action at all.
    if (in.remaining() > 1) out.push_back({CondOverDownToOverUp, take(in, in.remaining())});
    return true;
  }
  while (in.remaining() > 0) {
    size_t size = in.u16();
    ButtonAction action;
    action.conditions = in.u16();
    if (in.failed()) return false;
    // The size covers its own four bytes; zero marks the last record.
    size_t body = size == 0 ? in.remaining() : size >= 4 ? size - 4 : 0;
    if (size != 0 && size < 4) return false;
    if (body > in.remaining()) return false;
    action.actions = take(in, body);
    out.push_back(std::move(action));
    if (size == 0) break;
  }
  return !in.failed();
}

}  // namespace tvrl::swf
