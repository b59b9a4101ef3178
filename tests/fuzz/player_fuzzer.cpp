// libFuzzer target: any bytes through the loader, one frame drawn, one advanced.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "player/player.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string error;
  auto player = tvrl::player::Player::load(data, size, error);
  if (!player) return 0;
  std::vector<uint32_t> pixels(64 * 48, 0xff000000);
  player->render({pixels.data(), 64, 48, 64}, {});
  player->advance();
  tvrl::player::RenderOptions hard;
  hard.antialias = false;
  hard.scaleMode = tvrl::player::ScaleMode::NoBorder;
  player->render({pixels.data(), 64, 48, 64}, hard);
  return 0;
}
