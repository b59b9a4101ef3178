// A playing timeline: the root movie or a sprite. Each advances through its own frames;
// going back rebuilds the list from the first frame, as Flash does.
#pragma once

#include "player/timeline/display_list.h"

namespace tvrl::player {

class SpriteInstance {
 public:
  // Shows the first frame at once.
  SpriteInstance(PlayContext& context, const swf::Timeline& timeline, int nesting);
  ~SpriteInstance();
  SpriteInstance(const SpriteInstance&) = delete;
  SpriteInstance& operator=(const SpriteInstance&) = delete;

  int currentFrame() const { return frame_; }
  int frameCount() const { return static_cast<int>(timeline_.frames.size()); }
  const DisplayList& objects() const { return objects_; }

  // Each returns whether anything visible changed.
  bool gotoFrame(int frame);
  bool gotoLabel(const std::string& label);
  // The next frame (the first after the last), then every child that was already there.
  bool tick();

 private:
  bool runFrame(int frame);
  bool apply(const swf::FrameCommand& command);
  bool place(const swf::PlaceCommand& p);

  PlayContext& context_;
  const swf::Timeline& timeline_;
  int nesting_;
  int frame_ = -1;
  uint64_t ticks_ = 0;
  DisplayList objects_;
};

// A button shows the characters of one state; only the up state until input arrives.
class ButtonInstance {
 public:
  ButtonInstance(PlayContext& context, const swf::ButtonCharacter& button, int nesting);
  ~ButtonInstance();
  ButtonInstance(const ButtonInstance&) = delete;
  ButtonInstance& operator=(const ButtonInstance&) = delete;
  const DisplayList& objects() const { return objects_; }
  bool setState(uint8_t state);
  bool tick();

 private:
  PlayContext& context_;
  const swf::ButtonCharacter& button_;
  int nesting_;
  uint8_t state_ = 0;
  DisplayList objects_;
};

}  // namespace tvrl::player
