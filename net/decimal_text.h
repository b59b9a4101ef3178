#pragma once
// Text-to-number conversions of the update path, free of any platform header.
#include <cstdint>

// Reads `text` the way atoi does: leading white space, an optional sign, then decimal
// digits up to the first non-digit; no digits give 0. At most `maxChars` characters are
// looked at. Values beyond the signed 32-bit range are clamped to it instead of
// overflowing.
int32_t AtoiLike(const char* text, int maxChars = INT32_MAX);

// A Content-Length value: a plain decimal number with optional spaces and tabs around it
// that fits the signed 32-bit range. Anything else (a sign, a second number, letters, an
// empty text) is refused. Returns true and stores the number in `value` on success.
bool ParseContentLength(const char* text, int32_t& value);
