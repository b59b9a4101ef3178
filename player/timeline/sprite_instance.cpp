#include "player/timeline/sprite_instance.h"

#include <algorithm>

#include "player/timeline/text_field_instance.h"
#include "player/timeline/timeline_scripts.h"

namespace tvrl::player {

SpriteInstance::SpriteInstance(PlayContext& context, const swf::Timeline& timeline, int nesting)
    : context_(context), timeline_(timeline), nesting_(nesting) {
  gotoFrame(0);
}

SpriteInstance::~SpriteInstance() {
  if (context_.scripts) context_.scripts->spriteDestroyed(*this);
}

bool SpriteInstance::gotoFrame(int frame) {
  frame = std::clamp(frame, 0, std::max(0, frameCount() - 1));
  if (frameCount() == 0 || frame == frame_) return false;
  if (context_.scripts) context_.scripts->frameEntered(*this, frame);
  if (frame > frame_) {
    bool changed = false;
    while (frame_ < frame) changed |= runFrame(frame_ + 1);
    return changed;
  }
  DisplayList before = std::move(objects_);
  objects_.clear();
  frame_ = -1;
  while (frame_ < frame) runFrame(frame_ + 1);
  // An object that is still there, with the same character at the same depth, lives
  // on: a sprite keeps playing where it was instead of starting over.
  bool changed = before.size() != objects_.size();
  for (auto& [depth, now] : objects_) {
    auto old = before.find(depth);
    if (old == before.end() || old->second.character != now.character) {
      changed = true;
      continue;
    }
    if (!samePlacement(old->second, now)) changed = true;
    now.sprite = std::move(old->second.sprite);
    now.button = std::move(old->second.button);
    now.field = std::move(old->second.field);
    adopt(now);  // the old holder goes with `before`
    now.placedAtTick = old->second.placedAtTick;
  }
  return changed;
}

bool SpriteInstance::gotoLabel(const std::string& label) {
  auto it = timeline_.labels.find(label);
  return it != timeline_.labels.end() && gotoFrame(it->second);
}

bool SpriteInstance::tick() {
  ++ticks_;
  bool changed = false;
  if (playing_ && frameCount() > 1) changed = gotoFrame(frame_ + 1 < frameCount() ? frame_ + 1 : 0);
  for (auto& [depth, object] : objects_) {
    if (object.placedAtTick == ticks_) continue;
    if (object.sprite) changed |= object.sprite->tick();
    if (object.button) changed |= object.button->tick();
  }
  return changed;
}

DisplayObject* SpriteInstance::placeCharacter(const swf::Character* character, uint16_t characterId,
                                              const swf::PlaceCommand& command) {
  objects_.erase(command.depth);
  if (!character || !context_.hasRoom()) return nullptr;
  DisplayObject fresh(context_);
  fresh.depth = command.depth;
  DisplayObject* object = &objects_.emplace(command.depth, std::move(fresh)).first->second;
  object->characterId = characterId;
  object->character = character;
  object->placedAtTick = ticks_;
  if (command.matrix) object->matrix = *command.matrix;
  if (command.colorTransform) object->colorTransform = *command.colorTransform;
  if (command.name) object->name = *command.name;
  instantiate(context_, *object, nesting_);
  adopt(*object);
  if (context_.scripts && (object->sprite || object->button || object->field))
    context_.scripts->objectPlaced(*this, *object, command);
  return object;
}

void SpriteInstance::swapDepths(uint16_t a, uint16_t b) {
  auto first = objects_.extract(a), second = objects_.extract(b);
  for (auto* node : {&first, &second}) {
    if (node->empty()) continue;
    uint16_t to = node == &first ? b : a;
    node->key() = to;
    node->mapped().depth = to;
    objects_.insert(std::move(*node));
  }
}

void SpriteInstance::adopt(DisplayObject& object) {
  if (object.sprite) {
    object.sprite->parent_ = this;
    object.sprite->holder_ = &object;
  }
  if (object.button) object.button->setPlace(this, &object);
  if (object.field) object.field->setPlace(this, &object);
}

bool SpriteInstance::runFrame(int frame) {
  frame_ = frame;
  bool changed = false;
  for (const swf::FrameCommand& command : timeline_.frames[frame]) changed |= apply(command);
  return changed;
}

bool SpriteInstance::apply(const swf::FrameCommand& command) {
  if (command.kind == swf::FrameCommand::Kind::Remove) return objects_.erase(command.place.depth) > 0;
  return place(command.place);
}

bool SpriteInstance::place(const swf::PlaceCommand& p) {
  auto it = objects_.find(p.depth);
  DisplayObject* object;
  bool changed = false;
  if (!p.move) {
    // Placing a new object needs a character; a taken depth is left alone.
    if (!p.characterId || it != objects_.end() || !context_.hasRoom()) return false;
    DisplayObject fresh(context_);
    fresh.depth = p.depth;
    object = &objects_.emplace(p.depth, std::move(fresh)).first->second;
    changed = true;
  } else {
    if (it == objects_.end()) return false;
    object = &it->second;
  }
  if (p.characterId && (!p.move || *p.characterId != object->characterId) && context_.hasRoom()) {
    object->characterId = *p.characterId;
    object->character = context_.movie.character(*p.characterId);
    object->placedAtTick = ticks_;
    instantiate(context_, *object, nesting_);
    adopt(*object);
    if (p.name) object->name = *p.name;
    if (context_.scripts && (object->sprite || object->button || object->field))
      context_.scripts->objectPlaced(*this, *object, p);
    changed = true;
  }
  auto set = [&changed](auto& field, const auto& value) {
    if (field != value) {
      field = value;
      changed = true;
    }
  };
  // Once a script has moved an object, the timeline no longer does.
  if (p.matrix && !object->movedByScript) set(object->matrix, *p.matrix);
  if (p.colorTransform && !object->movedByScript) set(object->colorTransform, *p.colorTransform);
  if (p.ratio) set(object->ratio, *p.ratio);
  if (p.clipDepth) set(object->clipDepth, *p.clipDepth);
  if (p.name) object->name = *p.name;
  return changed;
}

ButtonInstance::ButtonInstance(PlayContext& context, const swf::ButtonCharacter& button, int nesting)
    : context_(context), button_(button), nesting_(nesting) {
  setState(swf::ButtonUp);
  for (const swf::ButtonRecord& r : button_.records) {
    if (!(r.states & swf::ButtonHitTest) || !context_.hasRoom()) continue;
    DisplayObject object(context_);
    object.depth = r.depth;
    object.characterId = r.characterId;
    object.character = context_.movie.character(r.characterId);
    object.matrix = r.matrix;
    instantiate(context_, object, nesting_);
    hitArea_.emplace(r.depth, std::move(object));
  }
}

ButtonInstance::~ButtonInstance() {
  if (context_.scripts) context_.scripts->buttonDestroyed(*this);
}

bool ButtonInstance::setState(uint8_t state) {
  if (state == state_) return false;
  state_ = state;
  DisplayList before = std::move(objects_);
  objects_.clear();
  for (const swf::ButtonRecord& r : button_.records) {
    // The first record at a depth wins, as for placing on a timeline.
    if (!(r.states & state) || objects_.count(r.depth)) continue;
    if (!context_.hasRoom()) break;
    DisplayObject& object = objects_.emplace(r.depth, DisplayObject(context_)).first->second;
    object.depth = r.depth;
    object.characterId = r.characterId;
    object.character = context_.movie.character(r.characterId);
    object.matrix = r.matrix;
    object.colorTransform = r.colorTransform;
    instantiate(context_, object, nesting_);
  }
  return !sameAppearance(before, objects_);
}

bool ButtonInstance::tick() {
  bool changed = false;
  for (auto& [depth, object] : objects_)
    if (object.sprite) changed |= object.sprite->tick();
  return changed;
}

}  // namespace tvrl::player
