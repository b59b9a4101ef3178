#include "player/render/rasterizer.h"

#include <algorithm>
#include <cmath>

namespace tvrl::player {

void Rasterizer::reset(IntRect clip, bool antialias) {
  clip_ = clip;
  antialias_ = antialias;
  if (clip.empty()) return;
  stride_ = clip.x1 - clip.x0 + 2;
  size_t rows = clip.y1 - clip.y0;
  size_t needed = static_cast<size_t>(stride_) * rows;
  // Every sweep leaves the cells it used zeroed, so only growth needs clearing.
  if (cells_.size() < needed) cells_.assign(needed, 0.f);
  rowFirst_.assign(rows, stride_);
  rowLast_.assign(rows, -1);
  rowsFrom_ = static_cast<int>(rows);
  rowsTo_ = 0;
}

void Rasterizer::addLine(double x0, double y0, double x1, double y1) {
  if (clip_.empty() || y0 == y1 || !std::isfinite(x0 + y0 + x1 + y1)) return;
  // Clip in y: rows outside take nothing.
  double top = clip_.y0, bottom = clip_.y1;
  if ((y0 < top && y1 < top) || (y0 >= bottom && y1 >= bottom)) return;
  auto xAt = [&](double y) { return x0 + (x1 - x0) * (y - y0) / (y1 - y0); };
  double cx0 = x0, cy0 = y0, cx1 = x1, cy1 = y1;
  if (cy0 < top) { cx0 = xAt(top); cy0 = top; }
  if (cy1 < top) { cx1 = xAt(top); cy1 = top; }
  if (cy0 > bottom) { cx0 = xAt(bottom); cy0 = bottom; }
  if (cy1 > bottom) { cx1 = xAt(bottom); cy1 = bottom; }
  // Clip in x: a part left of the clip still winds the pixels right of it, so it is
  // flattened onto the left edge; a part right of the clip onto the right edge.
  double left = clip_.x0, right = clip_.x1;
  double cuts[4] = {0, 1, 1, 1};
  int n = 1;
  for (double edge : {left, right})
    if ((cx0 < edge) != (cx1 < edge)) cuts[n++] = (edge - cx0) / (cx1 - cx0);
  cuts[n] = 1;
  if (n == 3 && cuts[1] > cuts[2]) std::swap(cuts[1], cuts[2]);
  for (int i = 0; i < n; ++i) {
    double ax = cx0 + (cx1 - cx0) * cuts[i], ay = cy0 + (cy1 - cy0) * cuts[i];
    double bx = cx0 + (cx1 - cx0) * cuts[i + 1], by = cy0 + (cy1 - cy0) * cuts[i + 1];
    double mid = (ax + bx) / 2;
    if (mid < left) ax = bx = left;
    if (mid > right) ax = bx = right;
    addClippedLine(std::clamp(ax, left, right), ay, std::clamp(bx, left, right), by);
  }
}

void Rasterizer::addClippedLine(double x0, double y0, double x1, double y1) {
  if (y0 == y1) return;
  if (antialias_)
    accumulateArea(x0, y0, x1, y1);
  else
    accumulateCentres(x0, y0, x1, y1);
}

// Signed area of the line's trapezoid to the right of it, spread over the cells it
// crosses, row by row.
void Rasterizer::accumulateArea(double px0, double py0, double px1, double py1) {
  float dir = 1;
  if (py0 > py1) {
    std::swap(px0, px1);
    std::swap(py0, py1);
    dir = -1;
  }
  const double ox = clip_.x0;
  px0 -= ox;
  px1 -= ox;
  const double dxdy = (px1 - px0) / (py1 - py0);
  double x = px0;
  int yStart = static_cast<int>(std::floor(py0));
  int yEnd = static_cast<int>(std::ceil(py1));
  const int maxIndex = stride_ - 1;
  for (int y = yStart; y < yEnd; ++y) {
    float* cells = row(y);
    double dy = std::min<double>(y + 1, py1) - std::max<double>(y, py0);
    // Rounding may carry a nearly flat line a hair outside the clip; it stays inside.
    double xNext = std::clamp(x + dxdy * dy, 0.0, static_cast<double>(stride_ - 2));
    float d = static_cast<float>(dy) * dir;
    double xa = std::min(x, xNext), xb = std::max(x, xNext);
    double xaFloor = std::floor(xa);
    int ia = static_cast<int>(xaFloor);
    int ib = static_cast<int>(std::ceil(xb));
    touch(y, ia, std::min(std::max(ib, ia + 1), maxIndex));
    if (ib <= ia + 1) {
      // Within one cell: the part right of the line's mid-point.
      double mid = 0.5 * (x + xNext) - xaFloor;
      cells[std::min(ia, maxIndex)] += static_cast<float>(d * (1 - mid));
      cells[std::min(ia + 1, maxIndex)] += static_cast<float>(d * mid);
    } else {
      double s = 1.0 / (xb - xa);
      double fa = xa - xaFloor;
      double a0 = 0.5 * s * (1 - fa) * (1 - fa);
      double fb = xb - std::ceil(xb) + 1;
      double am = 0.5 * s * fb * fb;
      cells[ia] += static_cast<float>(d * a0);
      if (ib == ia + 2) {
        cells[ia + 1] += static_cast<float>(d * (1 - a0 - am));
      } else {
        double a1 = s * (1.5 - fa);
        cells[ia + 1] += static_cast<float>(d * (a1 - a0));
        for (int i = ia + 2; i < ib - 1; ++i) cells[i] += static_cast<float>(d * s);
        double a2 = a1 + (ib - ia - 3) * s;
        cells[ib - 1] += static_cast<float>(d * (1 - a2 - am));
      }
      cells[std::min(ib, maxIndex)] += static_cast<float>(d * am);
    }
    x = xNext;
  }
}

// One unit of winding at the first pixel whose centre lies right of the crossing, for
// each row centre the line crosses.
void Rasterizer::accumulateCentres(double px0, double py0, double px1, double py1) {
  float dir = 1;
  if (py0 > py1) {
    std::swap(px0, px1);
    std::swap(py0, py1);
    dir = -1;
  }
  int yStart = static_cast<int>(std::ceil(py0 - 0.5));
  int yEnd = static_cast<int>(std::ceil(py1 - 0.5));
  for (int y = std::max(yStart, clip_.y0); y < std::min(yEnd, clip_.y1); ++y) {
    double cy = y + 0.5;
    double x = px0 + (px1 - px0) * (cy - py0) / (py1 - py0) - clip_.x0;
    int ix = std::clamp(static_cast<int>(std::ceil(x - 0.5)), 0, stride_ - 1);
    row(y)[ix] += dir;
    touch(y, ix, ix);
  }
}

}  // namespace tvrl::player
