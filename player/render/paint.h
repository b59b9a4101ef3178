// What a fill puts in each pixel: a solid colour, a gradient or a bitmap, sampled at
// pixel centres through the fill's matrix, with the colour transform already applied.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>

#include "player/swf/characters.h"

namespace tvrl::player {

using BitmapLookup = std::function<const swf::BitmapCharacter*(uint16_t id)>;

class Paint {
 public:
  virtual ~Paint() = default;
  // Premultiplied colours of `count` pixels from (x, y).
  virtual void row(int x, int y, int count, uint32_t* out) const = 0;
  // Set when every pixel has the same colour.
  bool isSolid() const { return solid_; }
  uint32_t solidColor() const { return color_; }

 protected:
  bool solid_ = false;
  uint32_t color_ = 0;
};

uint32_t premultiply(swf::Rgba c);

// shapeToDevice maps the shape's twips to device pixels. A bitmap fill whose bitmap is
// missing paints nothing.
std::unique_ptr<Paint> makePaint(const swf::FillStyle& fill, const swf::Matrix& shapeToDevice,
                                 const swf::ColorTransform& cx, const BitmapLookup& bitmaps);

}  // namespace tvrl::player
