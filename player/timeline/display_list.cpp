#include "player/timeline/display_list.h"

#include "player/timeline/sprite_instance.h"

namespace tvrl::player {

namespace {
constexpr int kMaxNesting = 32;
constexpr size_t kMaxLiveInstances = 20000;
}

DisplayObject::DisplayObject() = default;
DisplayObject::DisplayObject(DisplayObject&&) noexcept = default;
DisplayObject& DisplayObject::operator=(DisplayObject&&) noexcept = default;
DisplayObject::~DisplayObject() = default;

bool sameAppearance(const DisplayList& a, const DisplayList& b) {
  if (a.size() != b.size()) return false;
  for (auto ia = a.begin(), ib = b.begin(); ia != a.end(); ++ia, ++ib) {
    const DisplayObject& x = ia->second;
    const DisplayObject& y = ib->second;
    if (x.depth != y.depth || x.character != y.character || x.matrix != y.matrix ||
        x.colorTransform != y.colorTransform || x.ratio != y.ratio || x.clipDepth != y.clipDepth)
      return false;
    if (x.sprite && (!y.sprite || !sameAppearance(x.sprite->objects(), y.sprite->objects()))) return false;
    if (x.button && (!y.button || !sameAppearance(x.button->objects(), y.button->objects()))) return false;
  }
  return true;
}

void instantiate(PlayContext& context, DisplayObject& object, int nesting) {
  object.sprite.reset();
  object.button.reset();
  if (!object.character || nesting >= kMaxNesting || context.liveInstances >= kMaxLiveInstances) return;
  if (object.character->kind == swf::CharacterKind::Sprite) {
    const auto& sprite = static_cast<const swf::SpriteCharacter&>(*object.character);
    object.sprite = std::make_unique<SpriteInstance>(context, sprite.timeline, nesting + 1);
  } else if (object.character->kind == swf::CharacterKind::Button) {
    const auto& button = static_cast<const swf::ButtonCharacter&>(*object.character);
    object.button = std::make_unique<ButtonInstance>(context, button, nesting + 1);
  }
}

}  // namespace tvrl::player
