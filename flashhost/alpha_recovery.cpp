#include "flashhost/alpha_recovery.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace {

// floor(d / 3) for d up to 765, as one multiply and shift.
inline unsigned DivideBy3(unsigned d) { return (d * 43691u) >> 17; }

void RecoverAlphaScalar(uint8_t* black, const uint8_t* white, size_t pixels)
{
    for (size_t i = 0; i < pixels; ++i, black += 4, white += 4) {
        const unsigned d = uint8_t(white[0] - black[0]) + uint8_t(white[1] - black[1]) + uint8_t(white[2] - black[2]);
        black[3] = uint8_t(255 - DivideBy3(d));
    }
}

}  // namespace

void RecoverAlpha(uint8_t* black, const uint8_t* white, size_t pixels)
{
#if defined(__SSE2__)
    // Four pixels at a time: byte differences wrap as unsigned bytes, the three colour
    // differences of each pixel are summed in 16 bits, and the division by 3 is a multiply.
    const __m128i colourMask = _mm_set1_epi32(0x00FFFFFF);
    const __m128i zero = _mm_setzero_si128();
    const __m128i ones = _mm_set1_epi16(1);
    const __m128i third = _mm_set1_epi16(static_cast<short>(43691));
    const __m128i opaque = _mm_set1_epi32(255);
    size_t i = 0;
    for (; i + 4 <= pixels; i += 4) {
        const __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i*>(black + i * 4));
        const __m128i w = _mm_loadu_si128(reinterpret_cast<const __m128i*>(white + i * 4));
        const __m128i diff = _mm_and_si128(_mm_sub_epi8(w, b), colourMask);

        // Per pixel: (blue + green) and (red + 0) as 32-bit pairs, then the pair summed.
        const __m128i pairsLow = _mm_madd_epi16(_mm_unpacklo_epi8(diff, zero), ones);
        const __m128i pairsHigh = _mm_madd_epi16(_mm_unpackhi_epi8(diff, zero), ones);
        const __m128i sumLow = _mm_add_epi32(pairsLow, _mm_srli_epi64(pairsLow, 32));
        const __m128i sumHigh = _mm_add_epi32(pairsHigh, _mm_srli_epi64(pairsHigh, 32));
        const __m128i sums = _mm_unpacklo_epi64(_mm_shuffle_epi32(sumLow, _MM_SHUFFLE(3, 1, 2, 0)),
                                                _mm_shuffle_epi32(sumHigh, _MM_SHUFFLE(3, 1, 2, 0)));

        const __m128i sums16 = _mm_packs_epi32(sums, sums);  // at most 765: fits
        const __m128i thirds = _mm_srli_epi16(_mm_mulhi_epu16(sums16, third), 1);
        const __m128i alpha = _mm_sub_epi32(opaque, _mm_unpacklo_epi16(thirds, zero));
        const __m128i result = _mm_or_si128(_mm_and_si128(b, colourMask), _mm_slli_epi32(alpha, 24));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(black + i * 4), result);
    }
    RecoverAlphaScalar(black + i * 4, white + i * 4, pixels - i);
#else
    RecoverAlphaScalar(black, white, pixels);
#endif
}
