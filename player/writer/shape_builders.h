// Outlines and fills that authored movies are made of: rounded rectangles, circles,
// solid and gradient fills, and a shape of one path. Paths are in twips, gradient
// geometry in pixels.
#pragma once

#include <cstdint>

#include "player/swf/shape.h"

namespace tvrl::swf::writer {

Edge lineTo(double x, double y);
Edge curveTo(double cx, double cy, double x, double y);

// Clockwise on screen, so that fill 1 (on the right) is inside; `lineStyle` 0 for none.
Path roundedRectPath(double x0, double y0, double x1, double y1, double radius, uint32_t lineStyle = 0);
// Eight quadratic arcs, clockwise on screen, fill 1 inside.
Path circlePath(double cx, double cy, double r);

FillStyle solidFill(Rgba c);
// From colour `a` at (x0, y0) to `b` at (x1, y1).
FillStyle linearGradientFill(double x0, double y0, double x1, double y1, Rgba a, Rgba b);
FillStyle radialGradientFill(double cx, double cy, double r, Rgba a, Rgba b);

// A one-layer shape of `path` with `fill` as fill 1 and `stroke`, when given, as line 1;
// its bounds hold every point and control point.
Shape shapeOf(const Path& path, const FillStyle& fill, const LineStyle* stroke = nullptr);

// The box around a path's points and control points.
Rect pathBounds(const Path& path);

}  // namespace tvrl::swf::writer
