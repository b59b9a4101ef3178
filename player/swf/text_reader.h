// Reads fonts, font information, static text and edit text fields.
#pragma once

#include "player/swf/byte_reader.h"
#include "player/swf/characters.h"

namespace tvrl::swf {

// All after the character id. fontVersion is 1, 2 or 3 (DefineFont, 2, 3).
bool readFont(ByteReader& in, int fontVersion, FontCharacter& out);
// DefineFontInfo / DefineFontInfo2 after the font id.
bool readFontInfo(ByteReader& in, bool version2, FontCharacter& font);
// textVersion 1 is DefineText (RGB), 2 is DefineText2 (RGBA).
bool readText(ByteReader& in, int textVersion, TextCharacter& out);
bool readEditText(ByteReader& in, EditTextCharacter& out);

}  // namespace tvrl::swf
