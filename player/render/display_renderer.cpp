#include "player/render/display_renderer.h"

#include "player/render/morph.h"
#include "player/render/text_renderer.h"
#include "player/timeline/sprite_instance.h"

namespace tvrl::player {

using swf::CharacterKind;

DisplayRenderer::DisplayRenderer(const swf::Movie& movie)
    : movie_(movie), shapes_([&movie](uint16_t id) -> const swf::BitmapCharacter* {
        const swf::Character* c = movie.character(id);
        return c && c->kind == CharacterKind::Bitmap ? static_cast<const swf::BitmapCharacter*>(c) : nullptr;
      }) {}

void DisplayRenderer::render(Canvas& canvas, const DisplayList& list, const swf::Matrix& toDevice) {
  shapes_.setPointBudget(ShapeRenderer::kPointsPerFrame);
  masksLeft_ = kMaxMasksPerFrame;
  draw(canvas, list, toDevice, swf::ColorTransform{});
}

void DisplayRenderer::draw(Canvas& canvas, const DisplayList& list, const swf::Matrix& toDevice,
                           const swf::ColorTransform& cx) {
  struct ActiveMask {
    uint16_t clipDepth;
    std::vector<uint8_t> coverage;  // empty: over budget, the masked depths are not drawn
  };
  std::vector<ActiveMask> masks;
  const uint8_t* outerMask = canvas.mask;
  for (const auto& [depth, object] : list) {
    while (!masks.empty() && masks.back().clipDepth < depth) masks.pop_back();
    canvas.mask = masks.empty() ? outerMask : masks.back().coverage.data();
    if (object.clipDepth > 0) {
      bool affordable = masksLeft_ > 0 && (masks.empty() || !masks.back().coverage.empty());
      if (affordable) --masksLeft_;
      masks.push_back({object.clipDepth, affordable ? renderMask(canvas, object, toDevice) : std::vector<uint8_t>{}});
      continue;
    }
    if (!masks.empty() && masks.back().coverage.empty()) continue;
    drawObject(canvas, object, toDevice, cx);
  }
  canvas.mask = outerMask;
}

// The mask's own shapes drawn opaque on a clear canvas; their alpha is the mask,
// already narrowed by any mask it sits under.
std::vector<uint8_t> DisplayRenderer::renderMask(const Canvas& canvas, const DisplayObject& object,
                                                 const swf::Matrix& toDevice) {
  std::vector<uint32_t> pixels(static_cast<size_t>(canvas.width) * canvas.height, 0);
  Canvas maskCanvas = canvas;
  maskCanvas.pixels = pixels.data();
  maskCanvas.stride = canvas.width;
  swf::ColorTransform opaque;
  opaque.mulA = 0;
  opaque.addA = 255;
  drawObject(maskCanvas, object, toDevice, opaque);
  std::vector<uint8_t> coverage(pixels.size());
  for (size_t i = 0; i < pixels.size(); ++i) coverage[i] = static_cast<uint8_t>(pixels[i] >> 24);
  return coverage;
}

void DisplayRenderer::drawObject(Canvas& canvas, const DisplayObject& object, const swf::Matrix& parent,
                                 const swf::ColorTransform& parentCx) {
  if (!object.character || !object.visible) return;
  swf::Matrix m = parent * object.matrix;
  swf::ColorTransform cx = parentCx * object.colorTransform;
  switch (object.character->kind) {
    case CharacterKind::Shape:
      shapes_.draw(canvas, static_cast<const swf::ShapeCharacter&>(*object.character).shape, m, cx);
      break;
    case CharacterKind::MorphShape:
      shapes_.draw(canvas,
                   interpolateMorph(static_cast<const swf::MorphShapeCharacter&>(*object.character), object.ratio / 65535.0),
                   m, cx);
      break;
    case CharacterKind::Text:
      drawStaticText(shapes_, canvas, movie_, static_cast<const swf::TextCharacter&>(*object.character), m, cx);
      break;
    case CharacterKind::EditText:
      if (object.field) drawEditText(shapes_, canvas, *object.field, m, cx);
      break;
    case CharacterKind::Sprite:
      if (object.sprite) draw(canvas, object.sprite->objects(), m, cx);
      break;
    case CharacterKind::Button:
      if (object.button) draw(canvas, object.button->objects(), m, cx);
      break;
    case CharacterKind::Bitmap:
    case CharacterKind::Font:
      break;  // not placeable on their own
  }
}

}  // namespace tvrl::player
