#include "player/render/morph.h"

#include <cmath>

namespace tvrl::player {
namespace {

using swf::Point;

double lerp(double a, double b, double t) { return a + (b - a) * t; }
Point lerp(Point a, Point b, double t) { return {lerp(a.x, b.x, t), lerp(a.y, b.y, t)}; }
uint8_t lerp8(uint8_t a, uint8_t b, double t) { return static_cast<uint8_t>(std::lround(lerp(a, b, t))); }
swf::Rgba lerp(swf::Rgba a, swf::Rgba b, double t) {
  return {lerp8(a.r, b.r, t), lerp8(a.g, b.g, t), lerp8(a.b, b.b, t), lerp8(a.a, b.a, t)};
}
swf::Matrix lerp(const swf::Matrix& a, const swf::Matrix& b, double t) {
  return {lerp(a.a, b.a, t), lerp(a.b, b.b, t), lerp(a.c, b.c, t), lerp(a.d, b.d, t), lerp(a.tx, b.tx, t), lerp(a.ty, b.ty, t)};
}

swf::FillStyle lerp(const swf::FillStyle& a, const swf::FillStyle& b, double t) {
  swf::FillStyle f = a;
  f.color = lerp(a.color, b.color, t);
  f.matrix = lerp(a.matrix, b.matrix, t);
  f.gradient.focalPoint = lerp(a.gradient.focalPoint, b.gradient.focalPoint, t);
  for (size_t i = 0; i < f.gradient.stops.size() && i < b.gradient.stops.size(); ++i) {
    f.gradient.stops[i].ratio = lerp8(a.gradient.stops[i].ratio, b.gradient.stops[i].ratio, t);
    f.gradient.stops[i].color = lerp(a.gradient.stops[i].color, b.gradient.stops[i].color, t);
  }
  return f;
}

// A straight edge paired with a curve becomes a curve through its midpoint.
swf::Edge asCurve(const swf::Edge& e, Point from) {
  if (e.curve) return e;
  swf::Edge c = e;
  c.curve = true;
  c.control = lerp(from, e.to, 0.5);
  return c;
}

}  // namespace

swf::Shape interpolateMorph(const swf::MorphShapeCharacter& morph, double t) {
  swf::Shape out = morph.start;
  if (morph.start.layers.empty() || morph.end.layers.empty()) return out;
  const swf::ShapeLayer& start = morph.start.layers[0];
  const swf::ShapeLayer& end = morph.end.layers[0];
  swf::ShapeLayer& layer = out.layers[0];
  for (size_t i = 0; i < layer.fills.size() && i < end.fills.size(); ++i)
    layer.fills[i] = lerp(start.fills[i], end.fills[i], t);
  for (size_t i = 0; i < layer.lines.size() && i < end.lines.size(); ++i) {
    swf::LineStyle& l = layer.lines[i];
    l.width = static_cast<uint16_t>(std::lround(lerp(start.lines[i].width, end.lines[i].width, t)));
    l.color = lerp(start.lines[i].color, end.lines[i].color, t);
    l.fill = lerp(start.lines[i].fill, end.lines[i].fill, t);
  }
  for (size_t p = 0; p < layer.paths.size() && p < end.paths.size(); ++p) {
    const swf::Path& sp = start.paths[p];
    const swf::Path& ep = end.paths[p];
    swf::Path& path = layer.paths[p];
    path.start = lerp(sp.start, ep.start, t);
    Point sFrom = sp.start, eFrom = ep.start;
    for (size_t i = 0; i < path.edges.size() && i < ep.edges.size(); ++i) {
      swf::Edge a = sp.edges[i], b = ep.edges[i];
      if (a.curve != b.curve) {
        a = asCurve(a, sFrom);
        b = asCurve(b, eFrom);
      }
      path.edges[i].curve = a.curve;
      path.edges[i].control = lerp(a.control, b.control, t);
      path.edges[i].to = lerp(a.to, b.to, t);
      sFrom = a.to;
      eFrom = b.to;
    }
  }
  return out;
}

}  // namespace tvrl::player
