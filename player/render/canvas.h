// The pixels being drawn on: the caller's 32-bit premultiplied BGRA rows, and the mask
// that clips what is drawn while a mask layer is active.
#pragma once

#include <cstdint>

namespace tvrl::player {

struct Canvas {
  uint32_t* pixels = nullptr;  // 0xAARRGGBB, premultiplied
  int width = 0;
  int height = 0;
  int stride = 0;                // in pixels
  const uint8_t* mask = nullptr;  // width * height coverage, or null for none
  bool antialias = true;
};

}  // namespace tvrl::player
