// A placed edit text field. It starts from its DefineEditText; scripts change its text,
// colour, box and the variable it shows.
#pragma once

#include <string>

#include "player/swf/characters.h"
#include "player/text/text_layout.h"
#include "player/timeline/placement.h"

namespace tvrl::player {

struct PlayContext;

// Which edge stays put when the box follows its text.
enum class AutoSize : uint8_t { None, Left, Center, Right };

class TextFieldInstance : public Placement {
 public:
  TextFieldInstance(PlayContext& context, const swf::EditTextCharacter& character);
  ~TextFieldInstance();
  TextFieldInstance(const TextFieldInstance&) = delete;
  TextFieldInstance& operator=(const TextFieldInstance&) = delete;

  const swf::EditTextCharacter& character() const { return character_; }

  bool html() const { return html_; }
  // The text without markup, and the text as HTML (the same as `text` for a plain field).
  std::string text() const;
  std::string htmlText() const { return html_ ? source_ : text(); }
  swf::Rgba color() const { return color_; }
  const swf::Rect& bounds() const { return bounds_; }
  AutoSize autoSize() const { return autoSize_; }
  const std::string& variable() const { return variable_; }

  // Each returns whether what the field shows changed.
  bool setText(const std::string& text);
  bool setHtmlText(const std::string& html);
  bool setHtml(bool html);
  bool setColor(swf::Rgba color);
  bool setBounds(const swf::Rect& bounds);
  bool setAutoSize(AutoSize mode);
  void setVariable(const std::string& name) { variable_ = name; }

  // The text laid out in the box.
  TextLayout layout() const;
  bool sameAppearance(const TextFieldInstance& other) const;

 private:
  bool setSource(std::string source);
  // With autoSize on, the box takes the size of its text.
  void fit();

  PlayContext& context_;
  const swf::EditTextCharacter& character_;
  std::string source_;  // HTML when html_
  bool html_;
  swf::Rgba color_;
  swf::Rect bounds_;
  AutoSize autoSize_ = AutoSize::None;
  std::string variable_;
};

}  // namespace tvrl::player
