// Movie-in, trace-out helpers for the script tests: frames of assembled actions become
// a movie, a recording host hears what the movie says, and the clock is driven by hand.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "player/player.h"
#include "player/swf/tag_codes.h"
#include "player/writer/avm1_assembler.h"
#include "player/writer/tag_stream.h"
#include "player/writer/tags.h"

namespace tvrl::player::test {

using swf::writer::Assembler;
using swf::writer::PushValue;
using namespace avm1;  // the action codes read as in a disassembly

struct RecordingHost : PlayerHost {
  std::vector<std::string> lines;     // trace output
  std::vector<std::string> events;    // "FSCommand cmd args" and "Navigate url target"
  std::vector<std::string> warnings;
  void trace(const std::string& line) override { lines.push_back(line); }
  void fsCommand(const std::string& command, const std::string& args) override {
    events.push_back("FSCommand " + command + " " + args);
  }
  void navigate(const std::string& url, const std::string& target) override {
    events.push_back("Navigate " + url + " " + target);
  }
  void warning(const std::string& message) override { warnings.push_back(message); }
};

inline void addActions(swf::writer::TagStream& tags, const Assembler& code) {
  tags.add(swf::TagDoAction, code.bytes());
}

inline std::unique_ptr<Player> loadScripted(const swf::writer::TagStream& tags, RecordingHost& host, int version = 8,
                                            int stageWidth = 200, int stageHeight = 150) {
  swf::writer::MovieHeader h;
  h.version = static_cast<uint8_t>(version);
  h.frameSize = {0, stageWidth * 20, 0, stageHeight * 20};
  std::vector<uint8_t> file = swf::writer::writeMovie(h, tags);
  std::string error;
  auto player = Player::load(file.data(), file.size(), error, &host);
  EXPECT_TRUE(player) << error;
  return player;
}

// The trace lines of a one-frame movie running `code` once.
inline std::vector<std::string> traceOf(const Assembler& code, int version = 8, RecordingHost* seen = nullptr) {
  swf::writer::TagStream tags;
  addActions(tags, code);
  tags.showFrame();
  RecordingHost host;
  auto player = loadScripted(tags, host, version);
  if (seen) *seen = host;
  return host.lines;
}

// trace(expression), where the expression is already on the stack.
inline Assembler& traceTop(Assembler& a) { return a.op(ActionTrace); }

}  // namespace tvrl::player::test
