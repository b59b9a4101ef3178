// A movie that uses every tag the player reads, built with the writer: the starting
// point of the robustness tests and the fuzzer's seed.
#pragma once

#include <cstdint>
#include <vector>

namespace tvrl::player::test {

std::vector<uint8_t> everyTagMovie(bool compressed);

}  // namespace tvrl::player::test
