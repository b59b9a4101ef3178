#include "player/timeline/display_list.h"

#include "player/timeline/sprite_instance.h"

namespace tvrl::player {

namespace {
constexpr int kMaxNesting = 32;
}

DisplayObject::DisplayObject(PlayContext& context) : context_(&context) { ++context.liveObjects; }

DisplayObject::DisplayObject(DisplayObject&& o) noexcept
    : depth(o.depth),
      characterId(o.characterId),
      character(o.character),
      matrix(o.matrix),
      colorTransform(o.colorTransform),
      ratio(o.ratio),
      name(std::move(o.name)),
      clipDepth(o.clipDepth),
      visible(o.visible),
      movedByScript(o.movedByScript),
      sprite(std::move(o.sprite)),
      button(std::move(o.button)),
      placedAtTick(o.placedAtTick),
      context_(o.context_) {
  o.context_ = nullptr;
}

DisplayObject::~DisplayObject() {
  // Children go first, while the context they count against is still known to live.
  sprite.reset();
  button.reset();
  if (context_) --context_->liveObjects;
}

bool sameAppearance(const DisplayList& a, const DisplayList& b) {
  if (a.size() != b.size()) return false;
  for (auto ia = a.begin(), ib = b.begin(); ia != a.end(); ++ia, ++ib) {
    const DisplayObject& x = ia->second;
    const DisplayObject& y = ib->second;
    if (x.depth != y.depth || x.character != y.character || x.matrix != y.matrix ||
        x.colorTransform != y.colorTransform || x.ratio != y.ratio || x.clipDepth != y.clipDepth ||
        x.visible != y.visible)
      return false;
    if (x.sprite && (!y.sprite || !sameAppearance(x.sprite->objects(), y.sprite->objects()))) return false;
    if (x.button && (!y.button || !sameAppearance(x.button->objects(), y.button->objects()))) return false;
  }
  return true;
}

void instantiate(PlayContext& context, DisplayObject& object, int nesting) {
  object.sprite.reset();
  object.button.reset();
  if (!object.character || nesting >= kMaxNesting) return;
  if (object.character->kind == swf::CharacterKind::Sprite) {
    const auto& sprite = static_cast<const swf::SpriteCharacter&>(*object.character);
    object.sprite = std::make_unique<SpriteInstance>(context, sprite.timeline, nesting + 1);
  } else if (object.character->kind == swf::CharacterKind::Button) {
    const auto& button = static_cast<const swf::ButtonCharacter&>(*object.character);
    object.button = std::make_unique<ButtonInstance>(context, button, nesting + 1);
  }
}

}  // namespace tvrl::player
