#include "player/swf/inflate.h"

#include <zlib.h>

#include <algorithm>

namespace tvrl::swf {

InflateStatus inflateBounded(const uint8_t* data, size_t size, size_t maxOut, std::vector<uint8_t>& out) {
  z_stream z{};
  if (inflateInit(&z) != Z_OK) return InflateStatus::Corrupt;
  z.next_in = const_cast<Bytef*>(data);
  z.avail_in = static_cast<uInt>(std::min<size_t>(size, 0xffffffffu));
  size_t base = out.size();
  int rc = Z_OK;
  uint8_t chunk[16384];
  while (rc == Z_OK) {
    z.next_out = chunk;
    z.avail_out = sizeof chunk;
    rc = inflate(&z, Z_NO_FLUSH);
    size_t produced = sizeof chunk - z.avail_out;
    if (out.size() - base + produced > maxOut) {
      out.insert(out.end(), chunk, chunk + (maxOut - (out.size() - base)));
      inflateEnd(&z);
      return InflateStatus::TooLarge;
    }
    out.insert(out.end(), chunk, chunk + produced);
    if (rc == Z_BUF_ERROR && produced == 0) break;
    if (rc == Z_BUF_ERROR) rc = Z_OK;
  }
  inflateEnd(&z);
  if (rc == Z_STREAM_END) return InflateStatus::Complete;
  if (rc == Z_BUF_ERROR || rc == Z_OK) return InflateStatus::Truncated;
  return InflateStatus::Corrupt;
}

}  // namespace tvrl::swf
