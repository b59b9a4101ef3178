// Bounds that keep a hostile file from costing unbounded memory or time.
#pragma once

#include <cstddef>

namespace tvrl::swf {

constexpr size_t kMaxMovieBytes = 64u << 20;       // after decompression
constexpr size_t kMaxBitmapPixels = 4096u * 4096u;
constexpr int kMaxFrames = 16000;                   // what Flash itself allows
constexpr size_t kMaxWarnings = 64;

}  // namespace tvrl::swf
