#pragma once
// Recovering per-pixel opacity from two renders of the same frame, one over black and one
// over white: where the frame is opaque the two agree, where it is empty they differ by
// 255 in every channel.
#include <cstddef>
#include <cstdint>

// `black` and `white` hold `pixels` pixels of 4 bytes (blue, green, red, alpha). Each black
// pixel's alpha becomes 255 - floor(d / 3), where d sums the three channel differences
// white - black taken as unsigned bytes (so an inconsistent pair wraps rather than going
// negative). Colour bytes and the white render are left alone.
void RecoverAlpha(uint8_t* black, const uint8_t* white, size_t pixels);

// The forms RecoverAlpha picks from, widest first; it takes the widest the processor runs.
enum class AlphaRecoveryForm { Avx2, Sse2, Scalar };

// RecoverAlpha in the given form; false (nothing done) when this processor lacks it.
bool RecoverAlphaIn(AlphaRecoveryForm form, uint8_t* black, const uint8_t* white, size_t pixels);
