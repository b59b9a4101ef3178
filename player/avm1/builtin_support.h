// What the files of built-ins share: argument access, installing methods and classes,
// and the installers each file provides.
#pragma once

#include <vector>

#include "player/avm1/vm.h"

namespace tvrl::avm1 {

using Args = std::vector<Value>;

inline Value arg(const Args& args, size_t i) { return i < args.size() ? args[i] : Value::undefined(); }

inline void method(Vm& vm, Object* owner, const char* name, NativeFunction f) {
  owner->set(name, Value::from(vm.makeNative(std::move(f))), DontEnum);
}

// A global constructor with its prototype.
inline Object* makeClass(Vm& vm, Object* proto, const char* name, NativeFunction ctor) {
  Object* c = vm.makeNative(std::move(ctor));
  c->set("prototype", Value::from(proto), DontEnum | DontDelete);
  proto->set("constructor", Value::from(c), DontEnum);
  vm.global()->set(name, Value::from(c), DontEnum);
  return c;
}

// `this` when it is a clip still on the stage, else null.
inline Object* clipOf(const Value& thisValue) {
  return thisValue.isObject() && thisValue.object->kind == ObjectKind::Clip && thisValue.object->clip ? thisValue.object
                                                                                                    : nullptr;
}

// `this` when it is a clip, button or text field still on the stage, else null.
inline Object* displayOf(const Value& thisValue) {
  return thisValue.isObject() && thisValue.object->isDisplay() && thisValue.object->clip ? thisValue.object : nullptr;
}

// An object that keeps listeners for broadcast (Key, Mouse, Stage).
Object* makeBroadcaster(Vm& vm, const char* name);

// display_builtins.cpp: TextField, Button, the clip methods on depths and text fields,
// Color and Stage.
void installDisplayObjects(Vm& vm);
// date_builtins.cpp
void installDate(Vm& vm);

}  // namespace tvrl::avm1
