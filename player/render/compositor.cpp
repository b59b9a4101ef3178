#include "player/render/compositor.h"

namespace tvrl::player {
namespace {

uint32_t weightOf(const Canvas& canvas, int y, int x, float coverage) {
  uint32_t w = static_cast<uint32_t>(coverage * 256 + 0.5f);
  if (canvas.mask) w = (w * canvas.mask[static_cast<size_t>(y) * canvas.width + x] + 127) / 255;
  return w;
}

}  // namespace

void blendOver(Canvas& canvas, int y, int x0, int x1, const float* coverage, const uint32_t* colors) {
  uint32_t* row = canvas.pixels + static_cast<size_t>(y) * canvas.stride;
  for (int x = x0; x < x1; ++x, ++coverage, ++colors) {
    uint32_t w = weightOf(canvas, y, x, *coverage);
    if (w == 0) continue;
    if (w == 256 && (*colors >> 24) == 255)
      row[x] = *colors;
    else
      row[x] = over(row[x], *colors, w);
  }
}

void addInto(Canvas& canvas, int y, int x0, int x1, const float* coverage, const uint32_t* colors) {
  uint32_t* row = canvas.pixels + static_cast<size_t>(y) * canvas.stride;
  for (int x = x0; x < x1; ++x, ++coverage, ++colors) {
    uint32_t w = static_cast<uint32_t>(*coverage * 256 + 0.5f);
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
