#include "player/swf/byte_reader.h"

namespace tvrl::swf {

uint8_t ByteReader::u8() {
  bitCount_ = 0;
  if (pos_ >= size_) {
    fail();
    return 0;
  }
  return data_[pos_++];
}

uint16_t ByteReader::u16() {
  uint16_t lo = u8();
  return static_cast<uint16_t>(lo | u8() << 8);
}

uint32_t ByteReader::u32() {
  uint32_t lo = u16();
  return lo | static_cast<uint32_t>(u16()) << 16;
}

double ByteReader::fixed8() { return s16() / 256.0; }

void ByteReader::skip(size_t n) { bytes(n); }

const uint8_t* ByteReader::bytes(size_t n) {
  bitCount_ = 0;
  if (n > remaining()) {
    fail();
    return nullptr;
  }
  const uint8_t* p = data_ + pos_;
  pos_ += n;
  return p;
}

std::string ByteReader::cString() {
  std::string s;
  for (;;) {
    uint8_t c = u8();
    if (c == 0 || failed_) break;
    s.push_back(static_cast<char>(c));
  }
  return s;
}

uint32_t ByteReader::ub(unsigned bits) {
  uint32_t value = 0;
  for (unsigned i = 0; i < bits; ++i) {
    if (bitCount_ == 0) {
      if (pos_ >= size_) {
        fail();
        return 0;
      }
      bitBuffer_ = data_[pos_++];
      bitCount_ = 8;
    }
    --bitCount_;
    value = value << 1 | ((bitBuffer_ >> bitCount_) & 1);
  }
  return value;
}

int32_t ByteReader::sb(unsigned bits) {
  if (bits == 0) return 0;
  uint32_t v = ub(bits);
  if (bits < 32 && (v & (1u << (bits - 1)))) v |= ~0u << bits;
  return static_cast<int32_t>(v);
}

Rect ByteReader::rect() {
  alignBits();
  unsigned n = ub(5);
  Rect r;
  r.xMin = sb(n);
  r.xMax = sb(n);
  r.yMin = sb(n);
  r.yMax = sb(n);
  alignBits();
  return r;
}

Matrix ByteReader::matrix() {
  alignBits();
  Matrix m;
  if (ub(1)) {
    unsigned n = ub(5);
    m.a = fb(n);
    m.d = fb(n);
  }
  if (ub(1)) {
    unsigned n = ub(5);
    m.b = fb(n);
    m.c = fb(n);
  }
  unsigned n = ub(5);
  m.tx = sb(n);
  m.ty = sb(n);
  alignBits();
  return m;
}

ColorTransform ByteReader::colorTransform(bool withAlpha) {
  alignBits();
  ColorTransform cx;
  bool hasAdd = ub(1);
  bool hasMul = ub(1);
  unsigned n = ub(4);
  if (hasMul) {
    cx.mulR = static_cast<int16_t>(sb(n));
    cx.mulG = static_cast<int16_t>(sb(n));
    cx.mulB = static_cast<int16_t>(sb(n));
    if (withAlpha) cx.mulA = static_cast<int16_t>(sb(n));
  }
  if (hasAdd) {
    cx.addR = static_cast<int16_t>(sb(n));
    cx.addG = static_cast<int16_t>(sb(n));
    cx.addB = static_cast<int16_t>(sb(n));
    if (withAlpha) cx.addA = static_cast<int16_t>(sb(n));
  }
  alignBits();
  return cx;
}

Rgba ByteReader::rgb() {
  Rgba c;
  c.r = u8();
  c.g = u8();
  c.b = u8();
  return c;
}

Rgba ByteReader::rgba() {
  Rgba c = rgb();
  c.a = u8();
  return c;
}

}  // namespace tvrl::swf
