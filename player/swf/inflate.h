// zlib decompression with a ceiling on the output, so a small hostile stream cannot
// demand unbounded memory.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace tvrl::swf {

enum class InflateStatus { Complete, Truncated, Corrupt, TooLarge };

// Appends at most maxOut bytes to `out`; TooLarge when the stream holds more, having
// appended the first maxOut.
InflateStatus inflateBounded(const uint8_t* data, size_t size, size_t maxOut, std::vector<uint8_t>& out);

}  // namespace tvrl::swf
