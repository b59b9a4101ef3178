// The script machine's view of clips: frames, clips made or removed by scripts, their
// depths, bounds and hit tests.
#include <algorithm>
#include <cctype>
#include <cmath>

#include "player/script/script_engine.h"
#include "player/timeline/display_bounds.h"

namespace tvrl::player {

using avm1::Object;
using avm1::Value;

namespace {
constexpr double kTwips = 20;
}  // namespace

void ScriptEngine::gotoFrame(Object* clip, int frame, bool play) {
  SpriteInstance* s = spriteOf(clip);
  if (!s) return;
  changed_ |= s->gotoFrame(std::max(0, frame));
  if (spriteOf(clip)) s->setPlaying(play);
}

bool ScriptEngine::gotoLabel(Object* clip, const std::string& label, bool play) {
  int frame = labelFrame(clip, label);
  if (frame < 0) return false;
  gotoFrame(clip, frame, play);
  return true;
}

int ScriptEngine::labelFrame(Object* clip, const std::string& label) {
  SpriteInstance* s = spriteOf(clip);
  if (!s) return -1;
  for (const auto& [name, frame] : s->timeline().labels)
    if (sameName(name, label)) return frame;
  return -1;
}

void ScriptEngine::setPlaying(Object* clip, bool playing) {
  if (SpriteInstance* s = spriteOf(clip)) s->setPlaying(playing);
}

void ScriptEngine::stepFrame(Object* clip, int delta) {
  SpriteInstance* s = spriteOf(clip);
  if (!s) return;
  gotoFrame(clip, s->currentFrame() + delta, false);
}

void ScriptEngine::callFrame(Object* clip, int frame) {
  if (SpriteInstance* s = spriteOf(clip)) runFrameActions(*s, frame);
}

void ScriptEngine::removeClip(Object* clip) {
  DisplayObject* h = holderOf(clip);
  SpriteInstance* p = parentOf(clip);
  // Only what stands at a script's depths (0 and up) can be removed.
  if (!h || !p || h->depth < kScriptDepthBase) return;
  p->removeAt(h->depth);
}

bool ScriptEngine::depthOf(Object* object, int& depth) {
  DisplayObject* h = holderOf(object);
  if (!h) return false;
  depth = h->depth - kScriptDepthBase;
  return true;
}

void ScriptEngine::swapDepths(Object* object, int depth) {
  DisplayObject* h = holderOf(object);
  SpriteInstance* p = parentOf(object);
  if (!h || !p) return;
  int to = std::clamp(depth + kScriptDepthBase, 0, 65535);
  if (to == h->depth) return;
  // Both now belong to scripts: the timeline no longer moves them.
  auto other = p->objects().find(static_cast<uint16_t>(to));
  if (other != p->objects().end()) other->second.movedByScript = true;
  h->movedByScript = true;
  p->swapDepths(h->depth, static_cast<uint16_t>(to));
  changed_ = true;
}

Object* ScriptEngine::instanceAtDepth(Object* parent, int depth) {
  SpriteInstance* s = spriteOf(parent);
  int at = depth + kScriptDepthBase;
  if (!s || at < 0 || at > 65535) return nullptr;
  auto it = s->objects().find(static_cast<uint16_t>(at));
  return it == s->objects().end() ? nullptr : objectOf(it->second);
}

int ScriptEngine::nextHighestDepth(Object* parent) {
  SpriteInstance* s = spriteOf(parent);
  if (!s || s->objects().empty()) return 0;
  return std::max(0, s->objects().rbegin()->first - kScriptDepthBase + 1);
}

Object* ScriptEngine::placeByScript(Object* parent, const swf::Character* character, uint16_t id,
                                    const std::string& name, int depth, const swf::PlaceCommand* like) {
  SpriteInstance* p = spriteOf(parent);
  if (!p || !character) return nullptr;
  swf::PlaceCommand command;
  command.depth = static_cast<uint16_t>(std::clamp(depth + kScriptDepthBase, 0, 65535));
  command.name = name;
  if (like) {
    command.matrix = like->matrix;
    command.colorTransform = like->colorTransform;
  }
  DisplayObject* object = p->placeCharacter(character, id, command);
  changed_ = true;
  return object ? objectOf(*object) : nullptr;
}

Object* ScriptEngine::duplicateClip(Object* clip, const std::string& name, int depth) {
  SpriteInstance* s = spriteOf(clip);
  if (!s || !s->parent() || !s->holder()) return nullptr;
  DisplayObject* h = s->holder();
  swf::PlaceCommand like;
  like.matrix = h->matrix;
  like.colorTransform = h->colorTransform;
  const std::vector<swf::ClipAction>* actions = info(*s).clipActions;
  Object* made = placeByScript(parentClip(clip), h->character, h->characterId, name, depth, &like);
  if (made) info(*spriteOf(made)).clipActions = actions;
  return made;
}

Object* ScriptEngine::createEmptyClip(Object* parent, const std::string& name, int depth) {
  return placeByScript(parent, &emptySprite_, 0, name, depth, nullptr);
}

Object* ScriptEngine::attachClip(Object* parent, const std::string& exportName, const std::string& name, int depth) {
  auto it = movie_.exports.find(exportName);
  if (it == movie_.exports.end()) {
    warn("attachMovie: nothing is exported as " + exportName);
    return nullptr;
  }
  const swf::Character* c = movie_.character(it->second);
  if (!c || c->kind != swf::CharacterKind::Sprite) return nullptr;
  attaching_ = true;
  Object* made = placeByScript(parent, c, it->second, name, depth, nullptr);
  attaching_ = false;
  return made;
}

bool ScriptEngine::clipBounds(Object* clip, Object* space, double& xMin, double& yMin, double& xMax, double& yMax) {
  SpriteInstance* s = spriteOf(clip);
  if (!s) return false;
  SpriteInstance* target = space ? spriteOf(space) : s;
  swf::Matrix m = (target ? stageMatrix(target).inverted() : swf::Matrix{}) * stageMatrix(s);
  swf::Rect r;
  if (!listBounds(s->objects(), m, r)) {
    xMin = yMin = xMax = yMax = 6710886.35;  // what Flash answers for an empty clip
    return true;
  }
  xMin = r.xMin / kTwips;
  yMin = r.yMin / kTwips;
  xMax = r.xMax / kTwips;
  yMax = r.yMax / kTwips;
  return true;
}

bool ScriptEngine::hitTestPoint(Object* clip, double x, double y, bool shapeFlag) {
  SpriteInstance* s = spriteOf(clip);
  if (!s) return false;
  swf::Point p{x * kTwips, y * kTwips};
  swf::Matrix m = stageMatrix(s);
  if (shapeFlag) return listHitTest(s->objects(), m, p);
  swf::Rect r;
  return listBounds(s->objects(), m, r) && p.x >= r.xMin && p.x <= r.xMax && p.y >= r.yMin && p.y <= r.yMax;
}

}  // namespace tvrl::player
