// The characters beyond plain shapes: text in a font, edit fields, morph shapes by
// ratio, and buttons showing their up state.
#include <gtest/gtest.h>

#include "player/render/text_renderer.h"
#include "player/text/text_layout.h"
#include "tests/player/test_movie.h"

namespace tvrl::player::test {
namespace {

using swf::Matrix;
using swf::writer::TagStream;

TEST(StaticText, GlyphsSitOnTheBaselineInTheRecordColour) {
  swf::TextCharacter text;
  swf::TextRecord r;
  r.fontId = 1;
  r.height = 5 * 20;  // 5 px em
  r.color = {0, 255, 0, 255};
  r.x = 2 * kTwips;
  r.y = 10 * kTwips;
  r.glyphs = {{0, 6 * 20}, {1, 5 * 20}};
  text.records = {r};
  TagStream tags;
  tags.add(swf::TagDefineFont2, swf::writer::defineFont(1, blockFont(), 2));
  tags.add(swf::TagDefineText2, swf::writer::defineText(2, text, 2));
  addPlace(tags, placeNew(2, 1));
  tags.showFrame();
  auto p = loadPlayer(tags, 20, 20);
  ASSERT_TRUE(p);
  Pixels px = draw(*p, 20, 20, kBlack, false);
  EXPECT_EQ(px.at(2, 5), 0xff00ff00u);   // block: x 2..7, y 5..10
  EXPECT_EQ(px.at(6, 9), 0xff00ff00u);
  EXPECT_EQ(px.at(7, 9), kBlack);
  EXPECT_EQ(px.at(2, 10), kBlack);
  EXPECT_EQ(px.at(8, 7), 0xff00ff00u);   // bar: x 8..9
  EXPECT_EQ(px.at(9, 7), kBlack);
}

TEST(EditText, LaysOutLinesWithTheEmbeddedFont) {
  swf::EditTextCharacter field;
  field.bounds = {0, 20 * 20, 0, 20 * 20};
  field.fontId = 1;
  field.fontHeight = 4 * 20;
  field.color = {255, 0, 0, 255};
  field.useOutlines = field.multiline = field.html = true;
  field.initialText = "<p>A</p><p>B&amp;</p>";
  TagStream tags;
  tags.add(swf::TagDefineFont2, swf::writer::defineFont(1, blockFont(), 2));
  tags.add(swf::TagDefineEditText, swf::writer::defineEditText(2, field));
  addPlace(tags, placeNew(2, 1));
  tags.showFrame();
  auto p = loadPlayer(tags, 20, 20);
  ASSERT_TRUE(p);
  Pixels px = draw(*p, 20, 20, kBlack, false);
  // Two pixels of gutter, then a 4 px em per line: 'A' at y 2..6, 'B' at y 6..10.
  EXPECT_EQ(px.at(2, 2), 0xffff0000u);
  EXPECT_EQ(px.at(5, 5), 0xffff0000u);
  EXPECT_EQ(px.at(6, 3), kBlack);
  EXPECT_EQ(px.at(2, 8), 0xffff0000u);
  EXPECT_EQ(px.at(4, 8), kBlack);  // the bar is thin; '&' has no glyph
  EXPECT_EQ(px.at(2, 11), kBlack);
}

TEST(EditText, TextStaysInsideTheFieldsBox) {
  swf::EditTextCharacter field;
  field.bounds = {0, 10 * 20, 0, 10 * 20};
  field.fontId = 1;
  field.fontHeight = 4 * 20;
  field.color = {255, 0, 0, 255};
  field.useOutlines = true;
  field.initialText = "AAA";  // 2 px gutter, then blocks at 2..6, 6..10 and 10..14
  TagStream tags;
  tags.add(swf::TagDefineFont2, swf::writer::defineFont(1, blockFont(), 2));
  tags.add(swf::TagDefineEditText, swf::writer::defineEditText(2, field));
  addPlace(tags, placeNew(2, 1));
  tags.showFrame();
  auto p = loadPlayer(tags, 20, 20);
  ASSERT_TRUE(p);
  Pixels px = draw(*p, 20, 20, kBlack, false);
  EXPECT_EQ(px.at(9, 3), 0xffff0000u);
  EXPECT_EQ(px.at(10, 3), kBlack);
  EXPECT_EQ(px.at(12, 3), kBlack);
}

TEST(EditText, VisibleTextDropsTagsAndDecodes) {
  EXPECT_EQ(visibleText("<p><font color=\"#ff0000\">a&lt;b</font></p><p>c</p>", true, 8), U"a<b\nc");
  EXPECT_EQ(visibleText("line<br>next", true, 8), U"line\nnext");
  EXPECT_EQ(visibleText("\xe4\xb8\xad", false, 8), U"\u4e2d");
  EXPECT_EQ(visibleText("\xe4", false, 5), std::u32string(1, char32_t(0xe4)));
}

TEST(MorphShape, DrawsTheShapeBetweenItsEndsByRatio) {
  swf::MorphShapeCharacter morph;
  morph.start = rectangleShape(0, 0, 4, 4, solidFill({255, 0, 0, 255}));
  morph.end = rectangleShape(10, 0, 14, 4, solidFill({0, 0, 255, 255}));
  TagStream tags;
  tags.add(swf::TagDefineMorphShape, swf::writer::defineMorphShape(1, morph, false));
  swf::PlaceCommand start = placeNew(1, 1);
  start.ratio = 0;
  addPlace(tags, start);
  tags.showFrame();
  swf::PlaceCommand half;
  half.depth = 1;
  half.move = true;
  half.ratio = 32768;
  addPlace(tags, half);
  tags.showFrame();
  auto p = loadPlayer(tags, 20, 20);
  ASSERT_TRUE(p);
  EXPECT_EQ(draw(*p, 20, 20, kBlack, false).at(1, 1), 0xffff0000u);
  EXPECT_TRUE(p->advance());
  Pixels px = draw(*p, 20, 20, kBlack, false);
  EXPECT_EQ(px.at(4, 1), kBlack);
  EXPECT_TRUE(near(px.at(6, 1), 0xff800080, 1));  // half way in place and colour
  EXPECT_EQ(px.at(9, 1), kBlack);
}

TEST(Button, ShowsItsUpStateWithItsColourTransform) {
  swf::ButtonCharacter button;
  swf::ColorTransform toBlue;
  toBlue.mulR = 0;
  toBlue.addB = 255;
  button.records = {{swf::ButtonUp, 1, 1, Matrix{}, toBlue},
                    {swf::ButtonOver | swf::ButtonDown, 2, 2, Matrix{}, swf::ColorTransform{}},
                    {swf::ButtonHitTest, 2, 3, Matrix{}, swf::ColorTransform{}}};
  TagStream tags;
  addShape(tags, 1, rectangleShape(0, 0, 5, 5, solidFill({255, 0, 0, 255})));
  addShape(tags, 2, rectangleShape(10, 0, 15, 5, solidFill({0, 255, 0, 255})));
  tags.add(swf::TagDefineButton2, swf::writer::defineButton(3, button, true));
  addPlace(tags, placeNew(3, 1));
  tags.showFrame();
  auto p = loadPlayer(tags, 20, 20);
  ASSERT_TRUE(p);
  Pixels px = draw(*p, 20, 20, kBlack, false);
  EXPECT_EQ(px.at(2, 2), 0xff0000ffu);
  EXPECT_EQ(px.at(12, 2), kBlack);
}

}  // namespace
}  // namespace tvrl::player::test
