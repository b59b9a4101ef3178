// The pixels being drawn on: the caller's 32-bit premultiplied BGRA rows, and the mask
// that clips what is drawn while a mask layer is active.
#pragma once

#include <cstdint>

namespace tvrl::player {

struct IntRect {
  int x0 = 0, y0 = 0, x1 = 0, y1 = 0;  // x1, y1 exclusive
  bool empty() const { return x1 <= x0 || y1 <= y0; }
  IntRect intersect(const IntRect& o) const {
    return {x0 > o.x0 ? x0 : o.x0, y0 > o.y0 ? y0 : o.y0, x1 < o.x1 ? x1 : o.x1, y1 < o.y1 ? y1 : o.y1};
  }
};

struct Canvas {
  uint32_t* pixels = nullptr;  // 0xAARRGGBB, premultiplied
  int width = 0;
  int height = 0;
  int stride = 0;                // in pixels
  const uint8_t* mask = nullptr;  // width * height coverage, or null for none
  bool antialias = true;
  IntRect clip;  // nothing is drawn outside; within the canvas
};

}  // namespace tvrl::player
