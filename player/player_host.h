// What a playing movie asks of the program that hosts it. Every call has a default that
// ignores it, so a host overrides only what it serves.
#pragma once

#include <string>

namespace tvrl::player {

class PlayerHost {
 public:
  virtual ~PlayerHost() = default;
  // fscommand(command, args), or getURL("FSCommand:command", args).
  virtual void fsCommand(const std::string& command, const std::string& args) { (void)command, (void)args; }
  // Any other getURL: the address to open and its window.
  virtual void navigate(const std::string& url, const std::string& target) { (void)url, (void)target; }
  virtual void trace(const std::string& line) { (void)line; }
  // A script stopped, or bytecode was unusable; the movie goes on.
  virtual void warning(const std::string& message) { (void)message; }
};

enum class Cursor { Arrow, Hand };

}  // namespace tvrl::player
