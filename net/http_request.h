#pragma once
// The GET request text of the download client, free of any platform header.
#include <cstddef>

// Writes the request for `path` on `host` into `out` (`capacity` bytes, zero-terminated):
// the request line, "Host:", the optional "Referer:", "Accept:*/*", the user agent,
// "Connection:Keep-Alive", the optional "Set Cookie:0" line and the optional Range line
// (only when rangeFrom > 0; its end only when rangeTo > rangeFrom), then an empty line.
// `host` goes into the Host line as given, so a caller that reaches a written port
// passes "host:port". Returns the text's length in bytes, or -1 when the text with its
// terminating zero would not fit; `out` is then left as an empty text.
int BuildHttpRequest(char* out, size_t capacity, const char* host, const char* path,
                     const char* cookie, const char* referer, int rangeFrom, int rangeTo);
