// Bodies of the control, text, font, button and bitmap tags, from the reader's model.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "player/swf/characters.h"

namespace tvrl::swf::writer {

// Control tags.
std::vector<uint8_t> placeObject(uint16_t characterId, uint16_t depth, const Matrix& m,
                                 const ColorTransform* cx = nullptr);
// PlaceObject2, or PlaceObject3 when version3.
std::vector<uint8_t> placeObject2(const PlaceCommand& p, bool version3 = false);
std::vector<uint8_t> removeObject(uint16_t characterId, uint16_t depth);
std::vector<uint8_t> removeObject2(uint16_t depth);
std::vector<uint8_t> frameLabel(const std::string& name);
std::vector<uint8_t> setBackgroundColor(Rgba c);
std::vector<uint8_t> fileAttributes(uint32_t flags);
std::vector<uint8_t> exportAssets(const std::map<std::string, uint16_t>& exports);

// Fonts and text. fontVersion 1 writes the glyphs only (codes go in DefineFontInfo).
std::vector<uint8_t> defineFont(uint16_t id, const FontCharacter& font, int fontVersion);
std::vector<uint8_t> defineFontInfo(uint16_t fontId, const FontCharacter& font, bool version2);
std::vector<uint8_t> defineText(uint16_t id, const TextCharacter& text, int textVersion);
std::vector<uint8_t> defineEditText(uint16_t id, const EditTextCharacter& field);

// Buttons, with their actions.
std::vector<uint8_t> defineButton(uint16_t id, const ButtonCharacter& button, bool version2);
std::vector<uint8_t> defineButtonCxform(uint16_t buttonId, const ColorTransform& cx);

// Bitmaps from straight (not premultiplied) RGBA rows. Lossless formats: 3 colour-mapped
// (at most 256 distinct colours), 4 15-bit (DefineBitsLossless only), 5 32-bit.
std::vector<uint8_t> defineBitsLossless(uint16_t id, int width, int height, const std::vector<Rgba>& pixels,
                                        int format, bool version2);
// A baseline JPEG of the opaque colours.
std::vector<uint8_t> encodeJpeg(int width, int height, const std::vector<Rgba>& pixels, int quality = 95);
// A PNG with alpha, which DefineBitsJPEG2 may carry from version 8 on.
std::vector<uint8_t> encodePng(int width, int height, const std::vector<Rgba>& pixels);
std::vector<uint8_t> defineBitsJpeg2(uint16_t id, const std::vector<uint8_t>& jpeg);
std::vector<uint8_t> defineBitsJpeg3(uint16_t id, const std::vector<uint8_t>& jpeg, const std::vector<uint8_t>& alpha);
// DefineBits with its tables split off: returns {JPEGTables body, DefineBits body}.
std::pair<std::vector<uint8_t>, std::vector<uint8_t>> defineBitsWithTables(uint16_t id, const std::vector<uint8_t>& jpeg);

}  // namespace tvrl::swf::writer
