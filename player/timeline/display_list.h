// The objects on a timeline, by depth, and the instances of sprites and buttons, each
// of which keeps its own list.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <string>

#include "player/swf/movie.h"

namespace tvrl::player {

class SpriteInstance;
class ButtonInstance;
class TextFieldInstance;

struct PlayContext;
class TimelineScripts;

struct DisplayObject {
  // Counts itself against the context's budget while it lives.
  explicit DisplayObject(PlayContext& context);
  DisplayObject(DisplayObject&&) noexcept;
  DisplayObject& operator=(DisplayObject&&) = delete;
  ~DisplayObject();

  uint16_t depth = 0;
  uint16_t characterId = 0;
  const swf::Character* character = nullptr;
  swf::Matrix matrix;
  swf::ColorTransform colorTransform;
  uint16_t ratio = 0;
  std::string name;
  uint16_t clipDepth = 0;  // non-zero: a mask over the depths above it up to this one
  bool visible = true;     // scripts hide objects without removing them
  bool movedByScript = false;
  // Placed by a script, or moved to its depths: the timeline neither removes nor replaces it.
  bool ownedByScript = false;
  int placedFrame = -1;  // the parent's frame whose tag placed it; -1 for a script's
  std::unique_ptr<SpriteInstance> sprite;
  std::unique_ptr<ButtonInstance> button;
  std::unique_ptr<TextFieldInstance> field;
  uint64_t placedAtTick = 0;  // a child placed during a tick starts playing on the next one

 private:
  PlayContext* context_;
};

using DisplayList = std::map<uint16_t, DisplayObject>;

// What every object of one playing movie shares. Both the number of live display objects
// and the number made in one step (a frame, a jump) are bounded, so that buttons or
// sprites holding themselves many times over can neither multiply nor churn without end.
struct PlayContext {
  explicit PlayContext(const swf::Movie& m) : movie(m) {}
  bool hasRoom() const { return liveObjects < kMaxLiveObjects && madeInStep < kMaxMadePerStep; }
  void beginStep() { madeInStep = 0; }

  static constexpr size_t kMaxLiveObjects = 20000;
  static constexpr size_t kMaxMadePerStep = 100000;
  const swf::Movie& movie;
  size_t liveObjects = 0;
  size_t madeInStep = 0;
  TimelineScripts* scripts = nullptr;  // null when nothing listens
};

// Whether two lists draw the same picture: same characters, placements and child states.
bool sameAppearance(const DisplayList& a, const DisplayList& b);
// The parts of that comparison for one object: its own placement, and its children.
bool samePlacement(const DisplayObject& a, const DisplayObject& b);
bool sameChildren(const DisplayObject& a, const DisplayObject& b);

// Gives a sprite, button or edit text object its instance. Nesting deeper than a movie can sensibly
// use (a sprite that places itself) stops here and draws nothing further down.
void instantiate(PlayContext& context, DisplayObject& object, int nesting);

}  // namespace tvrl::player
