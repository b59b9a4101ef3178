#include "player/writer/shape_builders.h"

#include <algorithm>
#include <cmath>

namespace tvrl::swf::writer {
namespace {

constexpr double kTwips = 20;
constexpr double kPi = 3.14159265358979323846;

}  // namespace

Edge lineTo(double x, double y) {
  Edge e;
  e.to = {x, y};
  return e;
}

Edge curveTo(double cx, double cy, double x, double y) {
  Edge e;
  e.curve = true;
  e.control = {cx, cy};
  e.to = {x, y};
  return e;
}

Path roundedRectPath(double x0, double y0, double x1, double y1, double r, uint32_t lineStyle) {
  Path p;
  p.fill1 = 1;
  p.line = lineStyle;
  p.start = {x0 + r, y0};
  p.edges = {lineTo(x1 - r, y0), curveTo(x1, y0, x1, y0 + r), lineTo(x1, y1 - r), curveTo(x1, y1, x1 - r, y1),
             lineTo(x0 + r, y1),  curveTo(x0, y1, x0, y1 - r), lineTo(x0, y0 + r), curveTo(x0, y0, x0 + r, y0)};
  return p;
}

Path circlePath(double cx, double cy, double r) {
  Path p;
  p.fill1 = 1;
  p.start = {cx + r, cy};
  for (int i = 1; i <= 8; ++i) {
    double a0 = (i - 1) * kPi / 4, a1 = i * kPi / 4, am = (a0 + a1) / 2;
    double rc = r / std::cos(kPi / 8);
    p.edges.push_back(curveTo(cx + rc * std::cos(am), cy + rc * std::sin(am), cx + r * std::cos(a1), cy + r * std::sin(a1)));
  }
  return p;
}

FillStyle solidFill(Rgba c) {
  FillStyle f;
  f.color = c;
  return f;
}

// The gradient square spans -16384..16384 twips; it is scaled and turned onto the line.
FillStyle linearGradientFill(double x0, double y0, double x1, double y1, Rgba a, Rgba b) {
  FillStyle f;
  f.kind = FillKind::LinearGradient;
  f.gradient.stops = {{0, a}, {255, b}};
  double dx = (x1 - x0) * kTwips / 32768, dy = (y1 - y0) * kTwips / 32768;
  f.matrix = {dx, dy, -dy, dx, (x0 + x1) / 2 * kTwips, (y0 + y1) / 2 * kTwips};
  return f;
}

FillStyle radialGradientFill(double cx, double cy, double r, Rgba a, Rgba b) {
  FillStyle f;
  f.kind = FillKind::RadialGradient;
  f.gradient.stops = {{0, a}, {255, b}};
  double s = r * kTwips / 16384;
  f.matrix = {s, 0, 0, s, cx * kTwips, cy * kTwips};
  return f;
}

Rect pathBounds(const Path& path) {
  double x0 = path.start.x, y0 = path.start.y, x1 = x0, y1 = y0;
  auto grow = [&](Point q) {
    x0 = std::min(x0, q.x), y0 = std::min(y0, q.y), x1 = std::max(x1, q.x), y1 = std::max(y1, q.y);
  };
  for (const Edge& e : path.edges) {
    if (e.curve) grow(e.control);
    grow(e.to);
  }
  return {int32_t(std::floor(x0)), int32_t(std::ceil(x1)), int32_t(std::floor(y0)), int32_t(std::ceil(y1))};
}

Shape shapeOf(const Path& path, const FillStyle& fill, const LineStyle* stroke) {
  Shape s;
  s.layers.emplace_back();
  s.layers[0].fills = {fill};
  if (stroke) s.layers[0].lines = {*stroke};
  s.layers[0].paths = {path};
  s.bounds = pathBounds(path);
  return s;
}

}  // namespace tvrl::swf::writer
