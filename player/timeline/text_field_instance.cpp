#include "player/timeline/text_field_instance.h"

#include <cmath>
#include <limits>

#include "player/timeline/display_list.h"
#include "player/timeline/timeline_scripts.h"

namespace tvrl::player {

namespace {

std::string escapeHtml(const std::string& s) {
  std::string out;
  for (char c : s) {
    if (c == '<') out += "&lt;";
    else if (c == '>') out += "&gt;";
    else if (c == '&') out += "&amp;";
    else out += c;
  }
  return out;
}

}  // namespace

TextFieldInstance::TextFieldInstance(PlayContext& context, const swf::EditTextCharacter& character)
    : context_(context),
      character_(character),
      source_(character.initialText),
      html_(character.html),
      color_(character.color),
      bounds_(character.bounds),
      variable_(character.variableName) {}

TextFieldInstance::~TextFieldInstance() {
  if (context_.scripts) context_.scripts->textFieldDestroyed(*this);
}

std::string TextFieldInstance::text() const { return html_ ? htmlToPlain(source_) : source_; }

bool TextFieldInstance::setSource(std::string source) {
  if (source == source_) return false;
  source_ = std::move(source);
  fit();
  return true;
}

bool TextFieldInstance::setText(const std::string& text) { return setSource(html_ ? escapeHtml(text) : text); }

// A plain field takes HTML as it is written, tags and all, as Flash shows it.
bool TextFieldInstance::setHtmlText(const std::string& html) { return setSource(html); }

bool TextFieldInstance::setHtml(bool html) {
  if (html == html_) return false;
  html_ = html;
  fit();
  return true;
}

bool TextFieldInstance::setColor(swf::Rgba color) {
  if (color == color_) return false;
  color_ = color;
  return true;
}

bool TextFieldInstance::setBounds(const swf::Rect& bounds) {
  if (bounds == bounds_) return false;
  bounds_ = bounds;
  return true;
}

bool TextFieldInstance::setAutoSize(AutoSize mode) {
  autoSize_ = mode;
  swf::Rect before = bounds_;
  fit();
  return !(before == bounds_);
}

TextLayout TextFieldInstance::layout() const {
  double inner = (bounds_.xMax - bounds_.xMin) - 2 * kTextGutter - character_.leftMargin - character_.rightMargin;
  return layoutText(context_.movie, character_, visibleText(source_, html_, context_.movie.version), inner);
}

void TextFieldInstance::fit() {
  if (autoSize_ == AutoSize::None) return;
  // Without wrapping the line is as long as its text; with it, only the height follows.
  double inner = character_.wordWrap ? (bounds_.xMax - bounds_.xMin) - 2 * kTextGutter - character_.leftMargin -
                                           character_.rightMargin
                                     : std::numeric_limits<double>::infinity();
  TextLayout l = layoutText(context_.movie, character_, visibleText(source_, html_, context_.movie.version), inner);
  auto twips = [](double v) { return static_cast<int32_t>(std::lround(std::min(v, 1e8))); };
  bounds_.yMax = bounds_.yMin + twips(l.height() + 2 * kTextGutter);
  if (character_.wordWrap) return;
  int32_t width = twips(l.width() + 2 * kTextGutter + character_.leftMargin + character_.rightMargin);
  switch (autoSize_) {
    case AutoSize::Left: bounds_.xMax = bounds_.xMin + width; break;
    case AutoSize::Right: bounds_.xMin = bounds_.xMax - width; break;
    case AutoSize::Center: {
      int32_t centre = bounds_.xMin + (bounds_.xMax - bounds_.xMin) / 2;
      bounds_.xMin = centre - width / 2;
      bounds_.xMax = bounds_.xMin + width;
      break;
    }
    case AutoSize::None: break;
  }
}

bool TextFieldInstance::sameAppearance(const TextFieldInstance& o) const {
  return source_ == o.source_ && html_ == o.html_ && color_ == o.color_ && bounds_ == o.bounds_;
}

}  // namespace tvrl::player
