#include "player/swf/text_reader.h"

#include "player/swf/shape_reader.h"

namespace tvrl::swf {
namespace {

// Glyph i spans offsets[i]..offsets[i+1] of `table`; a glyph outside it stays empty.
bool readGlyphs(const uint8_t* table, size_t tableSize, const std::vector<uint32_t>& offsets,
                uint32_t end, std::vector<Shape>& glyphs) {
  glyphs.resize(offsets.size());
  for (size_t i = 0; i < offsets.size(); ++i) {
    uint32_t from = offsets[i];
    uint32_t to = i + 1 < offsets.size() ? offsets[i + 1] : end;
    if (from > to || to > tableSize) return false;
    ByteReader glyph(table + from, to - from);
    readGlyphShape(glyph, glyphs[i]);
  }
  return true;
}

}  // namespace

bool readFont(ByteReader& in, int fontVersion, FontCharacter& out) {
  if (fontVersion == 1) {
    const uint8_t* table = in.current();
    size_t tableSize = in.remaining();
    uint32_t first = in.u16();
    if (in.failed() || first % 2 || first > tableSize) return false;
    std::vector<uint32_t> offsets{first};
    for (uint32_t i = 1; i < first / 2; ++i) offsets.push_back(in.u16());
    if (in.failed()) return false;
    if (first == 0) offsets.clear();
    return readGlyphs(table, tableSize, offsets, static_cast<uint32_t>(tableSize), out.glyphs);
  }
  out.emSize = fontVersion == 3 ? 20480 : 1024;
  uint8_t flags = in.u8();
  bool hasLayout = flags & 0x80, wideOffsets = flags & 0x08, wideCodes = flags & 0x04;
  out.italic = flags & 0x02;
  out.bold = flags & 0x01;
  in.u8();  // language
  unsigned nameLength = in.u8();
  const uint8_t* name = in.bytes(nameLength);
  if (name) out.name.assign(reinterpret_cast<const char*>(name), nameLength);
  unsigned count = in.u16();
  const uint8_t* table = in.current();
  size_t tableSize = in.remaining();
  size_t tableStart = in.position();
  // Each glyph needs an offset; a count the tag cannot hold is a lie.
  if (in.failed() || static_cast<size_t>(count) * (wideOffsets ? 4 : 2) > tableSize) return false;
  if (count > 0) {
    std::vector<uint32_t> offsets;
    for (unsigned i = 0; i < count; ++i) offsets.push_back(wideOffsets ? in.u32() : in.u16());
    uint32_t codeTable = wideOffsets ? in.u32() : in.u16();
    if (in.failed() || tableStart + codeTable < in.position()) return false;
    if (!readGlyphs(table, tableSize, offsets, codeTable, out.glyphs)) return false;
    in.skip(tableStart + codeTable - in.position());
  }
  for (unsigned i = 0; i < count; ++i) out.codes.push_back(wideCodes ? in.u16() : in.u8());
  if (hasLayout) {
    out.ascent = in.u16();
    out.descent = in.u16();
    out.leading = in.s16();
    for (unsigned i = 0; i < count; ++i) out.advances.push_back(in.s16());
    // Glyph bounds and kerning are not needed to draw.
  }
  return !in.failed();
}

bool readFontInfo(ByteReader& in, bool version2, FontCharacter& font) {
  unsigned nameLength = in.u8();
  const uint8_t* name = in.bytes(nameLength);
  if (name) font.name.assign(reinterpret_cast<const char*>(name), nameLength);
  uint8_t flags = in.u8();
  font.italic = flags & 0x04;
  font.bold = flags & 0x02;
  bool wideCodes = version2 || (flags & 0x01);
  if (version2) in.u8();  // language
  font.codes.clear();
  for (size_t i = 0; i < font.glyphs.size() && !in.failed(); ++i)
    font.codes.push_back(wideCodes ? in.u16() : in.u8());
  return !in.failed();
}

bool readText(ByteReader& in, int textVersion, TextCharacter& out) {
  out.bounds = in.rect();
  out.matrix = in.matrix();
  unsigned glyphBits = in.u8();
  unsigned advanceBits = in.u8();
  if (glyphBits > 32 || advanceBits > 32) return false;
  TextRecord style;
  while (!in.failed()) {
    uint8_t flags = in.u8();
    if (flags == 0) break;
    TextRecord record = style;
    record.glyphs.clear();
    if (flags & 0x08) record.fontId = in.u16();
    if (flags & 0x04) record.color = textVersion == 2 ? in.rgba() : in.rgb();
    // Without an offset a record continues where the previous one's pen ended.
    if (flags & 0x01) record.x = in.s16();
    if (flags & 0x02) record.y = in.s16();
    if (flags & 0x08) record.height = in.u16();
    unsigned count = in.u8();
    for (unsigned i = 0; i < count && !in.failed(); ++i) {
      GlyphEntry g;
      g.index = in.ub(glyphBits);
      g.advance = in.sb(advanceBits);
      record.glyphs.push_back(g);
    }
    in.alignBits();
    if (in.failed()) break;
    style = record;
    for (const GlyphEntry& g : record.glyphs) style.x += g.advance;
    style.glyphs.clear();
    out.records.push_back(std::move(record));
  }
  return !in.failed();
}

bool readEditText(ByteReader& in, EditTextCharacter& out) {
  out.bounds = in.rect();
  uint8_t f1 = in.u8(), f2 = in.u8();
  bool hasText = f1 & 0x80, hasColor = f1 & 0x04, hasMaxLength = f1 & 0x02, hasFont = f1 & 0x01;
  out.wordWrap = f1 & 0x40;
  out.multiline = f1 & 0x20;
  bool hasFontClass = f2 & 0x80, hasLayout = f2 & 0x20;
  out.border = f2 & 0x08;
  out.html = f2 & 0x02;
  out.useOutlines = f2 & 0x01;
  if (hasFont) out.fontId = in.u16();
  if (hasFontClass) in.cString();
  if (hasFont || hasFontClass) out.fontHeight = in.u16();
  if (hasColor) out.color = in.rgba();
  if (hasMaxLength) in.u16();
  if (hasLayout) {
    out.align = static_cast<TextAlign>(in.u8() & 3);
    out.leftMargin = in.u16();
    out.rightMargin = in.u16();
    out.indent = in.u16();
    out.leading = in.s16();
  }
  out.variableName = in.cString();
  if (hasText) out.initialText = in.cString();
  return !in.failed();
}

}  // namespace tvrl::swf
