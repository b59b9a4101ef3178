#include "player/swf/bitmap_reader.h"

#include <stb_image.h>

#include <algorithm>

#include "player/swf/inflate.h"
#include "player/swf/limits.h"

namespace tvrl::swf {
namespace {

uint32_t premultiply(uint8_t r, uint8_t g, uint8_t b, uint8_t a) {
  auto pm = [a](uint8_t c) -> uint32_t { return (c * a + 127) / 255; };
  return static_cast<uint32_t>(a) << 24 | pm(r) << 16 | pm(g) << 8 | pm(b);
}

// Already premultiplied values, clamped so a channel never exceeds alpha.
uint32_t packPremultiplied(uint8_t r, uint8_t g, uint8_t b, uint8_t a) {
  auto cl = [a](uint8_t c) -> uint32_t { return c > a ? a : c; };
  return static_cast<uint32_t>(a) << 24 | cl(r) << 16 | cl(g) << 8 | cl(b);
}

bool sizeAllowed(int w, int h) {
  return w > 0 && h > 0 && static_cast<size_t>(w) * h <= kMaxBitmapPixels;
}

// Some writers put an extra end-of-image/start-of-image pair first.
void stripErroneousHeader(const uint8_t*& data, size_t& size) {
  if (size >= 4 && data[0] == 0xff && data[1] == 0xd9 && data[2] == 0xff && data[3] == 0xd8) {
    data += 4;
    size -= 4;
  }
}

// The stb_image of Debian 12 trusts a Huffman table's symbol count and writes past its
// tables when the counts add up to more than 256; such streams are refused first.
bool huffmanTablesFit(const uint8_t* data, size_t size) {
  size_t i = 2;  // after the start-of-image marker
  while (i + 1 < size) {
    if (data[i] != 0xff) {
      ++i;  // entropy-coded data: look for the next marker
      continue;
    }
    uint8_t marker = data[i + 1];
    if (marker == 0x00 || marker == 0xff || (marker >= 0xd0 && marker <= 0xd8) || marker == 0x01) {
      i += marker == 0xff ? 1 : 2;
      continue;
    }
    if (marker == 0xd9 || i + 4 > size) return true;
    size_t length = static_cast<size_t>(data[i + 2]) << 8 | data[i + 3];
    if (marker == 0xc4) {
      size_t at = i + 4, end = std::min(size, i + 2 + length);
      while (at + 17 <= end) {
        size_t symbols = 0;
        for (int k = 1; k <= 16; ++k) symbols += data[at + k];
        if (symbols > 256) return false;
        at += 17 + symbols;
      }
    }
    i += 2 + length;
  }
  return true;
}

}  // namespace

bool readLosslessBitmap(ByteReader& in, bool version2, BitmapCharacter& out) {
  uint8_t format = in.u8();
  int w = in.u16(), h = in.u16();
  unsigned tableSize = format == 3 ? in.u8() + 1u : 0;
  if (in.failed() || !sizeAllowed(w, h) || (format != 3 && format != 4 && format != 5)) return false;
  if (format == 4 && version2) return false;

  size_t entryBytes = version2 ? 4 : 3;
  size_t rowBytes = format == 3 ? (w + 3u) & ~3u : format == 4 ? (w * 2u + 3u) & ~3u : w * 4u;
  size_t needed = tableSize * entryBytes + rowBytes * h;
  std::vector<uint8_t> raw;
  InflateStatus st = inflateBounded(in.current(), in.remaining(), needed, raw);
  in.skip(in.remaining());
  // Bytes beyond the last row are ignored; too few is a broken bitmap.
  if (st == InflateStatus::Corrupt || raw.size() < needed) return false;

  out.width = w;
  out.height = h;
  out.pixels.assign(static_cast<size_t>(w) * h, 0);
  std::vector<uint32_t> table(tableSize);
  for (unsigned i = 0; i < tableSize; ++i) {
    const uint8_t* e = &raw[i * entryBytes];
    table[i] = version2 ? packPremultiplied(e[0], e[1], e[2], e[3]) : premultiply(e[0], e[1], e[2], 255);
  }
  const uint8_t* rows = raw.data() + tableSize * entryBytes;
  for (int y = 0; y < h; ++y) {
    const uint8_t* row = rows + rowBytes * y;
    uint32_t* dst = &out.pixels[static_cast<size_t>(y) * w];
    for (int x = 0; x < w; ++x) {
      if (format == 3) {
        uint8_t index = row[x];
        dst[x] = index < tableSize ? table[index] : 0;
      } else if (format == 4) {
        unsigned v = row[2 * x] << 8 | row[2 * x + 1];
        auto expand = [](unsigned c5) { return static_cast<uint8_t>(c5 << 3 | c5 >> 2); };
        dst[x] = premultiply(expand(v >> 10 & 31), expand(v >> 5 & 31), expand(v & 31), 255);
      } else {
        const uint8_t* p = row + 4 * x;  // A, R, G, B
        dst[x] = version2 ? packPremultiplied(p[1], p[2], p[3], p[0]) : premultiply(p[1], p[2], p[3], 255);
      }
    }
  }
  return true;
}

bool decodeJpegBitmap(const uint8_t* data, size_t size, const std::vector<uint8_t>& jpegTables,
                      const uint8_t* alpha, size_t alphaSize, BitmapCharacter& out) {
  stripErroneousHeader(data, size);
  std::vector<uint8_t> joined;
  if (!jpegTables.empty() && size >= 2 && data[0] == 0xff && data[1] == 0xd8) {
    // The tables end with an end-of-image marker and the image starts with a
    // start-of-image marker; dropping both makes one stream.
    const uint8_t* t = jpegTables.data();
    size_t tsize = jpegTables.size();
    stripErroneousHeader(t, tsize);
    if (tsize >= 2 && t[tsize - 2] == 0xff && t[tsize - 1] == 0xd9) tsize -= 2;
    joined.assign(t, t + tsize);
    joined.insert(joined.end(), data + 2, data + size);
    data = joined.data();
    size = joined.size();
  }
  bool isJpeg = size >= 2 && data[0] == 0xff && data[1] == 0xd8;
  if (size > 0x7fffffff || (isJpeg && !huffmanTablesFit(data, size))) return false;
  int w = 0, h = 0, channels = 0;
  stbi_uc* pixels = stbi_load_from_memory(data, static_cast<int>(size), &w, &h, &channels, 4);
  if (!pixels) return false;
  if (!sizeAllowed(w, h)) {
    stbi_image_free(pixels);
    return false;
  }
  size_t count = static_cast<size_t>(w) * h;
  std::vector<uint8_t> alphaPlane;
  if (alpha && alphaSize > 0) {
    InflateStatus st = inflateBounded(alpha, alphaSize, count, alphaPlane);
    if (st == InflateStatus::Corrupt) alphaPlane.clear();
  }
  out.width = w;
  out.height = h;
  out.pixels.resize(count);
  for (size_t i = 0; i < count; ++i) {
    const stbi_uc* p = pixels + 4 * i;
    uint8_t a = alphaPlane.size() == count ? alphaPlane[i] : p[3];
    // JPEG3 colours are stored premultiplied by their alpha plane.
    out.pixels[i] = alphaPlane.size() == count ? packPremultiplied(p[0], p[1], p[2], a)
                                               : premultiply(p[0], p[1], p[2], a);
  }
  stbi_image_free(pixels);
  return true;
}

}  // namespace tvrl::swf
