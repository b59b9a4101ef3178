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
  if (frame == frame_ + 1) return runFrame(frame);
  return jump(frame);
}

bool SpriteInstance::jump(int frame) {
  // What each timeline depth holds at `frame`: the tag that placed it, and every later
  // change merged in.
  struct Held {
    swf::PlaceCommand place;
    int frame;
    const swf::PlaceCommand* tag;  // the one that placed it: its clip actions stay with the movie
  };
  std::map<uint16_t, Held> held;
  for (int f = 0; f <= frame; ++f) {
    for (const swf::FrameCommand& c : timeline_.frames[f]) {
      const swf::PlaceCommand& p = c.place;
      auto it = held.find(p.depth);
      if (c.kind == swf::FrameCommand::Kind::Remove) {
        if (it != held.end()) held.erase(it);
      } else if (!p.move) {
        if (p.characterId && it == held.end()) held.emplace(p.depth, Held{p, f, &p});
      } else if (it != held.end()) {
        swf::PlaceCommand& h = it->second.place;
        if (p.characterId && *p.characterId != *h.characterId) {
          h.characterId = p.characterId;
          it->second.frame = f;
          it->second.tag = &p;
        }
        if (p.matrix) h.matrix = p.matrix;
        if (p.colorTransform) h.colorTransform = p.colorTransform;
        if (p.ratio) h.ratio = p.ratio;
        if (p.name) h.name = p.name;
        if (p.clipDepth) h.clipDepth = p.clipDepth;
      }
    }
  }
  frame_ = frame;
  bool changed = false;
  // The timeline's objects that the same tag placed stay; the others go. What stood only
  // in the frames jumped over is never made.
  for (auto it = objects_.begin(); it != objects_.end();) {
    const DisplayObject& o = it->second;
    auto h = held.find(it->first);
    bool keep = o.ownedByScript || (h != held.end() && h->second.frame == o.placedFrame &&
                                    h->second.place.characterId == o.characterId);
    uint16_t depth = it->first;
    ++it;
    if (!keep) changed |= removeAt(depth);
  }
  for (const auto& [depth, h] : held) {
    auto it = objects_.find(depth);
    if (it == objects_.end()) {
      // Made by its own tag; a character that a later tag changed comes without actions.
      if (!h.tag->move) {
        changed |= place(*h.tag);
      } else {
        swf::PlaceCommand fresh = h.place;
        fresh.move = false;
        fresh.clipActions.clear();
        changed |= place(fresh);
      }
      auto made = objects_.find(depth);
      if (made == objects_.end()) continue;
      made->second.placedFrame = h.frame;
    } else if (it->second.ownedByScript) {
      continue;
    }
    swf::PlaceCommand update = h.place;
    update.move = true;
    update.characterId.reset();
    update.clipActions.clear();
    changed |= place(update);
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
  removeAt(command.depth);
  if (!character || !context_.hasRoom()) return nullptr;
  DisplayObject fresh(context_);
  fresh.depth = command.depth;
  DisplayObject* object = &objects_.emplace(command.depth, std::move(fresh)).first->second;
  object->characterId = characterId;
  object->character = character;
  object->placedAtTick = ticks_;
  object->ownedByScript = true;
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
    node->mapped().ownedByScript = true;
    objects_.insert(std::move(*node));
  }
}

bool SpriteInstance::removeAt(uint16_t depth) {
  auto node = objects_.extract(depth);
  if (node.empty()) return false;
  if (context_.scripts) context_.scripts->objectRemoved(std::move(node));
  return true;
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
  if (command.kind == swf::FrameCommand::Kind::Remove) {
    auto it = objects_.find(command.place.depth);
    // What scripts own is theirs to remove.
    return it != objects_.end() && !it->second.ownedByScript && removeAt(command.place.depth);
  }
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
    object->placedFrame = frame_;
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
