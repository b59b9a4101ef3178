// Glyph outlines of a TrueType font, in the units of DefineFont3 (20480 to the em, y down),
// ready to go into a movie's font.
#pragma once

#include <memory>
#include <string>

#include "player/swf/shape.h"

namespace tvrl::movie {

class OutlineFont {
 public:
  static constexpr double kEmSize = 20480;

  // Face `face` of a TrueType file or collection. Throws std::runtime_error naming the
  // problem: a file that cannot be read, is no TrueType font, or is damaged.
  OutlineFont(const std::string& path, int face);
  ~OutlineFont();
  OutlineFont(const OutlineFont&) = delete;
  OutlineFont& operator=(const OutlineFont&) = delete;

  // 0 when the font has no glyph for the character.
  int glyphIndex(char32_t c) const;
  // Fill 1 on the left of every edge: outer contours run counter-clockwise on screen.
  swf::Shape glyphShape(int glyph) const;
  double advance(int glyph) const;
  double ascent() const;
  double descent() const;  // positive, below the baseline
  double leading() const;

 private:
  struct Face;
  std::unique_ptr<Face> face_;
};

}  // namespace tvrl::movie
