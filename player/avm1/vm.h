// The AVM1 script machine of Flash Player 8: runs action blocks against the objects of
// its heap and asks its Stage for everything outside them. A script that runs away is
// stopped after a bounded number of actions or calls, with a warning; the movie goes on.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "player/avm1/object.h"
#include "player/avm1/stage.h"

namespace tvrl::avm1 {

constexpr uint64_t kMaxActionsPerRun = 1000000;
constexpr int kMaxCallDepth = 256;
constexpr size_t kMaxStackValues = 100000;
constexpr size_t kMaxArrayLength = 1u << 20;
constexpr size_t kMaxHeapObjects = 500000;
// What one script run may allocate in strings, array slots and objects: a loop that
// doubles a string or fills arrays stops long before memory runs out.
constexpr size_t kMaxBytesPerRun = 64u << 20;
// How many times one timer may fire in one clock step when it fell behind.
constexpr int kMaxIntervalCatchUp = 10;

struct Activation;

class Vm {
 public:
  Vm(int swfVersion, Stage& stage);
  ~Vm();
  Vm(const Vm&) = delete;
  Vm& operator=(const Vm&) = delete;

  int version() const { return version_; }
  Stage& stage() { return stage_; }
  Object* global() { return global_; }

  // A block of actions run with `clip` as its target and scope. Errors and guards end
  // the block with a warning; they never escape.
  void runActions(const uint8_t* code, size_t size, Object* clip);
  // Calls a function from outside any script (events, intervals); errors are caught.
  Value callFromHost(const Value& function, const Value& thisValue, std::vector<Value> args);
  // Calls the method `name` of `object` when it has one; false when it has none.
  bool callMethodFromHost(Object* object, const std::string& name, std::vector<Value> args);
  // A variable named by a path from `base` ("v", "a.b.v", "/a:v"), as text fields bind to
  // one; from outside scripts, errors caught.
  // Reading gives the value as text; false when the variable is missing or undefined.
  bool readVariableText(Object* base, const std::string& path, std::string& out);
  void writeVariablePath(Object* base, const std::string& path, const Value& value);

  // Used by the built-ins and the interpreter.
  Value call(const Value& function, const Value& thisValue, std::vector<Value>& args, Object* home = nullptr);
  Value getMember(const Value& object, const std::string& name);
  void setMember(const Value& object, const std::string& name, const Value& value);
  // addProperty: a member read and written through functions. Built-ins define theirs on
  // objects that are never prototypes (byScript false), which spares assignments a search.
  void addProperty(Object* object, const std::string& name, Object* getter, Object* setter, bool byScript = true);
  // A member's stored value along the prototype chain, running nothing: for the timeline
  // and input, which may not run scripts while they walk the display lists. Properties
  // defined by functions read as undefined.
  Value peek(Object* object, const std::string& name) const;
  // Looks up a member and says where it was found (for `super`).
  bool lookup(Object* object, const std::string& name, Value& out, Object** foundIn = nullptr);
  Value construct(const Value& constructor, std::vector<Value>& args);

  double toNumber(const Value& v);
  std::string toString(const Value& v);
  bool toBoolean(const Value& v) { return primitiveToBoolean(v, version_); }
  Value toPrimitive(const Value& v);
  Object* toObject(const Value& v);  // boxes primitives; null for undefined and null
  bool looselyEquals(const Value& a, const Value& b);
  bool strictlyEquals(const Value& a, const Value& b);
  std::string typeOf(const Value& v);
  bool instanceOf(const Value& object, Object* constructor);

  Object* makeObject() { return make(ObjectKind::Plain, objectProto); }
  Object* makeArray(std::vector<Value> elements = {});
  Object* makeNative(NativeFunction f);
  // The object of a clip, button or text field instance of the timeline.
  Object* makeDisplayObject(ObjectKind kind, void* instance);
  Object* make(ObjectKind kind, Object* proto);

  // getURL: an address starting "FSCommand:" (in any case) is a command for the host,
  // any other one a page for it to open.
  void requestUrl(const std::string& url, const std::string& target);

  // Clips: `path` in slash or dot syntax, relative to `base`.
  Object* resolveTarget(Object* base, const std::string& path);

  // setInterval timers, driven by the host clock.
  int addInterval(const Value& function, const Value& thisValue, const std::string& method,
                  std::vector<Value> args, double periodMs);
  void clearInterval(int id);
  void runIntervals(double nowMs);

  // Key and Mouse: the keys held, and the listeners added to either object.
  void setKey(int keyCode, bool down);
  int lastKey() const { return lastKey_; }
  bool keyIsDown(int keyCode) const { return keysDown_.count(keyCode) > 0; }
  // Calls `method` on every listener of the global object `source` ("Key", "Mouse").
  void broadcast(const std::string& source, const std::string& method);

  // Object.registerClass: the class of the clips of an exported symbol, null to undo.
  void registerClass(const std::string& exportName, const Value& constructor);
  Value registeredClass(const std::string& exportName) const;

  // Frees what no clip, global or timer can reach; only between scripts.
  void collectGarbage(const std::vector<Object*>& extraRoots);
  size_t heapSize() const { return heap_.size(); }

  Object* objectProto = nullptr;
  Object* functionProto = nullptr;
  Object* arrayProto = nullptr;
  Object* stringProto = nullptr;
  Object* numberProto = nullptr;
  Object* booleanProto = nullptr;
  Object* clipProto = nullptr;
  Object* buttonProto = nullptr;
  Object* textFieldProto = nullptr;

  uint32_t nextRandom();
  // Counts an allocation against the running script's budget.
  void charge(size_t bytes);
  // Counts a built-in's work on `items` elements or characters as actions, so that
  // repeating a costly call on a big array or string meets the runaway guard.
  void chargeWork(size_t items);

 private:
  enum class Flow { Normal, Return, Jump };
  Value callScript(Object* function, const Value& thisValue, std::vector<Value>& args, Object* home);
  Flow runRange(Activation& a, size_t begin, size_t end);
  Flow step(Activation& a, bool& done);
  Value getVariable(Activation& a, const std::string& name);
  void setVariable(Activation& a, const std::string& name, const Value& value);
  void defineLocal(Activation& a, const std::string& name, const Value& value);
  bool deleteVariable(Activation& a, const std::string& name);
  Object* targetOf(Activation& a, const Value& target);
  Object* defineFunction(Activation& a, std::unique_ptr<ScriptFunction> f);
  void countAction();
  void warn(const std::string& message) { stage_.warn(message); }
  template <typename Body>
  void guarded(const char* what, Body body);

  struct Interval {
    Value function;
    Value thisValue;
    std::string method;
    std::vector<Value> args;
    double periodMs = 0;
    double dueMs = 0;
  };

  int version_;
  Stage& stage_;
  Heap heap_;
  Object* global_ = nullptr;
  int depth_ = 0;
  bool running_ = false;      // a script, handler or getter is running
  bool hasAccessors_ = false;  // addProperty was used: assignments look for setters
  std::map<std::string, Value> classes_;
  uint64_t actions_ = 0;
  size_t bytes_ = 0;
  uint32_t random_ = 0x2545F491;
  std::map<int, Interval> intervals_;
  int lastKey_ = 0;
  std::set<int> keysDown_;
  int nextInterval_ = 1;
  double nowMs_ = 0;
};

// Installs Object, Array, String, Number, Boolean, Math, the global functions and the
// prototypes of clips, buttons and text fields.
void installBuiltins(Vm& vm);

// Names of the properties GetProperty and SetProperty reach by index, or null.
const char* propertyName(int index);

}  // namespace tvrl::avm1
