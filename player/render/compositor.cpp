#include "player/render/compositor.h"

namespace tvrl::player {
namespace {

inline __attribute__((always_inline)) void put(uint32_t& dst, uint32_t src, uint32_t w) {
  if (w == 256 && src >= 0xff000000u)
    dst = src;
  else if (w != 0)
    dst = over(dst, src, w);
}

// The colour of pixel i: a row of colours, or one colour for all.
template <typename Colors>
void blend(Canvas& canvas, int y, int x0, int x1, const uint16_t* coverage, Colors colorAt) {
  uint32_t* row = canvas.pixels + static_cast<size_t>(y) * canvas.stride;
  if (canvas.mask) {
    const uint8_t* mask = canvas.mask + static_cast<size_t>(y) * canvas.width;
    for (int x = x0, i = 0; x < x1; ++x, ++i) put(row[x], colorAt(i), (coverage[i] * mask[x] + 127) / 255);
  } else {
    for (int x = x0, i = 0; x < x1;) {
      // Fully covered opaque runs are plain copies.
      while (x < x1 && coverage[i] == 256 && colorAt(i) >= 0xff000000u) row[x++] = colorAt(i++);
      if (x < x1) {
        put(row[x], colorAt(i), coverage[i]);
        ++x;
        ++i;
      }
    }
  }
}

}  // namespace

void blendOver(Canvas& canvas, int y, int x0, int x1, const uint16_t* coverage, const uint32_t* colors) {
  blend(canvas, y, x0, x1, coverage, [colors](int i) { return colors[i]; });
}

void blendSolidOver(Canvas& canvas, int y, int x0, int x1, const uint16_t* coverage, uint32_t color) {
  blend(canvas, y, x0, x1, coverage, [color](int) { return color; });
}

void addInto(Canvas& canvas, int y, int x0, int x1, const uint16_t* coverage, const uint32_t* colors) {
  uint32_t* row = canvas.pixels + static_cast<size_t>(y) * canvas.stride;
  for (int x = x0; x < x1; ++x, ++coverage, ++colors) {
    uint32_t w = *coverage;
    if (w == 0) continue;
    uint32_t d = row[x], s = *colors, out = 0;
    for (int shift = 0; shift < 32; shift += 8) {
      uint32_t c = (d >> shift & 255) + (((s >> shift & 255) * w + 128) >> 8);
      out |= (c > 255 ? 255 : c) << shift;
    }
    row[x] = out;
  }
}

}  // namespace tvrl::player
