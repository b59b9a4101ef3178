// Damaged copies of a movie that uses every tag: each must load with an error or play,
// and drawing what loaded must stay inside its buffers (the sanitizers watch that).
#include <gtest/gtest.h>

#include <random>

#include "player/player.h"
#include "tests/player/sample_movie.h"

namespace tvrl::player::test {
namespace {

// Loads, draws, plays a frame and draws again; returns whether it loaded.
bool exercise(const std::vector<uint8_t>& file) {
  std::string error;
  auto player = Player::load(file.data(), file.size(), error);
  EXPECT_NE(player == nullptr, error.empty()) << "a failed load says why, a good one says nothing";
  if (!player) return false;
  std::vector<uint32_t> pixels(48 * 32, 0xff000000);
  RenderOptions options;
  player->render({pixels.data(), 48, 32, 48}, options);
  player->advance();
  options.antialias = false;
  player->render({pixels.data(), 48, 32, 48}, options);
  return true;
}

TEST(Robustness, TheIntactMovieLoadsWithoutWarnings) {
  for (bool compressed : {false, true}) {
    std::vector<uint8_t> file = everyTagMovie(compressed);
    swf::LoadResult r = swf::loadMovie(file.data(), file.size());
    ASSERT_TRUE(r.movie) << r.error;
    EXPECT_TRUE(r.movie->warnings.empty()) << r.movie->warnings.front();
    EXPECT_EQ(r.movie->dictionary.size(), 14u);
    EXPECT_TRUE(exercise(file));
  }
}

TEST(Robustness, EveryTruncationLoadsOrFailsCleanly) {
  std::vector<uint8_t> file = everyTagMovie(false);
  int loaded = 0;
  for (size_t size = 0; size < file.size(); size += 7) {
    std::vector<uint8_t> cut(file.begin(), file.begin() + size);
    loaded += exercise(cut);
  }
  EXPECT_GT(loaded, 0);
}

TEST(Robustness, RandomlyDamagedBytesLoadOrFailCleanly) {
  std::mt19937 random(20260611);
  for (bool compressed : {false, true}) {
    const std::vector<uint8_t> original = everyTagMovie(compressed);
    for (int round = 0; round < 500; ++round) {
      std::vector<uint8_t> file = original;
      int damage = 1 + random() % 8;
      for (int i = 0; i < damage; ++i) {
        // Leave the signature alone so that most damage reaches the tags.
        size_t at = 3 + random() % (file.size() - 3);
        switch (random() % 3) {
          case 0: file[at] = static_cast<uint8_t>(random()); break;
          case 1: file[at] ^= static_cast<uint8_t>(1u << (random() % 8)); break;
          case 2: file[at] = random() % 2 ? 0xff : 0x00; break;
        }
      }
      exercise(file);
    }
  }
}

}  // namespace
}  // namespace tvrl::player::test
