#include "player/writer/tag_stream.h"

#include <zlib.h>

#include <stdexcept>

#include "player/swf/tag_codes.h"
#include "player/writer/byte_writer.h"

namespace tvrl::swf::writer {

void TagStream::add(uint16_t code, const std::vector<uint8_t>& body) {
  ByteWriter head;
  // Long headers for the tags whose readers expect one, and whenever the body needs it.
  bool longForm = body.size() >= 0x3f || code == TagDefineBitsLossless || code == TagDefineBitsLossless2 ||
                  code == TagDefineBits || code == TagDefineBitsJpeg2 || code == TagDefineBitsJpeg3;
  head.u16(static_cast<uint16_t>(code << 6 | (longForm ? 0x3f : body.size())));
  if (longForm) head.u32(static_cast<uint32_t>(body.size()));
  bytes_.insert(bytes_.end(), head.data().begin(), head.data().end());
  bytes_.insert(bytes_.end(), body.begin(), body.end());
}

void TagStream::showFrame() {
  add(TagShowFrame, {});
  ++frames_;
}

std::vector<uint8_t> TagStream::finish() const {
  std::vector<uint8_t> out = bytes_;
  out.push_back(0);
  out.push_back(0);
  return out;
}

std::vector<uint8_t> writeMovie(const MovieHeader& header, const TagStream& tags) {
  ByteWriter body;
  body.rect(header.frameSize);
  body.u16(static_cast<uint16_t>(header.frameRate * 256));
  body.u16(tags.frameCount());
  body.bytes(tags.finish());

  ByteWriter file;
  file.u8(header.compressed ? 'C' : 'F');
  file.u8('W');
  file.u8('S');
  file.u8(header.version);
  file.u32(static_cast<uint32_t>(body.size() + 8));
  if (!header.compressed) {
    file.bytes(body.data());
    return file.data();
  }
  uLongf size = compressBound(body.size());
  std::vector<uint8_t> packed(size);
  if (compress2(packed.data(), &size, body.data().data(), body.size(), Z_BEST_COMPRESSION) != Z_OK)
    throw std::runtime_error("zlib could not compress the movie");
  packed.resize(size);
  file.bytes(packed);
  return file.data();
}

std::vector<uint8_t> defineSprite(uint16_t id, const TagStream& tags) {
  ByteWriter out;
  out.u16(id);
  out.u16(tags.frameCount());
  out.bytes(tags.finish());
  return out.data();
}

}  // namespace tvrl::swf::writer
