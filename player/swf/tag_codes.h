// Tag codes the player reads; every other tag is skipped by its length.
#pragma once

#include <cstdint>

namespace tvrl::swf {

enum TagCode : uint16_t {
  TagEnd = 0,
  TagShowFrame = 1,
  TagDefineShape = 2,
  TagPlaceObject = 4,
  TagRemoveObject = 5,
  TagDefineBits = 6,
  TagDefineButton = 7,
  TagJpegTables = 8,
  TagSetBackgroundColor = 9,
  TagDefineFont = 10,
  TagDefineText = 11,
  TagDoAction = 12,
  TagDefineFontInfo = 13,
  TagDefineBitsLossless = 20,
  TagDefineBitsJpeg2 = 21,
  TagDefineShape2 = 22,
  TagDefineButtonCxform = 23,
  TagPlaceObject2 = 26,
  TagRemoveObject2 = 28,
  TagDefineShape3 = 32,
  TagDefineText2 = 33,
  TagDefineButton2 = 34,
  TagDefineBitsJpeg3 = 35,
  TagDefineBitsLossless2 = 36,
  TagDefineEditText = 37,
  TagDefineSprite = 39,
  TagFrameLabel = 43,
  TagDefineMorphShape = 46,
  TagDefineFont2 = 48,
  TagExportAssets = 56,
  TagDoInitAction = 59,
  TagDefineFontInfo2 = 62,
  TagFileAttributes = 69,
  TagPlaceObject3 = 70,
  TagDefineFont3 = 75,
  TagDefineShape4 = 83,
  TagDefineMorphShape2 = 84,
};

}  // namespace tvrl::swf
