// The login movie's readable description (res/login_movie.txt): what it says, and the
// reader that checks it line by line. The statements are documented in that file.
#pragma once

#include <optional>
#include <stdexcept>
#include <string>
#include <variant>
#include <vector>

#include "player/swf/geometry.h"

namespace tvrl::movie {

using swf::Rgba;

// A problem in the description; line 0 speaks of the file as a whole.
class LoginSourceError : public std::runtime_error {
 public:
  LoginSourceError(int line, const std::string& message) : std::runtime_error(message), line_(line) {}
  int line() const { return line_; }

 private:
  int line_;
};

// Stage pixels, x to the right and y down.
struct Box {
  double x0 = 0, y0 = 0, x1 = 0, y1 = 0;
  double width() const { return x1 - x0; }
  double height() const { return y1 - y0; }
  double centerX() const { return (x0 + x1) / 2; }
  double centerY() const { return (y0 + y1) / 2; }
  bool contains(double x, double y) const { return x >= x0 && x <= x1 && y >= y0 && y <= y1; }
};

struct Stage {
  int width = 0, height = 0;
  double fps = 0;
};

struct FontFile {
  std::string file;  // relative to the description's folder unless absolute
  int face = 0;      // in a collection
  int line = 0;
};

struct PageAddress {
  std::string name, url;
  int line = 0;
};

struct Shadow {
  double spread = 0;
  int steps = 0;
  Rgba color;
};

struct Panel {
  Box box;
  double radius = 0;
  Rgba top, bottom, edge;
};

struct Decoration {
  std::string name;
  Box box;
  double radius = 0;
  Rgba color;
  int line = 0;
};

struct TextLine {
  std::string name;
  double x = 0, y = 0;  // where the baseline starts
  double size = 0;      // pixels to the em
  Rgba color;
  std::u32string text;
  int line = 0;
};

struct Placeholder {
  std::string name;
  Box box;  // whole pixels: the launcher places its web view by them
  Rgba color;
  std::string address;  // the name of the page loaded there
  int line = 0;
};

struct ButtonColors {
  Rgba up, over, down, label;
};

struct Button {
  enum class Action { FsCommand, Link };
  std::string name;
  Box box;
  double radius = 0, labelSize = 0;
  ButtonColors colors;
  Action action = Action::FsCommand;
  std::string argument;  // the command, or the name of the page a link opens
  std::u32string label;
  int line = 0;
};

// The element slides in from (dx, dy) away and fades in over `frames` frames.
struct Animation {
  std::string name;
  int frames = 0;
  double dx = 0, dy = 0;
  int line = 0;
};

using Element = std::variant<Decoration, TextLine, Placeholder, Button>;

struct LoginSource {
  Stage stage;
  FontFile font;
  std::vector<PageAddress> addresses;
  std::optional<Shadow> shadow;  // drawn under the panel
  Panel panel;
  std::vector<Element> elements;  // over the panel, bottom first
  std::vector<Animation> animations;

  const Placeholder& placeholder() const;
  std::vector<Button> buttons() const;
  // The address of a named page; empty when there is none.
  std::string address(const std::string& name) const;
  // The longest animation, at least one frame.
  int frameCount() const;
};

// Throws LoginSourceError naming the line of the first problem.
LoginSource parseLoginSource(const std::string& text);

// `assignment` is NAME=ADDRESS; throws LoginSourceError when it is malformed or the
// description has no page of that name.
void overrideAddress(LoginSource& source, const std::string& assignment);

}  // namespace tvrl::movie
