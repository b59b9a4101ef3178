// Puts painted, covered pixels onto a canvas: "over" for drawing, "add" for building one
// layer from fills that share edges, so that a shared edge's two partial coverages sum to
// a whole pixel instead of letting the background show through.
#pragma once

#include <cstdint>
#include <vector>

#include "player/render/canvas.h"
#include "player/render/paint.h"

namespace tvrl::player {

// Pixels [x0, x1) of row y: coverage 0..256, multiplied by the canvas's mask if it has one.
void blendOver(Canvas& canvas, int y, int x0, int x1, const uint16_t* coverage, const uint32_t* colors);
void blendSolidOver(Canvas& canvas, int y, int x0, int x1, const uint16_t* coverage, uint32_t color);
void addInto(Canvas& canvas, int y, int x0, int x1, const uint16_t* coverage, const uint32_t* colors);

// Two 8-bit channels in the low bytes of each 16-bit lane, each scaled by f/255, rounded.
inline uint32_t scaleLanes(uint32_t lanes, uint32_t f) {
  uint32_t t = lanes * f + 0x00800080;
  return ((t + ((t >> 8) & 0x00ff00ff)) >> 8) & 0x00ff00ff;
}

// A premultiplied source over a destination pixel, the source weighted by 0..256.
inline uint32_t over(uint32_t dst, uint32_t src, uint32_t weight) {
  if (weight < 256) {
    uint32_t rb = ((src & 0x00ff00ff) * weight >> 8) & 0x00ff00ff;
    uint32_t ag = (((src >> 8) & 0x00ff00ff) * weight >> 8) & 0x00ff00ff;
    src = rb | ag << 8;
  }
  uint32_t inv = 255 - (src >> 24);
  uint32_t rb = (src & 0x00ff00ff) + scaleLanes(dst & 0x00ff00ff, inv);
  uint32_t ag = ((src >> 8) & 0x00ff00ff) + scaleLanes((dst >> 8) & 0x00ff00ff, inv);
  return rb | ag << 8;
}

}  // namespace tvrl::player
