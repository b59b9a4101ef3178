// libFuzzer target: any bytes through the loader, one frame drawn, one advanced; the
// movie's scripts run through a click, a key, the clock, a second frame and a jump back.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "player/player.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string error;
  tvrl::player::PlayerHost silent;
  auto player = tvrl::player::Player::load(data, size, error, &silent);
  if (!player) return 0;
  std::vector<uint32_t> pixels(64 * 48, 0xff000000);
  player->render({pixels.data(), 64, 48, 64}, {});
  player->advance();
  player->mouseMove(20, 20);
  player->mouseDown(20, 20);
  player->mouseUp(20, 20);
  player->keyDown(13);
  player->setClock(1000);
  player->advance();
  player->gotoFrame(0);  // back: what stays, what goes, and the unload handlers
  tvrl::player::RenderOptions hard;
  hard.antialias = false;
  hard.scaleMode = tvrl::player::ScaleMode::NoBorder;
  player->render({pixels.data(), 64, 48, 64}, hard);
  return 0;
}
