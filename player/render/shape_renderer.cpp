#include "player/render/shape_renderer.h"

#include <algorithm>
#include <cmath>
#include <set>

#include "player/render/compositor.h"
#include "player/render/stroker.h"

namespace tvrl::player {

using swf::Matrix;
using swf::Point;

namespace {

constexpr double kTolerance = 0.1;  // pixels a flattened curve may stray from the true one

void flattenQuadratic(Point p0, Point c, Point p1, std::vector<Point>& out) {
  double ddx = p0.x - 2 * c.x + p1.x, ddy = p0.y - 2 * c.y + p1.y;
  double dd = std::sqrt(ddx * ddx + ddy * ddy);
  int n = std::clamp(static_cast<int>(std::ceil(std::sqrt(dd / (8 * kTolerance)))), 1, 64);
  for (int i = 1; i <= n; ++i) {
    double t = double(i) / n, u = 1 - t;
    out.push_back({u * u * p0.x + 2 * u * t * c.x + t * t * p1.x, u * u * p0.y + 2 * u * t * c.y + t * t * p1.y});
  }
}

}  // namespace

bool ShapeRenderer::flatten(const swf::ShapeLayer& layer, const Matrix& toDevice) {
  polylines_.clear();
  for (const swf::Path& path : layer.paths) {
    // Curves become at most 64 lines each.
    size_t worst = 1 + path.edges.size() * 64;
    if (worst > pointsLeft_) {
      pointsLeft_ = 0;
      polylines_.clear();
      return false;
    }
    Polyline line{&path, {toDevice.apply(path.start)}};
    for (const swf::Edge& e : path.edges) {
      if (e.curve)
        flattenQuadratic(line.points.back(), toDevice.apply(e.control), toDevice.apply(e.to), line.points);
      else
        line.points.push_back(toDevice.apply(e.to));
    }
    pointsLeft_ -= line.points.size();
    polylines_.push_back(std::move(line));
  }
  return true;
}

// The fill's region: edges with the fill on their right as they run, edges with it on
// their left reversed, so that the region always winds the same way.
void ShapeRenderer::addFillOutline(uint32_t fill) {
  for (const Polyline& line : polylines_) {
    const swf::Path& p = *line.path;
    if (p.fill0 == p.fill1 || (p.fill0 != fill && p.fill1 != fill)) continue;
    const std::vector<Point>& pts = line.points;
    for (size_t i = 0; i + 1 < pts.size(); ++i) {
      if (p.fill1 == fill)
        raster_.addLine(pts[i].x, pts[i].y, pts[i + 1].x, pts[i + 1].y);
      else
        raster_.addLine(pts[i + 1].x, pts[i + 1].y, pts[i].x, pts[i].y);
    }
  }
}

// Always sweeps, which also clears the rasterizer; a missing paint draws nothing.
void ShapeRenderer::paintCoverage(Canvas& target, const Paint* paint) {
  raster_.sweep([&](int y, int x0, int x1, const uint16_t* coverage) {
    if (!paint) return;
    if (paint->isSolid()) {
      blendSolidOver(target, y, x0, x1, coverage, paint->solidColor());
      return;
    }
    colors_.resize(x1 - x0);
    paint->row(x0, y, x1 - x0, colors_.data());
    blendOver(target, y, x0, x1, coverage, colors_.data());
  });
}

void ShapeRenderer::draw(Canvas& canvas, const swf::Shape& shape, const Matrix& toDevice,
                         const swf::ColorTransform& cx, const swf::FillStyle* fillOverride) {
  if (canvas.clip.empty()) return;
  for (const swf::ShapeLayer& layer : shape.layers) {
    if (!flatten(layer, toDevice)) return;
    std::set<uint32_t> fills;
    for (const swf::Path& p : layer.paths) {
      if (p.fill0 != p.fill1) {
        if (p.fill0) fills.insert(p.fill0);
        if (p.fill1) fills.insert(p.fill1);
      }
    }
    auto paintFor = [&](uint32_t fill) {
      return makePaint(fillOverride ? *fillOverride : layer.fills[fill - 1], toDevice, cx, bitmaps_);
    };
    if (fills.size() == 1) {
      raster_.reset(canvas.clip, canvas.antialias);
      addFillOutline(*fills.begin());
      paintCoverage(canvas, paintFor(*fills.begin()).get());
    } else if (fills.size() > 1) {
      drawTiledFills(canvas, fills, paintFor);
    }
    drawStrokes(canvas, layer, toDevice, cx);
  }
}

// Fills of one layer tile the plane without overlapping; they are added together into a
// layer of their own, which then goes over the canvas.
template <typename PaintFor>
void ShapeRenderer::drawTiledFills(Canvas& canvas, const std::set<uint32_t>& fills, PaintFor paintFor) {
  double x0 = 1e300, y0 = 1e300, x1 = -1e300, y1 = -1e300;
  for (const Polyline& line : polylines_)
    for (const Point& p : line.points) {
      x0 = std::min(x0, p.x);
      y0 = std::min(y0, p.y);
      x1 = std::max(x1, p.x);
      y1 = std::max(y1, p.y);
    }
  IntRect box = canvas.clip.intersect({static_cast<int>(std::floor(std::clamp(x0, -1e9, 1e9))),
                                       static_cast<int>(std::floor(std::clamp(y0, -1e9, 1e9))),
                                       static_cast<int>(std::ceil(std::clamp(x1, -1e9, 1e9))) + 1,
                                       static_cast<int>(std::ceil(std::clamp(y1, -1e9, 1e9))) + 1});
  if (box.empty()) return;
  Canvas layerCanvas;
  layerCanvas.width = box.x1 - box.x0;
  layerCanvas.height = box.y1 - box.y0;
  layerCanvas.stride = layerCanvas.width;
  layerCanvas.antialias = canvas.antialias;
  layerCanvas.clip = {0, 0, layerCanvas.width, layerCanvas.height};
  layerPixels_.assign(static_cast<size_t>(layerCanvas.width) * layerCanvas.height, 0);
  layerCanvas.pixels = layerPixels_.data();
  for (Polyline& line : polylines_)
    for (Point& p : line.points) p = {p.x - box.x0, p.y - box.y0};
  for (uint32_t fill : fills) {
    raster_.reset(layerCanvas.clip, canvas.antialias);
    addFillOutline(fill);
    std::unique_ptr<Paint> paint = paintFor(fill);
    raster_.sweep([&](int y, int xa, int xb, const uint16_t* coverage) {
      if (!paint) return;
      colors_.resize(xb - xa);
      paint->row(xa + box.x0, y + box.y0, xb - xa, colors_.data());
      addInto(layerCanvas, y, xa, xb, coverage, colors_.data());
    });
  }
  std::vector<uint16_t> full(layerCanvas.width, 256);
  for (int y = 0; y < layerCanvas.height; ++y)
    blendOver(canvas, y + box.y0, box.x0, box.x1, full.data(), &layerPixels_[static_cast<size_t>(y) * layerCanvas.width]);
  // The strokes that follow are drawn in canvas coordinates.
  for (Polyline& line : polylines_)
    for (Point& p : line.points) p = {p.x + box.x0, p.y + box.y0};
}

void ShapeRenderer::drawStrokes(Canvas& canvas, const swf::ShapeLayer& layer, const Matrix& toDevice,
                                const swf::ColorTransform& cx) {
  double scale = std::sqrt(std::fabs(toDevice.determinant()));
  for (uint32_t index = 1; index <= layer.lines.size(); ++index) {
    const swf::LineStyle& style = layer.lines[index - 1];
    StrokeStyle stroke;
    // Flash draws no line thinner than one pixel; width 0 is exactly one pixel.
    stroke.halfWidth = std::max(1.0, style.width * scale) / 2;
    stroke.startCap = style.startCap;
    stroke.endCap = style.endCap;
    stroke.join = style.join;
    stroke.miterLimit = style.miterLimit;
    raster_.reset(canvas.clip, canvas.antialias);
    bool any = false;
    // Consecutive runs that meet form one polyline, so their corner gets a join.
    std::vector<Point> run;
    for (const Polyline& line : polylines_) {
      if (line.path->line != index) continue;
      any = true;
      if (!run.empty() && std::fabs(run.back().x - line.points.front().x) + std::fabs(run.back().y - line.points.front().y) < 1e-6) {
        run.insert(run.end(), line.points.begin() + 1, line.points.end());
      } else {
        if (!run.empty()) strokePolyline(raster_, run, stroke);
        run = line.points;
      }
    }
    if (!run.empty()) strokePolyline(raster_, run, stroke);
    if (any) {
      swf::FillStyle solid;
      solid.color = style.color;
      paintCoverage(canvas, makePaint(style.hasFill ? style.fill : solid, toDevice, cx, bitmaps_).get());
    }
  }
}

}  // namespace tvrl::player
