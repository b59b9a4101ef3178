// The script machine's view of clips: paths, built-in properties, frames, and clips
// made or removed by scripts.
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
constexpr double kDegrees = 180 / 3.14159265358979323846;
constexpr int kScriptDepthBase = 16384;  // depth 0 of a script is this depth of the file

double scaleX(const swf::Matrix& m) { return std::sqrt(m.a * m.a + m.b * m.b); }
double scaleY(const swf::Matrix& m) { return std::sqrt(m.c * m.c + m.d * m.d); }
double rotation(const swf::Matrix& m) { return std::atan2(m.b, m.a) * kDegrees; }

void setTransform(swf::Matrix& m, double sx, double sy, double degrees) {
  double r = degrees / kDegrees;
  // Keep a mirrored y axis mirrored.
  double flip = m.determinant() < 0 ? -1 : 1;
  m.a = sx * std::cos(r);
  m.b = sx * std::sin(r);
  m.c = -sy * std::sin(r) * flip;
  m.d = sy * std::cos(r) * flip;
}

// The matrix from a sprite's space to the stage.
swf::Matrix toStage(const SpriteInstance* sprite) {
  swf::Matrix m;
  for (const SpriteInstance* s = sprite; s && s->holder(); s = s->parent()) m = s->holder()->matrix * m;
  return m;
}

}  // namespace

bool ScriptEngine::sameName(const std::string& a, const std::string& b) const {
  if (movie_.version >= 7) return a == b;
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
         });
}

Object* ScriptEngine::rootClip() { return root_ ? objectOf(*root_) : nullptr; }

Object* ScriptEngine::parentClip(Object* clip) {
  SpriteInstance* s = spriteOf(clip);
  return s && s->parent() ? objectOf(*s->parent()) : nullptr;
}

Object* ScriptEngine::childClip(Object* clip, const std::string& name) {
  SpriteInstance* s = spriteOf(clip);
  if (!s) return nullptr;
  for (auto& [depth, object] : s->objects()) {
    if (object.name.empty() || !sameName(object.name, name)) continue;
    if (object.sprite) return objectOf(*object.sprite);
    if (object.button) {
      Object*& b = buttons_[object.button.get()];
      if (!b) b = vm_->make(avm1::ObjectKind::Plain, vm_->buttonProto);
      return b;
    }
  }
  return nullptr;
}

std::string ScriptEngine::targetPath(Object* clip) {
  std::string path;
  for (SpriteInstance* s = spriteOf(clip); s && s->holder(); s = s->parent()) path = "." + s->holder()->name + path;
  return "_level0" + path;
}

std::string ScriptEngine::slashPath(Object* clip) {
  std::string path;
  for (SpriteInstance* s = spriteOf(clip); s && s->holder(); s = s->parent()) path = "/" + s->holder()->name + path;
  return path.empty() ? "/" : path;
}

bool ScriptEngine::getClipProperty(Object* clip, const std::string& rawName, Value& out) {
  SpriteInstance* s = spriteOf(clip);
  if (!s) return false;
  std::string name = rawName;
  // Built-in property names ignore case in every version.
  for (char& c : name) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  static const swf::Matrix identity;
  DisplayObject* h = s->holder();
  const swf::Matrix& m = h ? h->matrix : identity;
  auto number = [&out](double v) { out = Value::from(v); return true; };
  if (name == "_x") return number(m.tx / kTwips);
  if (name == "_y") return number(m.ty / kTwips);
  if (name == "_xscale") return number(scaleX(m) * 100);
  if (name == "_yscale") return number(scaleY(m) * 100);
  if (name == "_rotation") return number(rotation(m));
  if (name == "_alpha") return number(h ? h->colorTransform.mulA / 256.0 * 100 : 100);
  if (name == "_visible") {
    out = Value::from(h ? h->visible : true);
    return true;
  }
  if (name == "_width" || name == "_height") {
    swf::Rect r;
    if (!listBounds(s->objects(), m, r)) return number(0);
    return number((name == "_width" ? r.xMax - r.xMin : r.yMax - r.yMin) / kTwips);
  }
  if (name == "_currentframe") return number(s->currentFrame() + 1);
  if (name == "_totalframes" || name == "_framesloaded") return number(s->frameCount());
  if (name == "_name") {
    out = Value::from(h ? h->name : std::string());
    return true;
  }
  if (name == "_target") {
    out = Value::from(slashPath(clip));
    return true;
  }
  if (name == "_parent") {
    Object* p = parentClip(clip);
    out = p ? Value::from(p) : Value::undefined();
    return true;
  }
  if (name == "_root" || name == "_level0") {
    out = Value::from(rootClip());
    return true;
  }
  if (name == "_xmouse" || name == "_ymouse") {
    swf::Point local = toStage(s).inverted().apply(mouse_);
    return number(std::round(name == "_xmouse" ? local.x / kTwips : local.y / kTwips));
  }
  if (name == "_url") {
    out = Value::from("");
    return true;
  }
  if (name == "_droptarget") {
    out = Value::from("");
    return true;
  }
  if (name == "_highquality") return number(1);
  if (name == "_quality") {
    out = Value::from("HIGH");
    return true;
  }
  if (name == "_focusrect") {
    out = Value::from(true);
    return true;
  }
  if (name == "_soundbuftime") return number(5);
  return false;
}

bool ScriptEngine::setClipProperty(Object* clip, const std::string& rawName, const Value& value) {
  SpriteInstance* s = spriteOf(clip);
  if (!s) return false;
  std::string name = rawName;
  for (char& c : name) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  static const char* const readOnly[] = {"_currentframe", "_totalframes", "_framesloaded", "_target", "_parent",
                                         "_root", "_level0", "_xmouse", "_ymouse", "_url", "_droptarget"};
  for (const char* r : readOnly)
    if (name == r) return true;
  static const char* const globalSettings[] = {"_highquality", "_quality", "_focusrect", "_soundbuftime"};
  for (const char* g : globalSettings)
    if (name == g) return true;
  DisplayObject* h = s->holder();
  static const char* const transforms[] = {"_x", "_y", "_xscale", "_yscale", "_rotation", "_alpha", "_visible",
                                           "_width", "_height", "_name"};
  if (std::find_if(std::begin(transforms), std::end(transforms), [&](const char* t) { return name == t; }) ==
      std::end(transforms))
    return false;
  if (!h) return true;  // the root stays where the stage puts it
  if (name == "_visible") {
    h->visible = vm_->toBoolean(value);
    changed_ = true;
    return true;
  }
  if (name == "_name") {
    h->name = vm_->toString(value);
    return true;
  }
  double v = vm_->toNumber(value);
  if (!std::isfinite(v)) return true;  // Flash ignores NaN and infinite sizes and positions
  h->movedByScript = true;
  swf::Matrix& m = h->matrix;
  if (name == "_x") m.tx = std::round(v * kTwips);
  else if (name == "_y") m.ty = std::round(v * kTwips);
  else if (name == "_xscale") setTransform(m, v / 100, scaleY(m), rotation(m));
  else if (name == "_yscale") setTransform(m, scaleX(m), v / 100, rotation(m));
  else if (name == "_rotation") setTransform(m, scaleX(m), scaleY(m), std::fmod(v, 360.0));
  else if (name == "_alpha") h->colorTransform.mulA = static_cast<int16_t>(std::clamp(v * 2.56, -32768.0, 32767.0));
  else if (name == "_width" || name == "_height") {
    swf::Rect r;
    swf::Matrix unscaled = m;
    setTransform(unscaled, 1, 1, rotation(m));
    if (listBounds(s->objects(), unscaled, r)) {
      double extent = (name == "_width" ? r.xMax - r.xMin : r.yMax - r.yMin) / kTwips;
      if (extent > 0) {
        if (name == "_width") setTransform(m, v / extent, scaleY(m), rotation(m));
        else setTransform(m, scaleX(m), v / extent, rotation(m));
      }
    }
  }
  changed_ = true;
  return true;
}

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
  SpriteInstance* s = spriteOf(clip);
  // Only clips that scripts placed (depth 0 and up to a script) can be removed.
  if (!s || !s->parent() || !s->holder() || s->holder()->depth < kScriptDepthBase) return;
  s->parent()->objects().erase(s->holder()->depth);
  changed_ = true;
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
  return object && object->sprite ? objectOf(*object->sprite) : nullptr;
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
  return placeByScript(parent, c, it->second, name, depth, nullptr);
}

bool ScriptEngine::clipBounds(Object* clip, Object* space, double& xMin, double& yMin, double& xMax, double& yMax) {
  SpriteInstance* s = spriteOf(clip);
  if (!s) return false;
  SpriteInstance* target = space ? spriteOf(space) : s;
  swf::Matrix m = (target ? toStage(target).inverted() : swf::Matrix{}) * toStage(s);
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
  swf::Matrix m = toStage(s);
  if (shapeFlag) return listHitTest(s->objects(), m, p);
  swf::Rect r;
  return listBounds(s->objects(), m, r) && p.x >= r.xMin && p.x <= r.xMax && p.y >= r.yMin && p.y <= r.yMax;
}

}  // namespace tvrl::player
