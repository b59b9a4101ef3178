#include "player/avm1/value.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace tvrl::avm1 {

std::string numberToString(double n) {
  if (std::isnan(n)) return "NaN";
  if (std::isinf(n)) return n > 0 ? "Infinity" : "-Infinity";
  if (n == 0) return "0";
  // Rounded to 15 significant digits first, so that the exponent is that of the digits shown.
  char digits[32];
  std::snprintf(digits, sizeof digits, "%.14e", n);
  char* e = std::strchr(digits, 'e');
  int exponent = std::atoi(e + 1);
  *e = '\0';
  bool negative = digits[0] == '-';
  std::string mantissa;
  for (const char* p = digits + negative; *p; ++p)
    if (*p != '.') mantissa += *p;
  while (mantissa.size() > 1 && mantissa.back() == '0') mantissa.pop_back();
  std::string out = negative ? "-" : "";
  if (exponent < -5 || exponent >= 15) {
    out += mantissa[0];
    if (mantissa.size() > 1) out += "." + mantissa.substr(1);
    out += exponent < 0 ? "e-" : "e+";
    out += std::to_string(std::abs(exponent));
  } else if (exponent < 0) {
    out += "0." + std::string(static_cast<size_t>(-exponent - 1), '0') + mantissa;
  } else if (static_cast<int>(mantissa.size()) <= exponent + 1) {
    out += mantissa + std::string(static_cast<size_t>(exponent + 1 - static_cast<int>(mantissa.size())), '0');
  } else {
    out += mantissa.substr(0, static_cast<size_t>(exponent + 1)) + "." + mantissa.substr(static_cast<size_t>(exponent + 1));
  }
  return out;
}

std::string numberToRadixString(double n, int radix) {
  if (radix == 10 || radix < 2 || radix > 36 || !std::isfinite(n)) return numberToString(n);
  int32_t i = toInt32(n);
  bool negative = i < 0;
  uint32_t u = negative ? 0u - static_cast<uint32_t>(i) : static_cast<uint32_t>(i);
  std::string out;
  do {
    out.insert(out.begin(), "0123456789abcdefghijklmnopqrstuvwxyz"[u % radix]);
    u /= radix;
  } while (u);
  return negative ? "-" + out : out;
}

double stringToNumber(const std::string& s, int swfVersion) {
  const char* p = s.c_str();
  while (*p == ' ' || *p == '\t' || *p == '\n' || *p == '\r') ++p;
  // An empty string is zero to the old number-only actions of SWF 4.
  if (!*p) return swfVersion <= 4 ? 0 : NAN;
  if (swfVersion >= 6 && p[0] == '0' && (p[1] == 'x' || p[1] == 'X')) {
    char* end = nullptr;
    long long v = std::strtoll(p + 2, &end, 16);
    return end != p + 2 && !*end ? static_cast<double>(static_cast<int32_t>(v)) : NAN;
  }
  // Only decimal digits, a sign, a point and an exponent; strtod alone would also take
  // "inf", "nan" and hexadecimal floats.
  const char* q = p;
  if (*q == '+' || *q == '-') ++q;
  bool digits = false;
  while (*q >= '0' && *q <= '9') ++q, digits = true;
  if (*q == '.') {
    ++q;
    while (*q >= '0' && *q <= '9') ++q, digits = true;
  }
  if (!digits) return NAN;
  if (*q == 'e' || *q == 'E') {
    const char* x = q + 1;
    if (*x == '+' || *x == '-') ++x;
    if (*x < '0' || *x > '9') return NAN;
    while (*x >= '0' && *x <= '9') ++x;
    q = x;
  }
  while (*q == ' ' || *q == '\t' || *q == '\n' || *q == '\r') ++q;
  if (*q) return NAN;
  return std::strtod(p, nullptr);
}

double primitiveToNumber(const Value& v, int swfVersion) {
  switch (v.type) {
    case ValueType::Undefined:
    case ValueType::Null: return swfVersion >= 7 ? NAN : 0;
    case ValueType::Boolean: return v.boolean ? 1 : 0;
    case ValueType::Number: return v.number;
    case ValueType::String: return stringToNumber(v.string, swfVersion);
    case ValueType::Object: return NAN;
  }
  return NAN;
}

std::string primitiveToString(const Value& v, int swfVersion) {
  switch (v.type) {
    case ValueType::Undefined: return swfVersion >= 7 ? "undefined" : "";
    case ValueType::Null: return "null";
    case ValueType::Boolean: return v.boolean ? "true" : "false";
    case ValueType::Number: return numberToString(v.number);
    case ValueType::String: return v.string;
    case ValueType::Object: return "[object Object]";
  }
  return "";
}

bool primitiveToBoolean(const Value& v, int swfVersion) {
  switch (v.type) {
    case ValueType::Undefined:
    case ValueType::Null: return false;
    case ValueType::Boolean: return v.boolean;
    case ValueType::Number: return v.number != 0 && !std::isnan(v.number);
    case ValueType::String: {
      // Before SWF 7 a string is true when it reads as a non-zero number.
      if (swfVersion >= 7) return !v.string.empty();
      double n = stringToNumber(v.string, swfVersion);
      return n != 0 && !std::isnan(n);
    }
    case ValueType::Object: return true;
  }
  return false;
}

std::vector<uint32_t> utf8CodePoints(const std::string& s) {
  std::vector<uint32_t> out;
  for (size_t i = 0; i < s.size();) {
    unsigned char c = static_cast<unsigned char>(s[i]);
    int extra = c < 0x80 ? 0 : c < 0xe0 ? 1 : c < 0xf0 ? 2 : 3;
    uint32_t cp = extra == 0 ? c : extra == 1 ? c & 0x1f : extra == 2 ? c & 0x0f : c & 0x07;
    ++i;
    for (int k = 0; k < extra && i < s.size(); ++k, ++i) cp = cp << 6 | (static_cast<unsigned char>(s[i]) & 0x3f);
    out.push_back(cp);
  }
  return out;
}

std::string utf8FromCodePoints(const std::vector<uint32_t>& codePoints, size_t begin, size_t end) {
  std::string out;
  for (size_t i = begin; i < end && i < codePoints.size(); ++i) {
    uint32_t c = codePoints[i];
    if (c < 0x80) {
      out += static_cast<char>(c);
    } else if (c < 0x800) {
      out += static_cast<char>(0xc0 | c >> 6);
      out += static_cast<char>(0x80 | (c & 0x3f));
    } else if (c < 0x10000) {
      out += static_cast<char>(0xe0 | c >> 12);
      out += static_cast<char>(0x80 | (c >> 6 & 0x3f));
      out += static_cast<char>(0x80 | (c & 0x3f));
    } else {
      out += static_cast<char>(0xf0 | (c >> 18 & 0x07));
      out += static_cast<char>(0x80 | (c >> 12 & 0x3f));
      out += static_cast<char>(0x80 | (c >> 6 & 0x3f));
      out += static_cast<char>(0x80 | (c & 0x3f));
    }
  }
  return out;
}

int32_t toInt32(double n) {
  if (!std::isfinite(n)) return 0;
  double m = std::fmod(std::trunc(n), 4294967296.0);
  if (m < 0) m += 4294967296.0;
  return static_cast<int32_t>(static_cast<uint32_t>(m));
}

uint32_t toUint32(double n) { return static_cast<uint32_t>(toInt32(n)); }

}  // namespace tvrl::avm1
