// Buttons driven by scripted input: states, hit areas, masks, the view's scale, the
// actions of each transition, clips used as buttons, keys and the cursor.
#include <gtest/gtest.h>

#include "player/timeline/sprite_instance.h"
#include "tests/player/script_movie.h"
#include "tests/player/test_movie.h"

namespace tvrl::player::test {
namespace {

using Lines = std::vector<std::string>;
using swf::writer::TagStream;

constexpr swf::Rgba kGrey{128, 128, 128, 255}, kGreen{0, 255, 0, 255}, kBlue{0, 0, 255, 255};

Assembler say(const std::string& line) { return std::move(Assembler().push({line}).op(ActionTrace)); }

// A 40 x 40 button at (20, 20): grey when up, green when over, blue when down.
TagStream buttonMovie(bool masked = false) {
  TagStream tags;
  addShape(tags, 1, rectangleShape(0, 0, 40, 40, solidFill(kGrey)));
  addShape(tags, 2, rectangleShape(0, 0, 40, 40, solidFill(kGreen)));
  addShape(tags, 3, rectangleShape(0, 0, 40, 40, solidFill(kBlue)));
  swf::ButtonCharacter b;
  b.records = {{swf::ButtonUp | swf::ButtonHitTest, 1, 1, {}, {}}, {swf::ButtonOver, 2, 1, {}, {}},
               {swf::ButtonDown, 3, 1, {}, {}}};
  b.actions = {{swf::CondIdleToOverUp, say("over").bytes()},
               {swf::CondOverUpToIdle, say("out").bytes()},
               {swf::CondOverUpToOverDown, say("press").bytes()},
               {swf::CondOverDownToOverUp, say("release").getUrl("FSCommand:login", "").bytes()},
               {swf::CondOutDownToIdle, say("release outside").bytes()},
               {static_cast<uint16_t>(13 << 9), say("enter key").bytes()}};
  tags.add(swf::TagDefineButton2, swf::writer::defineButton(4, b, true));
  if (masked) {
    // A mask over the button's left half only.
    addShape(tags, 5, rectangleShape(20, 20, 40, 60, solidFill(kGrey)));
    swf::PlaceCommand mask = placeNew(5, 1);
    mask.clipDepth = 2;
    addPlace(tags, mask);
  }
  addPlace(tags, placeNew(4, 2, swf::Matrix::translation(20 * kTwips, 20 * kTwips)));
  tags.showFrame();
  return tags;
}

const ButtonInstance& button(const Player& p) { return *p.root().objects().at(2).button; }

TEST(ButtonInput, StatesActionsAndCursorThroughAClick) {
  RecordingHost host;
  auto p = loadScripted(buttonMovie(), host);
  ASSERT_TRUE(p);
  EXPECT_FALSE(p->mouseMove(5, 5));
  EXPECT_EQ(p->cursor(), Cursor::Arrow);
  EXPECT_EQ(button(*p).state(), swf::ButtonUp);

  EXPECT_TRUE(p->mouseMove(30, 30));
  EXPECT_EQ(button(*p).state(), swf::ButtonOver);
  EXPECT_EQ(p->cursor(), Cursor::Hand);
  EXPECT_EQ(draw(*p, 200, 150, kBlack, false).at(30, 30), 0xff00ff00u);

  EXPECT_TRUE(p->mouseDown(30, 30));
  EXPECT_EQ(button(*p).state(), swf::ButtonDown);
  EXPECT_EQ(draw(*p, 200, 150, kBlack, false).at(30, 30), 0xff0000ffu);
  EXPECT_TRUE(host.events.empty()) << "nothing happens before the release";

  EXPECT_TRUE(p->mouseUp(30, 30));
  EXPECT_EQ(button(*p).state(), swf::ButtonOver);
  EXPECT_EQ(host.events, Lines{"FSCommand login "});

  // Pressed, dragged off and released outside: no release action.
  p->mouseDown(30, 30);
  p->mouseMove(150, 100);
  p->mouseUp(150, 100);
  EXPECT_EQ(button(*p).state(), swf::ButtonUp);
  EXPECT_EQ(p->cursor(), Cursor::Arrow);
  EXPECT_EQ(host.events.size(), 1u);

  p->keyDown(13);
  EXPECT_EQ(host.lines, (Lines{"over", "press", "release", "press", "release outside", "enter key"}));
}

TEST(ButtonInput, PointerLeavingTheMovieRollsOut) {
  RecordingHost host;
  auto p = loadScripted(buttonMovie(), host);
  p->mouseMove(30, 30);
  EXPECT_TRUE(p->mouseLeave());
  EXPECT_EQ(button(*p).state(), swf::ButtonUp);
  EXPECT_EQ(host.lines, (Lines{"over", "out"}));
}

TEST(ButtonInput, TheViewScaleMapsPointerToStage) {
  RecordingHost host;
  auto p = loadScripted(buttonMovie(), host);
  p->setViewport(400, 300, ScaleMode::ShowAll);  // twice the stage
  p->mouseMove(30, 30);                           // stage (15, 15): outside
  EXPECT_EQ(button(*p).state(), swf::ButtonUp);
  p->mouseMove(90, 90);  // stage (45, 45)
  EXPECT_EQ(button(*p).state(), swf::ButtonOver);
}

TEST(ButtonInput, MasksLimitWhereAButtonIsHit) {
  RecordingHost host;
  auto p = loadScripted(buttonMovie(true), host);
  p->mouseMove(50, 30);  // on the button, outside the mask
  EXPECT_EQ(button(*p).state(), swf::ButtonUp);
  p->mouseMove(30, 30);  // on the button, inside the mask
  EXPECT_EQ(button(*p).state(), swf::ButtonOver);
}

TEST(ButtonInput, NamedButtonsTakeHandlersFromScripts) {
  TagStream tags = buttonMovie();
  // login.onRelease = function () { trace("handler " + typeof this); };  -- in frame 2
  Assembler handler;
  handler.push({"handler "}).push({"this"}).op(ActionGetVariable).op(ActionTypeOf).op(ActionAdd2).op(ActionTrace);
  swf::PlaceCommand name;
  name.depth = 2;
  name.move = true;
  name.name = "login";
  addPlace(tags, name);
  addActions(tags, Assembler().push({"login"}).op(ActionGetVariable).push({"onRelease"}).defineFunction("", {}, handler).op(ActionSetMember));
  tags.showFrame();
  RecordingHost host;
  auto p = loadScripted(tags, host);
  p->advance();
  p->mouseDown(30, 30);
  p->mouseUp(30, 30);
  EXPECT_EQ(host.lines, (Lines{"over", "press", "release", "handler object"}));
}

TEST(ButtonInput, KeyAndMouseListenersAndKeyPressClipEvents) {
  TagStream tags;
  TagStream inner;
  inner.showFrame();
  tags.add(swf::TagDefineSprite, swf::writer::defineSprite(2, inner));
  swf::PlaceCommand p = placeNew(2, 1);
  p.clipActions = {{swf::ClipEventKeyPress, 13, say("clip enter").bytes()}};
  addPlace(tags, p);
  // l = {}; l.onKeyDown = function () { trace("key " + Key.getCode() + " " + Key.isDown(Key.ENTER)); };
  // l.onMouseDown = function () { trace("mouse down"); }; Key.addListener(l); Mouse.addListener(l);
  Assembler onKey;
  onKey.push({"key "}).push({0, "Key"}).op(ActionGetVariable).push({"getCode"}).op(ActionCallMethod).op(ActionAdd2);
  onKey.push({" "}).op(ActionAdd2);
  onKey.push({"Key"}).op(ActionGetVariable).push({"ENTER"}).op(ActionGetMember).push({1, "Key"}).op(ActionGetVariable);
  onKey.push({"isDown"}).op(ActionCallMethod).op(ActionAdd2).op(ActionTrace);
  Assembler a;
  a.push({"l", 0}).op(ActionInitObject).op(ActionSetVariable);
  a.push({"l"}).op(ActionGetVariable).push({"onKeyDown"}).defineFunction("", {}, onKey).op(ActionSetMember);
  a.push({"l"}).op(ActionGetVariable).push({"onMouseDown"}).defineFunction("", {}, say("mouse down")).op(ActionSetMember);
  for (const char* source : {"Key", "Mouse"})
    a.push({"l"}).op(ActionGetVariable).push({1, source}).op(ActionGetVariable).push({"addListener"}).op(ActionCallMethod).op(ActionPop);
  addActions(tags, a);
  tags.showFrame();
  RecordingHost host;
  auto player = loadScripted(tags, host);
  player->keyDown(13);
  player->keyUp(13);
  player->keyDown(65);
  player->mouseDown(5, 5);
  EXPECT_EQ(host.lines, (Lines{"key 13 true", "clip enter", "key 65 false", "mouse down"}));
}

TEST(ButtonInput, ClipsWithHandlersActAsButtons) {
  TagStream tags;
  addShape(tags, 1, rectangleShape(0, 0, 40, 40, solidFill(kGrey)));
  TagStream inner;
  addPlace(inner, placeNew(1, 1));
  inner.showFrame();
  tags.add(swf::TagDefineSprite, swf::writer::defineSprite(2, inner));
  swf::PlaceCommand p = placeNew(2, 1, swf::Matrix::translation(20 * kTwips, 20 * kTwips));
  p.name = "clip";
  p.clipActions = {{swf::ClipEventPress, 0, say("on press").bytes()}};
  addPlace(tags, p);
  // clip.onRelease = function () { trace("released " + this._name); };
  Assembler handler;
  handler.push({"released "}).push({"this"}).op(ActionGetVariable).push({"_name"}).op(ActionGetMember).op(ActionAdd2).op(ActionTrace);
  addActions(tags, Assembler().push({"clip"}).op(ActionGetVariable).push({"onRelease"}).defineFunction("", {}, handler).op(ActionSetMember));
  tags.showFrame();
  RecordingHost host;
  auto player = loadScripted(tags, host);
  player->mouseMove(30, 30);
  EXPECT_EQ(player->cursor(), Cursor::Hand);
  player->mouseDown(30, 30);
  player->mouseUp(30, 30);
  player->mouseDown(5, 5);
  player->mouseUp(5, 5);
  EXPECT_EQ(host.lines, (Lines{"on press", "released clip"}));
}

}  // namespace
}  // namespace tvrl::player::test
