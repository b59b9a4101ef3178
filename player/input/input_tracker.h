// Mouse and keys for buttons and clips used as buttons: finds the top-most active
// object under the pointer (hit-test shapes, masks honoured), moves buttons between
// their up, over and down states, and runs the actions of each transition.
#pragma once

#include <vector>

#include "player/player_host.h"
#include "player/swf/geometry.h"

namespace tvrl::player {

class SpriteInstance;
class ButtonInstance;
struct DisplayObject;
class ScriptEngine;

class InputTracker {
 public:
  InputTracker(SpriteInstance& root, ScriptEngine& scripts);

  void setStageToView(const swf::Matrix& m) { viewToStage_ = m.inverted(); }
  // Coordinates in the view's pixels. Each returns whether anything visible changed.
  bool mouseMove(double x, double y);
  bool mouseDown(double x, double y);
  bool mouseUp(double x, double y);
  bool mouseLeave();
  bool key(int keyCode, bool down);
  // After a frame: what lies under a still pointer may have moved.
  bool refresh();
  // The hand over an active button, unless its script turned the hand off.
  Cursor cursor() const;

 private:
  // A button, or a clip used as one, and the timeline it sits in.
  struct Target {
    SpriteInstance* owner = nullptr;
    ButtonInstance* button = nullptr;
    SpriteInstance* clip = nullptr;
    bool active() const { return button || clip; }
    bool operator==(const Target& o) const { return button == o.button && clip == o.clip; }
    bool operator!=(const Target& o) const { return !(*this == o); }
  };

  Target find(swf::Point stage);
  bool findIn(SpriteInstance& sprite, const swf::Matrix& toStage, swf::Point stage, Target& out);
  bool alive(const Target& t);
  bool aliveIn(SpriteInstance& sprite, const Target& t);
  DisplayObject* holderOf(const Target& t);
  // Moves a target to a state and runs the transition's button actions or clip events.
  bool transition(const Target& t, uint8_t state, uint16_t condition, uint32_t clipEvent, const char* method);
  bool pointerAt(swf::Point stage, bool hasPointer);
  // Buttons answer key presses wherever the pointer is.
  void collectButtons(SpriteInstance& sprite, std::vector<Target>& out);

  SpriteInstance& root_;
  ScriptEngine& scripts_;
  swf::Matrix viewToStage_;
  swf::Point pointer_;
  bool hasPointer_ = false;
  bool buttonDown_ = false;
  Target over_;
  Target pressed_;
};

}  // namespace tvrl::player
