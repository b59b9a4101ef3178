// The built-in objects around the language: Date, Stage, Key, Mouse and Color; and the
// object hooks classes use: addProperty, watch, ASSetPropFlags and registerClass.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <ctime>

#include "tests/player/script_shorthand.h"
#include "tests/player/test_movie.h"

namespace tvrl::player::test {
namespace {

using Lines = std::vector<std::string>;
using swf::writer::TagStream;

TEST(DateObject, UtcFieldsArithmeticAndInvalidDates) {
  struct Case {
    const char* expected;
    std::function<void(Assembler&)> script;  // leaves one value
  };
  auto utc = [](Assembler& a) { call(a, "Date.UTC", {2008, 1, 29, 12, 30, 15, 250}); };
  // d = new Date(ms); then d.method(args)
  auto on = [](double ms, const char* method, std::vector<PushValue> args = {}) {
    return [=](Assembler& a) {
      a.push({"d", ms, 1, "Date"}).op(ActionNewObject).op(ActionSetVariable);
      call(a, std::string("d.") + method, args);
    };
  };
  auto after = [](double ms, const char* setter, std::vector<PushValue> args, const char* getter) {
    return [=](Assembler& a) {
      a.push({"d", ms, 1, "Date"}).op(ActionNewObject).op(ActionSetVariable);
      run(a, std::string("d.") + setter, args);
      call(a, std::string("d.") + getter);
    };
  };
  const double leapDay = 1204288215250;  // 2008-02-29 12:30:15.250 UTC, a Friday
  const Case cases[] = {
      {"1204288215250", utc},
      {"915148800000", [](Assembler& a) { call(a, "Date.UTC", {99, 0}); }},
      {"2008", on(leapDay, "getUTCFullYear")},
      {"1", on(leapDay, "getUTCMonth")},
      {"29", on(leapDay, "getUTCDate")},
      {"5", on(leapDay, "getUTCDay")},
      {"12", on(leapDay, "getUTCHours")},
      {"30", on(leapDay, "getUTCMinutes")},
      {"15", on(leapDay, "getUTCSeconds")},
      {"250", on(leapDay, "getUTCMilliseconds")},
      {"1204288215250", on(leapDay, "getTime")},
      {"4", on(0, "getUTCDay")},
      // Fields past their range carry over: February 29th of 2009 is March 1st.
      {"2", after(leapDay, "setUTCMonth", {13}, "getUTCMonth")},
      {"2009", after(leapDay, "setUTCMonth", {13}, "getUTCFullYear")},
      {"31", after(leapDay, "setUTCDate", {0}, "getUTCDate")},
      {"1235824215250", after(leapDay, "setUTCFullYear", {2009, 1, 28}, "getTime")},
      {"1204297200000", after(leapDay, "setUTCHours", {15, 0, 0, 0}, "getTime")},
      {"Invalid Date", on(NAN, "toString")},
      {"NaN", on(NAN, "getUTCHours")},
      {"NaN", after(NAN, "setUTCHours", {1}, "getTime")},
      {"2000", after(NAN, "setUTCFullYear", {2000}, "getUTCFullYear")},
      {"NaN", on(9e15, "getTime")},
  };
  for (const Case& c : cases) {
    Assembler a;
    c.script(a);
    a.op(ActionTrace);
    EXPECT_EQ(traceOf(a), Lines{c.expected}) << c.expected;
  }
}

// Runs `body` with the C library's time zone set to `zone` (POSIX form, no data files).
class TimeZone {
 public:
  explicit TimeZone(const char* zone) {
    const char* old = std::getenv("TZ");
    had_ = old != nullptr;
    if (had_) old_ = old;
#ifndef _WIN32
    setenv("TZ", zone, 1);
    tzset();
#else
    (void)zone;
#endif
  }
  ~TimeZone() {
#ifndef _WIN32
    if (had_) setenv("TZ", old_.c_str(), 1);
    else unsetenv("TZ");
    tzset();
#endif
  }

 private:
  bool had_ = false;
  std::string old_;
};

TEST(DateObject, LocalTimeFollowsTheTimeZoneWithDaylightSaving) {
#ifdef _WIN32
  GTEST_SKIP() << "the time zone is set through the environment here only";
#endif
  TimeZone berlin("CET-1CEST,M3.5.0,M10.5.0/3");
  Assembler a;
  // new Date(2008, 6, 16, 13, 44, 47): a summer date, in local time.
  a.push({"d", 47, 44, 13, 16, 6, 2008, 6, "Date"}).op(ActionNewObject).op(ActionSetVariable);
  trace(a, "d");
  for (const char* m : {"getHours", "getUTCHours", "getTimezoneOffset", "getDay", "getYear"})
    call(a, std::string("d.") + m).op(ActionTrace);
  // A winter date, and a local setter crossing into summer.
  a.push({"w", 1, 0, 2008, 3, "Date"}).op(ActionNewObject).op(ActionSetVariable);
  trace(a, "w");
  run(a, "w.setMonth", {5});
  trace(a, "w");
  call(a, "w.getTimezoneOffset").op(ActionTrace);
  // Dates convert to their text when added to a string.
  a.push({"at "});
  value(a, "w").op(ActionAdd2).op(ActionTrace);
  EXPECT_EQ(traceOf(a), (Lines{"Wed Jul 16 13:44:47 GMT+0200 2008", "13", "11", "-120", "3", "108",
                               "Tue Jan 1 00:00:00 GMT+0100 2008", "Sun Jun 1 00:00:00 GMT+0200 2008", "-120",
                               "at Sun Jun 1 00:00:00 GMT+0200 2008"}));
}

TEST(StageObject, SizeModesAndResizeListeners) {
  // l.onResize = function () { trace("resize " + Stage.width + "x" + Stage.height); };
  Assembler onResize;
  onResize.push({"resize "});
  value(onResize, "Stage.width").op(ActionAdd2).push({"x"}).op(ActionAdd2);
  value(onResize, "Stage.height").op(ActionAdd2).op(ActionTrace);
  Assembler a;
  for (const char* p : {"Stage.width", "Stage.height", "Stage.scaleMode", "Stage.align"}) trace(a, p);
  a.push({"l", 0}).op(ActionInitObject).op(ActionSetVariable);
  assignFunction(a, "l.onResize", onResize);
  value(a, "l");
  callPushed(a, "Stage.addListener", 1).op(ActionTrace);
  assign(a, "Stage.width", 5);  // read-only
  trace(a, "Stage.width");
  TagStream tags;
  addActions(tags, a);
  tags.showFrame();
  Assembler b;
  assign(b, "Stage.scaleMode", "noScale");
  addActions(tags, b);
  tags.showFrame();
  RecordingHost host;
  auto player = loadScripted(tags, host);
  EXPECT_EQ(host.lines, (Lines{"200", "150", "showAll", "", "true", "200"}));
  host.lines.clear();
  player->setViewport(640, 480, ScaleMode::ShowAll);  // scaled: the stage keeps its size
  player->advance();
  player->setViewport(800, 600, ScaleMode::NoScale);
  player->setViewport(800, 600, ScaleMode::NoScale);
  EXPECT_EQ(host.lines, Lines{"resize 800x600"});
}

TEST(KeyAndMouse, CodesAsciiAndListeners) {
  // l.onKeyDown = function () { trace(Key.getCode() + " " + Key.getAscii()); };
  Assembler onKey;
  call(onKey, "Key.getCode").push({" "}).op(ActionAdd2);
  call(onKey, "Key.getAscii").op(ActionAdd2).op(ActionTrace);
  Assembler onMove;
  onMove.push({"move "});
  value(onMove, "_root._xmouse").op(ActionAdd2).op(ActionTrace);
  Assembler a;
  for (const char* p : {"Key.ENTER", "Key.LEFT", "Key.SPACE", "Key.DELETEKEY"}) trace(a, p);
  a.push({"l", 0}).op(ActionInitObject).op(ActionSetVariable);
  assignFunction(a, "l.onKeyDown", onKey);
  assignFunction(a, "l.onKeyUp", Assembler().push({"up"}).op(ActionTrace));
  assignFunction(a, "l.onMouseMove", onMove);
  assignFunction(a, "l.onMouseUp", Assembler().push({"mouse up"}).op(ActionTrace));
  for (const char* source : {"Key", "Mouse"}) {
    value(a, "l");
    callPushed(a, std::string(source) + ".addListener", 1).op(ActionPop);
  }
  call(a, "Mouse.hide").op(ActionTrace);
  TagStream tags;
  addActions(tags, a);
  tags.showFrame();
  RecordingHost host;
  auto player = loadScripted(tags, host);
  player->keyDown(65);
  player->keyUp(65);
  player->keyDown(16);
  player->keyDown(49);
  player->keyDown(191);
  player->keyUp(16);
  player->keyDown(13);
  player->mouseMove(12, 34);
  player->mouseUp(12, 34);
  EXPECT_EQ(host.lines, (Lines{"13", "37", "32", "46", "0", "65 97", "up", "16 0", "49 33", "191 63", "up", "13 13",
                               "move 12", "mouse up"}));
}

TEST(ColorObject, SetsAndReadsAClipsColourTransform) {
  TagStream tags;
  addShape(tags, 1, rectangleShape(0, 0, 40, 40, solidFill({128, 128, 128, 255})));
  TagStream inner;
  addPlace(inner, placeNew(1, 1));
  inner.showFrame();
  tags.add(swf::TagDefineSprite, swf::writer::defineSprite(2, inner));
  for (uint16_t depth : {1, 2}) {
    swf::PlaceCommand p = placeNew(2, depth, swf::Matrix::translation((depth - 1) * 50 * kTwips, 0));
    p.name = depth == 1 ? "tinted" : "shaded";
    addPlace(tags, p);
  }
  Assembler a;
  value(a, "tinted");
  a.push({1, "Color"}).op(ActionNewObject).push({"c"}).op(ActionStackSwap).op(ActionSetVariable);
  run(a, "c.setRGB", {0xff8000});
  call(a, "c.getRGB").op(ActionTrace);
  // By path, with a transform given in part.
  a.push({"s", "shaded", 1, "Color"}).op(ActionNewObject).op(ActionSetVariable);
  a.push({"ra", 50, "rb", 10, "ab", -255, 3}).op(ActionInitObject);
  callPushed(a, "s.setTransform", 1).op(ActionPop);
  call(a, "s.getTransform").storeRegister(1).op(ActionPop);
  for (const char* f : {"ra", "rb", "ga", "gb", "aa", "ab"})
    a.push({PushValue::reg(1), f}).op(ActionGetMember).op(ActionTrace);
  addActions(tags, a);
  tags.showFrame();
  RecordingHost host;
  auto player = loadScripted(tags, host);
  EXPECT_EQ(host.lines, (Lines{"16744448", "50", "10", "100", "0", "100", "-255"}));
  Pixels px = draw(*player, 200, 150, kBlack, false);
  EXPECT_EQ(px.at(10, 10), 0xffff8000u);
  EXPECT_EQ(px.at(60, 10), kBlack) << "alpha offset -255 hides the clip";
}

TEST(ObjectHooks, AddPropertyAndWatch) {
  Assembler a;
  // o = {}; o.addProperty("size", function () { return this._size * 2; }, function (v) { this._size = v; });
  Assembler getter, setter;
  value(getter, "this._size").push({2}).op(ActionMultiply).op(ActionReturn);
  setter.push({"this"}).op(ActionGetVariable).push({"_size"}).push({"v"}).op(ActionGetVariable).op(ActionSetMember);
  a.push({"o", 0}).op(ActionInitObject).op(ActionSetVariable);
  a.defineFunction("", {"v"}, setter).defineFunction("", {}, getter).push({"size"});
  callPushed(a, "o.addProperty", 3).op(ActionTrace);
  assign(a, "o.size", 4);
  trace(a, "o.size");
  // Read-only without a setter; on a prototype, `this` is the instance.
  a.defineFunction("", {}, Assembler().push({"fixed"}).op(ActionReturn)).push({PushValue::null()});
  a.op(ActionStackSwap).push({"name"});
  callPushed(a, "o.addProperty", 3).op(ActionPop);
  assign(a, "o.name", "changed");
  trace(a, "o.name");
  a.push({"p", 0}).op(ActionInitObject).op(ActionSetVariable);
  value(a, "o");
  assignTop(a, "p.__proto__");
  assign(a, "p.size", 10);
  trace(a, "p.size");
  trace(a, "o.size");

  // w.watch("v", function (prop, was, now, data) { trace(...); return now * 10; }, "ud")
  Assembler watcher;
  for (const char* n : {"prop", "was", "now", "data"}) {
    value(watcher, n);
    if (std::string(n) != "prop") watcher.op(ActionAdd2);
    watcher.push({" "}).op(ActionAdd2);
  }
  watcher.op(ActionTrace);
  value(watcher, "now").push({10}).op(ActionMultiply).op(ActionReturn);
  a.push({"w", 0}).op(ActionInitObject).op(ActionSetVariable);
  a.push({"ud"}).defineFunction("", {"prop", "was", "now", "data"}, watcher).push({"v"});
  callPushed(a, "w.watch", 3).op(ActionPop);
  assign(a, "w.v", 1);
  assign(a, "w.v", 2);
  trace(a, "w.v");
  run(a, "w.unwatch", {"v"});
  assign(a, "w.v", 3);
  trace(a, "w.v");

  EXPECT_EQ(traceOf(a), (Lines{"true", "8", "fixed", "20", "8", "v undefined 1 ud ", "v 10 2 ud ", "20", "3"}));
}

TEST(ObjectHooks, PropFlagsHideProtectAndFreeze) {
  Assembler a;
  // f = {a: 1, b: 2, c: 3}; ASSetPropFlags(f, "a,c", 1): 1 hides from for..in.
  a.push({"f", "a", 1, "b", 2, "c", 3, 3}).op(ActionInitObject).op(ActionSetVariable);
  a.push({1, "a,c"});
  value(a, "f").push({3, "ASSetPropFlags"}).op(ActionCallFunction).op(ActionPop);
  // for (k in f) trace(k);
  value(a, "f").op(ActionEnumerate2);
  a.label("next").storeRegister(0).push({PushValue::null()}).op(ActionEquals2).branchIf("done");
  a.push({PushValue::reg(0)}).op(ActionTrace).jump("next").label("done");
  // ASSetPropFlags(f, ["b"], 6): 2 keeps b from delete, 4 from change.
  a.push({6, "b", 1}).op(ActionInitArray);
  value(a, "f").push({3, "ASSetPropFlags"}).op(ActionCallFunction).op(ActionPop);
  assign(a, "f.b", 9);
  trace(a, "f.b");
  value(a, "f").push({"b"}).op(ActionDelete).op(ActionTrace);
  trace(a, "f.a");
  EXPECT_EQ(traceOf(a), (Lines{"b", "2", "false", "1"}));
}

TEST(ObjectHooks, RegisteredClassesMakeTheirSymbolsClips) {
  TagStream tags;
  addShape(tags, 1, rectangleShape(0, 0, 10, 10, solidFill({0, 0, 255, 255})));
  TagStream inner;
  addPlace(inner, placeNew(1, 1));
  inner.showFrame();
  tags.add(swf::TagDefineSprite, swf::writer::defineSprite(2, inner));
  tags.add(swf::TagExportAssets, swf::writer::exportAssets({{"ball", 2}}));
  // function Ball() { trace("Ball " + this._name + " " + this.speed); }
  // Ball.prototype.__proto__ = MovieClip.prototype;
  // Ball.prototype.describe = function () { return "a ball at " + this._x; };
  Assembler ctor;
  ctor.push({"Ball "});
  value(ctor, "this._name").op(ActionAdd2).push({" "}).op(ActionAdd2);
  value(ctor, "this.speed").op(ActionAdd2).op(ActionTrace);
  assign(ctor, "this.ready", "yes");
  Assembler describe;
  describe.push({"a ball at "});
  value(describe, "this._x").op(ActionAdd2).op(ActionReturn);
  Assembler a;
  a.defineFunction("Ball", {}, ctor);
  value(a, "MovieClip.prototype");
  assignTop(a, "Ball.prototype.__proto__");
  assignFunction(a, "Ball.prototype.describe", describe);
  value(a, "Ball");
  a.push({"ball", 2, "Object"}).op(ActionGetVariable).push({"registerClass"}).op(ActionCallMethod).op(ActionTrace);
  // attachMovie("ball", "b1", 1, {speed: 5, _x: 30}): properties before the constructor.
  a.push({"speed", 5, "_x", 30, 2}).op(ActionInitObject).push({1, "b1", "ball", 4});
  value(a, "_root").push({"attachMovie"}).op(ActionCallMethod).op(ActionPop);
  call(a, "b1.describe").op(ActionTrace);
  value(a, "b1");
  value(a, "Ball").op(ActionInstanceOf).op(ActionTrace);
  call(a, "b1.getDepth").op(ActionTrace);
  addActions(tags, a);
  tags.showFrame();
  // A clip of the symbol placed by the timeline: its constructor runs first of all.
  swf::PlaceCommand p = placeNew(2, 2);
  p.name = "placed";
  p.clipActions = {{swf::ClipEventLoad, 0, Assembler().push({"placed load"}).op(ActionTrace).bytes()}};
  addPlace(tags, p);
  // The parent's frame actions find it constructed.
  Assembler second;
  second.push({"root frame 2 "});
  value(second, "placed.ready").op(ActionAdd2).op(ActionTrace);
  addActions(tags, second);
  tags.showFrame();
  RecordingHost host;
  auto player = loadScripted(tags, host);
  EXPECT_EQ(host.lines, (Lines{"true", "Ball b1 5", "a ball at 30", "true", "1"}));
  host.lines.clear();
  player->advance();
  EXPECT_EQ(host.lines, (Lines{"Ball placed undefined", "root frame 2 yes", "placed load"}));
}

}  // namespace
}  // namespace tvrl::player::test
