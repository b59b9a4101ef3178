// Plain values the file format is made of: colours, rectangles, matrices and colour
// transforms. Shared by the reader, the writer and the renderer.
#pragma once

#include <cstdint>

namespace tvrl::swf {

struct Rgba {
  uint8_t r = 0, g = 0, b = 0, a = 255;
  bool operator==(const Rgba& o) const { return r == o.r && g == o.g && b == o.b && a == o.a; }
  bool operator!=(const Rgba& o) const { return !(*this == o); }
};

// Coordinates in twips (1/20 pixel), as stored.
struct Rect {
  int32_t xMin = 0, xMax = 0, yMin = 0, yMax = 0;
  bool operator==(const Rect& o) const {
    return xMin == o.xMin && xMax == o.xMax && yMin == o.yMin && yMax == o.yMax;
  }
};

struct Point {
  double x = 0, y = 0;
};

// x' = a*x + c*y + tx, y' = b*x + d*y + ty.
struct Matrix {
  double a = 1, b = 0, c = 0, d = 1, tx = 0, ty = 0;

  Point apply(Point p) const { return {a * p.x + c * p.y + tx, b * p.x + d * p.y + ty}; }
  // this * inner: applies inner first.
  Matrix operator*(const Matrix& m) const {
    return {a * m.a + c * m.b, b * m.a + d * m.b, a * m.c + c * m.d, b * m.c + d * m.d,
            a * m.tx + c * m.ty + tx, b * m.tx + d * m.ty + ty};
  }
  double determinant() const { return a * d - b * c; }
  // A singular matrix inverts to all zeros, which collapses a paint to one sample.
  Matrix inverted() const {
    double det = determinant();
    if (det == 0) return {0, 0, 0, 0, 0, 0};
    double ia = d / det, ib = -b / det, ic = -c / det, id = a / det;
    return {ia, ib, ic, id, -(ia * tx + ic * ty), -(ib * tx + id * ty)};
  }
  static Matrix translation(double x, double y) { return {1, 0, 0, 1, x, y}; }
  static Matrix scaling(double sx, double sy) { return {sx, 0, 0, sy, 0, 0}; }
  bool operator==(const Matrix& o) const {
    return a == o.a && b == o.b && c == o.c && d == o.d && tx == o.tx && ty == o.ty;
  }
  bool operator!=(const Matrix& o) const { return !(*this == o); }
};

// Multipliers in 1/256 steps as stored; adds in colour units.
struct ColorTransform {
  int16_t mulR = 256, mulG = 256, mulB = 256, mulA = 256;
  int16_t addR = 0, addG = 0, addB = 0, addA = 0;

  bool isIdentity() const {
    return mulR == 256 && mulG == 256 && mulB == 256 && mulA == 256 && addR == 0 && addG == 0 &&
           addB == 0 && addA == 0;
  }
  Rgba apply(Rgba c) const {
    return {channel(c.r, mulR, addR), channel(c.g, mulG, addG), channel(c.b, mulB, addB),
            channel(c.a, mulA, addA)};
  }
  // The transform that applies `in` first and then this one.
  ColorTransform operator*(const ColorTransform& in) const {
    return {mul(mulR, in.mulR), mul(mulG, in.mulG), mul(mulB, in.mulB), mul(mulA, in.mulA),
            add(in.addR, mulR, addR), add(in.addG, mulG, addG), add(in.addB, mulB, addB),
            add(in.addA, mulA, addA)};
  }
  bool operator==(const ColorTransform& o) const {
    return mulR == o.mulR && mulG == o.mulG && mulB == o.mulB && mulA == o.mulA &&
           addR == o.addR && addG == o.addG && addB == o.addB && addA == o.addA;
  }
  bool operator!=(const ColorTransform& o) const { return !(*this == o); }

 private:
  static uint8_t channel(uint8_t v, int m, int add) {
    int r = (v * m >> 8) + add;
    return static_cast<uint8_t>(r < 0 ? 0 : r > 255 ? 255 : r);
  }
  static int16_t clamp16(long v) { return static_cast<int16_t>(v < -32768 ? -32768 : v > 32767 ? 32767 : v); }
  static int16_t mul(int outer, int inner) { return clamp16((long)outer * inner >> 8); }
  static int16_t add(int innerAdd, int outerMul, int outerAdd) {
    return clamp16(((long)innerAdd * outerMul >> 8) + outerAdd);
  }
};

}  // namespace tvrl::swf
