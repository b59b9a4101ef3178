// Recovering the layered window's per-pixel alpha from a render over black and one over white.
#include <cstdint>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "flashhost/alpha_recovery.h"

namespace {

struct PixelCase {
    uint8_t black[3];  // blue, green, red
    uint8_t white[3];
    uint8_t alpha;
};

class AlphaRecovery : public ::testing::TestWithParam<PixelCase> {};

TEST_P(AlphaRecovery, AlphaIs255LessAThirdOfTheSummedDifference)
{
    const PixelCase& c = GetParam();
    // The pixel under test between two neighbours, so a stray write would show.
    std::vector<uint8_t> black = {1, 2, 3, 4, c.black[0], c.black[1], c.black[2], 0x5A, 5, 6, 7, 8};
    std::vector<uint8_t> white = {1, 2, 3, 9, c.white[0], c.white[1], c.white[2], 0x77, 5, 6, 7, 9};
    const std::vector<uint8_t> whiteBefore = white;
    RecoverAlpha(black.data() + 4, white.data() + 4, 1);

    EXPECT_EQ(black[7], c.alpha);
    EXPECT_EQ(black[4], c.black[0]);
    EXPECT_EQ(black[5], c.black[1]);
    EXPECT_EQ(black[6], c.black[2]);
    EXPECT_EQ(white, whiteBefore);
    EXPECT_EQ(black[3], 4);
    EXPECT_EQ(black[11], 8);
}

INSTANTIATE_TEST_SUITE_P(
    WorkedPixels, AlphaRecovery,
    ::testing::Values(PixelCase{{0, 0, 0}, {255, 255, 255}, 0},        // nothing drawn
                      PixelCase{{30, 60, 200}, {30, 60, 200}, 255},    // opaque
                      PixelCase{{128, 128, 128}, {255, 255, 255}, 128},  // d = 381
                      PixelCase{{10, 0, 0}, {9, 0, 0}, 170},           // the difference wraps to 255
                      PixelCase{{0, 0, 0}, {1, 1, 0}, 255},            // d = 2 rounds down to 0
                      PixelCase{{0, 0, 0}, {2, 1, 0}, 254}));

TEST(AlphaRecoveryFrame, WalksEveryPixelOfAFrame)
{
    const size_t pixels = 996 * 3;
    std::vector<uint8_t> black(pixels * 4, 0);
    std::vector<uint8_t> white(pixels * 4, 0xFF);
    for (size_t i = 0; i < pixels; i += 2)
        for (int channel = 0; channel < 3; ++channel)
            white[i * 4 + channel] = 0;  // every other pixel drawn opaque black
    RecoverAlpha(black.data(), white.data(), pixels);
    for (size_t i = 0; i < pixels; ++i)
        ASSERT_EQ(black[i * 4 + 3], i % 2 == 0 ? 255 : 0) << "pixel " << i;
}

class AlphaRecoveryForms : public ::testing::TestWithParam<AlphaRecoveryForm> {};

TEST_P(AlphaRecoveryForms, EveryPixelOfARandomFrameFollowsTheRule)
{
    // Frame lengths that leave every remainder of a four- and an eight-pixel step.
    uint32_t state = 7;
    for (size_t pixels : {size_t(1), size_t(3), size_t(4), size_t(5), size_t(7), size_t(8), size_t(9), size_t(15),
                          size_t(1021)}) {
        std::vector<uint8_t> black(pixels * 4), white(pixels * 4);
        for (size_t i = 0; i < black.size(); ++i) {
            state = state * 1664525u + 1013904223u;
            black[i] = static_cast<uint8_t>(state >> 24);
            white[i] = static_cast<uint8_t>(state >> 16);
        }
        const std::vector<uint8_t> before = black;
        if (!RecoverAlphaIn(GetParam(), black.data(), white.data(), pixels))
            GTEST_SKIP() << "this processor lacks the form";
        for (size_t p = 0; p < pixels; ++p) {
            unsigned d = 0;
            for (int channel = 0; channel < 3; ++channel) {
                d += uint8_t(white[p * 4 + channel] - before[p * 4 + channel]);
                ASSERT_EQ(black[p * 4 + channel], before[p * 4 + channel]);
            }
            ASSERT_EQ(black[p * 4 + 3], 255 - d / 3) << "pixel " << p << " of " << pixels;
        }
    }
}

std::string FormName(const ::testing::TestParamInfo<AlphaRecoveryForm>& info)
{
    switch (info.param) {
    case AlphaRecoveryForm::Avx2:
        return "avx2";
    case AlphaRecoveryForm::Sse2:
        return "sse2";
    default:
        return "scalar";
    }
}

INSTANTIATE_TEST_SUITE_P(Forms, AlphaRecoveryForms,
                         ::testing::Values(AlphaRecoveryForm::Avx2, AlphaRecoveryForm::Sse2, AlphaRecoveryForm::Scalar),
                         FormName);

TEST(AlphaRecoveryFrame, NoPixelsTouchesNothing)
{
    uint8_t black[4] = {1, 2, 3, 4};
    const uint8_t white[4] = {9, 9, 9, 9};
    RecoverAlpha(black, white, 0);
    EXPECT_EQ(black[3], 4);
}

}  // namespace
