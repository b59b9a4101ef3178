// Equality of the reader's model, for tests that write a movie and read it back.
#pragma once

#include <ostream>

#include "player/swf/characters.h"

namespace tvrl::swf {

inline bool operator==(const Point& a, const Point& b) { return a.x == b.x && a.y == b.y; }
inline bool operator==(const GradientStop& a, const GradientStop& b) { return a.ratio == b.ratio && a.color == b.color; }
inline bool operator==(const Gradient& a, const Gradient& b) {
  return a.spread == b.spread && a.interpolation == b.interpolation && a.stops == b.stops &&
         a.focalPoint == b.focalPoint;
}
inline bool operator==(const FillStyle& a, const FillStyle& b) {
  if (a.kind != b.kind) return false;
  if (a.kind == FillKind::Solid) return a.color == b.color;
  if (isGradient(a.kind)) return a.matrix == b.matrix && a.gradient == b.gradient;
  return a.matrix == b.matrix && a.bitmapId == b.bitmapId;
}
inline bool operator==(const LineStyle& a, const LineStyle& b) {
  return a.width == b.width && a.startCap == b.startCap && a.endCap == b.endCap && a.join == b.join &&
         a.miterLimit == b.miterLimit && a.hasFill == b.hasFill && (a.hasFill ? a.fill == b.fill : a.color == b.color);
}
inline bool operator==(const Edge& a, const Edge& b) {
  return a.curve == b.curve && a.to == b.to && (!a.curve || a.control == b.control);
}
inline bool operator==(const Path& a, const Path& b) {
  return a.fill0 == b.fill0 && a.fill1 == b.fill1 && a.line == b.line && a.start == b.start && a.edges == b.edges;
}
inline bool operator==(const ShapeLayer& a, const ShapeLayer& b) {
  return a.fills == b.fills && a.lines == b.lines && a.paths == b.paths;
}
inline bool operator==(const Shape& a, const Shape& b) { return a.bounds == b.bounds && a.layers == b.layers; }

inline bool operator==(const PlaceCommand& a, const PlaceCommand& b) {
  return a.depth == b.depth && a.move == b.move && a.characterId == b.characterId && a.matrix == b.matrix &&
         a.colorTransform == b.colorTransform && a.ratio == b.ratio && a.name == b.name && a.clipDepth == b.clipDepth;
}
inline bool operator==(const FrameCommand& a, const FrameCommand& b) {
  return a.kind == b.kind && (a.kind == FrameCommand::Kind::Remove ? a.place.depth == b.place.depth : a.place == b.place);
}

inline std::ostream& operator<<(std::ostream& os, const Rgba& c) {
  return os << "rgba(" << int(c.r) << "," << int(c.g) << "," << int(c.b) << "," << int(c.a) << ")";
}

}  // namespace tvrl::swf
