// A script value and the conversions between types, as Flash Player 8 makes them for a
// movie of a given SWF version (older movies convert undefined and strings differently).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace tvrl::avm1 {

class Object;

enum class ValueType : uint8_t { Undefined, Null, Boolean, Number, String, Object };

struct Value {
  ValueType type = ValueType::Undefined;
  bool boolean = false;
  double number = 0;
  std::string string;
  Object* object = nullptr;

  static Value undefined() { return {}; }
  static Value null() { return make(ValueType::Null); }
  static Value from(bool b) { Value v = make(ValueType::Boolean); v.boolean = b; return v; }
  static Value from(double n) { Value v = make(ValueType::Number); v.number = n; return v; }
  static Value from(int n) { return from(static_cast<double>(n)); }
  static Value from(std::string s) { Value v = make(ValueType::String); v.string = std::move(s); return v; }
  static Value from(const char* s) { return from(std::string(s)); }
  static Value from(Object* o) {
    if (!o) return null();
    Value v = make(ValueType::Object);
    v.object = o;
    return v;
  }

  bool isUndefined() const { return type == ValueType::Undefined; }
  bool isNullish() const { return type == ValueType::Undefined || type == ValueType::Null; }
  bool isObject() const { return type == ValueType::Object; }
  bool isString() const { return type == ValueType::String; }
  bool isNumber() const { return type == ValueType::Number; }

 private:
  static Value make(ValueType t) { Value v; v.type = t; return v; }
};

// Flash prints numbers with 15 significant digits, switching to exponents outside
// 1e-5 .. 1e15.
std::string numberToString(double n);
// Integer text in a radix from 2 to 36, as Number.toString(radix) writes it.
std::string numberToRadixString(double n, int radix);

// Primitive conversions; objects are converted by the machine (they may call scripts).
double stringToNumber(const std::string& s, int swfVersion);
double primitiveToNumber(const Value& v, int swfVersion);
std::string primitiveToString(const Value& v, int swfVersion);
bool primitiveToBoolean(const Value& v, int swfVersion);

// Strings are UTF-8; the string functions count characters, not bytes.
std::vector<uint32_t> utf8CodePoints(const std::string& s);
std::string utf8FromCodePoints(const std::vector<uint32_t>& codePoints, size_t begin, size_t end);

// The 32-bit integer conversions of the bit operators: wrap modulo 2^32.
int32_t toInt32(double n);
uint32_t toUint32(double n);

}  // namespace tvrl::avm1
