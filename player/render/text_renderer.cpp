#include "player/render/text_renderer.h"

#include <algorithm>
#include <cmath>

#include "player/timeline/text_field_instance.h"

namespace tvrl::player {

using swf::Matrix;

namespace {

const swf::FontCharacter* fontOf(const swf::Movie& movie, uint16_t id) {
  const swf::Character* c = movie.character(id);
  return c && c->kind == swf::CharacterKind::Font ? static_cast<const swf::FontCharacter*>(c) : nullptr;
}

void drawGlyph(ShapeRenderer& shapes, Canvas& canvas, const swf::FontCharacter& font, uint32_t index,
               const Matrix& glyphToDevice, swf::Rgba color, const swf::ColorTransform& cx) {
  if (index >= font.glyphs.size()) return;
  swf::FillStyle fill;
  fill.color = color;
  shapes.draw(canvas, font.glyphs[index], glyphToDevice, cx, &fill);
}

}  // namespace

void drawStaticText(ShapeRenderer& shapes, Canvas& canvas, const swf::Movie& movie, const swf::TextCharacter& text,
                    const Matrix& toDevice, const swf::ColorTransform& cx) {
  Matrix base = toDevice * text.matrix;
  for (const swf::TextRecord& r : text.records) {
    const swf::FontCharacter* font = fontOf(movie, r.fontId);
    if (!font) continue;
    double scale = r.height / font->emSize;
    double x = r.x;
    for (const swf::GlyphEntry& g : r.glyphs) {
      drawGlyph(shapes, canvas, *font, g.index, base * Matrix{scale, 0, 0, scale, x, r.y}, r.color, cx);
      x += g.advance;
    }
  }
}

void drawEditText(ShapeRenderer& shapes, Canvas& canvas, const TextFieldInstance& instance, const Matrix& toDevice,
                  const swf::ColorTransform& cx) {
  const swf::EditTextCharacter& field = instance.character();
  const swf::Rect& b = instance.bounds();
  if (field.border) {
    swf::Shape box;
    box.layers.emplace_back();
    swf::FillStyle white;
    white.color = {255, 255, 255, 255};
    swf::LineStyle black;
    box.layers[0].fills = {white};
    box.layers[0].lines = {black};
    box.layers[0].paths.push_back(swf::rectanglePath(b.xMin, b.yMin, b.xMax, b.yMax, 1, 1));
    shapes.draw(canvas, box, toDevice, cx);
  }
  if (!field.useOutlines) return;
  TextLayout layout = instance.layout();
  if (!layout.font) return;
  const swf::FontCharacter& font = *layout.font;
  auto advance = [&](uint32_t glyph) {
    return glyph < font.advances.size() ? font.advances[glyph] * layout.scale : field.fontHeight * 0.5;
  };
  const double left = b.xMin + kTextGutter + field.leftMargin;
  const double width = (b.xMax - b.xMin) - 2 * kTextGutter - field.leftMargin - field.rightMargin;

  // Text stays inside the field's box (its bounding box on the canvas, when rotated).
  double x0 = 1e9, y0 = 1e9, x1 = -1e9, y1 = -1e9;
  for (swf::Point corner : {swf::Point{double(b.xMin), double(b.yMin)}, swf::Point{double(b.xMax), double(b.yMin)},
                            swf::Point{double(b.xMin), double(b.yMax)}, swf::Point{double(b.xMax), double(b.yMax)}}) {
    swf::Point p = toDevice.apply(corner);
    x0 = std::min(x0, p.x), y0 = std::min(y0, p.y), x1 = std::max(x1, p.x), y1 = std::max(y1, p.y);
  }
  Canvas clipped = canvas;
  clipped.clip = canvas.clip.intersect({static_cast<int>(std::floor(std::clamp(x0, -1e9, 1e9))),
                                        static_cast<int>(std::floor(std::clamp(y0, -1e9, 1e9))),
                                        static_cast<int>(std::ceil(std::clamp(x1, -1e9, 1e9))),
                                        static_cast<int>(std::ceil(std::clamp(y1, -1e9, 1e9)))});

  const double scale = layout.scale;
  double baseline = b.yMin + kTextGutter + layout.ascent;
  for (size_t n = 0; n < layout.lines.size(); ++n) {
    const TextLine& line = layout.lines[n];
    double x = left + (n == 0 ? field.indent : 0);
    if (field.align == swf::TextAlign::Right) x = left + width - line.width;
    if (field.align == swf::TextAlign::Center) x = left + (width - line.width) / 2;
    for (uint32_t g : line.glyphs) {
      drawGlyph(shapes, clipped, font, g, toDevice * Matrix{scale, 0, 0, scale, x, baseline}, instance.color(), cx);
      x += advance(g);
    }
    baseline += layout.ascent + layout.descent + layout.leading;
  }
}

}  // namespace tvrl::player
