#include "player/timeline/display_list.h"

#include "player/timeline/sprite_instance.h"
#include "player/timeline/text_field_instance.h"

namespace tvrl::player {

namespace {
constexpr int kMaxNesting = 32;
}

DisplayObject::DisplayObject(PlayContext& context) : context_(&context) {
  ++context.liveObjects;
  ++context.madeInStep;
}

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
      ownedByScript(o.ownedByScript),
      placedFrame(o.placedFrame),
      sprite(std::move(o.sprite)),
      button(std::move(o.button)),
      field(std::move(o.field)),
      placedAtTick(o.placedAtTick),
      context_(o.context_) {
  o.context_ = nullptr;
}

DisplayObject::~DisplayObject() {
  // Children go first, while the context they count against is still known to live.
  sprite.reset();
  button.reset();
  field.reset();
  if (context_) --context_->liveObjects;
}

bool samePlacement(const DisplayObject& a, const DisplayObject& b) {
  return a.depth == b.depth && a.character == b.character && a.matrix == b.matrix &&
         a.colorTransform == b.colorTransform && a.ratio == b.ratio && a.clipDepth == b.clipDepth &&
         a.visible == b.visible;
}

bool sameChildren(const DisplayObject& a, const DisplayObject& b) {
  if (!a.sprite != !b.sprite || !a.button != !b.button || !a.field != !b.field) return false;
  if (a.field && !a.field->sameAppearance(*b.field)) return false;
  if (a.sprite && !sameAppearance(a.sprite->objects(), b.sprite->objects())) return false;
  return !a.button || sameAppearance(a.button->objects(), b.button->objects());
}

bool sameAppearance(const DisplayList& a, const DisplayList& b) {
  if (a.size() != b.size()) return false;
  for (auto ia = a.begin(), ib = b.begin(); ia != a.end(); ++ia, ++ib)
    if (!samePlacement(ia->second, ib->second) || !sameChildren(ia->second, ib->second)) return false;
  return true;
}

void instantiate(PlayContext& context, DisplayObject& object, int nesting) {
  object.sprite.reset();
  object.button.reset();
  object.field.reset();
  if (!object.character || nesting >= kMaxNesting) return;
  if (object.character->kind == swf::CharacterKind::Sprite) {
    const auto& sprite = static_cast<const swf::SpriteCharacter&>(*object.character);
    object.sprite = std::make_unique<SpriteInstance>(context, sprite.timeline, nesting + 1);
  } else if (object.character->kind == swf::CharacterKind::Button) {
    const auto& button = static_cast<const swf::ButtonCharacter&>(*object.character);
    object.button = std::make_unique<ButtonInstance>(context, button, nesting + 1);
  } else if (object.character->kind == swf::CharacterKind::EditText) {
    object.field = std::make_unique<TextFieldInstance>(context, static_cast<const swf::EditTextCharacter&>(*object.character));
  }
}

}  // namespace tvrl::player
