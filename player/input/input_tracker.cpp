#include "player/input/input_tracker.h"

#include <vector>

#include "player/script/script_engine.h"
#include "player/timeline/display_bounds.h"

namespace tvrl::player {

InputTracker::InputTracker(SpriteInstance& root, ScriptEngine& scripts) : root_(root), scripts_(scripts) {}

bool InputTracker::findIn(SpriteInstance& sprite, const swf::Matrix& toStage, swf::Point stage, Target& out) {
  const DisplayList& list = sprite.objects();
  // Masks the point misses hide the depths they cover.
  std::vector<std::pair<uint16_t, uint16_t>> hiddenRanges;
  for (const auto& [depth, object] : list)
    if (object.clipDepth && !objectHitTest(object, toStage, stage)) hiddenRanges.emplace_back(depth, object.clipDepth);
  for (auto it = list.rbegin(); it != list.rend(); ++it) {
    const DisplayObject& object = it->second;
    if (!object.visible || object.clipDepth) continue;
    bool hidden = false;
    for (const auto& [from, to] : hiddenRanges) hidden |= it->first > from && it->first <= to;
    if (hidden) continue;
    swf::Matrix m = toStage * object.matrix;
    if (object.button && scripts_.buttonEnabled(*object.button) && listHitTest(object.button->hitArea(), m, stage)) {
      out = {&sprite, object.button.get(), nullptr};
      return true;
    }
    if (object.sprite) {
      if (scripts_.actsAsButton(*object.sprite)) {
        if (listHitTest(object.sprite->objects(), m, stage)) {
          out = {&sprite, nullptr, object.sprite.get()};
          return true;
        }
        continue;
      }
      if (findIn(*object.sprite, m, stage, out)) return true;
    }
  }
  return false;
}

InputTracker::Target InputTracker::find(swf::Point stage) {
  Target t;
  findIn(root_, swf::Matrix{}, stage, t);
  return t;
}

bool InputTracker::aliveIn(SpriteInstance& sprite, const Target& t) {
  for (auto& [depth, object] : sprite.objects()) {
    if (&sprite == t.owner && ((t.button && object.button.get() == t.button) || (t.clip && object.sprite.get() == t.clip)))
      return true;
    if (object.sprite && aliveIn(*object.sprite, t)) return true;
  }
  return false;
}

// Scripts may have removed what the pointer was over; a stale target is dropped unseen.
bool InputTracker::alive(const Target& t) { return t.active() && aliveIn(root_, t); }

DisplayObject* InputTracker::holderOf(const Target& t) {
  for (auto& [depth, object] : t.owner->objects())
    if ((t.button && object.button.get() == t.button) || (t.clip && object.sprite.get() == t.clip)) return &object;
  return nullptr;
}

bool InputTracker::transition(const Target& t, uint8_t state, uint16_t condition, uint32_t clipEvent, const char* method) {
  if (!alive(t)) return false;
  bool changed = false;
  if (t.button) {
    changed = t.button->setState(state);
    DisplayObject* holder = holderOf(t);
    if (holder) scripts_.buttonActions(*t.owner, *holder, condition);
    if (alive(t)) scripts_.buttonEvent(*t.button, method);
  } else {
    scripts_.clipEvent(*t.clip, clipEvent, method);
    scripts_.runQueued();
  }
  return scripts_.takeChanged() || changed;
}

bool InputTracker::pointerAt(swf::Point stage, bool hasPointer) {
  pointer_ = stage;
  hasPointer_ = hasPointer;
  scripts_.setMouse(stage);
  Target now = hasPointer ? find(stage) : Target{};
  if (!alive(over_)) over_ = {};
  if (!alive(pressed_)) pressed_ = {};
  if (now == over_) return false;
  bool changed = false;
  Target before = over_;
  over_ = now;
  if (buttonDown_ && pressed_.active()) {
    if (before == pressed_)
      changed |= transition(pressed_, swf::ButtonOver, swf::CondOverDownToOutDown, swf::ClipEventDragOut, "onDragOut");
    else if (now == pressed_)
      changed |= transition(pressed_, swf::ButtonDown, swf::CondOutDownToOverDown, swf::ClipEventDragOver, "onDragOver");
    return changed;
  }
  if (before.active()) changed |= transition(before, swf::ButtonUp, swf::CondOverUpToIdle, swf::ClipEventRollOut, "onRollOut");
  if (now.active()) changed |= transition(now, swf::ButtonOver, swf::CondIdleToOverUp, swf::ClipEventRollOver, "onRollOver");
  return changed;
}

bool InputTracker::mouseMove(double x, double y) {
  swf::Point stage = viewToStage_.apply({x, y});
  scripts_.setMouse(stage);
  // A press or release where the pointer already is does not move it.
  if (!hasPointer_ || stage.x != pointer_.x || stage.y != pointer_.y)
    scripts_.broadcastClipEvent(swf::ClipEventMouseMove);
  return pointerAt(stage, true) | scripts_.takeChanged();
}

bool InputTracker::mouseDown(double x, double y) {
  bool changed = mouseMove(x, y);
  buttonDown_ = true;
  scripts_.broadcastClipEvent(swf::ClipEventMouseDown);
  if (alive(over_)) {
    pressed_ = over_;
    changed |= transition(pressed_, swf::ButtonDown, swf::CondOverUpToOverDown, swf::ClipEventPress, "onPress");
  }
  return changed | scripts_.takeChanged();
}

bool InputTracker::mouseUp(double x, double y) {
  bool changed = mouseMove(x, y);
  buttonDown_ = false;
  scripts_.broadcastClipEvent(swf::ClipEventMouseUp);
  Target pressed = pressed_;
  pressed_ = {};
  if (alive(pressed)) {
    if (pressed == over_) {
      changed |= transition(pressed, swf::ButtonOver, swf::CondOverDownToOverUp, swf::ClipEventRelease, "onRelease");
    } else {
      changed |= transition(pressed, swf::ButtonUp, swf::CondOutDownToIdle, swf::ClipEventReleaseOutside, "onReleaseOutside");
      if (alive(over_))
        changed |= transition(over_, swf::ButtonOver, swf::CondIdleToOverUp, swf::ClipEventRollOver, "onRollOver");
    }
  }
  return changed | scripts_.takeChanged();
}

bool InputTracker::mouseLeave() { return pointerAt(pointer_, false); }

void InputTracker::collectButtons(SpriteInstance& sprite, std::vector<Target>& out) {
  for (auto& [depth, object] : sprite.objects()) {
    if (object.button) out.push_back({&sprite, object.button.get(), nullptr});
    if (object.sprite) collectButtons(*object.sprite, out);
  }
}

bool InputTracker::key(int keyCode, bool down) {
  scripts_.keyEvent(keyCode, down);
  if (down && keyCode > 0 && keyCode < 128) {
    // Listed first: the actions may change the lists being walked.
    std::vector<Target> buttons;
    collectButtons(root_, buttons);
    for (const Target& b : buttons)
      if (alive(b) && scripts_.buttonEnabled(*b.button))
        if (DisplayObject* holder = holderOf(b)) scripts_.buttonActions(*b.owner, *holder, static_cast<uint16_t>(keyCode << 9));
  }
  return scripts_.takeChanged();
}

Cursor InputTracker::cursor() const {
  return over_.active() && scripts_.showsHand(over_.button, over_.clip) ? Cursor::Hand : Cursor::Arrow;
}

bool InputTracker::refresh() { return hasPointer_ && pointerAt(pointer_, true); }

}  // namespace tvrl::player
