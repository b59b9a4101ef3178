// A sequence of tags with frames, and the movie file around it.
#pragma once

#include <cstdint>
#include <vector>

#include "player/swf/geometry.h"

namespace tvrl::swf::writer {

class TagStream {
 public:
  void add(uint16_t code, const std::vector<uint8_t>& body);
  void showFrame();
  uint16_t frameCount() const { return frames_; }
  // The tags followed by End.
  std::vector<uint8_t> finish() const;

 private:
  std::vector<uint8_t> bytes_;
  uint16_t frames_ = 0;
};

struct MovieHeader {
  uint8_t version = 8;
  Rect frameSize{0, 550 * 20, 0, 400 * 20};
  double frameRate = 24;
  bool compressed = false;
};

// The whole file: header, then the stream's tags. The frame count is the stream's.
std::vector<uint8_t> writeMovie(const MovieHeader& header, const TagStream& tags);

// DefineSprite around a stream of control tags.
std::vector<uint8_t> defineSprite(uint16_t id, const TagStream& tags);

}  // namespace tvrl::swf::writer
