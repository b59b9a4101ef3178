// Lays out an edit field's text: decodes it, breaks it into lines at line ends and (when
// the field wraps) at spaces, and measures it with the field's embedded font. A field
// without one is measured by an estimate, so that sizes still follow the text.
#pragma once

#include <string>
#include <vector>

#include "player/swf/movie.h"

namespace tvrl::player {

struct TextLine {
  std::vector<uint32_t> glyphs;  // indexes into the font's glyphs; empty without a font
  double width = 0;              // twips
};

struct TextLayout {
  const swf::FontCharacter* font = nullptr;  // null: measured, not drawable
  double scale = 0;                          // glyph units to twips
  double ascent = 0, descent = 0, leading = 0;
  std::vector<TextLine> lines;
  double width() const;   // of the widest line
  double height() const;  // of all lines, without the leading after the last
};

// `wrapWidth` is the width inside the field's margins, in twips.
TextLayout layoutText(const swf::Movie& movie, const swf::EditTextCharacter& field, const std::u32string& text,
                      double wrapWidth);

// HTML reduced to its text: tags dropped (paragraphs and breaks become line ends),
// entities decoded. Stays UTF-8.
std::string htmlToPlain(const std::string& html);
// The characters a field shows: UTF-8 decoded from version 6 on, bytes before.
std::u32string decodeText(const std::string& text, uint8_t swfVersion);
inline std::u32string visibleText(const std::string& text, bool html, uint8_t swfVersion) {
  return decodeText(html ? htmlToPlain(text) : text, swfVersion);
}

// Two pixels between a field's box and its text, as Flash leaves.
constexpr double kTextGutter = 40;

}  // namespace tvrl::player
