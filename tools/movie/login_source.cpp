#include "tools/movie/login_source.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdlib>
#include <map>
#include <sstream>

namespace tvrl::movie {
namespace {

constexpr double kMaxCoordinate = 4000;

bool isIdentifier(const std::string& s) {
  if (s.empty() || !std::isalpha(static_cast<unsigned char>(s[0]))) return false;
  for (char c : s)
    if (!std::isalnum(static_cast<unsigned char>(c)) && c != '_') return false;
  return true;
}

int hexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return c >= 'a' && c <= 'f' ? c - 'a' + 10 : -1;
}

// Code points of UTF-8 text; false on a malformed sequence.
bool decodeUtf8(const std::string& s, std::u32string& out) {
  for (size_t i = 0; i < s.size();) {
    unsigned char c = s[i];
    int extra = c < 0x80 ? 0 : (c >> 5) == 6 ? 1 : (c >> 4) == 14 ? 2 : (c >> 3) == 30 ? 3 : -1;
    if (extra < 0 || i + extra >= s.size()) return false;
    char32_t cp = extra == 0 ? c : extra == 1 ? c & 0x1f : extra == 2 ? c & 0x0f : c & 0x07;
    for (int k = 1; k <= extra; ++k) {
      unsigned char cc = s[i + k];
      if ((cc & 0xc0) != 0x80) return false;
      cp = cp << 6 | (cc & 0x3f);
    }
    static const char32_t kSmallest[] = {0, 0x80, 0x800, 0x10000};
    if (cp < kSmallest[extra] || cp > 0x10ffff || (cp >= 0xd800 && cp <= 0xdfff)) return false;
    out.push_back(cp);
    i += extra + 1;
  }
  return true;
}

// One line split into words; the last field of a text statement is the rest of the line.
class Line {
 public:
  Line(int number, const std::string& text) : number_(number), text_(text) {
    for (size_t i = 0; i < text.size();) {
      while (i < text.size() && std::isspace(static_cast<unsigned char>(text[i]))) ++i;
      if (i == text.size()) break;
      size_t start = i;
      while (i < text.size() && !std::isspace(static_cast<unsigned char>(text[i]))) ++i;
      words_.push_back({start, text.substr(start, i - start)});
    }
  }

  int number() const { return number_; }
  bool blank() const { return words_.empty() || words_[0].text[0] == '#'; }
  const std::string& keyword() const { return words_[0].text; }
  size_t fieldCount() const { return words_.size() - 1; }

  [[noreturn]] void fail(const std::string& message) const { throw LoginSourceError(number_, message); }

  const std::string& word(size_t field) const { return words_.at(field + 1).text; }

  // Everything from field `field` to the end of the line, as written.
  std::string rest(size_t field) const {
    std::string s = text_.substr(words_.at(field + 1).offset);
    while (!s.empty() && std::isspace(static_cast<unsigned char>(s.back()))) s.pop_back();
    return s;
  }

  double number(size_t field, const char* what, double min, double max) const {
    const std::string& w = word(field);
    char* end = nullptr;
    double v = std::strtod(w.c_str(), &end);
    bool plain = w.find_first_not_of("+-.0123456789") == std::string::npos;
    if (!plain || end != w.c_str() + w.size() || !std::isfinite(v))
      fail(std::string(what) + " must be a number, not '" + w + "'");
    if (v < min || v > max) {
      std::ostringstream range;
      range << what << " must be between " << min << " and " << max << ", not " << w;
      fail(range.str());
    }
    return v;
  }

  int whole(size_t field, const char* what, int min, int max) const {
    double v = number(field, what, min, max);
    if (v != std::floor(v)) fail(std::string(what) + " must be a whole number, not " + word(field));
    return static_cast<int>(v);
  }

  Rgba color(size_t field, const char* what) const {
    const std::string& w = word(field);
    bool ok = w.size() == 7 || w.size() == 9;
    ok = ok && w[0] == '#';
    uint8_t channels[4] = {0, 0, 0, 255};
    for (size_t i = 1; ok && i < w.size(); i += 2) {
      int hi = hexDigit(w[i]), lo = hexDigit(w[i + 1]);
      if (hi < 0 || lo < 0) ok = false;
      else channels[i / 2] = static_cast<uint8_t>(hi * 16 + lo);
    }
    if (!ok) fail(std::string(what) + " must be a colour #RRGGBB or #RRGGBBAA, not '" + w + "'");
    return {channels[0], channels[1], channels[2], channels[3]};
  }

  std::string name(size_t field) const {
    const std::string& w = word(field);
    if (!isIdentifier(w)) fail("'" + w + "' is not a name: a letter, then letters, digits or '_'");
    return w;
  }

  Box box(size_t field) const {
    Box b{number(field, "x0", 0, kMaxCoordinate), number(field + 1, "y0", 0, kMaxCoordinate),
          number(field + 2, "x1", 0, kMaxCoordinate), number(field + 3, "y1", 0, kMaxCoordinate)};
    if (b.x1 <= b.x0 || b.y1 <= b.y0) fail("the box is empty: x1 must be right of x0 and y1 below y0");
    return b;
  }

  double radius(size_t field, const Box& b) const {
    return number(field, "radius", 0, std::min(b.width(), b.height()) / 2);
  }

  std::u32string text(size_t field) const {
    std::u32string out;
    if (!decodeUtf8(rest(field), out)) fail("the text is not valid UTF-8");
    for (char32_t c : out)
      if (c > 0xffff || c < 0x20) fail("the text holds a character the movie's font table cannot carry");
    return out;
  }

 private:
  struct Word {
    size_t offset;
    std::string text;
  };
  int number_;
  std::string text_;
  std::vector<Word> words_;
};

// Reads the statements in order, keeping what later ones refer to.
class Reader {
 public:
  LoginSource read(const std::string& text) {
    std::istringstream in(text);
    std::string raw;
    int number = 0;
    while (std::getline(in, raw)) {
      ++number;
      if (!raw.empty() && raw.back() == '\r') raw.pop_back();
      Line line(number, raw);
      if (!line.blank()) statement(line);
    }
    finish();
    return std::move(source_);
  }

 private:
  struct Statement {
    const char* fields;  // as documented; "..." marks text that runs to the end of the line
    void (Reader::*handle)(const Line&);
  };

  void statement(const Line& line) {
    static const std::map<std::string, Statement> kStatements = {
        {"stage", {"width height fps", &Reader::stage}},
        {"font", {"file face", &Reader::font}},
        {"url", {"name address", &Reader::url}},
        {"shadow", {"spread steps color", &Reader::shadow}},
        {"panel", {"x0 y0 x1 y1 radius top bottom edge", &Reader::panel}},
        {"box", {"name x0 y0 x1 y1 radius color", &Reader::box}},
        {"text", {"name x y size color text...", &Reader::text}},
        {"placeholder", {"name x0 y0 x1 y1 color page", &Reader::placeholder}},
        {"buttoncolors", {"up over down label", &Reader::buttonColors}},
        {"button", {"name x0 y0 x1 y1 radius size fscommand|link argument label...", &Reader::button}},
        {"animate", {"name frames dx dy", &Reader::animate}},
    };
    auto it = kStatements.find(line.keyword());
    if (it == kStatements.end()) line.fail("unknown statement '" + line.keyword() + "'");
    std::istringstream documented(it->second.fields);
    std::string field;
    size_t count = 0;
    bool runsOn = false;
    while (documented >> field) {
      ++count;
      runsOn = field.size() > 3 && field.compare(field.size() - 3, 3, "...") == 0;
    }
    if (runsOn ? line.fieldCount() < count : line.fieldCount() != count)
      line.fail(line.keyword() + " takes " + it->second.fields + " (" + std::to_string(line.fieldCount()) +
                " fields given)");
    (this->*it->second.handle)(line);
  }

  // Statements that may appear once.
  void once(const Line& line) {
    auto [it, fresh] = seen_.emplace(line.keyword(), line.number());
    if (!fresh) line.fail("a second '" + line.keyword() + "'; the first is on line " + std::to_string(it->second));
  }

  void stage(const Line& line) {
    once(line);
    source_.stage = {line.whole(0, "width", 1, int(kMaxCoordinate)), line.whole(1, "height", 1, int(kMaxCoordinate)),
                     line.number(2, "fps", 1, 120)};
  }

  void font(const Line& line) {
    once(line);
    source_.font = {line.word(0), line.whole(1, "face", 0, 1000), line.number()};
  }

  void url(const Line& line) {
    std::string name = line.name(0);
    for (const PageAddress& a : source_.addresses)
      if (a.name == name) line.fail("a second address named '" + name + "'; the first is on line " + std::to_string(a.line));
    source_.addresses.push_back({name, line.word(1), line.number()});
  }

  void shadow(const Line& line) {
    once(line);
    source_.shadow = Shadow{line.number(0, "spread", 0, 200), line.whole(1, "steps", 1, 32), line.color(2, "color")};
  }

  void panel(const Line& line) {
    once(line);
    Box b = line.box(0);
    source_.panel = {b, line.radius(4, b), line.color(5, "top"), line.color(6, "bottom"), line.color(7, "edge")};
  }

  void box(const Line& line) {
    Box b = line.box(1);
    addElement(line, Decoration{line.name(0), b, line.radius(5, b), line.color(6, "color"), line.number()});
  }

  void text(const Line& line) {
    TextLine t{line.name(0), line.number(1, "x", 0, kMaxCoordinate), line.number(2, "y", 0, kMaxCoordinate),
               line.number(3, "size", 1, 400), line.color(4, "color"), line.text(5), line.number()};
    addElement(line, t);
  }

  void placeholder(const Line& line) {
    once(line);
    Box b = line.box(1);
    for (size_t field = 1; field <= 4; ++field) line.whole(field, "the placeholder's edges", 0, int(kMaxCoordinate));
    addElement(line, Placeholder{line.name(0), b, line.color(5, "color"), line.name(6), line.number()});
  }

  void buttonColors(const Line& line) {
    colors_ = {line.color(0, "up"), line.color(1, "over"), line.color(2, "down"), line.color(3, "label")};
    haveColors_ = true;
  }

  void button(const Line& line) {
    if (!haveColors_) line.fail("a button needs a 'buttoncolors' line before it");
    Box b = line.box(1);
    Button s;
    s.name = line.name(0);
    s.box = b;
    s.radius = line.radius(5, b);
    s.labelSize = line.number(6, "size", 1, 400);
    s.colors = colors_;
    const std::string& action = line.word(7);
    if (action == "fscommand") s.action = Button::Action::FsCommand;
    else if (action == "link") s.action = Button::Action::Link;
    else line.fail("a button does 'fscommand' or 'link', not '" + action + "'");
    s.argument = s.action == Button::Action::Link ? line.name(8) : line.word(8);
    s.label = line.text(9);
    s.line = line.number();
    addElement(line, s);
  }

  void animate(const Line& line) {
    Animation a{line.name(0), line.whole(1, "frames", 1, 600), line.number(2, "dx", -kMaxCoordinate, kMaxCoordinate),
                    line.number(3, "dy", -kMaxCoordinate, kMaxCoordinate), line.number()};
    for (const Animation& other : source_.animations)
      if (other.name == a.name) line.fail("'" + a.name + "' is animated already on line " + std::to_string(other.line));
    source_.animations.push_back(a);
  }

  template <typename Kind>
  void addElement(const Line& line, const Kind& element) {
    auto [it, fresh] = names_.emplace(element.name, line.number());
    if (!fresh) line.fail("the name '" + element.name + "' is taken on line " + std::to_string(it->second));
    source_.elements.push_back(element);
  }

  // What no single line can tell: required statements, and names used before or after.
  void finish() {
    for (const char* required : {"stage", "font", "panel", "placeholder"})
      if (!seen_.count(required)) throw LoginSourceError(0, std::string("no '") + required + "' line; the movie needs one");
    const Stage& st = source_.stage;
    auto onStage = [&](const Box& b, int line, const std::string& what) {
      if (b.x1 > st.width || b.y1 > st.height) throw LoginSourceError(line, what + " reaches off the stage");
    };
    onStage(source_.panel.box, seen_["panel"], "the panel");
    for (const Element& e : source_.elements) {
      if (auto* p = std::get_if<Placeholder>(&e)) {
        onStage(p->box, p->line, "the placeholder");
        needAddress(p->address, p->line);
      } else if (auto* b = std::get_if<Button>(&e)) {
        onStage(b->box, b->line, "the button");
        if (b->action == Button::Action::Link) needAddress(b->argument, b->line);
      }
    }
    for (const Animation& a : source_.animations) {
      const Element* target = nullptr;
      for (const Element& e : source_.elements)
        if (std::visit([&](const auto& element) { return element.name == a.name; }, e)) target = &e;
      if (!target) throw LoginSourceError(a.line, "nothing is named '" + a.name + "'");
      if (!std::holds_alternative<Decoration>(*target) && !std::holds_alternative<TextLine>(*target))
        throw LoginSourceError(a.line, "only boxes and texts are animated, not '" + a.name + "'");
    }
  }

  void needAddress(const std::string& name, int line) {
    if (source_.address(name).empty()) throw LoginSourceError(line, "no 'url' line names the page '" + name + "'");
  }

  LoginSource source_;
  std::map<std::string, int> seen_;   // statements that appear once, by the line they are on
  std::map<std::string, int> names_;  // elements by the line that names them
  ButtonColors colors_;
  bool haveColors_ = false;
};

}  // namespace

const Placeholder& LoginSource::placeholder() const {
  for (const Element& e : elements)
    if (auto* p = std::get_if<Placeholder>(&e)) return *p;
  throw LoginSourceError(0, "no 'placeholder' line; the movie needs one");
}

std::vector<Button> LoginSource::buttons() const {
  std::vector<Button> out;
  for (const Element& e : elements)
    if (auto* b = std::get_if<Button>(&e)) out.push_back(*b);
  return out;
}

std::string LoginSource::address(const std::string& name) const {
  for (const PageAddress& a : addresses)
    if (a.name == name) return a.url;
  return {};
}

int LoginSource::frameCount() const {
  int frames = 1;
  for (const Animation& a : animations) frames = std::max(frames, a.frames);
  return frames;
}

LoginSource parseLoginSource(const std::string& text) { return Reader().read(text); }

void overrideAddress(LoginSource& source, const std::string& assignment) {
  size_t eq = assignment.find('=');
  if (eq == std::string::npos || eq == 0 || eq + 1 == assignment.size())
    throw LoginSourceError(0, "--url takes NAME=ADDRESS, not '" + assignment + "'");
  std::string name = assignment.substr(0, eq);
  for (PageAddress& a : source.addresses)
    if (a.name == name) {
      a.url = assignment.substr(eq + 1);
      return;
    }
  throw LoginSourceError(0, "--url " + name + ": the description has no page of that name");
}

}  // namespace tvrl::movie
