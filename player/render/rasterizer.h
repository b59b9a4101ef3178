// Turns polygons into per-pixel coverage. Each line adds its signed area to an
// accumulation buffer; a running sum along each row gives the covered fraction of every
// pixel. Polygons of one fill must wind the same way, so overlaps add up to full cover.
// Without anti-aliasing a pixel is covered when its centre is inside.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace tvrl::player {

struct IntRect {
  int x0 = 0, y0 = 0, x1 = 0, y1 = 0;  // x1, y1 exclusive
  bool empty() const { return x1 <= x0 || y1 <= y0; }
};

class Rasterizer {
 public:
  // Starts a new polygon set clipped to `clip`.
  void reset(IntRect clip, bool antialias);
  void addLine(double x0, double y0, double x1, double y1);
  // Coverage rows: sink(y, x0, x1, coverage) with coverage[0] for pixel x0, values 0..1;
  // called only for rows with something covered. Leaves the rasterizer empty.
  template <typename Sink>
  void sweep(Sink&& sink);
  IntRect bounds() const { return touched_; }

 private:
  void addClippedLine(double x0, double y0, double x1, double y1);
  void accumulateArea(double x0, double y0, double x1, double y1);
  void accumulateCentres(double x0, double y0, double x1, double y1);
  float* row(int y) { return &cells_[static_cast<size_t>(y - clip_.y0) * stride_]; }

  IntRect clip_;
  IntRect touched_;
  bool antialias_ = true;
  int stride_ = 0;
  std::vector<float> cells_;
  std::vector<float> coverage_;
};

template <typename Sink>
void Rasterizer::sweep(Sink&& sink) {
  if (touched_.empty()) return;
  coverage_.resize(stride_);
  for (int y = touched_.y0; y < touched_.y1; ++y) {
    float* cells = row(y);
    float sum = 0;
    int first = -1, last = -1;
    const int w = clip_.x1 - clip_.x0;
    for (int x = touched_.x0 - clip_.x0; x < w; ++x) {
      sum += cells[x];
      cells[x] = 0;
      float a = sum < 0 ? -sum : sum;
      if (!antialias_) a = a > 0.5f ? 1.f : 0.f;
      a = a > 1.f ? 1.f : a;
      coverage_[x] = a;
      if (a > 1.0f / 512) {
        if (first < 0) first = x;
        last = x;
      }
    }
    for (int x = w; x < stride_; ++x) cells[x] = 0;
    if (first >= 0) sink(y, first + clip_.x0, last + 1 + clip_.x0, &coverage_[first]);
  }
  touched_ = IntRect{};
}

}  // namespace tvrl::player
