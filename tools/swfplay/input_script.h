// The timed input of `swfplay --input FILE`: one event a line, "TIME EVENT [ARGS]",
// TIME in milliseconds from the start, coordinates in stage pixels:
//
//   # a click on the login button
//   100 move 40 30
//   150 down 40 30
//   200 up 40 30
//   250 key 13        (key down and up)
//   300 keydown 65
//   350 keyup 65
//   400 leave
//
// Blank lines and lines starting with '#' are skipped; events must not go back in time.
#pragma once

#include <string>
#include <vector>

namespace swfplay {

struct InputEvent {
  enum class Kind { Move, Down, Up, Leave, KeyDown, KeyUp, Key } kind = Kind::Move;
  double timeMs = 0;
  double x = 0, y = 0;
  int keyCode = 0;
};

// False with `error` naming the line when the text is not a valid list.
bool parseInputScript(const std::string& text, std::vector<InputEvent>& out, std::string& error);

}  // namespace swfplay
