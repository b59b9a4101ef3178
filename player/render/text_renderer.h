// Draws static text from its glyph records, and edit text fields laid out with their
// embedded font. Fields that name a device font (no outlines) are not drawn: the engine
// carries no fonts of its own.
#pragma once

#include "player/render/shape_renderer.h"
#include "player/swf/movie.h"

namespace tvrl::player {

void drawStaticText(ShapeRenderer& shapes, Canvas& canvas, const swf::Movie& movie, const swf::TextCharacter& text,
                    const swf::Matrix& toDevice, const swf::ColorTransform& cx);

void drawEditText(ShapeRenderer& shapes, Canvas& canvas, const swf::Movie& movie, const swf::EditTextCharacter& field,
                  const swf::Matrix& toDevice, const swf::ColorTransform& cx);

// The characters an edit field shows: HTML tags dropped (paragraphs and breaks become
// line ends), entities decoded, UTF-8 decoded from version 6 on.
std::u32string visibleText(const std::string& text, bool html, uint8_t swfVersion);

}  // namespace tvrl::player
