#include "net/http_request.h"

#include <string>

int BuildHttpRequest(char* out, size_t capacity, const char* host, const char* path,
                     const char* cookie, const char* referer, int rangeFrom, int rangeTo)
{
    std::string text;
    text.reserve(256);
    text += "GET ";
    text += path;
    text += " HTTP/1.1\r\nHost:";
    text += host;
    text += "\r\n";
    if (referer) {
        text += "Referer:";
        text += referer;
        text += "\r\n";
    }
    text += "Accept:*/*\r\n"
            "User-Agent:Mozilla/4.0 (compatible; MSIE 5.00; Windows 98)\r\n"
            "Connection:Keep-Alive\r\n";
    if (cookie) {
        text += "Set Cookie:0";
        text += cookie;
        text += "\r\n";
    }
    if (rangeFrom > 0) {
        text += "Range: bytes=" + std::to_string(rangeFrom) + "-";
        if (rangeTo > rangeFrom)
            text += std::to_string(rangeTo);
        text += "\r\n";
    }
    text += "\r\n";

    if (capacity == 0)
        return -1;
    if (text.size() + 1 > capacity) {
        out[0] = '\0';
        return -1;
    }
    text.copy(out, text.size());
    out[text.size()] = '\0';
    return static_cast<int>(text.size());
}
