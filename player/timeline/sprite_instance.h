// A playing timeline: the root movie or a sprite. Each advances through its own frames.
// A jump (back, or forward past the next frame) keeps what stands at both frames (placed
// by the same tag), with its state, and replaces or removes the rest, as Flash does.
#pragma once

#include "player/timeline/display_list.h"
#include "player/timeline/placement.h"

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
  DisplayList& objects() { return objects_; }
  const swf::Timeline& timeline() const { return timeline_; }
  // The sprite whose list holds this one, and the object that shows it; null for the root.
  SpriteInstance* parent() const { return parent_; }
  DisplayObject* holder() const { return holder_; }
  bool playing() const { return playing_; }
  void setPlaying(bool playing) { playing_ = playing; }
  int nesting() const { return nesting_; }
  PlayContext& context() { return context_; }

  // Each returns whether anything visible changed.
  bool gotoFrame(int frame);
  bool gotoLabel(const std::string& label);
  // The next frame (the first after the last), then every child that was already there.
  bool tick();
  // Places a character from a script (attachMovie, duplicateMovieClip...), replacing what
  // stands at `depth`; `command` carries the clip actions the new clip answers.
  DisplayObject* placeCharacter(const swf::Character* character, uint16_t characterId, const swf::PlaceCommand& command);
  // Exchanges what stands at two depths (either may be empty); objects keep their
  // addresses and belong to scripts from then on.
  void swapDepths(uint16_t a, uint16_t b);
  // Takes an object off the list; returns whether one stood there.
  bool removeAt(uint16_t depth);

 private:
  // Tells a new sprite, button or field where it stands.
  void adopt(DisplayObject& object);
  bool runFrame(int frame);
  // To any frame but the next: the frame's objects worked out from the first frame.
  bool jump(int frame);
  bool apply(const swf::FrameCommand& command);
  bool place(const swf::PlaceCommand& p);

  PlayContext& context_;
  const swf::Timeline& timeline_;
  int nesting_;
  int frame_ = -1;
  uint64_t ticks_ = 0;
  DisplayList objects_;
  SpriteInstance* parent_ = nullptr;
  DisplayObject* holder_ = nullptr;
  bool playing_ = true;
};

// A button shows the characters of one state; only the up state until input arrives.
class ButtonInstance : public Placement {
 public:
  ButtonInstance(PlayContext& context, const swf::ButtonCharacter& button, int nesting);
  ~ButtonInstance();
  ButtonInstance(const ButtonInstance&) = delete;
  ButtonInstance& operator=(const ButtonInstance&) = delete;
  const DisplayList& objects() const { return objects_; }
  const swf::ButtonCharacter& character() const { return button_; }
  // The shapes of the hit-test state, never drawn: where the pointer counts as over.
  const DisplayList& hitArea() const { return hitArea_; }
  uint8_t state() const { return state_; }
  bool setState(uint8_t state);
  bool tick();

 private:
  PlayContext& context_;
  const swf::ButtonCharacter& button_;
  int nesting_;
  uint8_t state_ = 0;
  DisplayList objects_;
  DisplayList hitArea_;
};

}  // namespace tvrl::player
