// Edit text fields from scripts: found by instance name, their text and box, the
// variable a field shows, fields made by createTextField, and redrawing changed text.
#include <gtest/gtest.h>

#include "tests/player/script_shorthand.h"
#include "tests/player/test_movie.h"

namespace tvrl::player::test {
namespace {

using Lines = std::vector<std::string>;
using swf::writer::TagStream;

constexpr uint32_t kRed = 0xffff0000;

// A 40 x 10 px field in the block font (4 px em, red) at (10, 20), named "label".
swf::EditTextCharacter blockField(const std::string& text, const std::string& variable = "") {
  swf::EditTextCharacter field;
  field.bounds = {0, 40 * 20, 0, 10 * 20};
  field.fontId = 1;
  field.fontHeight = 4 * 20;
  field.color = {255, 0, 0, 255};
  field.useOutlines = true;
  field.initialText = text;
  field.variableName = variable;
  return field;
}

TagStream fieldMovie(const swf::EditTextCharacter& field, const Assembler& frame1, const Assembler& frame2 = {}) {
  TagStream tags;
  tags.add(swf::TagDefineFont2, swf::writer::defineFont(1, blockFont(), 2));
  tags.add(swf::TagDefineEditText, swf::writer::defineEditText(2, field));
  swf::PlaceCommand p = placeNew(2, 1, swf::Matrix::translation(10 * kTwips, 20 * kTwips));
  p.name = "label";
  addPlace(tags, p);
  addActions(tags, frame1);
  tags.showFrame();
  addActions(tags, frame2);
  tags.showFrame();
  return tags;
}

TEST(TextField, ReachedByNameWithItsTextAndDisplayProperties) {
  Assembler a;
  a.push({"label"}).op(ActionGetVariable).op(ActionTypeOf).op(ActionTrace);
  for (const char* p : {"label", "label.text", "label.htmlText", "label._name", "label._parent", "label._x",
                        "label._y", "label._width", "label._height", "label._visible", "label.textColor",
                        "label.autoSize", "label.length"})
    trace(a, p);
  assign(a, "label.text", "BA");
  assign(a, "label._x", 30);
  assign(a, "label._alpha", 50);
  assign(a, "label.textColor", 0x00ff00);
  assign(a, "label._width", 60);
  for (const char* p : {"label.text", "label._x", "label._alpha", "label.textColor", "label._width", "label._xscale"})
    trace(a, p);
  RecordingHost host;
  auto player = loadScripted(fieldMovie(blockField("AB"), a), host);
  ASSERT_TRUE(player);
  EXPECT_EQ(host.lines, (Lines{"object", "_level0.label", "AB", "AB", "label", "_level0", "10", "20", "40", "10",
                               "true", "16711680", "none", "2", "BA", "30", "50", "65280", "60", "100"}));
  EXPECT_TRUE(host.warnings.empty());
}

TEST(TextField, HtmlTextIsShownWithoutItsMarkup) {
  swf::EditTextCharacter field = blockField("<p>A&amp;B</p>");
  field.html = true;
  Assembler a;
  trace(a, "label.text");
  trace(a, "label.htmlText");
  assign(a, "label.htmlText", "<b>AA</b>");
  trace(a, "label.text");
  assign(a, "label.text", "a<b");
  trace(a, "label.text");
  trace(a, "label.htmlText");
  RecordingHost host;
  auto player = loadScripted(fieldMovie(field, a), host);
  EXPECT_EQ(host.lines, (Lines{"A&B", "<p>A&amp;B</p>", "AA", "a<b", "a&lt;b"}));
}

TEST(TextField, ChangedTextIsRedrawn) {
  // Frame 2 empties the field; a goto back to frame 1 would not run frame 1's script.
  Assembler second;
  assign(second, "label.text", "");
  RecordingHost host;
  auto player = loadScripted(fieldMovie(blockField("AA"), Assembler(), second), host, 8, 60, 40);
  ASSERT_TRUE(player);
  // Two 4 px blocks from (12, 22): the field at (10, 20) plus the 2 px gutter.
  Pixels before = draw(*player, 60, 40, kBlack, false);
  EXPECT_EQ(before.at(12, 22), kRed);
  EXPECT_EQ(before.at(19, 25), kRed);
  EXPECT_EQ(before.at(20, 25), kBlack);
  EXPECT_TRUE(player->advance());
  Pixels after = draw(*player, 60, 40, kBlack, false);
  EXPECT_EQ(after.at(12, 22), kBlack);
}

TEST(TextField, ShowsItsVariableAndSetsItWhenItsTextIsSet) {
  // The field's initial text goes to the variable it names, which is then the text shown.
  Assembler first;
  trace(first, "score");
  assign(first, "score", 7);
  Assembler second;
  trace(second, "label.text");
  assign(second, "label.text", "B");
  trace(second, "score");
  assign(second, "score", "AAA");
  RecordingHost host;
  auto player = loadScripted(fieldMovie(blockField("A", "score"), first, second), host, 8, 60, 40);
  ASSERT_TRUE(player);
  player->advance();
  EXPECT_EQ(host.lines, (Lines{"A", "7", "B"}));
  // Three blocks drawn from the variable's new value.
  Pixels px = draw(*player, 60, 40, kBlack, false);
  EXPECT_EQ(px.at(12, 22), kRed);
  EXPECT_EQ(px.at(23, 25), kRed);
  EXPECT_EQ(px.at(24, 25), kBlack);
}

TEST(TextField, VariablePathsReachOtherTimelines) {
  // A field inside a clip shows _root.total; a field naming no existing variable keeps
  // its text until the variable is made.
  TagStream tags;
  tags.add(swf::TagDefineFont2, swf::writer::defineFont(1, blockFont(), 2));
  tags.add(swf::TagDefineEditText, swf::writer::defineEditText(2, blockField("", "_root.total")));
  TagStream inner;
  swf::PlaceCommand p = placeNew(2, 1);
  p.name = "sum";
  addPlace(inner, p);
  inner.showFrame();
  tags.add(swf::TagDefineSprite, swf::writer::defineSprite(3, inner));
  swf::PlaceCommand holder = placeNew(3, 1);
  holder.name = "panel";
  addPlace(tags, holder);
  Assembler a;
  assign(a, "total", 12);
  addActions(tags, a);
  tags.showFrame();
  Assembler b;
  trace(b, "panel.sum.text");
  trace(b, "panel.sum.variable");
  addActions(tags, b);
  tags.showFrame();
  RecordingHost host;
  auto player = loadScripted(tags, host);
  player->advance();
  EXPECT_EQ(host.lines, (Lines{"12", "_root.total"}));
}

TEST(TextField, CreateTextFieldMakesAFieldAtAScriptDepth) {
  Assembler a;
  call(a, "_root.createTextField", {"made", 5, 10, 20, 100, 30}).op(ActionTypeOf).op(ActionTrace);
  for (const char* p : {"made._x", "made._y", "made._width", "made._height", "made.text"}) trace(a, p);
  call(a, "made.getDepth").op(ActionTrace);
  assign(a, "made.text", "hello");
  trace(a, "made.text");
  run(a, "made.removeTextField");
  a.push({"made"}).op(ActionGetVariable).op(ActionTypeOf).op(ActionTrace);
  RecordingHost host;
  auto player = loadScripted(fieldMovie(blockField(""), a), host);
  EXPECT_EQ(host.lines, (Lines{"object", "10", "20", "100", "30", "", "5", "hello", "undefined"}));

  // Before version 8 the call gives nothing back, but the field is made.
  Assembler old;
  call(old, "_root.createTextField", {"made", 1, 0, 0, 10, 10}).op(ActionTypeOf).op(ActionTrace);
  old.push({"made"}).op(ActionGetVariable).op(ActionTypeOf).op(ActionTrace);
  EXPECT_EQ(traceOf(old, 7), (Lines{"undefined", "object"}));
}

TEST(TextField, AutoSizeFitsTheBoxToItsText) {
  struct Case {
    PushValue mode;
    const char* expected;  // autoSize, _width, _height after the text is set to "AAA"
  };
  const Case cases[] = {{"left", "left 16 8"}, {true, "left 16 8"}, {"center", "center 16 8"},
                        {"none", "none 40 10"}, {false, "none 40 10"}, {"sideways", "none 40 10"}};
  for (const Case& c : cases) {
    Assembler a;
    assign(a, "label.autoSize", c.mode);
    assign(a, "label.text", "AAA");
    // Three 4 px blocks and 2 px on each side; one 4 px line and 2 px above and below.
    value(a, "label.autoSize").push({" "}).op(ActionAdd2);
    value(a, "label._width").op(ActionAdd2).push({" "}).op(ActionAdd2);
    value(a, "label._height").op(ActionAdd2).op(ActionTrace);
    RecordingHost host;
    auto player = loadScripted(fieldMovie(blockField(""), a), host);
    EXPECT_EQ(host.lines, Lines{c.expected}) << c.expected;
  }
}

}  // namespace
}  // namespace tvrl::player::test
