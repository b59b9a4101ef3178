// The state of one running block of actions: its code, stack, registers and scope.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "player/avm1/object.h"

namespace tvrl::avm1 {

struct Activation {
  const uint8_t* code = nullptr;
  size_t size = 0;
  size_t pc = 0;
  std::vector<Value> stack;
  std::vector<Value> registers;
  std::vector<Object*> scope;  // global first, innermost last
  Object* target = nullptr;    // the clip timeline actions act on
  Object* baseClip = nullptr;  // the target SetTarget("") returns to
  Object* locals = nullptr;    // where DefineLocal puts variables
  size_t targetScope = 0;      // index in `scope` that follows SetTarget, 0 when none
  Value thisValue;
  Value result;
  std::shared_ptr<const std::vector<std::string>> constants;
  size_t pushedBytes = 0;  // strings pushed by the current action, charged once it is done
};

// Thrown by the Throw action; caught by Try blocks and, uncaught, at the host's call.
struct ScriptThrow {
  Value value;
};

// Ends every script running now: a guard tripped or the bytecode is unusable.
struct ScriptAbort {
  std::string reason;
};

}  // namespace tvrl::avm1
