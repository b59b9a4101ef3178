#include "player/writer/byte_writer.h"

#include <algorithm>
#include <cmath>

namespace tvrl::swf::writer {

void ByteWriter::u8(uint8_t v) {
  flushBits();
  data_.push_back(v);
}

void ByteWriter::u16(uint16_t v) {
  u8(v & 0xff);
  u8(v >> 8);
}

void ByteWriter::u32(uint32_t v) {
  u16(v & 0xffff);
  u16(v >> 16);
}

void ByteWriter::fixed8(double v) { s16(static_cast<int16_t>(std::lround(v * 256))); }

void ByteWriter::bytes(const std::vector<uint8_t>& v) { bytes(v.data(), v.size()); }

void ByteWriter::bytes(const uint8_t* p, size_t n) {
  flushBits();
  data_.insert(data_.end(), p, p + n);
}

void ByteWriter::cString(const std::string& s) {
  bytes(reinterpret_cast<const uint8_t*>(s.data()), s.size());
  u8(0);
}

void ByteWriter::patchU32(size_t at, uint32_t v) {
  for (int i = 0; i < 4; ++i) data_[at + i] = static_cast<uint8_t>(v >> (8 * i));
}

void ByteWriter::ub(unsigned bits, uint32_t v) {
  for (unsigned i = bits; i-- > 0;) {
    bitBuffer_ = static_cast<uint8_t>(bitBuffer_ << 1 | ((v >> i) & 1));
    if (++bitCount_ == 8) {
      data_.push_back(bitBuffer_);
      bitBuffer_ = 0;
      bitCount_ = 0;
    }
  }
}

void ByteWriter::sb(unsigned bits, int32_t v) { ub(bits, static_cast<uint32_t>(v)); }

void ByteWriter::flushBits() {
  if (bitCount_ > 0) ub(8 - bitCount_, 0);
}

unsigned ByteWriter::signedBits(std::initializer_list<int32_t> values) {
  unsigned bits = 0;
  for (int32_t v : values) {
    unsigned n = 1;
    while (n < 32 && (v < -(1 << (n - 1)) || v >= (1 << (n - 1)))) ++n;
    if (v != 0 && n > bits) bits = n;
  }
  return bits;
}

unsigned ByteWriter::unsignedBits(uint32_t value) {
  unsigned n = 0;
  while (n < 32 && (value >> n) != 0) ++n;
  return n;
}

void ByteWriter::rect(const Rect& r) {
  flushBits();
  unsigned n = signedBits({r.xMin, r.xMax, r.yMin, r.yMax});
  ub(5, n);
  sb(n, r.xMin);
  sb(n, r.xMax);
  sb(n, r.yMin);
  sb(n, r.yMax);
  flushBits();
}

void ByteWriter::matrix(const Matrix& m) {
  flushBits();
  auto fixed = [](double v) { return static_cast<int32_t>(std::lround(v * 65536)); };
  bool hasScale = m.a != 1 || m.d != 1;
  ub(1, hasScale);
  if (hasScale) {
    unsigned n = signedBits({fixed(m.a), fixed(m.d)});
    ub(5, n);
    sb(n, fixed(m.a));
    sb(n, fixed(m.d));
  }
  bool hasRotate = m.b != 0 || m.c != 0;
  ub(1, hasRotate);
  if (hasRotate) {
    unsigned n = signedBits({fixed(m.b), fixed(m.c)});
    ub(5, n);
    sb(n, fixed(m.b));
    sb(n, fixed(m.c));
  }
  int32_t tx = static_cast<int32_t>(std::lround(m.tx)), ty = static_cast<int32_t>(std::lround(m.ty));
  unsigned n = signedBits({tx, ty});
  ub(5, n);
  sb(n, tx);
  sb(n, ty);
  flushBits();
}

void ByteWriter::colorTransform(const ColorTransform& cx, bool withAlpha) {
  flushBits();
  bool hasAdd = cx.addR || cx.addG || cx.addB || (withAlpha && cx.addA);
  bool hasMul = cx.mulR != 256 || cx.mulG != 256 || cx.mulB != 256 || (withAlpha && cx.mulA != 256);
  unsigned n = 0;
  if (hasMul) n = std::max(n, signedBits({cx.mulR, cx.mulG, cx.mulB, withAlpha ? cx.mulA : int16_t{0}}));
  if (hasAdd) n = std::max(n, signedBits({cx.addR, cx.addG, cx.addB, withAlpha ? cx.addA : int16_t{0}}));
  ub(1, hasAdd);
  ub(1, hasMul);
  ub(4, n);
  if (hasMul) {
    sb(n, cx.mulR);
    sb(n, cx.mulG);
    sb(n, cx.mulB);
    if (withAlpha) sb(n, cx.mulA);
  }
  if (hasAdd) {
    sb(n, cx.addR);
    sb(n, cx.addG);
    sb(n, cx.addB);
    if (withAlpha) sb(n, cx.addA);
  }
  flushBits();
}

void ByteWriter::rgb(Rgba c) {
  u8(c.r);
  u8(c.g);
  u8(c.b);
}

void ByteWriter::rgba(Rgba c) {
  rgb(c);
  u8(c.a);
}

}  // namespace tvrl::swf::writer
