// Draws a display list: every object by depth with its parents' matrices and colour
// transforms, sprites and buttons through their own lists, and masks (clip depths)
// as coverage that clips the depths they cover.
#pragma once

#include <vector>

#include "player/render/shape_renderer.h"
#include "player/timeline/display_list.h"

namespace tvrl::player {

class DisplayRenderer {
 public:
  explicit DisplayRenderer(const swf::Movie& movie);
  // One frame. Its work is bounded: past a budget of outline points or of masks, the
  // rest of the frame is left undrawn rather than letting a hostile movie stall the host.
  void render(Canvas& canvas, const DisplayList& list, const swf::Matrix& toDevice);

 private:
  static constexpr size_t kMaxMasksPerFrame = 64;

  void draw(Canvas& canvas, const DisplayList& list, const swf::Matrix& toDevice, const swf::ColorTransform& cx);
  void drawObject(Canvas& canvas, const DisplayObject& object, const swf::Matrix& toDevice, const swf::ColorTransform& cx);
  std::vector<uint8_t> renderMask(const Canvas& canvas, const DisplayObject& object, const swf::Matrix& toDevice);

  const swf::Movie& movie_;
  ShapeRenderer shapes_;
  size_t masksLeft_ = 0;
};

}  // namespace tvrl::player
