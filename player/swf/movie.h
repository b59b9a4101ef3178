// A loaded movie: its header, dictionary and root timeline, read once and shared by
// every instance that plays it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "player/swf/characters.h"

namespace tvrl::swf {

struct Movie {
  uint8_t version = 0;
  bool compressed = false;
  Rect frameSize;
  double frameRate = 0;
  uint16_t declaredFrameCount = 0;
  std::optional<Rgba> background;
  uint32_t fileAttributes = 0;
  std::map<uint16_t, std::unique_ptr<Character>> dictionary;
  Timeline root;
  std::map<std::string, uint16_t> exports;
  // Tags that were malformed and skipped, for diagnostics.
  std::vector<std::string> warnings;

  const Character* character(uint16_t id) const {
    auto it = dictionary.find(id);
    return it == dictionary.end() ? nullptr : it->second.get();
  }
};

struct LoadResult {
  std::unique_ptr<Movie> movie;  // null on failure
  std::string error;
};

// Never reads outside `data`; a file that cannot be played gives an error, a malformed
// tag inside a playable file is skipped with a warning.
LoadResult loadMovie(const uint8_t* data, size_t size);

}  // namespace tvrl::swf
