#include "player/render/compositor.h"

#ifdef __SSE2__
#include <emmintrin.h>
#endif

namespace tvrl::player {
namespace {

#ifdef __SSE2__
// Four pixels of `over` at once, in 16-bit lanes; the same arithmetic as the scalar
// version, so both give identical results.
inline __m128i overFour(__m128i dst, __m128i src, __m128i weights) {
  const __m128i zero = _mm_setzero_si128();
  const __m128i w = _mm_unpacklo_epi16(weights, weights);  // w0 w0 w1 w1 w2 w2 w3 w3
  auto half = [&](__m128i d, __m128i s, __m128i wl) {
    s = _mm_srli_epi16(_mm_mullo_epi16(s, wl), 8);
    __m128i a = _mm_shufflehi_epi16(_mm_shufflelo_epi16(s, 0xff), 0xff);
    __m128i inv = _mm_sub_epi16(_mm_set1_epi16(255), a);
    __m128i t = _mm_add_epi16(_mm_mullo_epi16(d, inv), _mm_set1_epi16(128));
    t = _mm_srli_epi16(_mm_add_epi16(t, _mm_srli_epi16(t, 8)), 8);
    return _mm_add_epi16(s, t);
  };
  __m128i lo = half(_mm_unpacklo_epi8(dst, zero), _mm_unpacklo_epi8(src, zero), _mm_unpacklo_epi32(w, w));
  __m128i hi = half(_mm_unpackhi_epi8(dst, zero), _mm_unpackhi_epi8(src, zero), _mm_unpackhi_epi32(w, w));
  return _mm_packus_epi16(lo, hi);
}
#endif

inline __attribute__((always_inline)) void put(uint32_t& dst, uint32_t src, uint32_t w) {
  if (w == 256 && src >= 0xff000000u)
    dst = src;
  else if (w != 0)
    dst = over(dst, src, w);
}

// The colour of pixel i: a row of colours, or one colour for all.
template <typename Colors>
void blend(Canvas& canvas, int y, int x0, int x1, const uint16_t* coverage, Colors colorAt) {
  uint32_t* row = canvas.pixels + static_cast<size_t>(y) * canvas.stride;
  if (canvas.mask) {
    const uint8_t* mask = canvas.mask + static_cast<size_t>(y) * canvas.width;
    for (int x = x0, i = 0; x < x1; ++x, ++i) put(row[x], colorAt(i), (coverage[i] * mask[x] + 127) / 255);
  } else {
    int x = x0, i = 0;
#ifdef __SSE2__
    for (; x + 4 <= x1; x += 4, i += 4) {
      __m128i w = _mm_loadl_epi64(reinterpret_cast<const __m128i*>(coverage + i));
      if ((_mm_movemask_epi8(_mm_cmpeq_epi16(w, _mm_setzero_si128())) & 0xff) == 0xff) continue;  // uncovered
      __m128i src = _mm_set_epi32(colorAt(i + 3), colorAt(i + 2), colorAt(i + 1), colorAt(i));
      __m128i* d = reinterpret_cast<__m128i*>(row + x);
      // Fully covered opaque pixels are plain copies.
      const __m128i alpha = _mm_set1_epi32(static_cast<int>(0xff000000u));
      bool covered = (_mm_movemask_epi8(_mm_cmpeq_epi16(w, _mm_set1_epi16(256))) & 0xff) == 0xff;
      if (covered && _mm_movemask_epi8(_mm_cmpeq_epi32(_mm_and_si128(src, alpha), alpha)) == 0xffff)
        _mm_storeu_si128(d, src);
      else
        _mm_storeu_si128(d, overFour(_mm_loadu_si128(d), src, w));
    }
#endif
    while (x < x1) {
      // Fully covered opaque runs are plain copies.
      while (x < x1 && coverage[i] == 256 && colorAt(i) >= 0xff000000u) row[x++] = colorAt(i++);
      if (x < x1) {
        put(row[x], colorAt(i), coverage[i]);
        ++x;
        ++i;
      }
    }
  }
}

}  // namespace

void blendOver(Canvas& canvas, int y, int x0, int x1, const uint16_t* coverage, const uint32_t* colors) {
  blend(canvas, y, x0, x1, coverage, [colors](int i) { return colors[i]; });
}

void blendSolidOver(Canvas& canvas, int y, int x0, int x1, const uint16_t* coverage, uint32_t color) {
  blend(canvas, y, x0, x1, coverage, [color](int) { return color; });
}

void addInto(Canvas& canvas, int y, int x0, int x1, const uint16_t* coverage, const uint32_t* colors) {
  uint32_t* row = canvas.pixels + static_cast<size_t>(y) * canvas.stride;
  for (int x = x0; x < x1; ++x, ++coverage, ++colors) {
    uint32_t w = *coverage;
    if (w == 0) continue;
    uint32_t d = row[x], s = *colors, out = 0;
    for (int shift = 0; shift < 32; shift += 8) {
      uint32_t c = (d >> shift & 255) + (((s >> shift & 255) * w + 128) >> 8);
      out |= (c > 255 ? 255 : c) << shift;
    }
    row[x] = out;
  }
}

}  // namespace tvrl::player
