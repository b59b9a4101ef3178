// Every tag the player reads, written with the project's writer and read back.
#include <gtest/gtest.h>

#include "player/swf/movie.h"
#include "player/swf/tag_codes.h"
#include "player/writer/shape_writer.h"
#include "player/writer/tag_stream.h"
#include "player/writer/tags.h"
#include "tests/player/model_equality.h"

namespace tvrl::swf {
namespace {

using writer::TagStream;

std::unique_ptr<Movie> load(const std::vector<uint8_t>& file) {
  LoadResult r = loadMovie(file.data(), file.size());
  EXPECT_EQ(r.error, "");
  EXPECT_TRUE(r.movie);
  if (r.movie) {
    EXPECT_TRUE(r.movie->warnings.empty()) << r.movie->warnings.front();
  }
  return std::move(r.movie);
}

std::unique_ptr<Movie> load(const TagStream& tags, uint8_t version = 8) {
  writer::MovieHeader h;
  h.version = version;
  return load(writer::writeMovie(h, tags));
}

template <typename T>
const T& characterAs(const Movie& m, uint16_t id, CharacterKind kind) {
  const Character* c = m.character(id);
  if (!c || c->kind != kind) throw std::runtime_error("character " + std::to_string(id) + " missing");
  return static_cast<const T&>(*c);
}

struct HeaderCase {
  uint8_t version;
  bool compressed;
};

class HeaderRoundTrip : public ::testing::TestWithParam<HeaderCase> {};

TEST_P(HeaderRoundTrip, KeepsSizeRateFramesAndBackground) {
  writer::MovieHeader h;
  h.version = GetParam().version;
  h.compressed = GetParam().compressed;
  h.frameSize = {0, 996 * 20, 0, 646 * 20};
  h.frameRate = 12.5;
  TagStream tags;
  tags.add(TagFileAttributes, writer::fileAttributes(0x08));
  tags.add(TagSetBackgroundColor, writer::setBackgroundColor({10, 20, 30, 255}));
  tags.add(TagFrameLabel, writer::frameLabel("start"));
  tags.showFrame();
  tags.add(TagFrameLabel, writer::frameLabel("second"));
  tags.showFrame();
  tags.showFrame();
  auto m = load(writer::writeMovie(h, tags));
  ASSERT_TRUE(m);
  EXPECT_EQ(m->version, h.version);
  EXPECT_EQ(m->compressed, h.compressed);
  EXPECT_EQ(m->frameSize, h.frameSize);
  EXPECT_DOUBLE_EQ(m->frameRate, 12.5);
  EXPECT_EQ(m->declaredFrameCount, 3);
  EXPECT_EQ(m->root.frames.size(), 3u);
  EXPECT_EQ(m->fileAttributes, 0x08u);
  ASSERT_TRUE(m->background);
  EXPECT_EQ(*m->background, (Rgba{10, 20, 30, 255}));
  EXPECT_EQ(m->root.labels.at("start"), 0);
  EXPECT_EQ(m->root.labels.at("second"), 1);
}

INSTANTIATE_TEST_SUITE_P(Versions, HeaderRoundTrip,
                         ::testing::Values(HeaderCase{1, false}, HeaderCase{5, false}, HeaderCase{6, true},
                                           HeaderCase{8, false}, HeaderCase{8, true}, HeaderCase{10, true}),
                         [](const ::testing::TestParamInfo<HeaderCase>& info) {
                           return "Version" + std::to_string(info.param.version) +
                                  (info.param.compressed ? "Compressed" : "Plain");
                         });

Gradient gradient(SpreadMode spread, Interpolation interp, uint8_t alpha) {
  Gradient g;
  g.spread = spread;
  g.interpolation = interp;
  g.stops = {{0, {255, 0, 0, alpha}}, {128, {0, 255, 0, 255}}, {255, {0, 0, 255, alpha}}};
  return g;
}

// A shape using every fill kind, lines, curves and a second style layer.
Shape richShape(int version) {
  uint8_t alpha = version >= 3 ? 128 : 255;
  Shape s;
  s.bounds = {-200, 2000, -100, 1500};
  ShapeLayer first;
  FillStyle solid;
  solid.color = {1, 2, 3, alpha};
  FillStyle linear;
  linear.kind = FillKind::LinearGradient;
  linear.matrix = {0.5, 0.25, -0.25, 0.5, 100, 200};
  linear.gradient = gradient(SpreadMode::Reflect, Interpolation::LinearRgb, alpha);
  FillStyle bitmap;
  bitmap.kind = FillKind::ClippedBitmapHard;
  bitmap.bitmapId = 7;
  bitmap.matrix = Matrix::scaling(20, 20);
  first.fills = {solid, linear, bitmap};
  LineStyle line;
  line.width = 40;
  line.color = {9, 8, 7, alpha};
  first.lines = {line};
  first.paths.push_back(rectanglePath(0, 0, 1000, 800, 1, 1));
  Path curved;
  curved.fill0 = 2;
  curved.fill1 = 3;
  curved.start = {-200, -100};
  Edge c;
  c.curve = true;
  c.control = {300, -100};
  c.to = {300, 400};
  Edge l;
  l.to = {-200, 400};
  Edge back;
  back.to = {-200, -100};
  curved.edges = {c, l, back};
  first.paths.push_back(curved);
  s.layers.push_back(first);
  if (version >= 2) {
    ShapeLayer second;
    FillStyle radial;
    radial.kind = version >= 4 ? FillKind::FocalRadialGradient : FillKind::RadialGradient;
    radial.gradient = gradient(SpreadMode::Repeat, Interpolation::Rgb, alpha);
    if (version >= 4) radial.gradient.focalPoint = -0.5;
    radial.matrix = Matrix::scaling(0.125, 0.125);
    second.fills = {radial};
    if (version >= 4) {
      LineStyle styled;
      styled.width = 100;
      styled.startCap = CapStyle::Square;
      styled.endCap = CapStyle::None;
      styled.join = JoinStyle::Miter;
      styled.miterLimit = 2.5;
      styled.hasFill = true;
      styled.fill = solid;
      second.lines = {styled};
    }
    second.paths.push_back(rectanglePath(500, 500, 2000, 1500, 1, version >= 4 ? 1 : 0));
    s.layers.push_back(second);
  }
  return s;
}

class ShapeRoundTrip : public ::testing::TestWithParam<int> {};

TEST_P(ShapeRoundTrip, KeepsStylesLayersAndEdges) {
  int version = GetParam();
  const uint16_t codes[] = {0, TagDefineShape, TagDefineShape2, TagDefineShape3, TagDefineShape4};
  Shape shape = richShape(version);
  TagStream tags;
  tags.add(codes[version], writer::defineShape(3, shape, version));
  tags.showFrame();
  auto m = load(tags);
  ASSERT_TRUE(m);
  const Shape& read = characterAs<ShapeCharacter>(*m, 3, CharacterKind::Shape).shape;
  EXPECT_EQ(read.bounds, shape.bounds);
  ASSERT_EQ(read.layers.size(), shape.layers.size());
  for (size_t i = 0; i < shape.layers.size(); ++i) {
    EXPECT_EQ(read.layers[i].fills, shape.layers[i].fills) << "layer " << i;
    EXPECT_EQ(read.layers[i].lines, shape.layers[i].lines) << "layer " << i;
    EXPECT_EQ(read.layers[i].paths, shape.layers[i].paths) << "layer " << i;
  }
}

INSTANTIATE_TEST_SUITE_P(AllVersions, ShapeRoundTrip, ::testing::Values(1, 2, 3, 4));

TEST(ShapeRoundTrip, ManyStylesUseTheExtendedCount) {
  Shape s;
  s.layers.emplace_back();
  for (int i = 0; i < 300; ++i) {
    FillStyle f;
    f.color = {uint8_t(i), 0, 0, 255};
    s.layers[0].fills.push_back(f);
  }
  s.layers[0].paths.push_back(rectanglePath(0, 0, 20, 20, 300));
  TagStream tags;
  tags.add(TagDefineShape3, writer::defineShape(1, s, 3));
  auto m = load(tags);
  ASSERT_TRUE(m);
  EXPECT_EQ(characterAs<ShapeCharacter>(*m, 1, CharacterKind::Shape).shape, s);
}

class MorphRoundTrip : public ::testing::TestWithParam<bool> {};

TEST_P(MorphRoundTrip, KeepsBothEnds) {
  bool version2 = GetParam();
  MorphShapeCharacter morph;
  morph.start = richShape(3);
  morph.start.layers.resize(1);
  morph.start.layers[0].fills.resize(2);
  morph.start.layers[0].paths[1].fill1 = 0;
  morph.end = morph.start;
  morph.end.bounds = {0, 4000, 0, 3000};
  ShapeLayer& e = morph.end.layers[0];
  e.fills[0].color = {200, 100, 50, 25};
  e.fills[1].matrix = Matrix::scaling(2, 2);
  e.fills[1].gradient.stops[1].ratio = 200;
  e.lines[0].width = 200;
  e.lines[0].color = {0, 0, 0, 255};
  for (Path& p : e.paths) {
    p.start.x += 100;
    for (Edge& edge : p.edges) edge.to.y += 50;
  }
  if (version2) {
    morph.start.layers[0].lines[0].join = JoinStyle::Bevel;
    e.lines[0].join = JoinStyle::Bevel;
  }
  TagStream tags;
  tags.add(version2 ? TagDefineMorphShape2 : TagDefineMorphShape, writer::defineMorphShape(4, morph, version2));
  auto m = load(tags);
  ASSERT_TRUE(m);
  const auto& read = characterAs<MorphShapeCharacter>(*m, 4, CharacterKind::MorphShape);
  EXPECT_EQ(read.start, morph.start);
  EXPECT_EQ(read.end, morph.end);
}

INSTANTIATE_TEST_SUITE_P(BothVersions, MorphRoundTrip, ::testing::Bool());

TEST(TimelineRoundTrip, KeepsPlaceRemoveAndSpriteFrames) {
  PlaceCommand full;
  full.depth = 5;
  full.characterId = 2;
  full.matrix = Matrix{1.5, 0.5, -0.5, 2, 300, -400};
  ColorTransform cx;
  cx.mulR = 128;
  cx.addA = -20;
  full.colorTransform = cx;
  full.ratio = 30000;
  full.name = "logo";
  full.clipDepth = 9;
  PlaceCommand move;
  move.depth = 5;
  move.move = true;
  move.matrix = Matrix::translation(20, 40);

  TagStream sprite;
  sprite.add(TagPlaceObject2, writer::placeObject2(full));
  sprite.showFrame();
  sprite.add(TagFrameLabel, writer::frameLabel("moved"));
  sprite.add(TagPlaceObject3, writer::placeObject2(move, true));
  sprite.showFrame();
  sprite.add(TagRemoveObject2, writer::removeObject2(5));
  sprite.showFrame();

  TagStream tags;
  tags.add(TagDefineSprite, writer::defineSprite(8, sprite));
  ColorTransform rgbOnly;
  rgbOnly.mulG = 64;
  tags.add(TagPlaceObject, writer::placeObject(8, 1, Matrix::translation(100, 100), &rgbOnly));
  tags.showFrame();
  tags.add(TagRemoveObject, writer::removeObject(8, 1));
  tags.showFrame();
  auto m = load(tags);
  ASSERT_TRUE(m);

  const auto& s = characterAs<SpriteCharacter>(*m, 8, CharacterKind::Sprite);
  ASSERT_EQ(s.timeline.frames.size(), 3u);
  ASSERT_EQ(s.timeline.frames[0].size(), 1u);
  EXPECT_EQ(s.timeline.frames[0][0].place, full);
  ASSERT_EQ(s.timeline.frames[1].size(), 1u);
  EXPECT_EQ(s.timeline.frames[1][0].place, move);
  EXPECT_EQ(s.timeline.labels.at("moved"), 1);
  ASSERT_EQ(s.timeline.frames[2].size(), 1u);
  EXPECT_EQ(s.timeline.frames[2][0].kind, FrameCommand::Kind::Remove);

  ASSERT_EQ(m->root.frames.size(), 2u);
  const PlaceCommand& p1 = m->root.frames[0].at(0).place;
  EXPECT_EQ(p1.characterId, 8);
  EXPECT_EQ(p1.depth, 1);
  EXPECT_EQ(p1.matrix, Matrix::translation(100, 100));
  EXPECT_EQ(p1.colorTransform, rgbOnly);
  EXPECT_EQ(m->root.frames[1].at(0).kind, FrameCommand::Kind::Remove);
  EXPECT_EQ(m->root.frames[1].at(0).place.depth, 1);
}

TEST(TimelineRoundTrip, KeepsExports) {
  TagStream tags;
  tags.add(TagDefineShape, writer::defineShape(1, Shape{}, 1));
  tags.add(TagExportAssets, writer::exportAssets({{"background", 1}, {"other", 2}}));
  auto m = load(tags);
  ASSERT_TRUE(m);
  EXPECT_EQ(m->exports, (std::map<std::string, uint16_t>{{"background", 1}, {"other", 2}}));
}

std::vector<Rgba> testPixels(int w, int h, bool translucent) {
  std::vector<Rgba> px;
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x)
      px.push_back({uint8_t(x * 40), uint8_t(y * 60), uint8_t((x + y) * 20), uint8_t(translucent && x == 0 ? 102 : 255)});
  return px;
}

uint32_t premultiplied(Rgba c) {
  auto pm = [&](uint8_t v) -> uint32_t { return (v * c.a + 127) / 255; };
  return uint32_t(c.a) << 24 | pm(c.r) << 16 | pm(c.g) << 8 | pm(c.b);
}

struct LosslessCase {
  int format;
  bool version2;
};

class LosslessRoundTrip : public ::testing::TestWithParam<LosslessCase> {};

TEST_P(LosslessRoundTrip, DecodesEveryPixel) {
  const int w = 5, h = 3;  // odd width exercises the row padding
  auto [format, version2] = GetParam();
  std::vector<Rgba> px = testPixels(w, h, version2);
  if (format == 4)
    for (Rgba& p : px) {
      auto expand5 = [](uint8_t c) { return uint8_t((c & 0xf8) | c >> 5); };  // what 5 bits can hold
      p = {expand5(p.r), expand5(p.g), expand5(p.b), 255};
    }
  TagStream tags;
  tags.add(version2 ? TagDefineBitsLossless2 : TagDefineBitsLossless, writer::defineBitsLossless(6, w, h, px, format, version2));
  auto m = load(tags);
  ASSERT_TRUE(m);
  const auto& b = characterAs<BitmapCharacter>(*m, 6, CharacterKind::Bitmap);
  ASSERT_EQ(b.width, w);
  ASSERT_EQ(b.height, h);
  for (size_t i = 0; i < px.size(); ++i) EXPECT_EQ(b.pixels[i], premultiplied(px[i])) << "pixel " << i;
}

INSTANTIATE_TEST_SUITE_P(Formats, LosslessRoundTrip,
                         ::testing::Values(LosslessCase{3, false}, LosslessCase{3, true}, LosslessCase{4, false},
                                           LosslessCase{5, false}, LosslessCase{5, true}),
                         [](const ::testing::TestParamInfo<LosslessCase>& info) {
                           return "Format" + std::to_string(info.param.format) + (info.param.version2 ? "WithAlpha" : "");
                         });

enum class JpegTag { Jpeg2, Jpeg3, BitsWithTables };

std::string jpegTagName(const ::testing::TestParamInfo<JpegTag>& info) {
  switch (info.param) {
    case JpegTag::Jpeg2: return "Jpeg2";
    case JpegTag::Jpeg3: return "Jpeg3";
    case JpegTag::BitsWithTables: return "BitsWithTables";
  }
  return "";
}

class JpegRoundTrip : public ::testing::TestWithParam<JpegTag> {};

TEST_P(JpegRoundTrip, DecodesColoursWithinJpegLoss) {
  const int w = 16, h = 8;
  std::vector<Rgba> px(w * h, Rgba{200, 60, 30, 255});
  for (int i = w * h / 2; i < w * h; ++i) px[i] = {20, 90, 220, 255};
  std::vector<uint8_t> jpeg = writer::encodeJpeg(w, h, px);
  TagStream tags;
  std::vector<uint8_t> alpha(w * h, 255);
  switch (GetParam()) {
    case JpegTag::Jpeg2: tags.add(TagDefineBitsJpeg2, writer::defineBitsJpeg2(2, jpeg)); break;
    case JpegTag::Jpeg3:
      std::fill(alpha.begin(), alpha.begin() + w * h / 2, 0);
      tags.add(TagDefineBitsJpeg3, writer::defineBitsJpeg3(2, jpeg, alpha));
      break;
    case JpegTag::BitsWithTables: {
      auto [tables, bits] = writer::defineBitsWithTables(2, jpeg);
      tags.add(TagJpegTables, tables);
      tags.add(TagDefineBits, bits);
      break;
    }
  }
  auto m = load(tags);
  ASSERT_TRUE(m);
  const auto& b = characterAs<BitmapCharacter>(*m, 2, CharacterKind::Bitmap);
  ASSERT_EQ(b.width, w);
  ASSERT_EQ(b.height, h);
  auto near = [](uint32_t got, Rgba want) {
    int dr = int(got >> 16 & 255) - want.r, dg = int(got >> 8 & 255) - want.g, db = int(got & 255) - want.b;
    return int(got >> 24) == want.a && std::abs(dr) <= 12 && std::abs(dg) <= 12 && std::abs(db) <= 12;
  };
  Rgba top = GetParam() == JpegTag::Jpeg3 ? Rgba{0, 0, 0, 0} : px[0];
  EXPECT_PRED2(near, b.pixels[w * 1 + 3], top);
  EXPECT_PRED2(near, b.pixels[w * 6 + 3], px.back());
}

INSTANTIATE_TEST_SUITE_P(Tags, JpegRoundTrip, ::testing::Values(JpegTag::Jpeg2, JpegTag::Jpeg3, JpegTag::BitsWithTables),
                         jpegTagName);

FontCharacter twoGlyphFont() {
  FontCharacter f;
  f.name = "Sans";
  f.bold = true;
  Shape square;
  square.layers.emplace_back();
  square.layers[0].paths.push_back(rectanglePath(0, -700, 500, 0, 1));
  Shape bar;
  bar.layers.emplace_back();
  bar.layers[0].paths.push_back(rectanglePath(0, -700, 100, 0, 0));
  bar.layers[0].paths[0].fill0 = 1;
  f.glyphs = {square, bar};
  f.codes = {'A', 0x4e2d};
  return f;
}

std::vector<Path> glyphPaths(const FontCharacter& f, size_t i) { return f.glyphs.at(i).layers.at(0).paths; }

class FontRoundTrip : public ::testing::TestWithParam<int> {};

TEST_P(FontRoundTrip, KeepsGlyphsCodesAndLayout) {
  int version = GetParam();
  FontCharacter font = twoGlyphFont();
  if (version >= 2) {
    font.ascent = 900;
    font.descent = 200;
    font.leading = 40;
    font.advances = {600, 200};
  }
  TagStream tags;
  if (version == 1) {
    tags.add(TagDefineFont, writer::defineFont(1, font, 1));
    tags.add(TagDefineFontInfo2, writer::defineFontInfo(1, font, true));
  } else {
    tags.add(version == 2 ? TagDefineFont2 : TagDefineFont3, writer::defineFont(1, font, version));
  }
  auto m = load(tags);
  ASSERT_TRUE(m);
  const auto& f = characterAs<FontCharacter>(*m, 1, CharacterKind::Font);
  EXPECT_EQ(f.name, "Sans");
  EXPECT_TRUE(f.bold);
  EXPECT_EQ(f.emSize, version == 3 ? 20480 : 1024);
  ASSERT_EQ(f.glyphs.size(), 2u);
  EXPECT_EQ(glyphPaths(f, 0), glyphPaths(font, 0));
  EXPECT_EQ(glyphPaths(f, 1), glyphPaths(font, 1));
  EXPECT_EQ(f.codes, font.codes);
  EXPECT_EQ(f.advances, font.advances);
  EXPECT_EQ(f.ascent, font.ascent);
}

TEST(PngRoundTrip, DefineBitsJpeg2CarriesAPngWithAlpha) {
  const int w = 5, h = 3;
  std::vector<Rgba> px = testPixels(w, h, true);
  px[7] = {0xff, 0xc4, 0xff, 0xd8};  // bytes a JPEG would read as markers
  TagStream tags;
  tags.add(TagDefineBitsJpeg2, writer::defineBitsJpeg2(2, writer::encodePng(w, h, px)));
  auto m = load(tags);
  ASSERT_TRUE(m);
  const auto& b = characterAs<BitmapCharacter>(*m, 2, CharacterKind::Bitmap);
  ASSERT_EQ(b.width, w);
  ASSERT_EQ(b.height, h);
  for (size_t i = 0; i < px.size(); ++i) EXPECT_EQ(b.pixels[i], premultiplied(px[i])) << "pixel " << i;
}

INSTANTIATE_TEST_SUITE_P(AllVersions, FontRoundTrip, ::testing::Values(1, 2, 3));

class FontInfoRoundTrip : public ::testing::TestWithParam<bool> {};

TEST_P(FontInfoRoundTrip, GivesTheGlyphsOfDefineFontTheirCodesAndStyle) {
  FontCharacter font = twoGlyphFont();
  font.name = "Serif";
  font.bold = false;
  font.italic = true;
  TagStream tags;
  tags.add(TagDefineFont, writer::defineFont(1, font, 1));
  tags.add(GetParam() ? TagDefineFontInfo2 : TagDefineFontInfo, writer::defineFontInfo(1, font, GetParam()));
  auto m = load(tags);
  ASSERT_TRUE(m);
  const auto& f = characterAs<FontCharacter>(*m, 1, CharacterKind::Font);
  EXPECT_EQ(f.name, "Serif");
  EXPECT_TRUE(f.italic);
  EXPECT_FALSE(f.bold);
  EXPECT_EQ(f.codes, font.codes);
}

INSTANTIATE_TEST_SUITE_P(BothVersions, FontInfoRoundTrip, ::testing::Bool());

class TextRoundTrip : public ::testing::TestWithParam<int> {};

TEST_P(TextRoundTrip, KeepsRecords) {
  int version = GetParam();
  TextCharacter text;
  text.bounds = {0, 4000, -300, 100};
  text.matrix = Matrix::translation(40, 60);
  TextRecord r;
  r.fontId = 1;
  r.height = 240;
  r.color = {10, 20, 30, uint8_t(version == 2 ? 128 : 255)};
  r.x = 20;
  r.y = 200;
  r.glyphs = {{0, 150}, {1, -30}, {0, 1000}};
  TextRecord second = r;
  second.y = 500;
  second.glyphs = {{1, 60}};
  text.records = {r, second};
  TagStream tags;
  tags.add(TagDefineFont2, writer::defineFont(1, twoGlyphFont(), 2));
  tags.add(version == 2 ? TagDefineText2 : TagDefineText, writer::defineText(2, text, version));
  auto m = load(tags);
  ASSERT_TRUE(m);
  const auto& t = characterAs<TextCharacter>(*m, 2, CharacterKind::Text);
  EXPECT_EQ(t.bounds, text.bounds);
  EXPECT_EQ(t.matrix, text.matrix);
  ASSERT_EQ(t.records.size(), 2u);
  for (size_t i = 0; i < 2; ++i) {
    EXPECT_EQ(t.records[i].fontId, 1);
    EXPECT_EQ(t.records[i].height, 240);
    EXPECT_EQ(t.records[i].color, r.color);
    EXPECT_EQ(t.records[i].x, text.records[i].x);
    EXPECT_EQ(t.records[i].y, text.records[i].y);
    ASSERT_EQ(t.records[i].glyphs.size(), text.records[i].glyphs.size());
    for (size_t g = 0; g < t.records[i].glyphs.size(); ++g) {
      EXPECT_EQ(t.records[i].glyphs[g].index, text.records[i].glyphs[g].index);
      EXPECT_EQ(t.records[i].glyphs[g].advance, text.records[i].glyphs[g].advance);
    }
  }
}

INSTANTIATE_TEST_SUITE_P(BothVersions, TextRoundTrip, ::testing::Values(1, 2));

TEST(EditTextRoundTrip, KeepsFontLayoutAndText) {
  EditTextCharacter field;
  field.bounds = {0, 2000, 0, 400};
  field.fontId = 1;
  field.fontHeight = 300;
  field.color = {1, 2, 3, 200};
  field.wordWrap = field.multiline = field.useOutlines = field.html = true;
  field.align = TextAlign::Center;
  field.leftMargin = 40;
  field.leading = -20;
  field.variableName = "user";
  field.initialText = "<p>hello</p>";
  TagStream tags;
  tags.add(TagDefineFont2, writer::defineFont(1, twoGlyphFont(), 2));
  tags.add(TagDefineEditText, writer::defineEditText(2, field));
  auto m = load(tags);
  ASSERT_TRUE(m);
  const auto& f = characterAs<EditTextCharacter>(*m, 2, CharacterKind::EditText);
  EXPECT_EQ(f.bounds, field.bounds);
  EXPECT_EQ(f.fontId, field.fontId);
  EXPECT_EQ(f.fontHeight, 300);
  EXPECT_EQ(f.color, field.color);
  EXPECT_TRUE(f.wordWrap && f.multiline && f.useOutlines && f.html);
  EXPECT_EQ(f.align, TextAlign::Center);
  EXPECT_EQ(f.leftMargin, 40);
  EXPECT_EQ(f.leading, -20);
  EXPECT_EQ(f.variableName, "user");
  EXPECT_EQ(f.initialText, "<p>hello</p>");
}

class ButtonRoundTrip : public ::testing::TestWithParam<bool> {};

TEST_P(ButtonRoundTrip, KeepsStateRecordsAndColourTransforms) {
  bool version2 = GetParam();
  ButtonCharacter button;
  ColorTransform cx;
  cx.mulB = 0;
  cx.addR = 40;
  button.records = {{ButtonUp | ButtonOver, 1, 1, Matrix::translation(20, 0), version2 ? cx : ColorTransform{}},
                    {ButtonDown | ButtonHitTest, 2, 2, Matrix::scaling(2, 2), ColorTransform{}}};
  TagStream tags;
  tags.add(version2 ? TagDefineButton2 : TagDefineButton, writer::defineButton(3, button, version2));
  if (!version2) tags.add(TagDefineButtonCxform, writer::defineButtonCxform(3, cx));
  auto m = load(tags);
  ASSERT_TRUE(m);
  const auto& b = characterAs<ButtonCharacter>(*m, 3, CharacterKind::Button);
  ASSERT_EQ(b.records.size(), 2u);
  for (size_t i = 0; i < 2; ++i) {
    EXPECT_EQ(b.records[i].states, button.records[i].states);
    EXPECT_EQ(b.records[i].characterId, button.records[i].characterId);
    EXPECT_EQ(b.records[i].depth, button.records[i].depth);
    EXPECT_EQ(b.records[i].matrix, button.records[i].matrix);
  }
  EXPECT_EQ(b.records[0].colorTransform, cx);
  EXPECT_EQ(b.records[1].colorTransform, version2 ? ColorTransform{} : cx);
}

INSTANTIATE_TEST_SUITE_P(BothVersions, ButtonRoundTrip, ::testing::Bool());

}  // namespace
}  // namespace tvrl::swf
