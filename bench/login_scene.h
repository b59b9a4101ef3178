// A representative login screen at 996 x 646: a full background bitmap, a dozen gradient
// and solid shapes, six buttons and two hundred glyphs of text. The same scene is given
// as a movie (for the engine) and as placed shapes (for cairo).
#pragma once

#include <cstdint>
#include <vector>

#include "player/swf/characters.h"

namespace tvrl::bench {

constexpr int kWidth = 996;
constexpr int kHeight = 646;

struct PlacedShape {
  swf::Shape shape;
  swf::Matrix matrix;  // twips of the shape to twips of the stage
};

struct LoginScene {
  std::vector<uint8_t> movie;
  swf::BitmapCharacter background;      // what the movie's bitmap decodes to
  std::vector<PlacedShape> drawOrder;   // every shape and glyph, bottom first
};

LoginScene buildLoginScene();

// A movie of about `bytes` bytes, mostly a bitmap that does not compress, for load timing.
std::vector<uint8_t> buildLargeMovie(size_t bytes);

}  // namespace tvrl::bench
