// A login-like movie whose scripts use most actions: frame, init and clip actions, a
// button with actions, host commands and timers. The starting point of the script
// robustness tests, the fuzzer's second seed and the swfplay script tests.
#pragma once

#include <cstdint>
#include <vector>

namespace tvrl::player::test {

std::vector<uint8_t> scriptedSampleMovie(bool compressed);

}  // namespace tvrl::player::test
