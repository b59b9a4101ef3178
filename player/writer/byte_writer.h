// Builds the bytes of a tag: little-endian numbers, big-endian bit fields and the
// records (rectangles, matrices, colour transforms) in their packed form.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "player/swf/geometry.h"

namespace tvrl::swf::writer {

class ByteWriter {
 public:
  const std::vector<uint8_t>& data() const { return data_; }
  size_t size() const { return data_.size(); }

  void u8(uint8_t v);
  void u16(uint16_t v);
  void u32(uint32_t v);
  void s16(int16_t v) { u16(static_cast<uint16_t>(v)); }
  void fixed8(double v);
  void bytes(const std::vector<uint8_t>& v);
  void bytes(const uint8_t* p, size_t n);
  void cString(const std::string& s);
  void patchU32(size_t at, uint32_t v);

  void ub(unsigned bits, uint32_t v);
  void sb(unsigned bits, int32_t v);
  void flushBits();

  void rect(const Rect& r);
  void matrix(const Matrix& m);
  void colorTransform(const ColorTransform& cx, bool withAlpha);
  void rgb(Rgba c);
  void rgba(Rgba c);

  // Bits a signed field needs to hold every value.
  static unsigned signedBits(std::initializer_list<int32_t> values);
  static unsigned unsignedBits(uint32_t value);

 private:
  std::vector<uint8_t> data_;
  uint8_t bitBuffer_ = 0;
  unsigned bitCount_ = 0;
};

}  // namespace tvrl::swf::writer
