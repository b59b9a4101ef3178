// The engine's face to its host: load a movie, advance it frame by frame, and draw the
// current frame into the host's pixels. Knows nothing of windows or clocks.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "player/player_host.h"
#include "player/swf/movie.h"

namespace tvrl::player {

class SpriteInstance;
struct PlayContext;
class DisplayRenderer;
class ScriptEngine;
class InputTracker;

enum class ScaleMode { ShowAll, NoBorder, ExactFit, NoScale };

struct RenderTarget {
  uint32_t* pixels = nullptr;  // 32-bit BGRA, premultiplied; drawn over what it holds
  int width = 0;
  int height = 0;
  int stride = 0;  // in pixels
};

struct RenderOptions {
  ScaleMode scaleMode = ScaleMode::ShowAll;
  bool antialias = true;
  // Off for a transparent window: the movie's background colour is not painted.
  bool paintBackground = true;
};

class Player {
 public:
  // Null with `error` set when the file cannot be played.
  // The host, when given, hears the first frame's scripts too.
  static std::unique_ptr<Player> load(const uint8_t* data, size_t size, std::string& error,
                                      PlayerHost* host = nullptr);
  explicit Player(std::unique_ptr<swf::Movie> movie, PlayerHost* host = nullptr);
  ~Player();

  const swf::Movie& movie() const { return *movie_; }
  int currentFrame() const;  // 0-based
  int frameCount() const;

  // Each returns whether anything visible changed, so a still movie causes no redraws.
  bool advance();
  bool gotoFrame(int frame);
  bool gotoLabel(const std::string& label);

  void render(const RenderTarget& target, const RenderOptions& options);

  // The matrix from the stage's twips to the target's pixels.
  swf::Matrix stageToTarget(int width, int height, ScaleMode mode) const;

  const SpriteInstance& root() const { return *root_; }

  // Scripts: the host receives fscommand, navigation requests, trace lines and warnings.
  void setHost(PlayerHost* host);
  // The host's clock in milliseconds; setInterval timers and getTimer follow it.
  bool setClock(double ms);

  // Input in the target's pixels, mapped to the stage as `render` maps the stage to
  // them. Each returns whether anything visible changed.
  void setViewport(int width, int height, ScaleMode mode);
  bool mouseMove(double x, double y);
  bool mouseDown(double x, double y);
  bool mouseUp(double x, double y);
  bool mouseLeave();
  bool keyDown(int keyCode);
  bool keyUp(int keyCode);
  // The pointer's shape: a hand over an active button.
  Cursor cursor() const;

 private:
  std::unique_ptr<swf::Movie> movie_;
  std::unique_ptr<PlayContext> context_;
  // Made before the root so that the root's first frame is heard.
  std::unique_ptr<ScriptEngine> scripts_;
  std::unique_ptr<SpriteInstance> root_;
  std::unique_ptr<InputTracker> input_;
  // Kept between frames so that its buffers are allocated once.
  std::unique_ptr<DisplayRenderer> renderer_;
};

}  // namespace tvrl::player
