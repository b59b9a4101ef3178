#include "player/timeline/display_bounds.h"

#include <algorithm>
#include <cmath>

#include "player/timeline/sprite_instance.h"
#include "player/timeline/text_field_instance.h"

namespace tvrl::player {

namespace {

void include(swf::Rect& r, bool& any, const swf::Rect& local, const swf::Matrix& m) {
  const swf::Point corners[] = {{double(local.xMin), double(local.yMin)},
                                {double(local.xMax), double(local.yMin)},
                                {double(local.xMin), double(local.yMax)},
                                {double(local.xMax), double(local.yMax)}};
  for (const swf::Point& c : corners) {
    swf::Point p = m.apply(c);
    auto x = static_cast<int32_t>(std::lround(p.x)), y = static_cast<int32_t>(std::lround(p.y));
    if (!any) {
      r = {x, x, y, y};
      any = true;
    }
    r.xMin = std::min(r.xMin, x);
    r.xMax = std::max(r.xMax, x);
    r.yMin = std::min(r.yMin, y);
    r.yMax = std::max(r.yMax, y);
  }
}

const swf::Rect* characterRect(const swf::Character& c) {
  switch (c.kind) {
    case swf::CharacterKind::Shape: return &static_cast<const swf::ShapeCharacter&>(c).shape.bounds;
    case swf::CharacterKind::MorphShape: return &static_cast<const swf::MorphShapeCharacter&>(c).start.bounds;
    case swf::CharacterKind::Text: return &static_cast<const swf::TextCharacter&>(c).bounds;
    case swf::CharacterKind::EditText: return &static_cast<const swf::EditTextCharacter&>(c).bounds;
    default: return nullptr;
  }
}

// Signed crossings of a ray from `p` towards +x, for the edges that border fill `fill`.
int winding(const swf::ShapeLayer& layer, uint32_t fill, swf::Point p) {
  int w = 0;
  for (const swf::Path& path : layer.paths) {
    int side = (path.fill1 == fill ? 1 : 0) - (path.fill0 == fill ? 1 : 0);
    if (side == 0) continue;
    swf::Point from = path.start;
    for (const swf::Edge& e : path.edges) {
      // Curves are followed as short chords; plenty for a pointer test.
      int steps = e.curve ? 8 : 1;
      swf::Point a = from;
      for (int i = 1; i <= steps; ++i) {
        double t = static_cast<double>(i) / steps;
        swf::Point b = e.curve ? swf::Point{(1 - t) * (1 - t) * from.x + 2 * t * (1 - t) * e.control.x + t * t * e.to.x,
                                            (1 - t) * (1 - t) * from.y + 2 * t * (1 - t) * e.control.y + t * t * e.to.y}
                               : e.to;
        if ((a.y <= p.y) != (b.y <= p.y)) {
          double x = a.x + (p.y - a.y) * (b.x - a.x) / (b.y - a.y);
          if (x > p.x) w += (b.y > a.y ? 1 : -1) * side;
        }
        a = b;
      }
      from = e.to;
    }
  }
  return w;
}

bool shapeHit(const swf::Shape& shape, swf::Point p) {
  for (const swf::ShapeLayer& layer : shape.layers)
    for (uint32_t f = 1; f <= layer.fills.size(); ++f)
      if (winding(layer, f, p) != 0) return true;
  return false;
}

}  // namespace

swf::Matrix stageMatrix(const SpriteInstance* sprite) {
  swf::Matrix m;
  for (const SpriteInstance* s = sprite; s && s->holder(); s = s->parent()) m = s->holder()->matrix * m;
  return m;
}

bool objectHitTest(const DisplayObject& o, const swf::Matrix& toSpace, swf::Point point) {
  if (!o.character || !o.visible) return false;
  swf::Matrix m = toSpace * o.matrix;
  if (o.sprite) return listHitTest(o.sprite->objects(), m, point);
  if (o.button) return listHitTest(o.button->hitArea(), m, point);
  swf::Point local = m.inverted().apply(point);
  if (o.field) {
    const swf::Rect& r = o.field->bounds();
    return local.x >= r.xMin && local.x <= r.xMax && local.y >= r.yMin && local.y <= r.yMax;
  }
  switch (o.character->kind) {
    case swf::CharacterKind::Shape: return shapeHit(static_cast<const swf::ShapeCharacter&>(*o.character).shape, local);
    case swf::CharacterKind::MorphShape:
      return shapeHit(static_cast<const swf::MorphShapeCharacter&>(*o.character).start, local);
    default: {
      const swf::Rect* r = characterRect(*o.character);
      return r && local.x >= r->xMin && local.x <= r->xMax && local.y >= r->yMin && local.y <= r->yMax;
    }
  }
}

bool objectBounds(const DisplayObject& object, const swf::Matrix& toSpace, swf::Rect& out) {
  if (!object.character) return false;
  swf::Matrix m = toSpace * object.matrix;
  if (object.sprite) return listBounds(object.sprite->objects(), m, out);
  if (object.button) return listBounds(object.button->objects(), m, out);
  const swf::Rect* r = object.field ? &object.field->bounds() : characterRect(*object.character);
  if (!r) return false;
  bool any = false;
  include(out, any, *r, m);
  return any;
}

bool listBounds(const DisplayList& list, const swf::Matrix& toSpace, swf::Rect& out) {
  bool any = false;
  for (const auto& [depth, object] : list) {
    swf::Rect r;
    if (object.clipDepth || !objectBounds(object, toSpace, r)) continue;
    if (!any) {
      out = r;
      any = true;
    }
    out.xMin = std::min(out.xMin, r.xMin);
    out.xMax = std::max(out.xMax, r.xMax);
    out.yMin = std::min(out.yMin, r.yMin);
    out.yMax = std::max(out.yMax, r.yMax);
  }
  return any;
}

bool listHitTest(const DisplayList& list, const swf::Matrix& toSpace, swf::Point point) {
  // A mask that the point misses hides the depths it covers.
  uint16_t maskedUpTo = 0;
  for (const auto& [depth, object] : list) {
    if (depth <= maskedUpTo) continue;
    if (object.clipDepth) {
      if (!objectHitTest(object, toSpace, point)) maskedUpTo = object.clipDepth;
      continue;
    }
    if (objectHitTest(object, toSpace, point)) return true;
  }
  return false;
}

}  // namespace tvrl::player
