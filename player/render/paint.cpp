#include "player/render/paint.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace tvrl::player {

using swf::ColorTransform;
using swf::FillKind;
using swf::Matrix;
using swf::Rgba;

uint32_t premultiply(Rgba c) {
  auto pm = [&](uint8_t v) -> uint32_t { return (v * c.a + 127) / 255; };
  return uint32_t(c.a) << 24 | pm(c.r) << 16 | pm(c.g) << 8 | pm(c.b);
}

namespace {

class SolidPaint : public Paint {
 public:
  explicit SolidPaint(uint32_t color) {
    solid_ = true;
    color_ = color;
  }
  void row(int, int, int count, uint32_t* out) const override { std::fill(out, out + count, color_); }
};

double srgbToLinear(double c) { return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4); }
double linearToSrgb(double c) { return c <= 0.0031308 ? c * 12.92 : 1.055 * std::pow(c, 1 / 2.4) - 0.055; }

class GradientPaint : public Paint {
 public:
  GradientPaint(const swf::FillStyle& fill, const Matrix& shapeToDevice, const ColorTransform& cx)
      : kind_(fill.kind), spread_(fill.gradient.spread), focal_(std::clamp(fill.gradient.focalPoint, -0.98, 0.98)) {
    toGradient_ = (shapeToDevice * fill.matrix).inverted();
    buildTable(fill.gradient, cx);
  }

  void row(int x, int y, int count, uint32_t* out) const override {
    double gx = toGradient_.a * (x + 0.5) + toGradient_.c * (y + 0.5) + toGradient_.tx;
    double gy = toGradient_.b * (x + 0.5) + toGradient_.d * (y + 0.5) + toGradient_.ty;
    if (kind_ == FillKind::LinearGradient && spread_ == swf::SpreadMode::Pad) {
      // Along a row a linear gradient's position moves by a constant step.
      double t = (gx + kHalf) / (2 * kHalf) * 255 + 0.5, dt = toGradient_.a / (2 * kHalf) * 255;
      for (int i = 0; i < count; ++i, t += dt) out[i] = table_[!(t > 0) ? 0 : t >= 255 ? 255 : static_cast<int>(t)];
      return;
    }
    for (int i = 0; i < count; ++i, gx += toGradient_.a, gy += toGradient_.b) out[i] = table_[index(gx, gy)];
  }

 private:
  static constexpr double kHalf = 16384;  // the gradient square spans -16384..16384

  int index(double gx, double gy) const {
    double t;
    if (kind_ == FillKind::LinearGradient) {
      t = (gx + kHalf) / (2 * kHalf);
    } else if (kind_ == FillKind::RadialGradient || focal_ == 0) {
      t = std::sqrt(gx * gx + gy * gy) / kHalf;
    } else {
      // Where the ray from the focal point through (gx, gy) meets the circle.
      double fx = focal_ * kHalf, dx = gx - fx, dy = gy;
      double dd = dx * dx + dy * dy;
      if (dd == 0) {
        t = 0;
      } else {
        double b = fx * dx;
        double s = (-b + std::sqrt(b * b - dd * (fx * fx - kHalf * kHalf))) / dd;
        t = s > 0 ? 1 / s : 1;
      }
    }
    if (!std::isfinite(t)) t = 0;
    switch (spread_) {
      case swf::SpreadMode::Pad: t = std::clamp(t, 0.0, 1.0); break;
      case swf::SpreadMode::Repeat: t -= std::floor(t); break;
      case swf::SpreadMode::Reflect: {
        t = std::fmod(std::fabs(t), 2.0);
        if (t > 1) t = 2 - t;
        break;
      }
    }
    return static_cast<int>(t * 255 + 0.5);
  }

  void buildTable(const swf::Gradient& g, const ColorTransform& cx) {
    if (g.stops.empty()) {
      std::fill(std::begin(table_), std::end(table_), 0u);
      return;
    }
    bool linear = g.interpolation == swf::Interpolation::LinearRgb;
    auto channels = [&](Rgba c) {
      c = cx.apply(c);
      double v[4] = {c.r / 255.0, c.g / 255.0, c.b / 255.0, c.a / 255.0};
      if (linear)
        for (int i = 0; i < 3; ++i) v[i] = srgbToLinear(v[i]);
      return std::array<double, 4>{v[0], v[1], v[2], v[3]};
    };
    size_t next = 0;
    for (int i = 0; i < 256; ++i) {
      while (next < g.stops.size() && g.stops[next].ratio < i) ++next;
      std::array<double, 4> v;
      if (next == 0) {
        v = channels(g.stops.front().color);
      } else if (next == g.stops.size()) {
        v = channels(g.stops.back().color);
      } else {
        const swf::GradientStop& a = g.stops[next - 1];
        const swf::GradientStop& b = g.stops[next];
        double f = b.ratio == a.ratio ? 1 : double(i - a.ratio) / (b.ratio - a.ratio);
        auto va = channels(a.color), vb = channels(b.color);
        for (int k = 0; k < 4; ++k) v[k] = va[k] + (vb[k] - va[k]) * f;
      }
      if (linear)
        for (int k = 0; k < 3; ++k) v[k] = linearToSrgb(v[k]);
      auto byte = [](double d) { return static_cast<uint8_t>(std::lround(std::clamp(d, 0.0, 1.0) * 255)); };
      table_[i] = premultiply({byte(v[0]), byte(v[1]), byte(v[2]), byte(v[3])});
    }
  }

  FillKind kind_;
  swf::SpreadMode spread_;
  double focal_;
  Matrix toGradient_;
  uint32_t table_[256];
};

class BitmapPaint : public Paint {
 public:
  BitmapPaint(const swf::FillStyle& fill, const swf::BitmapCharacter& bitmap, const Matrix& shapeToDevice,
              const ColorTransform& cx)
      : bitmap_(bitmap), cx_(cx) {
    toBitmap_ = (shapeToDevice * fill.matrix).inverted();
    repeat_ = fill.kind == FillKind::RepeatingBitmap || fill.kind == FillKind::RepeatingBitmapHard;
    smooth_ = fill.kind == FillKind::RepeatingBitmap || fill.kind == FillKind::ClippedBitmap;
  }

  void row(int x, int y, int count, uint32_t* out) const override {
    double u = toBitmap_.a * (x + 0.5) + toBitmap_.c * (y + 0.5) + toBitmap_.tx;
    double v = toBitmap_.b * (x + 0.5) + toBitmap_.d * (y + 0.5) + toBitmap_.ty;
    if (!std::isfinite(u) || !std::isfinite(v) || std::fabs(u) > 1e8 || std::fabs(v) > 1e8 ||
        std::fabs(toBitmap_.a) * count > 1e8 || std::fabs(toBitmap_.b) * count > 1e8) {
      std::fill(out, out + count, 0u);
      return;
    }
    if (smooth_) {
      // Texel centres sit at half-pixel positions; a whole-pixel offset at unit scale
      // needs no blending, which is how a background bitmap is usually placed.
      double fu = u - 0.5, fv = v - 0.5;
      if (toBitmap_.a == 1 && toBitmap_.b == 0 && fu == std::floor(fu) && fv == std::floor(fv))
        copyRow(static_cast<long>(fu), static_cast<long>(fv), count, out);
      else
        bilinearRow(fu, fv, count, out);
    } else {
      nearestRow(u, v, count, out);
    }
    if (!cx_.isIdentity())
      for (int i = 0; i < count; ++i) out[i] = transform(out[i]);
  }

 private:
  int wrap(long i, int size) const {
    if (repeat_) {
      long m = i % size;
      return static_cast<int>(m < 0 ? m + size : m);
    }
    return static_cast<int>(std::clamp<long>(i, 0, size - 1));
  }

  const uint32_t* texelRow(long y) const {
    return &bitmap_.pixels[static_cast<size_t>(wrap(y, bitmap_.height)) * bitmap_.width];
  }

  void copyRow(long x0, long y, int count, uint32_t* out) const {
    const uint32_t* row = texelRow(y);
    int i = 0;
    // Outside the bitmap texel by texel (wrapped or clamped); inside, a plain copy.
    for (; i < count && x0 + i < 0; ++i) out[i] = row[wrap(x0 + i, bitmap_.width)];
    if (x0 + i < bitmap_.width) {
      int inside = static_cast<int>(std::min<long>(count - i, bitmap_.width - (x0 + i)));
      std::copy(row + x0 + i, row + x0 + i + inside, out + i);
      i += inside;
    }
    for (; i < count; ++i) out[i] = row[wrap(x0 + i, bitmap_.width)];
  }

  // Positions step in 16.16 fixed point along the row.
  void nearestRow(double u, double v, int count, uint32_t* out) const {
    int64_t fu = static_cast<int64_t>(std::floor(u * 65536)), fv = static_cast<int64_t>(std::floor(v * 65536));
    int64_t du = static_cast<int64_t>(toBitmap_.a * 65536), dv = static_cast<int64_t>(toBitmap_.b * 65536);
    for (int i = 0; i < count; ++i, fu += du, fv += dv)
      out[i] = texelRow(static_cast<long>(fv >> 16))[wrap(static_cast<long>(fu >> 16), bitmap_.width)];
  }

  void bilinearRow(double u, double v, int count, uint32_t* out) const {
    int64_t fu = static_cast<int64_t>(std::floor(u * 65536)), fv = static_cast<int64_t>(std::floor(v * 65536));
    int64_t du = static_cast<int64_t>(toBitmap_.a * 65536), dv = static_cast<int64_t>(toBitmap_.b * 65536);
    for (int i = 0; i < count; ++i, fu += du, fv += dv) {
      long x0 = static_cast<long>(fu >> 16), y0 = static_cast<long>(fv >> 16);
      uint32_t wx = static_cast<uint32_t>(fu >> 8 & 255), wy = static_cast<uint32_t>(fv >> 8 & 255);
      const uint32_t* r0 = texelRow(y0);
      const uint32_t* r1 = texelRow(y0 + 1);
      int xa = wrap(x0, bitmap_.width), xb = wrap(x0 + 1, bitmap_.width);
      out[i] = blend4(r0[xa], r0[xb], r1[xa], r1[xb], wx, wy);
    }
  }

  // Bilinear weights in 1/256 steps, two channels at a time.
  static uint32_t blend4(uint32_t p00, uint32_t p10, uint32_t p01, uint32_t p11, uint32_t wx, uint32_t wy) {
    auto lerp2 = [](uint32_t a, uint32_t b, uint32_t w) {
      uint32_t rb = ((a & 0x00ff00ff) * (256 - w) + (b & 0x00ff00ff) * w) >> 8 & 0x00ff00ff;
      uint32_t ag = (((a >> 8) & 0x00ff00ff) * (256 - w) + ((b >> 8) & 0x00ff00ff) * w) >> 8 & 0x00ff00ff;
      return rb | ag << 8;
    };
    return lerp2(lerp2(p00, p10, wx), lerp2(p01, p11, wx), wy);
  }

  uint32_t transform(uint32_t p) const {
    uint8_t a = p >> 24;
    auto un = [a](uint32_t c) { return static_cast<uint8_t>(a ? std::min<uint32_t>(255, (c * 255 + a / 2) / a) : 0); };
    return premultiply(cx_.apply({un(p >> 16 & 255), un(p >> 8 & 255), un(p & 255), a}));
  }

  const swf::BitmapCharacter& bitmap_;
  ColorTransform cx_;
  Matrix toBitmap_;
  bool repeat_ = false;
  bool smooth_ = false;
};

}  // namespace

std::unique_ptr<Paint> makePaint(const swf::FillStyle& fill, const Matrix& shapeToDevice, const ColorTransform& cx,
                                 const BitmapLookup& bitmaps) {
  if (swf::isGradient(fill.kind)) return std::make_unique<GradientPaint>(fill, shapeToDevice, cx);
  if (swf::isBitmap(fill.kind)) {
    const swf::BitmapCharacter* bitmap = bitmaps ? bitmaps(fill.bitmapId) : nullptr;
    if (!bitmap || bitmap->pixels.empty()) return nullptr;
    return std::make_unique<BitmapPaint>(fill, *bitmap, shapeToDevice, cx);
  }
  return std::make_unique<SolidPaint>(premultiply(cx.apply(fill.color)));
}

}  // namespace tvrl::player
