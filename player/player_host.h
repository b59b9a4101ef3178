// What a playing movie asks of the program that hosts it. Every call has a default that
// ignores it, so a host overrides only what it serves.
#pragma once

#include <string>

namespace tvrl::player {

class PlayerHost {
 public:
  virtual ~PlayerHost() = default;
  // fscommand(command, args), or getURL("FSCommand:command", args).
  virtual void fsCommand(const std::string& /*command*/, const std::string& /*args*/) {}
  // Any other getURL: the address to open and its window.
  virtual void navigate(const std::string& /*url*/, const std::string& /*target*/) {}
  virtual void trace(const std::string& /*line*/) {}
  // A script stopped, or bytecode was unusable; the movie goes on.
  virtual void warning(const std::string& /*message*/) {}
};

enum class Cursor { Arrow, Hand };

}  // namespace tvrl::player
