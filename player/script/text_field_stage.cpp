// Text fields as scripts see them: text, htmlText, textColor, autoSize and the rest; the
// variable a field shows; and fields made by createTextField.
#include <algorithm>
#include <cmath>

#include "player/script/script_engine.h"
#include "player/timeline/text_field_instance.h"

namespace tvrl::player {

using avm1::Object;
using avm1::Value;

namespace {

constexpr double kTwips = 20;

const char* autoSizeName(AutoSize a) {
  switch (a) {
    case AutoSize::Left: return "left";
    case AutoSize::Center: return "center";
    case AutoSize::Right: return "right";
    case AutoSize::None: break;
  }
  return "none";
}

}  // namespace

bool ScriptEngine::getFieldProperty(TextFieldInstance& field, const std::string& name, Value& out) {
  auto is = [&](const char* n) { return sameName(name, n); };
  if (is("text")) out = Value::from(field.text());
  else if (is("htmlText")) out = Value::from(field.htmlText());
  else if (is("html")) out = Value::from(field.html());
  else if (is("textColor")) out = Value::from(field.color().r << 16 | field.color().g << 8 | field.color().b);
  else if (is("autoSize")) out = Value::from(autoSizeName(field.autoSize()));
  else if (is("variable")) out = field.variable().empty() ? Value::null() : Value::from(field.variable());
  else if (is("length")) out = Value::from(static_cast<double>(decodeText(field.text(), movie_.version).size()));
  else if (is("textWidth")) out = Value::from(std::round(field.layout().width() / kTwips));
  else if (is("textHeight")) out = Value::from(std::round(field.layout().height() / kTwips));
  else if (is("multiline")) out = Value::from(field.character().multiline);
  else if (is("wordWrap")) out = Value::from(field.character().wordWrap);
  else if (is("border")) out = Value::from(field.character().border);
  else if (is("embedFonts")) out = Value::from(field.character().useOutlines);
  else return false;
  return true;
}

bool ScriptEngine::setFieldProperty(TextFieldInstance& field, const std::string& name, const Value& value) {
  auto is = [&](const char* n) { return sameName(name, n); };
  bool changed = false;
  if (is("text") || is("htmlText")) {
    std::string s = vm_->toString(value);
    changed = is("text") ? field.setText(s) : field.setHtmlText(s);
    // A bound field hands its new text to its variable.
    if (!field.variable().empty() && field.parent())
      vm_->writeVariablePath(objectOf(*field.parent()), field.variable(),
                             Value::from(field.html() ? field.htmlText() : field.text()));
  } else if (is("html")) {
    changed = field.setHtml(vm_->toBoolean(value));
  } else if (is("textColor")) {
    uint32_t rgb = avm1::toUint32(vm_->toNumber(value));
    changed = field.setColor({static_cast<uint8_t>(rgb >> 16), static_cast<uint8_t>(rgb >> 8), static_cast<uint8_t>(rgb),
                              field.color().a});
  } else if (is("autoSize")) {
    // true is "left", false "none", as are the names; anything else leaves it off.
    AutoSize mode = AutoSize::None;
    if (value.type == avm1::ValueType::Boolean) {
      mode = value.boolean ? AutoSize::Left : AutoSize::None;
    } else {
      std::string s = vm_->toString(value);
      for (AutoSize a : {AutoSize::Left, AutoSize::Center, AutoSize::Right})
        if (s == autoSizeName(a)) mode = a;
    }
    changed = field.setAutoSize(mode);
  } else if (is("variable")) {
    field.setVariable(value.isNullish() ? std::string() : vm_->toString(value));
    bindField(field);
  } else if (is("length") || is("textWidth") || is("textHeight")) {
    return true;  // read-only
  } else {
    return false;
  }
  changed_ |= changed;
  return true;
}

void ScriptEngine::resizeField(TextFieldInstance& field, bool width, double twips) {
  // A field's size is its box: it grows without scaling its text.
  swf::Rect r = field.bounds();
  int32_t extent = static_cast<int32_t>(std::lround(std::clamp(twips, 0.0, 1e8)));
  if (width) r.xMax = r.xMin + extent;
  else r.yMax = r.yMin + extent;
  changed_ |= field.setBounds(r);
}

void ScriptEngine::bindField(TextFieldInstance& field) {
  if (field.variable().empty() || !field.parent()) return;
  Object* owner = objectOf(*field.parent());
  std::string text;
  if (vm_->readVariableText(owner, field.variable(), text))
    changed_ |= field.html() ? field.setHtmlText(text) : field.setText(text);
  else
    vm_->writeVariablePath(owner, field.variable(), Value::from(field.html() ? field.htmlText() : field.text()));
}

void ScriptEngine::bindNewFields() {
  while (!unbound_.empty()) {
    TextFieldInstance* field = unbound_.back();
    unbound_.pop_back();
    bindField(*field);
  }
}

void ScriptEngine::syncTextFields() {
  for (auto& [field, object] : fields_) {
    if (field->variable().empty() || !field->parent()) continue;
    std::string text;
    if (!vm_->readVariableText(objectOf(*field->parent()), field->variable(), text)) continue;
    changed_ |= field->html() ? field->setHtmlText(text) : field->setText(text);
  }
}

void ScriptEngine::textFieldDestroyed(TextFieldInstance& field) {
  auto it = fields_.find(&field);
  if (it == fields_.end()) return;
  if (it->second) it->second->clip = nullptr;
  fields_.erase(it);
  unbound_.erase(std::remove(unbound_.begin(), unbound_.end(), &field), unbound_.end());
  madeFields_.erase(&field.character());
}

Object* ScriptEngine::createTextField(Object* parent, const std::string& name, int depth, double x, double y,
                                      double width, double height) {
  if (!spriteOf(parent)) return nullptr;
  // Flash's defaults: a dynamic, single-line field in a 12 point device font, black.
  auto field = std::make_unique<swf::EditTextCharacter>();
  auto twips = [](double v) { return static_cast<int32_t>(std::lround(std::isfinite(v) ? std::clamp(v * kTwips, -1e8, 1e8) : 0)); };
  field->bounds = {0, twips(std::max(0.0, width)), 0, twips(std::max(0.0, height))};
  field->fontHeight = 12 * 20;
  field->color = {0, 0, 0, 255};
  const swf::EditTextCharacter* character = field.get();
  madeFields_.emplace(character, std::move(field));
  swf::PlaceCommand like;
  like.matrix = swf::Matrix::translation(twips(x), twips(y));
  return placeByScript(parent, character, 0, name, depth, &like);
}

}  // namespace tvrl::player
