#include "bench/login_scene.h"

#include <cmath>
#include <random>

#include "player/swf/tag_codes.h"
#include "player/writer/shape_builders.h"
#include "player/writer/shape_writer.h"
#include "player/writer/tag_stream.h"
#include "player/writer/tags.h"

namespace tvrl::bench {

using namespace swf;
using writer::circlePath;
using writer::linearGradientFill;
using writer::radialGradientFill;
using writer::roundedRectPath;
using writer::shapeOf;
using writer::solidFill;

namespace {

constexpr double kTwips = 20;

// Glyphs of a made-up alphabet: rings, bars and bowls, 1024 units to the em.
std::vector<Shape> alphabet() {
  std::vector<Shape> glyphs;
  for (int g = 0; g < 26; ++g) {
    Shape s;
    s.layers.emplace_back();
    s.layers[0].fills = {FillStyle{}};
    double w = 400 + (g % 5) * 60;
    Path outer = circlePath(w / 2, -300, w / 2);
    s.layers[0].paths.push_back(outer);
    Path hole = circlePath(w / 2, -300, w / 2 - 90);
    std::swap(hole.fill0, hole.fill1);  // the inside of the ring stays empty
    s.layers[0].paths.push_back(hole);
    if (g % 3 == 0) {
      Path bar = roundedRectPath(w - 90, -760, w, 0, 20, 0);
      s.layers[0].paths.push_back(bar);
    }
    glyphs.push_back(s);
  }
  return glyphs;
}

void addShapeAndPlace(writer::TagStream& tags, LoginScene& scene, uint16_t& id, uint16_t& depth, const Shape& s,
                      const Matrix& m = {}) {
  tags.add(TagDefineShape4, writer::defineShape(id, s, 4));
  PlaceCommand p;
  p.characterId = id++;
  p.depth = depth++;
  p.matrix = m;
  tags.add(TagPlaceObject2, writer::placeObject2(p));
  scene.drawOrder.push_back({s, m});
}

}  // namespace

LoginScene buildLoginScene() {
  LoginScene scene;
  writer::TagStream tags;
  uint16_t id = 1, depth = 1;

  // The background: a photograph-like bitmap covering the stage.
  std::vector<Rgba> pixels(kWidth * kHeight);
  std::mt19937 random(7);
  for (int y = 0; y < kHeight; ++y)
    for (int x = 0; x < kWidth; ++x) {
      int n = random() % 24;
      pixels[y * kWidth + x] = {uint8_t(30 + x * 120 / kWidth + n), uint8_t(60 + y * 100 / kHeight + n), uint8_t(140 + n), 255};
    }
  tags.add(TagDefineBitsLossless, writer::defineBitsLossless(100, kWidth, kHeight, pixels, 5, false));
  scene.background.width = kWidth;
  scene.background.height = kHeight;
  for (const Rgba& p : pixels) scene.background.pixels.push_back(0xff000000u | p.r << 16 | p.g << 8 | p.b);
  FillStyle photo;
  photo.kind = FillKind::ClippedBitmap;
  photo.bitmapId = 100;
  photo.matrix = Matrix::scaling(kTwips, kTwips);
  Path full = rectanglePath(0, 0, int32_t(kWidth * kTwips), int32_t(kHeight * kTwips), 1);
  addShapeAndPlace(tags, scene, id, depth, shapeOf(full, photo));

  // A dozen panels and ornaments.
  LineStyle edge;
  edge.width = 40;
  edge.color = {255, 255, 255, 160};
  addShapeAndPlace(tags, scene, id, depth,
                   shapeOf(roundedRectPath(560 * kTwips, 80 * kTwips, 940 * kTwips, 560 * kTwips, 16 * kTwips, 1),
                           linearGradientFill(560, 80, 940, 560, {20, 30, 60, 220}, {60, 80, 140, 220}), &edge));
  for (int i = 0; i < 4; ++i)
    addShapeAndPlace(tags, scene, id, depth,
                     shapeOf(circlePath((90 + i * 110) * kTwips, (120 + i * 70) * kTwips, (50 + i * 15) * kTwips),
                             radialGradientFill(90 + i * 110, 120 + i * 70, 50 + i * 15, {255, 220, 120, 200}, {255, 120, 0, 0})));
  for (int i = 0; i < 3; ++i)
    addShapeAndPlace(tags, scene, id, depth,
                     shapeOf(roundedRectPath(40 * kTwips, (420 + i * 60) * kTwips, 480 * kTwips, (460 + i * 60) * kTwips, 8 * kTwips, 0),
                             solidFill({255, 255, 255, uint8_t(60 + i * 30)})));
  addShapeAndPlace(tags, scene, id, depth,
                   shapeOf(roundedRectPath(590 * kTwips, 150 * kTwips, 910 * kTwips, 190 * kTwips, 6 * kTwips, 1),
                           solidFill({255, 255, 255, 255}), &edge));
  addShapeAndPlace(tags, scene, id, depth,
                   shapeOf(roundedRectPath(590 * kTwips, 220 * kTwips, 910 * kTwips, 260 * kTwips, 6 * kTwips, 1),
                           solidFill({255, 255, 255, 255}), &edge));
  addShapeAndPlace(tags, scene, id, depth,
                   shapeOf(rectanglePath(0, int32_t(600 * kTwips), int32_t(kWidth * kTwips), int32_t(kHeight * kTwips), 1),
                           linearGradientFill(0, 600, 0, 646, {0, 0, 0, 0}, {0, 0, 0, 200})));
  addShapeAndPlace(tags, scene, id, depth,
                   shapeOf(roundedRectPath(20 * kTwips, 20 * kTwips, 300 * kTwips, 70 * kTwips, 25 * kTwips, 1),
                           linearGradientFill(20, 20, 300, 70, {255, 200, 40, 255}, {220, 80, 20, 255}), &edge));

  // Six buttons, drawn in their up state.
  for (int b = 0; b < 6; ++b) {
    double x = 590 + (b % 2) * 165, y = 300 + (b / 2) * 70;
    Shape face = shapeOf(roundedRectPath(0, 0, 150 * kTwips, 50 * kTwips, 10 * kTwips, 1),
                         linearGradientFill(0, 0, 150, 50, {90, 170, 250, 255}, {30, 90, 200, 255}), &edge);
    uint16_t faceId = id++;
    tags.add(TagDefineShape4, writer::defineShape(faceId, face, 4));
    ButtonCharacter button;
    button.records = {{ButtonUp | ButtonHitTest, faceId, 1, Matrix{}, ColorTransform{}}};
    tags.add(TagDefineButton2, writer::defineButton(id, button, true));
    PlaceCommand p;
    p.characterId = id++;
    p.depth = depth++;
    p.matrix = Matrix::translation(x * kTwips, y * kTwips);
    tags.add(TagPlaceObject2, writer::placeObject2(p));
    scene.drawOrder.push_back({face, *p.matrix});
  }

  // Two hundred glyphs in four lines.
  FontCharacter font;
  font.glyphs = alphabet();
  for (int g = 0; g < 26; ++g) {
    font.codes.push_back(uint16_t('a' + g));
    font.advances.push_back(400 + (g % 5) * 60 + 120);
  }
  uint16_t fontId = id++;
  tags.add(TagDefineFont2, writer::defineFont(fontId, font, 2));
  TextCharacter text;
  text.bounds = {0, 500 * 20, 0, 200 * 20};
  for (int lineNo = 0; lineNo < 4; ++lineNo) {
    TextRecord r;
    r.fontId = fontId;
    r.height = 14 * 20;
    r.color = {255, 255, 255, 255};
    r.x = 40 * kTwips;
    r.y = (250 + lineNo * 36) * kTwips;
    double x = r.x;
    for (int i = 0; i < 50; ++i) {
      uint32_t g = (i * 7 + lineNo * 3) % 26;
      int32_t advance = int32_t(font.advances[g] * r.height / 1024);
      r.glyphs.push_back({g, advance});
      double scale = r.height / 1024.0;
      scene.drawOrder.push_back({font.glyphs[g], Matrix{scale, 0, 0, scale, x, r.y}});
      scene.drawOrder.back().shape.layers[0].fills[0].color = r.color;
      x += advance;
    }
    text.records.push_back(r);
  }
  tags.add(TagDefineText2, writer::defineText(id, text, 2));
  PlaceCommand t;
  t.characterId = id++;
  t.depth = depth++;
  t.matrix = Matrix{};
  tags.add(TagPlaceObject2, writer::placeObject2(t));
  tags.showFrame();

  writer::MovieHeader header;
  header.frameSize = {0, kWidth * 20, 0, kHeight * 20};
  header.compressed = true;
  scene.movie = writer::writeMovie(header, tags);
  return scene;
}

std::vector<uint8_t> buildLargeMovie(size_t bytes) {
  int side = static_cast<int>(std::sqrt(bytes / 3.0));  // three random bytes a pixel
  std::vector<Rgba> pixels(side * side);
  std::mt19937 random(11);
  for (Rgba& p : pixels) p = {uint8_t(random()), uint8_t(random()), uint8_t(random()), 255};
  writer::TagStream tags;
  tags.add(TagDefineBitsLossless, writer::defineBitsLossless(1, side, side, pixels, 5, false));
  FillStyle f;
  f.kind = FillKind::ClippedBitmap;
  f.bitmapId = 1;
  f.matrix = Matrix::scaling(kTwips, kTwips);
  Path full = rectanglePath(0, 0, int32_t(side * kTwips), int32_t(side * kTwips), 1);
  tags.add(TagDefineShape3, writer::defineShape(2, shapeOf(full, f), 3));
  PlaceCommand p;
  p.characterId = 2;
  p.depth = 1;
  tags.add(TagPlaceObject2, writer::placeObject2(p));
  tags.showFrame();
  writer::MovieHeader header;
  header.compressed = true;
  return writer::writeMovie(header, tags);
}

}  // namespace tvrl::bench
