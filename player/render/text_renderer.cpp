#include "player/render/text_renderer.h"

#include <algorithm>
#include <cctype>


namespace tvrl::player {

using swf::Matrix;

namespace {

const swf::FontCharacter* fontOf(const swf::Movie& movie, uint16_t id) {
  const swf::Character* c = movie.character(id);
  return c && c->kind == swf::CharacterKind::Font ? static_cast<const swf::FontCharacter*>(c) : nullptr;
}

void drawGlyph(ShapeRenderer& shapes, Canvas& canvas, const swf::FontCharacter& font, uint32_t index,
               const Matrix& glyphToDevice, swf::Rgba color, const swf::ColorTransform& cx) {
  if (index >= font.glyphs.size()) return;
  swf::FillStyle fill;
  fill.color = color;
  shapes.draw(canvas, font.glyphs[index], glyphToDevice, cx, &fill);
}

std::u32string decodeUtf8(const std::string& s) {
  std::u32string out;
  for (size_t i = 0; i < s.size();) {
    unsigned char c = s[i];
    int extra = c < 0x80 ? 0 : (c >> 5) == 6 ? 1 : (c >> 4) == 14 ? 2 : (c >> 3) == 30 ? 3 : -1;
    char32_t cp = extra == 0 ? c : extra == 1 ? c & 0x1f : extra == 2 ? c & 0x0f : c & 0x07;
    bool valid = extra >= 0 && i + extra < s.size();
    for (int k = 1; valid && k <= extra; ++k) {
      unsigned char cc = s[i + k];
      if ((cc & 0xc0) != 0x80) valid = false;
      cp = cp << 6 | (cc & 0x3f);
    }
    if (!valid) {
      out.push_back(c);  // not UTF-8 after all: take the byte as it is
      ++i;
    } else {
      out.push_back(cp);
      i += extra + 1;
    }
  }
  return out;
}

}  // namespace

std::u32string visibleText(const std::string& text, bool html, uint8_t swfVersion) {
  std::string plain;
  if (!html) {
    plain = text;
  } else {
    for (size_t i = 0; i < text.size();) {
      if (text[i] == '<') {
        size_t end = text.find('>', i);
        if (end == std::string::npos) break;
        std::string tag = text.substr(i + 1, end - i - 1);
        std::transform(tag.begin(), tag.end(), tag.begin(), [](unsigned char c) { return std::tolower(c); });
        if (tag == "br" || tag == "br/" || tag == "/p") plain.push_back('\n');
        i = end + 1;
      } else if (text[i] == '&') {
        static const std::pair<const char*, char> entities[] = {
            {"&lt;", '<'}, {"&gt;", '>'}, {"&amp;", '&'}, {"&quot;", '"'}, {"&apos;", '\''}, {"&nbsp;", ' '}};
        bool matched = false;
        for (const auto& [name, ch] : entities) {
          if (text.compare(i, std::char_traits<char>::length(name), name) == 0) {
            plain.push_back(ch);
            i += std::char_traits<char>::length(name);
            matched = true;
            break;
          }
        }
        if (!matched) plain.push_back(text[i++]);
      } else {
        plain.push_back(text[i++]);
      }
    }
    // A closing paragraph at the very end does not start another line.
    if (!plain.empty() && plain.back() == '\n') plain.pop_back();
  }
  if (swfVersion >= 6) return decodeUtf8(plain);
  std::u32string bytes;
  for (unsigned char c : plain) bytes.push_back(c);
  return bytes;
}

void drawStaticText(ShapeRenderer& shapes, Canvas& canvas, const swf::Movie& movie, const swf::TextCharacter& text,
                    const Matrix& toDevice, const swf::ColorTransform& cx) {
  Matrix base = toDevice * text.matrix;
  for (const swf::TextRecord& r : text.records) {
    const swf::FontCharacter* font = fontOf(movie, r.fontId);
    if (!font) continue;
    double scale = r.height / font->emSize;
    double x = r.x;
    for (const swf::GlyphEntry& g : r.glyphs) {
      drawGlyph(shapes, canvas, *font, g.index, base * Matrix{scale, 0, 0, scale, x, r.y}, r.color, cx);
      x += g.advance;
    }
  }
}

void drawEditText(ShapeRenderer& shapes, Canvas& canvas, const swf::Movie& movie, const swf::EditTextCharacter& field,
                  const Matrix& toDevice, const swf::ColorTransform& cx) {
  const swf::Rect& b = field.bounds;
  if (field.border) {
    swf::Shape box;
    box.layers.emplace_back();
    swf::FillStyle white;
    white.color = {255, 255, 255, 255};
    swf::LineStyle black;
    box.layers[0].fills = {white};
    box.layers[0].lines = {black};
    box.layers[0].paths.push_back(swf::rectanglePath(b.xMin, b.yMin, b.xMax, b.yMax, 1, 1));
    shapes.draw(canvas, box, toDevice, cx);
  }
  const swf::FontCharacter* font = field.fontId ? fontOf(movie, *field.fontId) : nullptr;
  if (!font || !field.useOutlines || font->glyphs.empty()) return;

  std::map<char32_t, uint32_t> glyphOf;
  for (size_t i = 0; i < font->codes.size(); ++i) glyphOf.emplace(font->codes[i], static_cast<uint32_t>(i));
  const double scale = field.fontHeight / font->emSize;
  auto advance = [&](uint32_t glyph) {
    return glyph < font->advances.size() ? font->advances[glyph] * scale : field.fontHeight * 0.5;
  };
  const double gutter = 40;  // two pixels inside the field's box, as Flash leaves
  const double left = b.xMin + gutter + field.leftMargin;
  const double width = (b.xMax - b.xMin) - 2 * gutter - field.leftMargin - field.rightMargin;
  const double ascent = font->ascent > 0 ? font->ascent * scale : field.fontHeight * 0.8;
  const double descent = font->descent > 0 ? font->descent * scale : field.fontHeight * 0.2;

  // Break into lines: at line ends, and at spaces when the field wraps.
  struct Line {
    std::vector<uint32_t> glyphs;
    double width = 0;
  };
  std::vector<Line> lines(1);
  std::u32string text = visibleText(field.initialText, field.html, movie.version);
  for (size_t i = 0; i < text.size(); ++i) {
    char32_t c = text[i];
    if (c == '\n' || c == '\r') {
      if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
      if (field.multiline || field.html) lines.emplace_back();
      continue;
    }
    auto it = glyphOf.find(c);
    if (it == glyphOf.end()) continue;
    double w = advance(it->second);
    Line& line = lines.back();
    if (field.wordWrap && line.width + w > width && !line.glyphs.empty() && c != ' ') {
      // Move the current word to a new line when there is a space to break at.
      auto space = glyphOf.find(' ');
      size_t breakAt = line.glyphs.size();
      if (space != glyphOf.end())
        for (size_t k = line.glyphs.size(); k-- > 0;)
          if (line.glyphs[k] == space->second) {
            breakAt = k + 1;
            break;
          }
      Line next;
      next.glyphs.assign(line.glyphs.begin() + breakAt, line.glyphs.end());
      line.glyphs.resize(breakAt);
      line.width = 0;
      for (uint32_t g : line.glyphs) line.width += advance(g);
      for (uint32_t g : next.glyphs) next.width += advance(g);
      lines.push_back(std::move(next));
    }
    lines.back().glyphs.push_back(it->second);
    lines.back().width += w;
  }

  // Text stays inside the field's box (its bounding box on the canvas, when rotated).
  double x0 = 1e9, y0 = 1e9, x1 = -1e9, y1 = -1e9;
  for (swf::Point corner : {swf::Point{double(b.xMin), double(b.yMin)}, swf::Point{double(b.xMax), double(b.yMin)},
                            swf::Point{double(b.xMin), double(b.yMax)}, swf::Point{double(b.xMax), double(b.yMax)}}) {
    swf::Point p = toDevice.apply(corner);
    x0 = std::min(x0, p.x), y0 = std::min(y0, p.y), x1 = std::max(x1, p.x), y1 = std::max(y1, p.y);
  }
  Canvas clipped = canvas;
  clipped.clip = canvas.clip.intersect({static_cast<int>(std::floor(std::clamp(x0, -1e9, 1e9))),
                                        static_cast<int>(std::floor(std::clamp(y0, -1e9, 1e9))),
                                        static_cast<int>(std::ceil(std::clamp(x1, -1e9, 1e9))),
                                        static_cast<int>(std::ceil(std::clamp(y1, -1e9, 1e9)))});

  double baseline = b.yMin + gutter + ascent;
  for (size_t n = 0; n < lines.size(); ++n) {
    const Line& line = lines[n];
    double x = left + (n == 0 ? field.indent : 0);
    if (field.align == swf::TextAlign::Right) x = left + width - line.width;
    if (field.align == swf::TextAlign::Center) x = left + (width - line.width) / 2;
    for (uint32_t g : line.glyphs) {
      drawGlyph(shapes, clipped, *font, g, toDevice * Matrix{scale, 0, 0, scale, x, baseline}, field.color, cx);
      x += advance(g);
    }
    baseline += ascent + descent + field.leading;
  }
}

}  // namespace tvrl::player
