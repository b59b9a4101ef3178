// Turns a stroked polyline into filled polygons: one quadrilateral per segment plus
// joins and caps, all wound the same way so that their overlaps stay fully covered.
#pragma once

#include <vector>

#include "player/render/rasterizer.h"
#include "player/swf/shape.h"

namespace tvrl::player {

struct StrokeStyle {
  double halfWidth = 0.5;  // device pixels
  swf::CapStyle startCap = swf::CapStyle::Round;
  swf::CapStyle endCap = swf::CapStyle::Round;
  swf::JoinStyle join = swf::JoinStyle::Round;
  double miterLimit = 3;
};

// Points are in device pixels; a closed polyline repeats its first point at the end.
void strokePolyline(Rasterizer& out, const std::vector<swf::Point>& points, const StrokeStyle& style);

}  // namespace tvrl::player
