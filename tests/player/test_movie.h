// Small helpers shared by the drawing and timeline tests: build a movie with the writer,
// load it into a player, and draw it into a buffer of known colour.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "player/player.h"
#include "player/swf/tag_codes.h"
#include "player/writer/shape_writer.h"
#include "player/writer/tag_stream.h"
#include "player/writer/tags.h"

namespace tvrl::player::test {

constexpr double kTwips = 20;

inline swf::FillStyle solidFill(swf::Rgba c) {
  swf::FillStyle f;
  f.color = c;
  return f;
}

// A one-fill rectangle; coordinates in pixels.
inline swf::Shape rectangleShape(double x0, double y0, double x1, double y1, const swf::FillStyle& fill) {
  swf::Shape s;
  s.bounds = {int32_t(x0 * kTwips), int32_t(x1 * kTwips), int32_t(y0 * kTwips), int32_t(y1 * kTwips)};
  s.layers.emplace_back();
  s.layers[0].fills = {fill};
  s.layers[0].paths.push_back(
      swf::rectanglePath(int32_t(x0 * kTwips), int32_t(y0 * kTwips), int32_t(x1 * kTwips), int32_t(y1 * kTwips), 1));
  return s;
}

// Glyph 0 ('A') is a full-em block, glyph 1 ('B') a bar a fifth of the em wide; the em is
// 1024 units with the baseline at 0 and the block rising to -1024.
inline swf::FontCharacter blockFont() {
  swf::FontCharacter f;
  swf::Shape block, bar;
  block.layers.emplace_back();
  block.layers[0].paths.push_back(swf::rectanglePath(0, -1024, 1024, 0, 1));
  bar.layers.emplace_back();
  bar.layers[0].paths.push_back(swf::rectanglePath(0, -1024, 205, 0, 1));
  f.glyphs = {block, bar};
  f.codes = {'A', 'B'};
  f.advances = {1024, 1024};
  f.ascent = 1024;
  f.descent = 0;
  return f;
}

inline swf::PlaceCommand placeNew(uint16_t id, uint16_t depth, swf::Matrix m = {}) {
  swf::PlaceCommand p;
  p.characterId = id;
  p.depth = depth;
  p.matrix = m;
  return p;
}

inline void addShape(swf::writer::TagStream& tags, uint16_t id, const swf::Shape& shape) {
  tags.add(swf::TagDefineShape4, swf::writer::defineShape(id, shape, 4));
}

inline void addPlace(swf::writer::TagStream& tags, const swf::PlaceCommand& p) {
  tags.add(swf::TagPlaceObject2, swf::writer::placeObject2(p));
}

inline std::unique_ptr<Player> loadPlayer(const swf::writer::TagStream& tags, int stageWidth, int stageHeight) {
  swf::writer::MovieHeader h;
  h.frameSize = {0, int32_t(stageWidth * kTwips), 0, int32_t(stageHeight * kTwips)};
  std::vector<uint8_t> file = swf::writer::writeMovie(h, tags);
  std::string error;
  auto player = Player::load(file.data(), file.size(), error);
  EXPECT_TRUE(player) << error;
  return player;
}

struct Pixels {
  int width = 0, height = 0;
  std::vector<uint32_t> data;
  uint32_t at(int x, int y) const { return data.at(static_cast<size_t>(y) * width + x); }
};

inline Pixels draw(Player& player, int width, int height, uint32_t background, bool antialias = true,
                   ScaleMode mode = ScaleMode::ShowAll) {
  Pixels p{width, height, std::vector<uint32_t>(static_cast<size_t>(width) * height, background)};
  RenderOptions options;
  options.antialias = antialias;
  options.scaleMode = mode;
  options.paintBackground = false;
  player.render({p.data.data(), width, height, width}, options);
  return p;
}

inline int channel(uint32_t pixel, int shift) { return static_cast<int>(pixel >> shift & 255); }

// Each channel within `tolerance`.
inline ::testing::AssertionResult near(uint32_t got, uint32_t want, int tolerance) {
  for (int shift = 0; shift < 32; shift += 8)
    if (std::abs(channel(got, shift) - channel(want, shift)) > tolerance)
      return ::testing::AssertionFailure() << std::hex << "got 0x" << got << ", want 0x" << want;
  return ::testing::AssertionSuccess();
}

constexpr uint32_t kBlack = 0xff000000, kWhite = 0xffffffff, kClear = 0;

}  // namespace tvrl::player::test
