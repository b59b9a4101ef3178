// libFuzzer target for the client's text handling of untrusted bytes: the response
// header reader, the Content-Length parser, the URL port finder and the request builder.
// Built by a clang host configuration with -DTVRL_FUZZ=ON; the sanitizers do the checking.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "net/decimal_text.h"
#include "net/http_header.h"
#include "net/http_request.h"
#include "net/url_port.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    // Exactly `size` bytes on the heap, so a read past the end is caught.
    const std::vector<char> header(data, data + size);
    const int length = static_cast<int>(size);

    EndsHeader(header.data(), length);
    StatusCodeOf(header.data(), length);

    int pos = 0;
    char line[64];
    for (int guard = 0; guard <= length && NextHeaderLine(header.data(), length, pos, line, sizeof line) >= 0; ++guard) {
    }

    for (int capacity : {1, 2, 20}) {
        std::vector<char> value(capacity);
        if (FindHeaderField(header.data(), length, "Content-Length", value.data(), capacity) >= 0) {
            int32_t number = 0;
            ParseContentLength(value.data(), number);
        }
    }

    const std::string text(header.begin(), header.end());
    WrittenPort(text.c_str());
    AtoiLike(text.c_str());
    const size_t half = text.size() / 2;
    std::vector<char> request(256);
    BuildHttpRequest(request.data(), request.size(), text.substr(0, half).c_str(), text.substr(half).c_str(),
                     nullptr, nullptr, 0, 0);
    return 0;
}
