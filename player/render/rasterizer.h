// Turns polygons into per-pixel coverage. Each line adds its signed area to an
// accumulation buffer; a running sum along each row gives the covered fraction of every
// pixel. Polygons of one fill must wind the same way, so overlaps add up to full cover.
// Without anti-aliasing a pixel is covered when its centre is inside.
#pragma once

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "player/render/canvas.h"

namespace tvrl::player {


class Rasterizer {
 public:
  // Starts a new polygon set clipped to `clip`.
  void reset(IntRect clip, bool antialias);
  void addLine(double x0, double y0, double x1, double y1);
  // Coverage rows: sink(y, x0, x1, coverage) with coverage[0] for pixel x0, values 0..256;
  // called only for rows with something covered. Leaves the rasterizer empty.
  template <typename Sink>
  void sweep(Sink&& sink);

 private:
  void addClippedLine(double x0, double y0, double x1, double y1);
  void accumulateArea(double x0, double y0, double x1, double y1);
  void accumulateCentres(double x0, double y0, double x1, double y1);
  float* row(int y) { return &cells_[static_cast<size_t>(y - clip_.y0) * stride_]; }
  void touch(int y, int cellFrom, int cellTo);

  IntRect clip_;
  int rowsFrom_ = 0, rowsTo_ = 0;  // rows holding cells, relative to the clip
  bool antialias_ = true;
  int stride_ = 0;
  std::vector<float> cells_;
  // Per row, the first and last cell written: only they need summing and clearing.
  std::vector<int> rowFirst_, rowLast_;
  std::vector<uint16_t> coverage_;
};

inline void Rasterizer::touch(int y, int cellFrom, int cellTo) {
  int r = y - clip_.y0;
  if (rowLast_[r] < 0) {
    rowsFrom_ = std::min(rowsFrom_, r);
    rowsTo_ = std::max(rowsTo_, r + 1);
  }
  rowFirst_[r] = std::min(rowFirst_[r], cellFrom);
  rowLast_[r] = std::max(rowLast_[r], cellTo);
}

template <typename Sink>
void Rasterizer::sweep(Sink&& sink) {
  coverage_.resize(stride_);
  const int w = clip_.x1 - clip_.x0;
  for (int r = rowsFrom_; r < rowsTo_; ++r) {
    if (rowLast_[r] < 0) continue;
    float* cells = &cells_[static_cast<size_t>(r) * stride_];
    const int from = rowFirst_[r], to = std::min(rowLast_[r], w - 1);
    // Cells are zero between a row's edges, where coverage stays what it was: such stretches
    // are found by scanning and filled at once. Covered runs go to the sink apart, so that a
    // ring or a shape with holes leaves its long uncovered stretches alone.
    const int kGap = 16;
    float sum = 0;
    uint16_t c = 0;
    int runStart = -1, lastCovered = -1;
    const int y = r + clip_.y0;
    int x = from;
    while (x <= to) {
      int next = x;
      while (next <= to && cells[next] == 0) ++next;
      if (next > x) {
        if (c != 0) {
          if (runStart < 0) runStart = x;
          std::fill(&coverage_[x], &coverage_[next], c);
          lastCovered = next - 1;
        } else if (runStart >= 0) {
          if (next - x >= kGap) {
            sink(y, runStart + clip_.x0, lastCovered + 1 + clip_.x0, &coverage_[runStart]);
            runStart = -1;
          } else {
            std::fill(&coverage_[x], &coverage_[next], uint16_t(0));
          }
        }
      }
      if (next > to) break;
      sum += cells[next];
      const float a = std::fabs(sum);
      c = antialias_ ? static_cast<uint16_t>(std::min(256.f, a * 256 + 0.5f)) : a > 0.5f ? 256 : 0;
      coverage_[next] = c;
      if (c != 0) {
        if (runStart < 0) runStart = next;
        lastCovered = next;
      }
      x = next + 1;
    }
    std::fill(cells + from, cells + rowLast_[r] + 1, 0.f);
    rowFirst_[r] = stride_;
    rowLast_[r] = -1;
    if (runStart >= 0) sink(y, runStart + clip_.x0, lastCovered + 1 + clip_.x0, &coverage_[runStart]);
  }
  rowsFrom_ = static_cast<int>(rowLast_.size());
  rowsTo_ = 0;
}

}  // namespace tvrl::player
