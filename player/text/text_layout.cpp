#include "player/text/text_layout.h"

#include <algorithm>
#include <cctype>
#include <map>

namespace tvrl::player {

double TextLayout::width() const {
  double w = 0;
  for (const TextLine& l : lines) w = std::max(w, l.width);
  return w;
}

double TextLayout::height() const {
  if (lines.empty()) return 0;
  return lines.size() * (ascent + descent) + (lines.size() - 1) * leading;
}

TextLayout layoutText(const swf::Movie& movie, const swf::EditTextCharacter& field, const std::u32string& text,
                      double wrapWidth) {
  TextLayout layout;
  const swf::Character* c = field.fontId ? movie.character(*field.fontId) : nullptr;
  const auto* font = c && c->kind == swf::CharacterKind::Font ? static_cast<const swf::FontCharacter*>(c) : nullptr;
  if (font && font->glyphs.empty()) font = nullptr;
  layout.font = font;
  layout.scale = font ? field.fontHeight / font->emSize : 0;
  // A font with a layout gives its own ascent and descent; others take typical ones.
  bool metrics = font && !font->advances.empty();
  layout.ascent = metrics ? font->ascent * layout.scale : field.fontHeight * 0.8;
  layout.descent = metrics ? font->descent * layout.scale : field.fontHeight * 0.2;
  layout.leading = field.leading;

  std::map<char32_t, uint32_t> glyphOf;
  if (font)
    for (size_t i = 0; i < font->codes.size(); ++i) glyphOf.emplace(font->codes[i], static_cast<uint32_t>(i));
  auto advance = [&](uint32_t glyph) {
    return font && glyph < font->advances.size() ? font->advances[glyph] * layout.scale : field.fontHeight * 0.5;
  };
  // Without a font every character counts, as a half-em advance; `glyph` is then the
  // character itself and only the widths are kept.
  auto widthOf = [&](const std::vector<uint32_t>& glyphs) {
    double w = 0;
    for (uint32_t g : glyphs) w += advance(g);
    return w;
  };
  const uint32_t space = font ? (glyphOf.count(' ') ? glyphOf[' '] : UINT32_MAX) : ' ';

  layout.lines.emplace_back();
  for (size_t i = 0; i < text.size(); ++i) {
    char32_t ch = text[i];
    if (ch == '\n' || ch == '\r') {
      if (ch == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
      if (field.multiline || field.html) layout.lines.emplace_back();
      continue;
    }
    uint32_t glyph = static_cast<uint32_t>(ch);
    if (font) {
      auto it = glyphOf.find(ch);
      if (it == glyphOf.end()) continue;
      glyph = it->second;
    }
    double w = advance(glyph);
    TextLine& line = layout.lines.back();
    if (field.wordWrap && line.width + w > wrapWidth && !line.glyphs.empty() && glyph != space) {
      // Move the current word to a new line when there is a space to break at.
      size_t breakAt = line.glyphs.size();
      for (size_t k = line.glyphs.size(); k-- > 0;)
        if (line.glyphs[k] == space) {
          breakAt = k + 1;
          break;
        }
      TextLine next;
      next.glyphs.assign(line.glyphs.begin() + breakAt, line.glyphs.end());
      line.glyphs.resize(breakAt);
      line.width = widthOf(line.glyphs);
      next.width = widthOf(next.glyphs);
      layout.lines.push_back(std::move(next));
    }
    layout.lines.back().glyphs.push_back(glyph);
    layout.lines.back().width += w;
  }
  if (!font)
    for (TextLine& l : layout.lines) l.glyphs.clear();
  return layout;
}

std::string htmlToPlain(const std::string& text) {
  std::string plain;
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
  return plain;
}

std::u32string decodeText(const std::string& s, uint8_t swfVersion) {
  std::u32string out;
  if (swfVersion < 6) {
    for (unsigned char c : s) out.push_back(c);
    return out;
  }
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

}  // namespace tvrl::player
