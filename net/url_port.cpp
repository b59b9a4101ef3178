#include "net/url_port.h"

#include <cstring>

int WrittenPort(const char* url)
{
    const char* scheme = std::strstr(url, "://");
    if (!scheme)
        return -1;
    const char* authority = scheme + 3;
    const char* end = authority + std::strcspn(authority, "/?#");

    // User information may carry a colon of its own; the host starts after it.
    const char* host = authority;
    for (const char* p = authority; p < end; ++p)
        if (*p == '@')
            host = p + 1;
    if (host < end && *host == '[') {
        const char* close = static_cast<const char*>(std::memchr(host, ']', end - host));
        if (!close)
            return -1;
        host = close + 1;
    }
    const char* colon = static_cast<const char*>(std::memchr(host, ':', end - host));
    if (!colon || colon + 1 == end)
        return -1;

    long port = 0;
    for (const char* p = colon + 1; p < end; ++p) {
        if (*p < '0' || *p > '9')
            return -1;
        port = port * 10 + (*p - '0');
        if (port > 65535)
            return -1;
    }
    return port >= 1 ? static_cast<int>(port) : -1;
}
