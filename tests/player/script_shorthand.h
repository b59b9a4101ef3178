// Short forms for the shapes test scripts repeat: reading and assigning dotted paths,
// calling functions and methods, tracing. Arguments are given in source order.
//
//   value(a, "clip._x");                  // clip._x on the stack
//   assign(a, "clip.label.text", "hi");   // clip.label.text = "hi"
//   call(a, "clip.swapDepths", {5});      // clip.swapDepths(5), its result on the stack
#pragma once

#include <string>
#include <vector>

#include "tests/player/script_movie.h"

namespace tvrl::player::test {

// "a.b.c": GetVariable a, then GetMember b and c.
inline Assembler& value(Assembler& a, const std::string& path) {
  size_t dot = path.find('.');
  a.push({path.substr(0, dot)}).op(ActionGetVariable);
  while (dot != std::string::npos) {
    size_t next = path.find('.', dot + 1);
    a.push({path.substr(dot + 1, next == std::string::npos ? std::string::npos : next - dot - 1)}).op(ActionGetMember);
    dot = next;
  }
  return a;
}

inline Assembler& trace(Assembler& a, const std::string& path) { return value(a, path).op(ActionTrace); }
inline Assembler& say(Assembler& a, const std::string& line) { return a.push({line}).op(ActionTrace); }

// The object part of a path and its last name: "a.b.c" is ("a.b", "c").
inline void splitPath(const std::string& path, std::string& owner, std::string& name) {
  size_t dot = path.rfind('.');
  owner = dot == std::string::npos ? "" : path.substr(0, dot);
  name = path.substr(dot == std::string::npos ? 0 : dot + 1);
}

// path = the value on the stack.
inline Assembler& assignTop(Assembler& a, const std::string& path) {
  std::string owner, name;
  splitPath(path, owner, name);
  a.storeRegister(0).op(ActionPop);
  if (owner.empty()) return a.push({name, PushValue::reg(0)}).op(ActionSetVariable);
  return value(a, owner).push({name, PushValue::reg(0)}).op(ActionSetMember);
}

inline Assembler& assign(Assembler& a, const std::string& path, const PushValue& v) {
  return assignTop(a.push({v}), path);
}

// path = function () { body };
inline Assembler& assignFunction(Assembler& a, const std::string& path, const Assembler& body,
                                 const std::vector<std::string>& params = {}) {
  return assignTop(a.defineFunction("", params, body), path);
}

// Calls with the arguments already pushed, last argument first.
inline Assembler& callPushed(Assembler& a, const std::string& path, int count) {
  std::string owner, name;
  splitPath(path, owner, name);
  a.push({count});
  if (owner.empty()) return a.push({name}).op(ActionCallFunction);
  return value(a, owner).push({name}).op(ActionCallMethod);
}

inline Assembler& call(Assembler& a, const std::string& path, const std::vector<PushValue>& args = {}) {
  for (auto it = args.rbegin(); it != args.rend(); ++it) a.push({*it});
  return callPushed(a, path, static_cast<int>(args.size()));
}

// A statement: the call's result dropped.
inline Assembler& run(Assembler& a, const std::string& path, const std::vector<PushValue>& args = {}) {
  return call(a, path, args).op(ActionPop);
}

}  // namespace tvrl::player::test
