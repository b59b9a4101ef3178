// Scripts on timelines: the order of init actions, frame actions and clip events across
// the root and its clips; clip properties and methods; the host's commands; timers; and
// the guard against scripts that run away.
#include <gtest/gtest.h>

#include "player/avm1/vm.h"
#include "player/timeline/sprite_instance.h"
#include "player/writer/action_tags.h"
#include "tests/player/script_movie.h"
#include "tests/player/test_movie.h"

namespace tvrl::player::test {
namespace {

using Lines = std::vector<std::string>;
using swf::writer::TagStream;

Assembler say(const std::string& line) { return std::move(Assembler().push({line}).op(ActionTrace)); }

Assembler& get(Assembler& a, const char* name) { return a.push({name}).op(ActionGetVariable); }

swf::ClipAction clipAction(uint32_t events, const Assembler& code) { return {events, 0, code.bytes()}; }

TEST(ScriptTimeline, InitActionsFrameActionsAndClipEventsRunInFlashOrder) {
  TagStream tags;
  TagStream kid;
  addActions(kid, say("kid frame 1").push({"v", "set by kid"}).op(ActionSetVariable));
  kid.showFrame();
  addActions(kid, say("kid frame 2"));
  kid.showFrame();
  tags.add(swf::TagDefineSprite, swf::writer::defineSprite(2, kid));
  tags.add(swf::TagDoInitAction, swf::writer::doInitAction(2, say("init 2").bytes()));
  swf::PlaceCommand p = placeNew(2, 1);
  p.name = "kid";
  p.clipActions = {clipAction(swf::ClipEventLoad, say("kid load")),
                   clipAction(swf::ClipEventEnterFrame, say("kid enterFrame"))};
  addPlace(tags, p);
  // The parent's actions run before those of a child placed in the same frame.
  Assembler root = say("root frame 1");
  get(root, "kid").push({"v"}).op(ActionGetMember).op(ActionTrace);
  addActions(tags, root);
  tags.showFrame();
  Assembler second = say("root frame 2");
  get(second, "kid").push({"v"}).op(ActionGetMember).op(ActionTrace);
  addActions(tags, second);
  tags.showFrame();

  RecordingHost host;
  auto player = loadScripted(tags, host);
  ASSERT_TRUE(player);
  EXPECT_EQ(host.lines, (Lines{"init 2", "root frame 1", "undefined", "kid load", "kid frame 1"}));
  host.lines.clear();
  player->advance();
  // Clips that already existed run before their parent, newest first.
  EXPECT_EQ(host.lines, (Lines{"kid enterFrame", "kid frame 2", "root frame 2", "set by kid"}));
  EXPECT_TRUE(host.warnings.empty());
}

TEST(ScriptTimeline, UnloadHandlersRunWhenTheTimelineRemovesAClip) {
  TagStream tags;
  TagStream kid;
  kid.showFrame();
  tags.add(swf::TagDefineSprite, swf::writer::defineSprite(2, kid));
  swf::PlaceCommand p = placeNew(2, 1);
  p.name = "kid";
  Assembler unload;
  unload.push({"kid unload, root says "}).push({"_root"}).op(ActionGetVariable).push({"word"}).op(ActionGetMember).op(ActionAdd2).op(ActionTrace);
  p.clipActions = {clipAction(swf::ClipEventUnload, unload)};
  addPlace(tags, p);
  addActions(tags, Assembler().push({"word", "bye"}).op(ActionSetVariable));
  tags.showFrame();
  tags.add(swf::TagRemoveObject2, swf::writer::removeObject2(1));
  addActions(tags, say("root frame 2"));
  tags.showFrame();
  RecordingHost host;
  auto player = loadScripted(tags, host);
  EXPECT_TRUE(host.lines.empty());
  player->advance();
  EXPECT_EQ(host.lines, (Lines{"root frame 2", "kid unload, root says bye"}));
}

TEST(ScriptTimeline, GoingBackKeepsWhatStandsAtBothFrames) {
  TagStream tags;
  TagStream empty;
  empty.showFrame();
  tags.add(swf::TagDefineSprite, swf::writer::defineSprite(2, empty));
  tags.add(swf::TagExportAssets, swf::writer::exportAssets({{"sym", 2}}));
  auto place = [&](uint16_t depth, const char* name, bool unload) {
    swf::PlaceCommand p = placeNew(2, depth);
    p.name = name;
    p.clipActions = {clipAction(swf::ClipEventLoad, say(std::string("load ") + name))};
    if (unload) {
      Assembler u;
      u.push({"unload "}).push({"this"}).op(ActionGetVariable).push({"_name"}).op(ActionGetMember).op(ActionAdd2);
      u.op(ActionTrace);
      p.clipActions.push_back(clipAction(swf::ClipEventUnload, u));
    }
    addPlace(tags, p);
  };
  // Frame 1: "keep" for good, "re" until frame 2; the script reports what survived.
  place(1, "keep", false);
  place(3, "re", false);
  Assembler first;
  first.push({"_root"}).op(ActionGetVariable).push({"keep"}).op(ActionGetMember).push({"v"}).op(ActionGetMember);
  first.op(ActionTrace).push({"made"}).op(ActionGetVariable).op(ActionTypeOf).op(ActionTrace);
  addActions(tags, first);
  tags.showFrame();
  // Frame 2: "later" comes, "re" goes; a variable on "keep" and a clip made by script.
  tags.add(swf::TagRemoveObject2, swf::writer::removeObject2(3));
  place(2, "later", true);
  Assembler second;
  second.push({"keep"}).op(ActionGetVariable).push({"v", "kept"}).op(ActionSetMember);
  second.push({1, "made", "sym", 3, "_root"}).op(ActionGetVariable).push({"attachMovie"}).op(ActionCallMethod).op(ActionPop);
  addActions(tags, second);
  tags.showFrame();
  // Frame 3: "re" again, from another tag.
  place(3, "re", false);
  tags.showFrame();

  RecordingHost host;
  auto player = loadScripted(tags, host);
  player->advance();
  player->advance();
  EXPECT_EQ(host.lines, (Lines{"undefined", "undefined", "load keep", "load re", "load later", "load re"}));
  host.lines.clear();
  player->gotoFrame(0);
  // "keep" stayed with its variable and without a second load; "later" left, hearing its
  // unload with its name; "re" of frame 3 made way for the one frame 1 places.
  EXPECT_EQ(host.lines, (Lines{"kept", "movieclip", "load re", "unload later"}));
  EXPECT_EQ(player->root().objects().count(2), 0u);
}

TEST(ScriptTimeline, JumpingForwardMakesNothingOfTheFramesBetween) {
  TagStream tags;
  TagStream empty;
  empty.showFrame();
  tags.add(swf::TagDefineSprite, swf::writer::defineSprite(2, empty));
  auto place = [&](uint16_t depth, const char* name) {
    swf::PlaceCommand p = placeNew(2, depth);
    p.name = name;
    p.clipActions = {clipAction(swf::ClipEventLoad, say(std::string("load ") + name)),
                     clipAction(swf::ClipEventUnload, say(std::string("unload ") + name))};
    addPlace(tags, p);
  };
  place(1, "keep");
  addActions(tags, Assembler().push({"keep"}).op(ActionGetVariable).push({"v", "kept"}).op(ActionSetMember));
  tags.showFrame();
  place(2, "passing");
  tags.showFrame();
  tags.add(swf::TagRemoveObject2, swf::writer::removeObject2(2));
  swf::PlaceCommand move;
  move.depth = 1;
  move.move = true;
  move.matrix = swf::Matrix::translation(40 * kTwips, 0);
  addPlace(tags, move);
  tags.showFrame();
  Assembler last;
  last.push({"keep"}).op(ActionGetVariable).push({"v"}).op(ActionGetMember).op(ActionTrace);
  last.push({"keep"}).op(ActionGetVariable).push({"_x"}).op(ActionGetMember).op(ActionTrace);
  addActions(tags, last);
  tags.showFrame();
  RecordingHost host;
  auto player = loadScripted(tags, host);
  host.lines.clear();
  player->gotoFrame(3);
  EXPECT_EQ(host.lines, (Lines{"kept", "40"}));
}

TEST(ScriptTimeline, UnloadHandlersStillSeeTheClipTheyLeave) {
  TagStream tags;
  TagStream empty;
  empty.showFrame();
  tags.add(swf::TagDefineSprite, swf::writer::defineSprite(2, empty));
  tags.add(swf::TagExportAssets, swf::writer::exportAssets({{"sym", 2}}));
  // b = attachMovie("sym", "b1", 4); b.onUnload = function () { trace(...); }; b.removeMovieClip();
  Assembler unload;
  unload.push({"unload "}).push({"this"}).op(ActionGetVariable).push({"_name"}).op(ActionGetMember).op(ActionAdd2);
  unload.push({" in "}).op(ActionAdd2).push({"this"}).op(ActionGetVariable).push({"_parent"}).op(ActionGetMember);
  unload.op(ActionAdd2).op(ActionTrace);
  Assembler a;
  a.push({"b", 4, "b1", "sym", 3, "_root"}).op(ActionGetVariable).push({"attachMovie"}).op(ActionCallMethod);
  a.op(ActionSetVariable);
  a.push({"b"}).op(ActionGetVariable).push({"onUnload"}).defineFunction("", {}, unload).op(ActionSetMember);
  a.push({0, "b"}).op(ActionGetVariable).push({"removeMovieClip"}).op(ActionCallMethod).op(ActionPop);
  a.push({"b1"}).op(ActionGetVariable).op(ActionTypeOf).op(ActionTrace);
  addActions(tags, a);
  tags.showFrame();
  RecordingHost host;
  auto player = loadScripted(tags, host);
  EXPECT_EQ(host.lines, (Lines{"undefined", "unload b1 in _level0"}));
  host.lines.clear();
  player->advance();
  EXPECT_TRUE(host.lines.empty()) << "the unloaded clip hears no more events";
}

// A 100 x 50 red rectangle inside a sprite placed at (30, 20), as the login movie's
// placeholder for the launcher's web view.
TagStream placeholderMovie(const Assembler& script) {
  TagStream tags;
  addShape(tags, 1, rectangleShape(0, 0, 100, 50, solidFill({255, 0, 0, 255})));
  TagStream inner;
  addPlace(inner, placeNew(1, 1));
  inner.showFrame();
  tags.add(swf::TagDefineSprite, swf::writer::defineSprite(2, inner));
  swf::PlaceCommand p = placeNew(2, 1, swf::Matrix::translation(30 * kTwips, 20 * kTwips));
  p.name = "placeholder";
  addPlace(tags, p);
  addActions(tags, script);
  tags.showFrame();
  return tags;
}

TEST(ScriptTimeline, APlaceholderClipIsReadReportedAndHidden) {
  // fscommand("placeholder", _x + "," + _y + "," + _width + "," + _height); placeholder._visible = false;
  Assembler a;
  a.push({"FSCommand:placeholder"});
  const char* props[] = {"_x", "_y", "_width", "_height"};
  for (int i = 0; i < 4; ++i) {
    get(a, "placeholder").push({props[i]}).op(ActionGetMember);
    if (i > 0) a.op(ActionAdd2);
    if (i < 3) a.push({","}).op(ActionAdd2);
  }
  a.getUrl2();
  get(a, "placeholder").push({"_visible", false}).op(ActionSetMember);
  get(a, "placeholder").push({"_visible"}).op(ActionGetMember).op(ActionTrace);

  RecordingHost host;
  auto hidden = loadScripted(placeholderMovie(a), host, 8, 200, 100);
  ASSERT_TRUE(hidden);
  EXPECT_EQ(host.events, Lines{"FSCommand placeholder 30,20,100,50"});
  EXPECT_EQ(host.lines, Lines{"false"});
  EXPECT_EQ(draw(*hidden, 200, 100, kBlack, false).at(60, 40), kBlack);

  RecordingHost shownHost;
  auto shown = loadScripted(placeholderMovie(Assembler()), shownHost, 8, 200, 100);
  EXPECT_EQ(draw(*shown, 200, 100, kBlack, false).at(60, 40), 0xffff0000u);
}

TEST(ScriptTimeline, ClipPropertiesByNameAndByIndex) {
  Assembler a;
  // placeholder._x = 50; _xscale = 200; trace via GetProperty indexes.
  get(a, "placeholder").push({"_x", 50}).op(ActionSetMember);
  a.push({"placeholder", 2, 200}).op(ActionSetProperty);
  a.push({"placeholder", 0}).op(ActionGetProperty).op(ActionTrace);
  a.push({"placeholder", 8}).op(ActionGetProperty).op(ActionTrace);
  a.push({"/placeholder", 13}).op(ActionGetProperty).op(ActionTrace);
  a.push({"placeholder", 11}).op(ActionGetProperty).op(ActionTrace);
  get(a, "placeholder").push({"_rotation", 90}).op(ActionSetMember);
  get(a, "placeholder").push({"_rotation"}).op(ActionGetMember).op(ActionTrace);
  get(a, "placeholder").push({"_alpha", 50}).op(ActionSetMember);
  get(a, "placeholder").push({"_alpha"}).op(ActionGetMember).op(ActionTrace);
  get(a, "placeholder").push({"_parent"}).op(ActionGetMember).op(ActionTargetPath).op(ActionTrace);
  get(a, "placeholder").op(ActionTargetPath).op(ActionTrace);
  get(a, "placeholder").op(ActionTrace);
  get(a, "_root").push({"_totalframes"}).op(ActionGetMember).op(ActionTrace);
  RecordingHost host;
  auto player = loadScripted(placeholderMovie(a), host);
  EXPECT_EQ(host.lines, (Lines{"50", "200", "placeholder", "/placeholder", "90", "50", "_level0",
                               "_level0.placeholder", "_level0.placeholder", "1"}));
  const DisplayObject& o = player->root().objects().at(1);
  EXPECT_EQ(o.matrix.tx, 50 * kTwips);
  EXPECT_EQ(o.colorTransform.mulA, 128);
}

TEST(ScriptTimeline, TheTimelineNoLongerMovesAClipAScriptMoved) {
  TagStream tags;
  TagStream kid;
  kid.showFrame();
  tags.add(swf::TagDefineSprite, swf::writer::defineSprite(2, kid));
  swf::PlaceCommand p = placeNew(2, 1);
  p.name = "kid";
  addPlace(tags, p);
  addActions(tags, Assembler().push({"kid"}).op(ActionGetVariable).push({"_y", 7}).op(ActionSetMember));
  tags.showFrame();
  swf::PlaceCommand move;
  move.depth = 1;
  move.move = true;
  move.matrix = swf::Matrix::translation(50 * kTwips, 50 * kTwips);
  addPlace(tags, move);
  tags.showFrame();
  RecordingHost host;
  auto player = loadScripted(tags, host);
  player->advance();
  EXPECT_EQ(player->root().objects().at(1).matrix, swf::Matrix::translation(0, 7 * kTwips));
}

TEST(ScriptTimeline, FsCommandAndNavigationThroughBothActions) {
  Assembler a;
  a.getUrl("FSCommand:close", "");
  a.push({"fscommand:", "move"}).op(ActionAdd2).push({"1,"}).push({2}).op(ActionAdd2).getUrl2();
  a.getUrl("http://example.com/help", "_blank");
  a.push({"http://example.com/?id=", 7}).op(ActionAdd2).push({"_self"}).getUrl2();
  a.push({"all", "show", 2, "fscommand"}).op(ActionCallFunction).op(ActionPop);
  a.push({"", "FsCommand:quit", 2, "_root"}).op(ActionGetVariable).push({"getURL"}).op(ActionCallMethod).op(ActionPop);
  RecordingHost host;
  traceOf(a, 8, &host);
  EXPECT_EQ(host.events, (Lines{"FSCommand close ", "FSCommand move 1,2", "Navigate http://example.com/help _blank",
                                "Navigate http://example.com/?id=7 _self", "FSCommand show all", "FSCommand quit "}));
}

TEST(ScriptTimeline, TimelineControlFromScripts) {
  TagStream tags;
  addActions(tags, Assembler().op(ActionStop).push({"frame "}).push({"_root", 4}).op(ActionGetProperty).op(ActionAdd2).op(ActionTrace));
  tags.showFrame();
  addActions(tags, say("frame 2"));
  tags.showFrame();
  tags.add(swf::TagFrameLabel, swf::writer::frameLabel("end"));
  addActions(tags, say("frame 3"));
  tags.showFrame();
  RecordingHost host;
  auto player = loadScripted(tags, host);
  player->advance();
  EXPECT_EQ(player->currentFrame(), 0) << "stop() holds the frame";
  EXPECT_EQ(host.lines, Lines{"frame 1"});

  // The host's goto runs the frame's actions; a label goes there too.
  player->gotoFrame(1);
  player->gotoLabel("end");
  EXPECT_EQ(host.lines, (Lines{"frame 1", "frame 2", "frame 3"}));
}

TEST(ScriptTimeline, ClipsMadeAndRemovedByScriptsWithHandlers) {
  TagStream tags;
  TagStream ball;
  addPlace(ball, placeNew(1, 1));
  ball.showFrame();
  addShape(tags, 1, rectangleShape(0, 0, 10, 10, solidFill({0, 0, 255, 255})));
  tags.add(swf::TagDefineSprite, swf::writer::defineSprite(2, ball));
  tags.add(swf::TagExportAssets, swf::writer::exportAssets({{"ball", 2}}));
  Assembler a;
  // b = attachMovie("ball", "b1", 3); b._x = 40; trace(b); trace(b.getBounds(_root).xMax);
  a.push({"b", 3, "b1", "ball", 3});
  get(a, "_root").push({"attachMovie"}).op(ActionCallMethod).op(ActionSetVariable);
  get(a, "b").push({"_x", 40}).op(ActionSetMember);
  get(a, "b").op(ActionTrace);
  get(a, "_root");
  a.push({1});
  get(a, "b").push({"getBounds"}).op(ActionCallMethod).push({"xMax"}).op(ActionGetMember).op(ActionTrace);
  // hitTest(45, 5, true) and a miss
  a.push({true, 5, 45, 3});
  get(a, "b").push({"hitTest"}).op(ActionCallMethod).op(ActionTrace);
  a.push({true, 5, 5, 3});
  get(a, "b").push({"hitTest"}).op(ActionCallMethod).op(ActionTrace);
  // b.onEnterFrame = function () { trace("enter " + this._name); this.removeMovieClip(); };
  Assembler onEnter;
  onEnter.push({"enter "});
  get(onEnter, "this").push({"_name"}).op(ActionGetMember).op(ActionAdd2).op(ActionTrace);
  onEnter.push({0});
  get(onEnter, "this").push({"removeMovieClip"}).op(ActionCallMethod).op(ActionPop);
  get(a, "b").push({"onEnterFrame"}).defineFunction("", {}, onEnter).op(ActionSetMember);
  // e = createEmptyMovieClip("holder", 4); trace(e._name);
  a.push({4, "holder", 2});
  get(a, "_root").push({"createEmptyMovieClip"}).op(ActionCallMethod).push({"_name"}).op(ActionGetMember).op(ActionTrace);
  addActions(tags, a);
  tags.showFrame();
  Assembler after;
  get(after, "b1").op(ActionTypeOf).op(ActionTrace);
  addActions(tags, after);
  tags.showFrame();

  RecordingHost host;
  auto player = loadScripted(tags, host);
  EXPECT_EQ(host.lines, (Lines{"_level0.b1", "50", "true", "false", "holder"}));
  host.lines.clear();
  player->advance();
  EXPECT_EQ(host.lines, (Lines{"enter b1", "undefined"}));
}

TEST(ScriptTimeline, IntervalsFollowTheHostClock) {
  // n = 0; id = setInterval(function () { n++; trace("tick " + n); if (n == 3) clearInterval(id); }, 100);
  Assembler tick;
  tick.push({"n", "n"}).op(ActionGetVariable).op(ActionIncrement).op(ActionSetVariable);
  tick.push({"tick "});
  get(tick, "n").op(ActionAdd2).op(ActionTrace);
  get(tick, "n").push({3}).op(ActionEquals2).op(ActionNot).branchIf("keep");
  get(tick, "id").push({1, "clearInterval"}).op(ActionCallFunction).op(ActionPop);
  tick.label("keep");
  Assembler a;
  a.push({"n", 0}).op(ActionSetVariable);
  a.push({"id", 100}).defineFunction("", {}, tick).push({2, "setInterval"}).op(ActionCallFunction).op(ActionSetVariable);
  TagStream tags;
  addActions(tags, a);
  tags.showFrame();
  RecordingHost host;
  auto player = loadScripted(tags, host);
  player->setClock(50);
  EXPECT_TRUE(host.lines.empty());
  for (double t : {100.0, 150.0, 200.0, 300.0, 400.0, 500.0}) player->setClock(t);
  EXPECT_EQ(host.lines, (Lines{"tick 1", "tick 2", "tick 3"}));
}

TEST(ScriptTimeline, IntervalsDueSeveralTimesInOneStepCatchUpWithinABound) {
  struct Case {
    int period;
    std::vector<double> clock;
    int fired;
  };
  const Case cases[] = {
      {100, {350}, 3},              // three periods passed in one step
      {100, {350, 400}, 4},         // and the next falls due on time
      {40, {40, 80, 120}, 3},       // one a step when the clock keeps pace
      {1, {1000}, avm1::kMaxIntervalCatchUp},  // a 1 ms timer cannot stall the movie
      {1, {1000, 1001}, avm1::kMaxIntervalCatchUp + 1},
  };
  for (const Case& c : cases) {
    // setInterval(function () { trace("tick"); }, period);
    Assembler a;
    a.push({c.period}).defineFunction("", {}, say("tick")).push({2, "setInterval"}).op(ActionCallFunction).op(ActionPop);
    TagStream tags;
    addActions(tags, a);
    tags.showFrame();
    RecordingHost host;
    auto player = loadScripted(tags, host);
    for (double t : c.clock) player->setClock(t);
    EXPECT_EQ(host.lines.size(), static_cast<size_t>(c.fired)) << c.period << " ms";
  }
}

TEST(ScriptTimeline, RunawayScriptsAreStoppedAndTheMovieGoesOn) {
  TagStream tags;
  addActions(tags, Assembler().label("forever").jump("forever"));
  addActions(tags, say("after the loop"));
  // function r() { r(); } r();
  Assembler recurse;
  recurse.push({0, "r"}).op(ActionCallFunction);
  addActions(tags, Assembler().defineFunction("r", {}, recurse).push({0, "r"}).op(ActionCallFunction));
  addActions(tags, say("after the recursion"));
  tags.showFrame();
  addActions(tags, say("frame 2"));
  tags.showFrame();
  RecordingHost host;
  auto player = loadScripted(tags, host);
  player->advance();
  EXPECT_EQ(host.lines, (Lines{"after the loop", "after the recursion", "frame 2"}));
  ASSERT_EQ(host.warnings.size(), 2u);
  EXPECT_NE(host.warnings[0].find("runs away"), std::string::npos) << host.warnings[0];
  EXPECT_NE(host.warnings[1].find("nested deeper"), std::string::npos) << host.warnings[1];
}

}  // namespace
}  // namespace tvrl::player::test
