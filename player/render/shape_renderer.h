// Draws a shape: each layer's fills from the edges that name them on either side, then
// the layer's strokes, then the next layer.
#pragma once

#include <set>
#include <vector>

#include "player/render/canvas.h"
#include "player/render/paint.h"
#include "player/render/rasterizer.h"
#include "player/swf/shape.h"

namespace tvrl::player {

class ShapeRenderer {
 public:
  explicit ShapeRenderer(BitmapLookup bitmaps) : bitmaps_(std::move(bitmaps)) {}

  // Outline points one frame may rasterise; a shape that would exceed what is left is
  // not drawn.
  static constexpr size_t kPointsPerFrame = 20u << 20;
  void setPointBudget(size_t points) { pointsLeft_ = points; }

  // toDevice maps the shape's twips to canvas pixels. With `fillOverride` every fill of
  // the shape is drawn with it (glyphs take their text's colour this way).
  void draw(Canvas& canvas, const swf::Shape& shape, const swf::Matrix& toDevice, const swf::ColorTransform& cx,
            const swf::FillStyle* fillOverride = nullptr);

 private:
  struct Polyline {
    const swf::Path* path;
    std::vector<swf::Point> points;
  };

  // False when the layer's outline does not fit the point budget.
  bool flatten(const swf::ShapeLayer& layer, const swf::Matrix& toDevice);
  void addFillOutline(uint32_t fill);
  void paintCoverage(Canvas& target, const Paint* paint);
  template <typename PaintFor>
  void drawTiledFills(Canvas& canvas, const std::set<uint32_t>& fills, PaintFor paintFor);
  void drawStrokes(Canvas& canvas, const swf::ShapeLayer& layer, const swf::Matrix& toDevice,
                   const swf::ColorTransform& cx);

  BitmapLookup bitmaps_;
  size_t pointsLeft_ = kPointsPerFrame;
  Rasterizer raster_;
  std::vector<Polyline> polylines_;
  std::vector<uint32_t> colors_;
  std::vector<uint32_t> layerPixels_;
};

}  // namespace tvrl::player
