// A shape as the file stores it: styles, and paths whose edges name a fill on each side.
#pragma once

#include <cstdint>
#include <vector>

#include "player/swf/geometry.h"

namespace tvrl::swf {

enum class SpreadMode : uint8_t { Pad = 0, Reflect = 1, Repeat = 2 };
enum class Interpolation : uint8_t { Rgb = 0, LinearRgb = 1 };

struct GradientStop {
  uint8_t ratio = 0;
  Rgba color;
};

struct Gradient {
  SpreadMode spread = SpreadMode::Pad;
  Interpolation interpolation = Interpolation::Rgb;
  std::vector<GradientStop> stops;
  double focalPoint = 0;  // -1..1 along the x axis, focal radial gradients only
};

enum class FillKind : uint8_t {
  Solid = 0x00,
  LinearGradient = 0x10,
  RadialGradient = 0x12,
  FocalRadialGradient = 0x13,
  RepeatingBitmap = 0x40,
  ClippedBitmap = 0x41,
  RepeatingBitmapHard = 0x42,
  ClippedBitmapHard = 0x43,
};

inline bool isGradient(FillKind k) { return (static_cast<int>(k) & 0xf0) == 0x10; }
inline bool isBitmap(FillKind k) { return (static_cast<int>(k) & 0xf0) == 0x40; }

struct FillStyle {
  FillKind kind = FillKind::Solid;
  Rgba color;
  Matrix matrix;  // gradient square or bitmap pixels into shape space
  Gradient gradient;
  uint16_t bitmapId = 0;
};

enum class CapStyle : uint8_t { Round = 0, None = 1, Square = 2 };
enum class JoinStyle : uint8_t { Round = 0, Bevel = 1, Miter = 2 };

struct LineStyle {
  uint16_t width = 0;  // twips; 0 is a hairline
  Rgba color;
  CapStyle startCap = CapStyle::Round;
  CapStyle endCap = CapStyle::Round;
  JoinStyle join = JoinStyle::Round;
  double miterLimit = 3;
  bool hasFill = false;  // the stroke is painted with `fill`, not `color`
  FillStyle fill;
};

struct Edge {
  Point control;  // used by curves only
  Point to;
  bool curve = false;
};

// A run of edges drawn with the same styles; indices are 1-based into the layer's
// style arrays, 0 for none.
struct Path {
  uint32_t fill0 = 0;  // fill on the left of the direction of travel
  uint32_t fill1 = 0;  // fill on the right
  uint32_t line = 0;
  Point start;
  std::vector<Edge> edges;
};

// Styles and the paths that use them; a NewStyles record starts the next layer,
// drawn over the previous one.
struct ShapeLayer {
  std::vector<FillStyle> fills;
  std::vector<LineStyle> lines;
  std::vector<Path> paths;
};

struct Shape {
  Rect bounds;
  std::vector<ShapeLayer> layers;
};

// An axis-aligned rectangle in twips, running clockwise on screen so that `fill1`
// (the right-hand fill) is inside.
inline Path rectanglePath(int32_t x0, int32_t y0, int32_t x1, int32_t y1, uint32_t fill1, uint32_t line = 0) {
  Path p;
  p.fill1 = fill1;
  p.line = line;
  p.start = {double(x0), double(y0)};
  for (Point q : {Point{double(x1), double(y0)}, Point{double(x1), double(y1)}, Point{double(x0), double(y1)},
                  Point{double(x0), double(y0)}}) {
    Edge e;
    e.to = q;
    p.edges.push_back(e);
  }
  return p;
}

}  // namespace tvrl::swf
