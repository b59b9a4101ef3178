#include "input_script.h"

#include <sstream>

namespace swfplay {

bool parseInputScript(const std::string& text, std::vector<InputEvent>& out, std::string& error) {
  std::istringstream lines(text);
  std::string line;
  int number = 0;
  double last = 0;
  while (std::getline(lines, line)) {
    ++number;
    size_t first = line.find_first_not_of(" \t\r");
    if (first == std::string::npos || line[first] == '#') continue;
    std::istringstream in(line);
    InputEvent e;
    std::string name;
    if (!(in >> e.timeMs >> name) || e.timeMs < 0 || e.timeMs < last) {
      error = "line " + std::to_string(number) + ": expected a time (not going back) and an event";
      return false;
    }
    last = e.timeMs;
    bool ok = true;
    if (name == "move" || name == "down" || name == "up") {
      e.kind = name == "move" ? InputEvent::Kind::Move : name == "down" ? InputEvent::Kind::Down : InputEvent::Kind::Up;
      ok = static_cast<bool>(in >> e.x >> e.y);
    } else if (name == "leave") {
      e.kind = InputEvent::Kind::Leave;
    } else if (name == "key" || name == "keydown" || name == "keyup") {
      e.kind = name == "key" ? InputEvent::Kind::Key : name == "keydown" ? InputEvent::Kind::KeyDown : InputEvent::Kind::KeyUp;
      ok = static_cast<bool>(in >> e.keyCode) && e.keyCode > 0 && e.keyCode < 256;
    } else {
      ok = false;
    }
    std::string extra;
    if (!ok || in >> extra) {
      error = "line " + std::to_string(number) + ": bad event \"" + line + "\"";
      return false;
    }
    out.push_back(e);
  }
  return true;
}

}  // namespace swfplay
