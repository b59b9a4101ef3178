// Buttons and clips as script objects: a named button's properties and handlers, the
// enabled and useHandCursor switches of buttons and of clips used as buttons, and the
// depth methods.
#include <gtest/gtest.h>

#include "player/timeline/sprite_instance.h"
#include "tests/player/script_shorthand.h"
#include "tests/player/test_movie.h"

namespace tvrl::player::test {
namespace {

using Lines = std::vector<std::string>;
using swf::writer::TagStream;

constexpr swf::Rgba kGrey{128, 128, 128, 255}, kGreen{0, 255, 0, 255}, kBlue{0, 0, 255, 255};

// A 40 x 40 grey button named "login" at (20, 20); `script` runs in frame 1.
TagStream namedButtonMovie(const Assembler& script) {
  TagStream tags;
  addShape(tags, 1, rectangleShape(0, 0, 40, 40, solidFill(kGrey)));
  swf::ButtonCharacter b;
  b.records = {{swf::ButtonUp | swf::ButtonOver | swf::ButtonDown | swf::ButtonHitTest, 1, 1, {}, {}}};
  b.actions = {{static_cast<uint16_t>(13 << 9), Assembler().push({"enter key"}).op(ActionTrace).bytes()}};
  tags.add(swf::TagDefineButton2, swf::writer::defineButton(2, b, true));
  swf::PlaceCommand p = placeNew(2, 1, swf::Matrix::translation(20 * kTwips, 20 * kTwips));
  p.name = "login";
  addPlace(tags, p);
  addActions(tags, script);
  tags.showFrame();
  return tags;
}

// handler: trace(name + " " + this._name)
Assembler traceHandler(const std::string& name) {
  Assembler h;
  h.push({name + " "});
  value(h, "this._name").op(ActionAdd2).op(ActionTrace);
  return h;
}

TEST(ButtonObject, NamedButtonsHaveDisplayProperties) {
  Assembler a;
  a.push({"login"}).op(ActionGetVariable).op(ActionTypeOf).op(ActionTrace);
  for (const char* p : {"login", "login._x", "login._y", "login._width", "login._height", "login._name",
                        "login._parent", "login._visible", "login._alpha", "login.enabled", "login.useHandCursor",
                        "login._target"})
    trace(a, p);
  assign(a, "login._xscale", 50);
  assign(a, "login._rotation", 90);
  assign(a, "login._x", 100);
  for (const char* p : {"login._xscale", "login._rotation", "login._height"}) trace(a, p);
  call(a, "login.getDepth").op(ActionTrace);
  RecordingHost host;
  auto player = loadScripted(namedButtonMovie(a), host);
  ASSERT_TRUE(player);
  EXPECT_EQ(host.lines, (Lines{"object", "_level0.login", "20", "20", "40", "40", "login", "_level0", "true", "100",
                               "true", "true", "/login", "50", "90", "20", "-16383"}));
  EXPECT_EQ(player->root().objects().at(1).matrix.tx, 100 * kTwips);
}

TEST(ButtonObject, HandlersFollowThePointer) {
  Assembler a;
  for (const char* h : {"onRollOver", "onRollOut", "onPress", "onRelease", "onReleaseOutside", "onDragOut", "onDragOver"})
    assignFunction(a, std::string("login.") + h, traceHandler(h));
  RecordingHost host;
  auto p = loadScripted(namedButtonMovie(a), host);
  p->mouseMove(30, 30);
  p->mouseDown(30, 30);
  p->mouseMove(150, 100);
  p->mouseMove(30, 30);
  p->mouseUp(30, 30);
  p->mouseDown(30, 30);
  p->mouseUp(150, 100);
  EXPECT_EQ(host.lines, (Lines{"onRollOver login", "onPress login", "onDragOut login", "onDragOver login",
                               "onRelease login", "onPress login", "onDragOut login", "onReleaseOutside login"}));
}

TEST(ButtonObject, EnabledAndHandCursorSwitches) {
  Assembler a;
  assignFunction(a, "login.onRelease", traceHandler("onRelease"));
  assign(a, "login.enabled", false);
  RecordingHost host;
  auto p = loadScripted(namedButtonMovie(a), host);
  p->mouseMove(30, 30);
  EXPECT_EQ(p->cursor(), Cursor::Arrow) << "a disabled button is not there for the pointer";
  p->mouseDown(30, 30);
  p->mouseUp(30, 30);
  p->keyDown(13);
  EXPECT_TRUE(host.lines.empty());

  // Enabled, with the hand turned off: it answers, under the arrow.
  RecordingHost second;
  Assembler b;
  assignFunction(b, "login.onRelease", traceHandler("onRelease"));
  assign(b, "login.useHandCursor", false);
  auto q = loadScripted(namedButtonMovie(b), second);
  q->mouseMove(30, 30);
  EXPECT_EQ(q->cursor(), Cursor::Arrow);
  q->mouseDown(30, 30);
  q->mouseUp(30, 30);
  q->keyDown(13);
  EXPECT_EQ(second.lines, (Lines{"onRelease login", "enter key"}));
}

// A 40 x 40 clip named "panel" at (20, 20) with an onRelease handler; `script` follows.
TagStream clipButtonMovie(const Assembler& script) {
  TagStream tags;
  addShape(tags, 1, rectangleShape(0, 0, 40, 40, solidFill(kGrey)));
  TagStream inner;
  addPlace(inner, placeNew(1, 1));
  inner.showFrame();
  tags.add(swf::TagDefineSprite, swf::writer::defineSprite(2, inner));
  swf::PlaceCommand p = placeNew(2, 1, swf::Matrix::translation(20 * kTwips, 20 * kTwips));
  p.name = "panel";
  addPlace(tags, p);
  Assembler a;
  assignFunction(a, "panel.onRelease", traceHandler("onRelease"));
  addActions(tags, a);
  addActions(tags, script);
  tags.showFrame();
  return tags;
}

TEST(ButtonObject, ClipsUsedAsButtonsHonourTheSameSwitches) {
  struct Case {
    const char* property;
    bool value;
    Cursor cursor;
    Lines lines;
  };
  const Case cases[] = {{"panel.enabled", true, Cursor::Hand, {"onRelease panel"}},
                        {"panel.enabled", false, Cursor::Arrow, {}},
                        {"panel.useHandCursor", false, Cursor::Arrow, {"onRelease panel"}}};
  for (const Case& c : cases) {
    Assembler a;
    assign(a, c.property, c.value);
    RecordingHost host;
    auto p = loadScripted(clipButtonMovie(a), host);
    p->mouseMove(30, 30);
    EXPECT_EQ(p->cursor(), c.cursor) << c.property << " " << c.value;
    p->mouseDown(30, 30);
    p->mouseUp(30, 30);
    EXPECT_EQ(host.lines, c.lines) << c.property << " " << c.value;
  }
}

// Three overlapping 40 x 40 squares at (0, 0): a grey clip at timeline depth 1, then
// a green and a blue one attached at script depths 5 and 7.
TagStream depthMovie(const Assembler& script) {
  TagStream tags;
  const swf::Rgba colours[] = {kGrey, kGreen, kBlue};
  for (uint16_t i = 0; i < 3; ++i) {
    addShape(tags, static_cast<uint16_t>(1 + i), rectangleShape(0, 0, 40, 40, solidFill(colours[i])));
    TagStream inner;
    addPlace(inner, placeNew(static_cast<uint16_t>(1 + i), 1));
    inner.showFrame();
    tags.add(swf::TagDefineSprite, swf::writer::defineSprite(static_cast<uint16_t>(10 + i), inner));
  }
  tags.add(swf::TagExportAssets, swf::writer::exportAssets({{"green", 11}, {"blue", 12}}));
  swf::PlaceCommand p = placeNew(10, 1);
  p.name = "grey";
  addPlace(tags, p);
  Assembler a;
  run(a, "attachMovie", {"green", "green", 5});
  run(a, "attachMovie", {"blue", "blue", 7});
  addActions(tags, a);
  addActions(tags, script);
  tags.showFrame();
  return tags;
}

TEST(ClipDepths, DepthsAsScriptsCountThem) {
  Assembler a;
  for (const char* clip : {"grey", "green", "blue"}) call(a, std::string(clip) + ".getDepth").op(ActionTrace);
  call(a, "getNextHighestDepth").op(ActionTrace);
  call(a, "getInstanceAtDepth", {5}).op(ActionTrace);
  call(a, "getInstanceAtDepth", {-16383}).op(ActionTrace);
  call(a, "getInstanceAtDepth", {6}).op(ActionTypeOf).op(ActionTrace);
  call(a, "green.getNextHighestDepth").op(ActionTrace);
  RecordingHost host;
  auto p = loadScripted(depthMovie(a), host);
  EXPECT_EQ(host.lines, (Lines{"-16383", "5", "7", "8", "_level0.green", "_level0.grey", "undefined", "0"}));
}

TEST(ClipDepths, SwapDepthsReordersWhatIsDrawn) {
  struct Case {
    const char* name;
    std::function<void(Assembler&)> script;
    uint32_t top;
    Lines depths;  // grey, green, blue
  };
  const Case cases[] = {
      {"nothing", [](Assembler&) {}, 0xff0000ffu, {"-16383", "5", "7"}},
      {"to a free depth", [](Assembler& a) { run(a, "green.swapDepths", {9}); }, 0xff00ff00u, {"-16383", "9", "7"}},
      {"with a clip", [](Assembler& a) { value(a, "blue"); callPushed(a, "grey.swapDepths", 1).op(ActionPop); },
       0xff808080u, {"7", "5", "-16383"}},
      {"to a taken depth", [](Assembler& a) { run(a, "green.swapDepths", {7}); }, 0xff00ff00u, {"-16383", "7", "5"}},
  };
  for (const Case& c : cases) {
    Assembler a;
    c.script(a);
    for (const char* clip : {"grey", "green", "blue"}) call(a, std::string(clip) + ".getDepth").op(ActionTrace);
    RecordingHost host;
    auto p = loadScripted(depthMovie(a), host);
    EXPECT_EQ(host.lines, c.depths) << c.name;
    EXPECT_EQ(draw(*p, 200, 150, kBlack, false).at(20, 20), c.top) << c.name;
  }
}

}  // namespace
}  // namespace tvrl::player::test
