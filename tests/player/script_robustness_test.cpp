// Damaged scripts: malformed bytecode of every kind ends its block with a warning and
// the movie goes on; damaged copies of a scripted movie load or fail cleanly and play
// through input and timers without crashing, hanging or growing without bound.
#include <gtest/gtest.h>

#include <random>

#include "tests/player/script_movie.h"
#include "tests/player/scripted_sample_movie.h"

namespace tvrl::player::test {
namespace {

using Lines = std::vector<std::string>;
using Bytes = std::vector<uint8_t>;

// Runs `code` as a block, followed by a block that must still run.
RecordingHost runDamaged(const Bytes& code) {
  swf::writer::TagStream tags;
  tags.add(swf::TagDoAction, code);
  addActions(tags, Assembler().push({"still running"}).op(ActionTrace));
  tags.showFrame();
  RecordingHost host;
  auto player = loadScripted(tags, host);
  EXPECT_TRUE(player);
  return host;
}

TEST(ScriptRobustness, MalformedBytecodeEndsTheBlockWithAWarning) {
  const std::pair<const char*, Bytes> cases[] = {
      {"truncated header", {0x96}},
      {"payload past the end", {0x96, 0xff, 0xff, 0x00}},
      {"jump before the block", {0x99, 0x02, 0x00, 0x00, 0x80}},
      {"jump past the block", {0x99, 0x02, 0x00, 0xff, 0x7f}},
      {"branch without offset", {0x9d, 0x00, 0x00}},
      {"function body past the end", {0x9b, 0x05, 0x00, 0x00, 0x00, 0x00, 0xff, 0xff}},
      {"function header cut short", {0x8e, 0x03, 0x00, 0x00, 0x05, 0x00}},
      {"try blocks past the end", {0x8f, 0x08, 0x00, 0x03, 0xff, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00}},
      {"with body past the end", {0x94, 0x02, 0x00, 0xff, 0xff}},
      {"unknown push type", {0x96, 0x02, 0x00, 0x0e, 0x00}},
      {"push string without end", {0x96, 0x03, 0x00, 0x00, 'a', 'b'}},
      {"constant pool longer than it says", {0x88, 0x03, 0x00, 0xff, 0xff, 'a'}},
  };
  for (const auto& [name, code] : cases) {
    RecordingHost host = runDamaged(code);
    EXPECT_EQ(host.lines, Lines{"still running"}) << name;
    EXPECT_FALSE(host.warnings.empty()) << name;
  }
}

TEST(ScriptRobustness, HugeCountsAndAnEmptyStackCostNothing) {
  const std::pair<const char*, Assembler> cases[] = {
      {"init array", std::move(Assembler().push({1e9}).op(ActionInitArray).op(ActionTrace))},
      {"init object", std::move(Assembler().push({2147483647}).op(ActionInitObject).op(ActionPop))},
      {"call with many arguments", std::move(Assembler().push({1e9, "trace"}).op(ActionCallFunction))},
      {"new with many arguments", std::move(Assembler().push({1e9, "Array"}).op(ActionNewObject).op(ActionPop))},
      {"array length", std::move(Assembler().push({"a", 0}).op(ActionInitArray).op(ActionSetVariable).push({"a"}).op(ActionGetVariable).push({"length", 4e9}).op(ActionSetMember))},
      {"implements with many interfaces", std::move(Assembler().push({1e9, "Object"}).op(ActionGetVariable).op(ActionImplementsOp))},
      {"sorting a big array", std::move(Assembler().push({"a", 1000000, 1, "Array"}).op(ActionNewObject).op(ActionSetVariable).label("again").push({0, "a"}).op(ActionGetVariable).push({"sort"}).op(ActionCallMethod).op(ActionPop).jump("again"))},
      {"unshifting into a big array", std::move(Assembler().push({"a", 1000000, 1, "Array"}).op(ActionNewObject).op(ActionSetVariable).label("again").push({1, 1, "a"}).op(ActionGetVariable).push({"unshift"}).op(ActionCallMethod).op(ActionPop).jump("again"))},
      {"registers out of range", std::move(Assembler().storeRegister(200).push({PushValue::reg(255)}).op(ActionPop))},
      {"constants without a pool", std::move(Assembler().push({PushValue::constant(300)}).op(ActionPop))},
  };
  for (const auto& [name, code] : cases) {
    RecordingHost host = runDamaged(code.bytes());
    ASSERT_FALSE(host.lines.empty()) << name;
    EXPECT_EQ(host.lines.back(), "still running") << name;
  }
  // Every action on an empty stack with an empty payload.
  for (int op = 0; op < 256; ++op) {
    Bytes code{static_cast<uint8_t>(op)};
    if (op >= 0x80) code.insert(code.end(), {0, 0});
    RecordingHost host = runDamaged(code);
    ASSERT_FALSE(host.lines.empty()) << "action 0x" << std::hex << op;
    EXPECT_EQ(host.lines.back(), "still running") << "action 0x" << std::hex << op;
  }
}

TEST(ScriptRobustness, ScriptsThatAllocateWithoutEndAreStopped) {
  // s = "x"; while (true) s = s + s;
  Assembler doubling;
  doubling.push({"s", "x"}).op(ActionSetVariable).label("again");
  doubling.push({"s", "s"}).op(ActionGetVariable).push({"s"}).op(ActionGetVariable).op(ActionAdd2).op(ActionSetVariable);
  doubling.jump("again");
  // a = []; while (true) a[a.length] = new Array(100000);
  Assembler filling;
  filling.push({"a", 0}).op(ActionInitArray).op(ActionSetVariable).label("again");
  filling.push({"a"}).op(ActionGetVariable).push({"a"}).op(ActionGetVariable).push({"length"}).op(ActionGetMember);
  filling.push({100000, 1, "Array"}).op(ActionNewObject).op(ActionSetMember).jump("again");
  for (const Assembler* code : {&doubling, &filling}) {
    RecordingHost host = runDamaged(code->bytes());
    EXPECT_EQ(host.lines, Lines{"still running"});
    ASSERT_EQ(host.warnings.size(), 1u);
    EXPECT_NE(host.warnings[0].find("memory"), std::string::npos) << host.warnings[0];
  }
}

// Loads, plays two frames with input and a timer; returns whether it loaded.
bool exercise(const Bytes& file) {
  std::string error;
  RecordingHost host;
  auto player = Player::load(file.data(), file.size(), error, &host);
  EXPECT_NE(player == nullptr, error.empty());
  if (!player) return false;
  player->mouseMove(30, 30);
  player->mouseDown(30, 30);
  player->mouseUp(30, 30);
  player->keyDown(13);
  player->advance();
  player->setClock(1000);
  player->advance();
  player->mouseLeave();
  std::vector<uint32_t> pixels(40 * 20);
  player->render({pixels.data(), 40, 20, 40}, {});
  return true;
}

TEST(ScriptRobustness, TheIntactScriptedMovieSaysWhatItShould) {
  std::string error;
  RecordingHost host;
  Bytes file = scriptedSampleMovie(false);
  auto player = Player::load(file.data(), file.size(), error, &host);
  ASSERT_TRUE(player) << error;
  EXPECT_TRUE(player->movie().warnings.empty());
  EXPECT_EQ(host.lines, (Lines{"panel class", "hello user", "bad", "placeholder load", "panel frame"}));
  EXPECT_EQ(host.events, Lines{"FSCommand placeholder 100,20,40,40"});
  EXPECT_TRUE(host.warnings.empty()) << host.warnings.front();
}

TEST(ScriptRobustness, EveryTruncationLoadsOrFailsCleanly) {
  Bytes file = scriptedSampleMovie(false);
  int loaded = 0;
  for (size_t size = 0; size < file.size(); size += 5) loaded += exercise(Bytes(file.begin(), file.begin() + size));
  EXPECT_GT(loaded, 0);
}

TEST(ScriptRobustness, RandomlyDamagedScriptsPlayOrFailCleanly) {
  std::mt19937 random(20261211);
  const Bytes original = scriptedSampleMovie(false);
  for (int round = 0; round < 300; ++round) {
    Bytes file = original;
    int damage = 1 + random() % 6;
    for (int i = 0; i < damage; ++i) {
      size_t at = 8 + random() % (file.size() - 8);
      file[at] = random() % 2 ? static_cast<uint8_t>(random()) : static_cast<uint8_t>(file[at] ^ (1u << (random() % 8)));
    }
    exercise(file);
  }
}

}  // namespace
}  // namespace tvrl::player::test
