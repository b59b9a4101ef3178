// Script objects and the heap that owns them. Objects point at each other freely
// (prototypes, closures, cycles), so they are owned by the heap and freed by a
// mark-and-sweep collection between scripts, never by reference counts.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "player/avm1/value.h"

namespace tvrl::avm1 {

class Vm;

enum PropertyFlags : uint8_t { DontEnum = 1, DontDelete = 2, ReadOnly = 4 };

// Clip, Button and TextField stand for a display object of the movie (see `clip`).
enum class ObjectKind : uint8_t { Plain, Function, Array, Clip, Button, TextField, Boxed, Date, Super };

using NativeFunction = std::function<Value(Vm&, const Value& thisValue, std::vector<Value>& args)>;

// A function written in the movie: its body stays in the loaded movie, which outlives
// the machine.
struct ScriptFunction {
  std::string name;
  const uint8_t* body = nullptr;
  size_t size = 0;
  std::vector<std::string> params;
  std::vector<uint8_t> paramRegisters;  // DefineFunction2: 0 means "a local variable"
  bool isFunction2 = false;
  uint8_t registerCount = 0;
  uint16_t flags = 0;
  std::vector<Object*> scope;  // the chain it was defined in
  Object* definingClip = nullptr;
  std::shared_ptr<const std::vector<std::string>> constants;
};

class Object {
 public:
  struct Slot {
    std::string name;
    Value value;
    uint8_t flags = 0;
    // addProperty: reading calls the getter, writing the setter (a property without a
    // setter keeps its value).
    Object* getter = nullptr;
    Object* setter = nullptr;
    bool isAccessor() const { return getter != nullptr; }
  };
  // watch(): called with (name, old value, new value, userData) before an assignment;
  // what it returns is stored.
  struct Watcher {
    Value callback;
    Value userData;
    bool running = false;
  };

  Object(ObjectKind k, bool caseSensitive) : kind(k), caseSensitive_(caseSensitive) {}

  const ObjectKind kind;
  Object* proto = nullptr;  // __proto__
  std::vector<Value> elements;  // Array
  Value primitive;              // Boxed: the String, Number or Boolean wrapped; Date: the time
  NativeFunction native;        // Function, when built in
  std::unique_ptr<ScriptFunction> script;  // Function, when written in the movie
  void* clip = nullptr;         // display kinds: the timeline's instance, null once it is removed
  Object* superProto = nullptr;  // Super: where the overridden members live
  Value superThis;
  std::vector<Object*> interfaces;  // of a prototype, through ImplementsOp
  std::unique_ptr<std::map<std::string, Watcher>> watchers;  // by key(name); null when none
  bool marked = false;

  // Own properties only.
  Slot* find(const std::string& name);
  const Slot* find(const std::string& name) const;
  // Creates the slot when missing; a read-only slot keeps its value.
  void set(const std::string& name, const Value& value, uint8_t flags = 0);
  bool remove(const std::string& name);
  const std::vector<Slot>& slots() const { return slots_; }
  bool isFunction() const { return kind == ObjectKind::Function; }
  bool isDisplay() const {
    return kind == ObjectKind::Clip || kind == ObjectKind::Button || kind == ObjectKind::TextField;
  }
  // The name as this object compares names (lower case before version 7).
  std::string key(const std::string& name) const;

 private:
  void reindex();

  bool caseSensitive_;
  std::vector<Slot> slots_;  // in the order they were made
  std::unordered_map<std::string, size_t> index_;
};

class Heap {
 public:
  explicit Heap(bool caseSensitive) : caseSensitive_(caseSensitive) {}
  Object* make(ObjectKind kind, Object* proto);
  size_t size() const { return objects_.size(); }
  // Frees every object not reachable from `roots`.
  void collect(const std::vector<Object*>& roots);

 private:
  bool caseSensitive_;
  std::vector<std::unique_ptr<Object>> objects_;
};

}  // namespace tvrl::avm1
