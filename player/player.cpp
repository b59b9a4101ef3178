#include "player/player.h"

#include <algorithm>

#include "player/render/canvas.h"
#include "player/render/display_renderer.h"
#include "player/input/input_tracker.h"
#include "player/render/paint.h"
#include "player/script/script_engine.h"
#include "player/timeline/sprite_instance.h"

namespace tvrl::player {

std::unique_ptr<Player> Player::load(const uint8_t* data, size_t size, std::string& error, PlayerHost* host) {
  swf::LoadResult r = swf::loadMovie(data, size);
  error = r.error;
  if (!r.movie) return nullptr;
  return std::make_unique<Player>(std::move(r.movie), host);
}

Player::Player(std::unique_ptr<swf::Movie> movie, PlayerHost* host)
    : movie_(std::move(movie)),
      context_(std::make_unique<PlayContext>(*movie_)),
      scripts_(std::make_unique<ScriptEngine>(*context_, *movie_)),
      root_(std::make_unique<SpriteInstance>(*context_, movie_->root, 0)),
      input_(std::make_unique<InputTracker>(*root_, *scripts_)),
      renderer_(std::make_unique<DisplayRenderer>(*movie_)) {
  const swf::Rect& stage = movie_->frameSize;
  setViewport((stage.xMax - stage.xMin) / 20, (stage.yMax - stage.yMin) / 20, ScaleMode::NoScale);
  scripts_->setHost(host);
  scripts_->start(*root_);
}

// Members go in reverse order: the input tracker and the root before the scripts that
// listen to them.
Player::~Player() = default;

int Player::currentFrame() const { return root_->currentFrame(); }
int Player::frameCount() const { return root_->frameCount(); }
bool Player::advance() {
  context_->beginStep();
  bool changed = scripts_->advance();
  return input_->refresh() || changed;
}
bool Player::gotoFrame(int frame) {
  context_->beginStep();
  bool changed = root_->gotoFrame(frame);
  scripts_->runQueued();
  return scripts_->takeChanged() || changed;
}
bool Player::gotoLabel(const std::string& label) {
  context_->beginStep();
  bool changed = root_->gotoLabel(label);
  scripts_->runQueued();
  return scripts_->takeChanged() || changed;
}

void Player::setHost(PlayerHost* host) { scripts_->setHost(host); }

bool Player::setClock(double ms) {
  scripts_->setClock(ms);
  return scripts_->takeChanged();
}

void Player::setViewport(int width, int height, ScaleMode mode) {
  input_->setStageToView(stageToTarget(width, height, mode));
  scripts_->setViewSize(width, height);
}
bool Player::mouseMove(double x, double y) { return input_->mouseMove(x, y); }
bool Player::mouseDown(double x, double y) { return input_->mouseDown(x, y); }
bool Player::mouseUp(double x, double y) { return input_->mouseUp(x, y); }
bool Player::mouseLeave() { return input_->mouseLeave(); }
bool Player::keyDown(int keyCode) { return input_->key(keyCode, true); }
bool Player::keyUp(int keyCode) { return input_->key(keyCode, false); }
Cursor Player::cursor() const { return input_->cursor(); }

swf::Matrix Player::stageToTarget(int width, int height, ScaleMode mode) const {
  const swf::Rect& stage = movie_->frameSize;
  double sw = (stage.xMax - stage.xMin) / 20.0, sh = (stage.yMax - stage.yMin) / 20.0;
  if (sw <= 0 || sh <= 0) return swf::Matrix::scaling(0.05, 0.05);
  double sx = width / sw, sy = height / sh;
  switch (mode) {
    case ScaleMode::ShowAll: sx = sy = std::min(sx, sy); break;
    case ScaleMode::NoBorder: sx = sy = std::max(sx, sy); break;
    case ScaleMode::ExactFit: break;
    case ScaleMode::NoScale: sx = sy = 1; break;
  }
  // Centred in the target, as the default alignment places it.
  double ox = (width - sw * sx) / 2, oy = (height - sh * sy) / 2;
  return swf::Matrix{sx / 20, 0, 0, sy / 20, ox - stage.xMin * sx / 20, oy - stage.yMin * sy / 20};
}

void Player::render(const RenderTarget& target, const RenderOptions& options) {
  if (!target.pixels || target.width <= 0 || target.height <= 0 || target.stride < target.width) return;
  Canvas canvas;
  canvas.pixels = target.pixels;
  canvas.width = target.width;
  canvas.height = target.height;
  canvas.stride = target.stride;
  canvas.antialias = options.antialias;
  canvas.clip = {0, 0, target.width, target.height};
  if (options.paintBackground && movie_->background) {
    uint32_t bg = premultiply(*movie_->background);
    for (int y = 0; y < target.height; ++y)
      std::fill(target.pixels + static_cast<size_t>(y) * target.stride,
                target.pixels + static_cast<size_t>(y) * target.stride + target.width, bg);
  }
  renderer_->render(canvas, root_->objects(), stageToTarget(target.width, target.height, options.scaleMode));
}

}  // namespace tvrl::player
