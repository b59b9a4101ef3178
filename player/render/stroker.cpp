#include "player/render/stroker.h"

#include <algorithm>
#include <cmath>

namespace tvrl::player {
namespace {

using swf::Point;

constexpr double kPi = 3.14159265358979323846;

void addPolygon(Rasterizer& out, const Point* p, size_t n) {
  double area = 0;
  for (size_t i = 0; i < n; ++i) {
    const Point& a = p[i];
    const Point& b = p[(i + 1) % n];
    area += a.x * b.y - b.x * a.y;
  }
  for (size_t i = 0; i < n; ++i) {
    const Point& a = p[area >= 0 ? i : n - 1 - i];
    const Point& b = p[area >= 0 ? (i + 1) % n : (2 * n - 2 - i) % n];
    out.addLine(a.x, a.y, b.x, b.y);
  }
}

void addCircle(Rasterizer& out, Point c, double r) {
  int n = std::clamp(static_cast<int>(std::ceil(r * 4)), 16, 128);
  std::vector<Point> pts(n);
  for (int i = 0; i < n; ++i) {
    double a = 2 * kPi * i / n;
    // Vertices a little outside the circle, so the chords cross it instead of cutting in.
    double rr = (r + r / std::cos(kPi / n)) / 2;
    pts[i] = {c.x + rr * std::cos(a), c.y + rr * std::sin(a)};
  }
  addPolygon(out, pts.data(), pts.size());
}

Point normal(Point a, Point b, double hw) {
  double dx = b.x - a.x, dy = b.y - a.y;
  double len = std::sqrt(dx * dx + dy * dy);
  return {-dy / len * hw, dx / len * hw};
}

void addJoin(Rasterizer& out, Point prev, Point at, Point next, const StrokeStyle& s) {
  double hw = s.halfWidth;
  Point n0 = normal(prev, at, hw), n1 = normal(at, next, hw);
  double cross = (at.x - prev.x) * (next.y - at.y) - (at.y - prev.y) * (next.x - at.x);
  double cosTurn = (n0.x * n1.x + n0.y * n1.y) / (hw * hw);
  if (cross == 0 && cosTurn > 0) return;  // straight on
  // A round join where a bevel would stray from the arc by a tenth of a pixel or more;
  // the many gentle corners of a flattened curve take the bevel.
  if (s.join == swf::JoinStyle::Round && hw * (1 - std::sqrt(std::max(0.0, (1 + cosTurn) / 2))) >= 0.1) {
    addCircle(out, at, hw);
    return;
  }
  if (cross == 0) return;
  // The outer side is where the path turns away from.
  double side = cross > 0 ? -1 : 1;
  Point a{at.x + side * n0.x, at.y + side * n0.y};
  Point b{at.x + side * n1.x, at.y + side * n1.y};
  if (s.join == swf::JoinStyle::Miter) {
    double mx = n0.x + n1.x, my = n0.y + n1.y;
    double mlen2 = mx * mx + my * my;
    double dot = (n0.x * mx + n0.y * my);
    if (mlen2 > 0 && dot > 0) {
      double scale = hw * hw / dot;  // length along the bisector to the miter point
      double miterLength = scale * std::sqrt(mlen2) / hw;
      if (miterLength <= s.miterLimit) {
        Point m{at.x + side * mx * scale, at.y + side * my * scale};
        Point quad[4] = {at, a, m, b};
        addPolygon(out, quad, 4);
        return;
      }
    }
  }
  Point tri[3] = {at, a, b};
  addPolygon(out, tri, 3);
}

void addCap(Rasterizer& out, Point end, Point inward, swf::CapStyle cap, double hw) {
  if (cap == swf::CapStyle::Round) {
    addCircle(out, end, hw);
  } else if (cap == swf::CapStyle::Square) {
    Point n = normal(inward, end, hw);
    Point d{n.y, -n.x};  // along the segment, outwards, length hw
    Point quad[4] = {{end.x + n.x, end.y + n.y}, {end.x + n.x + d.x, end.y + n.y + d.y},
                     {end.x - n.x + d.x, end.y - n.y + d.y}, {end.x - n.x, end.y - n.y}};
    addPolygon(out, quad, 4);
  }
}

}  // namespace

void strokePolyline(Rasterizer& out, const std::vector<Point>& input, const StrokeStyle& style) {
  std::vector<Point> pts;
  for (const Point& p : input)
    if (pts.empty() || std::fabs(p.x - pts.back().x) + std::fabs(p.y - pts.back().y) > 1e-6) pts.push_back(p);
  double hw = style.halfWidth;
  if (pts.size() == 1) {
    // A dot: Flash draws the caps of a zero-length segment.
    if (style.startCap == swf::CapStyle::Round) addCircle(out, pts[0], hw);
    return;
  }
  if (pts.size() < 2) return;
  for (size_t i = 0; i + 1 < pts.size(); ++i) {
    Point n = normal(pts[i], pts[i + 1], hw);
    Point quad[4] = {{pts[i].x + n.x, pts[i].y + n.y}, {pts[i + 1].x + n.x, pts[i + 1].y + n.y},
                     {pts[i + 1].x - n.x, pts[i + 1].y - n.y}, {pts[i].x - n.x, pts[i].y - n.y}};
    addPolygon(out, quad, 4);
  }
  for (size_t i = 1; i + 1 < pts.size(); ++i) addJoin(out, pts[i - 1], pts[i], pts[i + 1], style);
  bool closed = pts.size() > 2 && std::fabs(pts.front().x - pts.back().x) + std::fabs(pts.front().y - pts.back().y) < 1e-6;
  if (closed) {
    addJoin(out, pts[pts.size() - 2], pts[0], pts[1], style);
  } else {
    addCap(out, pts.front(), pts[1], style.startCap, hw);
    addCap(out, pts.back(), pts[pts.size() - 2], style.endCap, hw);
  }
}

}  // namespace tvrl::player
