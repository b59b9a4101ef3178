#include "net/http_header.h"

#include <cstring>

#include "net/decimal_text.h"

namespace {

char LowerAscii(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

// Index just past the LF that ends the line starting at `start`, or `length`.
int LineEndAfter(const char* header, int length, int start)
{
    int i = start;
    while (i < length && header[i] != '\n')
        ++i;
    return i < length ? i + 1 : length;
}

bool StartsWithNoCase(const char* text, int available, const char* prefix, int prefixLength)
{
    if (available < prefixLength)
        return false;
    for (int i = 0; i < prefixLength; ++i)
        if (LowerAscii(text[i]) != LowerAscii(prefix[i]))
            return false;
    return true;
}

}  // namespace

bool EndsHeader(const char* header, int length)
{
    return length >= 4 && std::memcmp(header + length - 4, "\r\n\r\n", 4) == 0;
}

int NextHeaderLine(const char* header, int length, int& pos, char* buffer, int max)
{
    if (pos >= length) {
        pos = 0;
        return -1;
    }
    int copied = 0;
    while (copied < max && pos < length) {
        const char c = header[pos++];
        buffer[copied++] = c;
        if (c == '\n')
            break;
    }
    return copied;
}

int StatusCodeOf(const char* header, int length)
{
    if (length < 12)
        return 0;
    return AtoiLike(header + 9, 3);
}

int FindHeaderField(const char* header, int length, const char* name, char* buffer, int size)
{
    if (size > 0)
        buffer[0] = '\0';
    if (!name || !*name)
        return -1;
    const int nameLength = static_cast<int>(std::strlen(name));

    // The status line is no field; start with the line after it.
    for (int line = LineEndAfter(header, length, 0); line < length;
         line = LineEndAfter(header, length, line)) {
        const int end = LineEndAfter(header, length, line);
        if (!StartsWithNoCase(header + line, end - line, name, nameLength) ||
            line + nameLength >= end || header[line + nameLength] != ':')
            continue;

        int valueStart = line + nameLength + 1;
        while (valueStart < end && (header[valueStart] == ' ' || header[valueStart] == '\t'))
            ++valueStart;
        int valueEnd = end;
        if (valueEnd > valueStart && header[valueEnd - 1] == '\n')
            --valueEnd;
        if (valueEnd > valueStart && header[valueEnd - 1] == '\r')
            --valueEnd;

        const int valueLength = valueEnd - valueStart;
        if (valueLength + 1 > size)
            return -1;
        std::memcpy(buffer, header + valueStart, valueLength);
        buffer[valueLength] = '\0';
        return valueLength;
    }
    return -1;
}
