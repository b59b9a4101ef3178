#include "player/writer/tags.h"

#include <zlib.h>

#include <algorithm>
#include <stdexcept>

#include "player/writer/action_tags.h"
#include "player/writer/byte_writer.h"
#include "player/writer/shape_writer.h"

namespace tvrl::swf::writer {
namespace {

std::vector<uint8_t> deflate(const std::vector<uint8_t>& raw) {
  uLongf size = compressBound(raw.size());
  std::vector<uint8_t> packed(size);
  if (compress2(packed.data(), &size, raw.data(), raw.size(), Z_BEST_COMPRESSION) != Z_OK)
    throw std::runtime_error("zlib could not compress a bitmap");
  packed.resize(size);
  return packed;
}

}  // namespace

std::vector<uint8_t> placeObject(uint16_t characterId, uint16_t depth, const Matrix& m, const ColorTransform* cx) {
  ByteWriter out;
  out.u16(characterId);
  out.u16(depth);
  out.matrix(m);
  if (cx) out.colorTransform(*cx, false);
  return out.data();
}

std::vector<uint8_t> placeObject2(const PlaceCommand& p, bool version3) {
  ByteWriter out;
  uint8_t flags = (p.clipActions.empty() ? 0 : 0x80) | (p.clipDepth ? 0x40 : 0) | (p.name ? 0x20 : 0) | (p.ratio ? 0x10 : 0) |
                  (p.colorTransform ? 0x08 : 0) | (p.matrix ? 0x04 : 0) | (p.characterId ? 0x02 : 0) |
                  (p.move ? 0x01 : 0);
  out.u8(flags);
  if (version3) out.u8(0);
  out.u16(p.depth);
  if (p.characterId) out.u16(*p.characterId);
  if (p.matrix) out.matrix(*p.matrix);
  if (p.colorTransform) out.colorTransform(*p.colorTransform, true);
  if (p.ratio) out.u16(*p.ratio);
  if (p.name) out.cString(*p.name);
  if (p.clipDepth) out.u16(*p.clipDepth);
  if (!p.clipActions.empty()) writeClipActions(out, p.clipActions);
  return out.data();
}

std::vector<uint8_t> removeObject(uint16_t characterId, uint16_t depth) {
  ByteWriter out;
  out.u16(characterId);
  out.u16(depth);
  return out.data();
}

std::vector<uint8_t> removeObject2(uint16_t depth) {
  ByteWriter out;
  out.u16(depth);
  return out.data();
}

std::vector<uint8_t> frameLabel(const std::string& name) {
  ByteWriter out;
  out.cString(name);
  return out.data();
}

std::vector<uint8_t> setBackgroundColor(Rgba c) {
  ByteWriter out;
  out.rgb(c);
  return out.data();
}

std::vector<uint8_t> fileAttributes(uint32_t flags) {
  ByteWriter out;
  out.u32(flags);
  return out.data();
}

std::vector<uint8_t> exportAssets(const std::map<std::string, uint16_t>& exports) {
  ByteWriter out;
  out.u16(static_cast<uint16_t>(exports.size()));
  for (const auto& [name, id] : exports) {
    out.u16(id);
    out.cString(name);
  }
  return out.data();
}

std::vector<uint8_t> defineFont(uint16_t id, const FontCharacter& font, int fontVersion) {
  std::vector<ByteWriter> glyphs(font.glyphs.size());
  for (size_t i = 0; i < font.glyphs.size(); ++i) writeGlyph(glyphs[i], font.glyphs[i]);
  ByteWriter out;
  out.u16(id);
  if (fontVersion == 1) {
    uint32_t offset = static_cast<uint32_t>(2 * glyphs.size());
    for (const ByteWriter& g : glyphs) {
      out.u16(static_cast<uint16_t>(offset));
      offset += static_cast<uint32_t>(g.size());
    }
    for (const ByteWriter& g : glyphs) out.bytes(g.data());
    return out.data();
  }
  bool hasLayout = !font.advances.empty();
  out.u8((hasLayout ? 0x80 : 0) | 0x08 | 0x04 | (font.italic ? 0x02 : 0) | (font.bold ? 0x01 : 0));
  out.u8(0);
  out.u8(static_cast<uint8_t>(font.name.size()));
  out.bytes(reinterpret_cast<const uint8_t*>(font.name.data()), font.name.size());
  out.u16(static_cast<uint16_t>(glyphs.size()));
  if (!glyphs.empty()) {
    uint32_t offset = static_cast<uint32_t>(4 * glyphs.size() + 4);
    for (const ByteWriter& g : glyphs) {
      out.u32(offset);
      offset += static_cast<uint32_t>(g.size());
    }
    out.u32(offset);
    for (const ByteWriter& g : glyphs) out.bytes(g.data());
    for (size_t i = 0; i < glyphs.size(); ++i) out.u16(i < font.codes.size() ? font.codes[i] : 0);
  }
  if (hasLayout) {
    out.u16(static_cast<uint16_t>(font.ascent));
    out.u16(static_cast<uint16_t>(font.descent));
    out.s16(static_cast<int16_t>(font.leading));
    for (size_t i = 0; i < glyphs.size(); ++i) out.s16(static_cast<int16_t>(i < font.advances.size() ? font.advances[i] : 0));
    for (size_t i = 0; i < glyphs.size(); ++i) out.rect(font.glyphs[i].bounds);
    out.u16(0);  // no kerning
  }
  return out.data();
}

std::vector<uint8_t> defineFontInfo(uint16_t fontId, const FontCharacter& font, bool version2) {
  ByteWriter out;
  out.u16(fontId);
  out.u8(static_cast<uint8_t>(font.name.size()));
  out.bytes(reinterpret_cast<const uint8_t*>(font.name.data()), font.name.size());
  out.u8((font.italic ? 0x04 : 0) | (font.bold ? 0x02 : 0) | 0x01);
  if (version2) out.u8(0);
  for (uint16_t c : font.codes) out.u16(c);
  return out.data();
}

std::vector<uint8_t> defineText(uint16_t id, const TextCharacter& text, int textVersion) {
  uint32_t maxIndex = 0;
  unsigned advanceBits = 0;
  for (const TextRecord& r : text.records)
    for (const GlyphEntry& g : r.glyphs) {
      maxIndex = std::max(maxIndex, g.index);
      advanceBits = std::max(advanceBits, ByteWriter::signedBits({g.advance}));
    }
  unsigned glyphBits = std::max(1u, ByteWriter::unsignedBits(maxIndex));
  ByteWriter out;
  out.u16(id);
  out.rect(text.bounds);
  out.matrix(text.matrix);
  out.u8(static_cast<uint8_t>(glyphBits));
  out.u8(static_cast<uint8_t>(advanceBits));
  // Every record states its font, colour and position, so none depends on the one before.
  for (const TextRecord& r : text.records) {
    out.u8(0x80 | 0x08 | 0x04 | 0x02 | 0x01);
    out.u16(r.fontId);
    textVersion == 2 ? out.rgba(r.color) : out.rgb(r.color);
    out.s16(static_cast<int16_t>(r.x));
    out.s16(static_cast<int16_t>(r.y));
    out.u16(r.height);
    out.u8(static_cast<uint8_t>(r.glyphs.size()));
    for (const GlyphEntry& g : r.glyphs) {
      out.ub(glyphBits, g.index);
      out.sb(advanceBits, g.advance);
    }
    out.flushBits();
  }
  out.u8(0);
  return out.data();
}

std::vector<uint8_t> defineEditText(uint16_t id, const EditTextCharacter& f) {
  ByteWriter out;
  out.u16(id);
  out.rect(f.bounds);
  bool hasLayout = f.align != TextAlign::Left || f.leftMargin || f.rightMargin || f.indent || f.leading;
  out.u8((!f.initialText.empty() ? 0x80 : 0) | (f.wordWrap ? 0x40 : 0) | (f.multiline ? 0x20 : 0) | 0x04 |
         (f.fontId ? 0x01 : 0));
  out.u8((hasLayout ? 0x20 : 0) | (f.border ? 0x08 : 0) | (f.html ? 0x02 : 0) | (f.useOutlines ? 0x01 : 0));
  if (f.fontId) {
    out.u16(*f.fontId);
    out.u16(f.fontHeight);
  }
  out.rgba(f.color);
  if (hasLayout) {
    out.u8(static_cast<uint8_t>(f.align));
    out.u16(f.leftMargin);
    out.u16(f.rightMargin);
    out.u16(f.indent);
    out.s16(f.leading);
  }
  out.cString(f.variableName);
  if (!f.initialText.empty()) out.cString(f.initialText);
  return out.data();
}

std::vector<uint8_t> defineButton(uint16_t id, const ButtonCharacter& button, bool version2) {
  ByteWriter records;
  for (const ButtonRecord& r : button.records) {
    records.u8(r.states & 0x0f);
    records.u16(r.characterId);
    records.u16(r.depth);
    records.matrix(r.matrix);
    if (version2) records.colorTransform(r.colorTransform, true);
  }
  records.u8(0);
  ByteWriter out;
  out.u16(id);
  if (version2) {
    out.u8(button.trackAsMenu ? 1 : 0);
    // Counted from the offset field itself; the actions follow the records.
    out.u16(button.actions.empty() ? 0 : static_cast<uint16_t>(2 + records.size()));
  }
  out.bytes(records.data());
  writeButtonActions(out, button.actions, version2);
  if (!version2) out.u8(0);  // ActionEnd
  return out.data();
}

std::vector<uint8_t> defineButtonCxform(uint16_t buttonId, const ColorTransform& cx) {
  ByteWriter out;
  out.u16(buttonId);
  out.colorTransform(cx, false);
  return out.data();
}

std::vector<uint8_t> defineBitsLossless(uint16_t id, int width, int height, const std::vector<Rgba>& pixels,
                                        int format, bool version2) {
  ByteWriter raw;
  std::vector<Rgba> table;
  auto premultiplied = [version2](Rgba c) {
    if (!version2) return c;
    auto pm = [&](uint8_t v) { return static_cast<uint8_t>((v * c.a + 127) / 255); };
    return Rgba{pm(c.r), pm(c.g), pm(c.b), c.a};
  };
  if (format == 3) {
    for (const Rgba& p : pixels)
      if (std::find(table.begin(), table.end(), p) == table.end()) table.push_back(p);
    if (table.size() > 256) throw std::invalid_argument("more than 256 colours for a colour-mapped bitmap");
    for (const Rgba& c : table) version2 ? raw.rgba(premultiplied(c)) : raw.rgb(c);
  }
  for (int y = 0; y < height; ++y) {
    size_t rowStart = raw.size();
    for (int x = 0; x < width; ++x) {
      Rgba c = pixels[static_cast<size_t>(y) * width + x];
      if (format == 3) {
        raw.u8(static_cast<uint8_t>(std::find(table.begin(), table.end(), c) - table.begin()));
      } else if (format == 4) {
        unsigned v = (c.r >> 3) << 10 | (c.g >> 3) << 5 | (c.b >> 3);
        raw.u8(static_cast<uint8_t>(v >> 8));
        raw.u8(static_cast<uint8_t>(v));
      } else {
        Rgba p = premultiplied(c);
        raw.u8(version2 ? p.a : 0xff);
        raw.rgb(p);
      }
    }
    while ((raw.size() - rowStart) % 4) raw.u8(0);
  }
  ByteWriter out;
  out.u16(id);
  out.u8(static_cast<uint8_t>(format));
  out.u16(static_cast<uint16_t>(width));
  out.u16(static_cast<uint16_t>(height));
  if (format == 3) out.u8(static_cast<uint8_t>(table.size() - 1));
  out.bytes(deflate(raw.data()));
  return out.data();
}

std::vector<uint8_t> defineBitsJpeg2(uint16_t id, const std::vector<uint8_t>& jpeg) {
  ByteWriter out;
  out.u16(id);
  out.bytes(jpeg);
  return out.data();
}

std::vector<uint8_t> defineBitsJpeg3(uint16_t id, const std::vector<uint8_t>& jpeg, const std::vector<uint8_t>& alpha) {
  ByteWriter out;
  out.u16(id);
  out.u32(static_cast<uint32_t>(jpeg.size()));
  out.bytes(jpeg);
  out.bytes(deflate(alpha));
  return out.data();
}

std::pair<std::vector<uint8_t>, std::vector<uint8_t>> defineBitsWithTables(uint16_t id, const std::vector<uint8_t>& jpeg) {
  // Quantisation and Huffman tables go to JPEGTables; the rest stays with the image.
  std::vector<uint8_t> tables{0xff, 0xd8}, image{0xff, 0xd8};
  size_t i = 2;
  while (i + 4 <= jpeg.size() && jpeg[i] == 0xff) {
    uint8_t marker = jpeg[i + 1];
    size_t length = static_cast<size_t>(jpeg[i + 2]) << 8 | jpeg[i + 3];
    if (marker == 0xda) break;  // start of scan: entropy-coded data follows
    std::vector<uint8_t>& target = marker == 0xdb || marker == 0xc4 ? tables : image;
    target.insert(target.end(), jpeg.begin() + i, jpeg.begin() + std::min(jpeg.size(), i + 2 + length));
    i += 2 + length;
  }
  image.insert(image.end(), jpeg.begin() + std::min(i, jpeg.size()), jpeg.end());
  tables.push_back(0xff);
  tables.push_back(0xd9);
  ByteWriter out;
  out.u16(id);
  out.bytes(image);
  return {tables, out.data()};
}

}  // namespace tvrl::swf::writer
