// Bounded reading of the little-endian bytes and big-endian bit fields of a SWF file.
// Reading past the end never touches memory outside the buffer: it yields zeros and
// marks the reader as failed, so a parser can read a whole record and check once.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "player/swf/geometry.h"

namespace tvrl::swf {

class ByteReader {
 public:
  ByteReader(const uint8_t* data, size_t size) : data_(data), size_(size) {}

  bool failed() const { return failed_; }
  size_t position() const { return pos_; }
  size_t remaining() const { return size_ - pos_; }
  const uint8_t* current() const { return data_ + pos_; }
  void fail() { failed_ = true; pos_ = size_; }

  uint8_t u8();
  uint16_t u16();
  uint32_t u32();
  int16_t s16() { return static_cast<int16_t>(u16()); }
  double fixed8();   // 8.8 fixed point
  void skip(size_t n);
  // Returns a pointer to n bytes and moves past them, or null (and fails).
  const uint8_t* bytes(size_t n);
  std::string cString();

  // Bit fields start at the next whole byte after any byte read.
  uint32_t ub(unsigned bits);
  int32_t sb(unsigned bits);
  double fb(unsigned bits) { return sb(bits) / 65536.0; }
  void alignBits() { bitCount_ = 0; }

  Rect rect();
  Matrix matrix();
  ColorTransform colorTransform(bool withAlpha);
  Rgba rgb();
  Rgba rgba();

 private:
  const uint8_t* data_;
  size_t size_;
  size_t pos_ = 0;
  bool failed_ = false;
  uint8_t bitBuffer_ = 0;
  unsigned bitCount_ = 0;
};

}  // namespace tvrl::swf
