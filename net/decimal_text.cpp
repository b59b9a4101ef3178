#include "net/decimal_text.h"

namespace {

bool IsSpaceOrTab(char c) { return c == ' ' || c == '\t'; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }
// The characters atoi skips before the number.
bool IsCSpace(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }

}  // namespace

int32_t AtoiLike(const char* text, int maxChars)
{
    int i = 0;
    while (i < maxChars && IsCSpace(text[i]))
        ++i;
    bool negative = false;
    if (i < maxChars && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    int64_t value = 0;
    const int64_t limit = negative ? -static_cast<int64_t>(INT32_MIN) : INT32_MAX;
    for (; i < maxChars && IsDigit(text[i]); ++i) {
        value = value * 10 + (text[i] - '0');
        if (value > limit)
            value = limit;
    }
    return static_cast<int32_t>(negative ? -value : value);
}

bool ParseContentLength(const char* text, int32_t& value)
{
    const char* p = text;
    while (IsSpaceOrTab(*p))
        ++p;
    if (!IsDigit(*p))
        return false;
    int64_t number = 0;
    for (; IsDigit(*p); ++p) {
        number = number * 10 + (*p - '0');
        if (number > INT32_MAX)
            return false;
    }
    while (IsSpaceOrTab(*p))
        ++p;
    if (*p != '\0')
        return false;
    value = static_cast<int32_t>(number);
    return true;
}
