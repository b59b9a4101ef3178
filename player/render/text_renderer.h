// Draws static text from its glyph records, and edit text fields laid out with their
// embedded font. Fields that name a device font (no outlines) are not drawn: the engine
// carries no fonts of its own.
#pragma once

#include "player/render/shape_renderer.h"
#include "player/swf/movie.h"
#include "player/text/text_layout.h"

namespace tvrl::player {

void drawStaticText(ShapeRenderer& shapes, Canvas& canvas, const swf::Movie& movie, const swf::TextCharacter& text,
                    const swf::Matrix& toDevice, const swf::ColorTransform& cx);

class TextFieldInstance;
void drawEditText(ShapeRenderer& shapes, Canvas& canvas, const TextFieldInstance& field, const swf::Matrix& toDevice,
                  const swf::ColorTransform& cx);

}  // namespace tvrl::player
