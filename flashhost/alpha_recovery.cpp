#include "flashhost/alpha_recovery.h"

#if defined(__GNUC__) && (defined(__i386__) || defined(__x86_64__))
#include <immintrin.h>
#define TVRL_ALPHA_X86 1
#endif

// One pixel per 32-bit lane: the channel differences wrap as unsigned bytes; blue + green +
// red (at most 765) gathers in each lane's low 16 bits and is divided by 3 with a 16-bit
// multiply (43691 / 2^17); whatever the lane's high half holds is shifted out when the
// alpha byte is put in place, as the complement of the quotient.

namespace {

void RecoverAlphaScalar(uint8_t* black, const uint8_t* white, size_t pixels)
{
    for (size_t i = 0; i < pixels; ++i, black += 4, white += 4) {
        const unsigned d = uint8_t(white[0] - black[0]) + uint8_t(white[1] - black[1]) + uint8_t(white[2] - black[2]);
        black[3] = uint8_t(255 - ((d * 43691u) >> 17));
    }
}

#if defined(TVRL_ALPHA_X86)

__attribute__((target("sse2"))) size_t RecoverAlphaSse2(uint8_t* black, const uint8_t* white, size_t pixels)
{
    const __m128i byteAndByte = _mm_set1_epi32(0x00FF00FF);
    const __m128i lowByte = _mm_set1_epi32(0x000000FF);
    const __m128i colour = _mm_set1_epi32(0x00FFFFFF);
    const __m128i alphaByte = _mm_set1_epi32(static_cast<int>(0xFF000000u));
    const __m128i third = _mm_set1_epi16(static_cast<short>(43691));
    size_t i = 0;
    for (; i + 4 <= pixels; i += 4) {
        const __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i*>(black + i * 4));
        const __m128i w = _mm_loadu_si128(reinterpret_cast<const __m128i*>(white + i * 4));
        const __m128i diff = _mm_sub_epi8(w, b);
        const __m128i blueRed = _mm_and_si128(diff, byteAndByte);
        const __m128i green = _mm_and_si128(_mm_srli_epi32(diff, 8), lowByte);
        const __m128i sum = _mm_add_epi32(_mm_add_epi32(blueRed, green), _mm_srli_epi32(blueRed, 16));
        const __m128i quotient = _mm_srli_epi16(_mm_mulhi_epu16(sum, third), 1);
        const __m128i alpha = _mm_andnot_si128(_mm_slli_epi32(quotient, 24), alphaByte);
        _mm_storeu_si128(reinterpret_cast<__m128i*>(black + i * 4), _mm_or_si128(_mm_and_si128(b, colour), alpha));
    }
    return i;
}

__attribute__((target("avx2"))) size_t RecoverAlphaAvx2(uint8_t* black, const uint8_t* white, size_t pixels)
{
    const __m256i byteAndByte = _mm256_set1_epi32(0x00FF00FF);
    const __m256i lowByte = _mm256_set1_epi32(0x000000FF);
    const __m256i colour = _mm256_set1_epi32(0x00FFFFFF);
    const __m256i alphaByte = _mm256_set1_epi32(static_cast<int>(0xFF000000u));
    const __m256i third = _mm256_set1_epi16(static_cast<short>(43691));
    size_t i = 0;
    for (; i + 8 <= pixels; i += 8) {
        const __m256i b = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(black + i * 4));
        const __m256i w = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(white + i * 4));
        const __m256i diff = _mm256_sub_epi8(w, b);
        const __m256i blueRed = _mm256_and_si256(diff, byteAndByte);
        const __m256i green = _mm256_and_si256(_mm256_srli_epi32(diff, 8), lowByte);
        const __m256i sum = _mm256_add_epi32(_mm256_add_epi32(blueRed, green), _mm256_srli_epi32(blueRed, 16));
        const __m256i quotient = _mm256_srli_epi16(_mm256_mulhi_epu16(sum, third), 1);
        const __m256i alpha = _mm256_andnot_si256(_mm256_slli_epi32(quotient, 24), alphaByte);
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(black + i * 4),
                            _mm256_or_si256(_mm256_and_si256(b, colour), alpha));
    }
    return i;
}

#endif

// The vector part of a form: handles a multiple of its width and says how many pixels it
// did; the scalar loop does the rest. Null when the processor lacks the form.
using WideRecovery = size_t (*)(uint8_t*, const uint8_t*, size_t);

WideRecovery WidePartOf(AlphaRecoveryForm form)
{
#if defined(TVRL_ALPHA_X86)
    __builtin_cpu_init();
    if (form == AlphaRecoveryForm::Avx2 && __builtin_cpu_supports("avx2"))
        return &RecoverAlphaAvx2;
    if (form == AlphaRecoveryForm::Sse2 && __builtin_cpu_supports("sse2"))
        return &RecoverAlphaSse2;
#else
    (void)form;
#endif
    return nullptr;
}

bool Available(AlphaRecoveryForm form) { return form == AlphaRecoveryForm::Scalar || WidePartOf(form); }

void RecoverWith(WideRecovery wide, uint8_t* black, const uint8_t* white, size_t pixels)
{
    const size_t done = wide ? wide(black, white, pixels) : 0;
    RecoverAlphaScalar(black + done * 4, white + done * 4, pixels - done);
}

}  // namespace

void RecoverAlpha(uint8_t* black, const uint8_t* white, size_t pixels)
{
    static const WideRecovery widest =
        WidePartOf(AlphaRecoveryForm::Avx2) ? WidePartOf(AlphaRecoveryForm::Avx2) : WidePartOf(AlphaRecoveryForm::Sse2);
    RecoverWith(widest, black, white, pixels);
}

bool RecoverAlphaIn(AlphaRecoveryForm form, uint8_t* black, const uint8_t* white, size_t pixels)
{
    if (!Available(form))
        return false;
    RecoverWith(WidePartOf(form), black, white, pixels);
    return true;
}
