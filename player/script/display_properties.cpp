// The built-in properties every display object shares (clips, buttons, text fields):
// position, scale, rotation, alpha, visibility, size, name, paths and the colour
// transform; and the names by which scripts reach them.
#include <algorithm>
#include <cctype>
#include <cmath>

#include "player/script/script_engine.h"
#include "player/timeline/display_bounds.h"
#include "player/timeline/text_field_instance.h"

namespace tvrl::player {

using avm1::Object;
using avm1::Value;

namespace {

constexpr double kTwips = 20;
constexpr double kDegrees = 180 / 3.14159265358979323846;

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

std::string lowerCase(std::string s) {
  for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return s;
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
  SpriteInstance* p = parentOf(clip);
  return p ? objectOf(*p) : nullptr;
}

Object* ScriptEngine::childClip(Object* clip, const std::string& name) {
  SpriteInstance* s = spriteOf(clip);
  if (!s) return nullptr;
  for (auto& [depth, object] : s->objects())
    if (!object.name.empty() && sameName(object.name, name))
      if (Object* o = objectOf(object)) return o;
  return nullptr;
}

std::string ScriptEngine::targetPath(Object* clip) {
  std::string path;
  for (const std::string& name : pathOf(clip)) path += "." + name;
  return "_level0" + path;
}

std::string ScriptEngine::slashPath(Object* clip) {
  std::string path;
  for (const std::string& name : pathOf(clip)) path += "/" + name;
  return path.empty() ? "/" : path;
}

std::vector<std::string> ScriptEngine::pathOf(Object* object) {
  std::vector<std::string> names;
  DisplayObject* h = holderOf(object);
  for (SpriteInstance* p = parentOf(object); h; h = p ? p->holder() : nullptr, p = p ? p->parent() : nullptr)
    names.push_back(h->name);
  std::reverse(names.begin(), names.end());
  return names;
}

bool ScriptEngine::getClipProperty(Object* clip, const std::string& rawName, Value& out) {
  DisplayObject* h = holderOf(clip);
  SpriteInstance* s = spriteOf(clip);
  if (!h && !s) return false;
  if (clip->kind == avm1::ObjectKind::TextField && getFieldProperty(*h->field, rawName, out)) return true;
  if (rawName.empty() || rawName[0] != '_') return false;
  // Built-in property names ignore case in every version.
  std::string name = lowerCase(rawName);
  static const swf::Matrix identity;
  const swf::Matrix& m = h ? h->matrix : identity;
  auto number = [&out](double v) { out = Value::from(v); return true; };
  auto text = [&out](std::string v) { out = Value::from(std::move(v)); return true; };
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
    bool any = h ? objectBounds(*h, swf::Matrix{}, r) : listBounds(s->objects(), m, r);
    if (!any) return number(0);
    return number((name == "_width" ? r.xMax - r.xMin : r.yMax - r.yMin) / kTwips);
  }
  if (name == "_name") return text(h ? h->name : std::string());
  if (name == "_target") return text(slashPath(clip));
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
    swf::Matrix space = s ? stageMatrix(s) : stageMatrix(parentOf(clip)) * m;
    swf::Point local = space.inverted().apply(mouse_);
    return number(std::round(name == "_xmouse" ? local.x / kTwips : local.y / kTwips));
  }
  if (name == "_url" || name == "_droptarget") return text("");
  if (name == "_highquality") return number(1);
  if (name == "_quality") return text("HIGH");
  if (name == "_focusrect") {
    out = Value::from(true);
    return true;
  }
  if (name == "_soundbuftime") return number(5);
  if (!s) return false;
  if (name == "_currentframe") return number(s->currentFrame() + 1);
  if (name == "_totalframes" || name == "_framesloaded") return number(s->frameCount());
  return false;
}

bool ScriptEngine::setClipProperty(Object* clip, const std::string& rawName, const Value& value) {
  DisplayObject* h = holderOf(clip);
  SpriteInstance* s = spriteOf(clip);
  if (!h && !s) return false;
  if (clip->kind == avm1::ObjectKind::TextField && setFieldProperty(*h->field, rawName, value)) return true;
  if (rawName.empty() || rawName[0] != '_') return false;
  std::string name = lowerCase(rawName);
  static const char* const readOnly[] = {"_currentframe", "_totalframes", "_framesloaded", "_target", "_parent",
                                         "_root", "_level0", "_xmouse", "_ymouse", "_url", "_droptarget"};
  for (const char* r : readOnly)
    if (name == r) return true;
  static const char* const globalSettings[] = {"_highquality", "_quality", "_focusrect", "_soundbuftime"};
  for (const char* g : globalSettings)
    if (name == g) return true;
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
  else if (h->field) resizeField(*h->field, name == "_width", v * kTwips);
  else {
    swf::Rect r;
    swf::Matrix unscaled = m;
    setTransform(unscaled, 1, 1, rotation(m));
    if (objectBounds(*h, unscaled * m.inverted(), r)) {
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

bool ScriptEngine::colorTransform(Object* object, swf::ColorTransform& out) {
  DisplayObject* h = holderOf(object);
  if (!h) return false;
  out = h->colorTransform;
  return true;
}

void ScriptEngine::setColorTransform(Object* object, const swf::ColorTransform& cx) {
  DisplayObject* h = holderOf(object);
  if (!h) return;
  h->colorTransform = cx;
  h->movedByScript = true;
  changed_ = true;
}

}  // namespace tvrl::player
