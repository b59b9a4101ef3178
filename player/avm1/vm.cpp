// The object model's operations: member access, conversions, equality and calls.
#include "player/avm1/vm.h"

#include <algorithm>
#include <cmath>

#include "player/avm1/activation.h"

namespace tvrl::avm1 {

namespace {

constexpr int kMaxPrototypeHops = 256;

bool arrayIndex(const std::string& name, size_t& index) {
  if (name.empty() || name.size() > 9 || (name.size() > 1 && name[0] == '0')) return false;
  size_t v = 0;
  for (char c : name) {
    if (c < '0' || c > '9') return false;
    v = v * 10 + static_cast<size_t>(c - '0');
  }
  index = v;
  return true;
}

}  // namespace

Vm::Vm(int swfVersion, Stage& stage) : version_(swfVersion), stage_(stage), heap_(swfVersion >= 7) {
  objectProto = heap_.make(ObjectKind::Plain, nullptr);
  functionProto = heap_.make(ObjectKind::Plain, objectProto);
  global_ = makeObject();
  installBuiltins(*this);
}

Vm::~Vm() = default;

void Vm::charge(size_t bytes) {
  bytes_ += bytes;
  if (bytes_ > kMaxBytesPerRun) throw ScriptAbort{"the script allocates too much memory"};
}

Object* Vm::make(ObjectKind kind, Object* proto) {
  if (heap_.size() >= kMaxHeapObjects) throw ScriptAbort{"too many objects"};
  charge(sizeof(Object));
  return heap_.make(kind, proto);
}

Object* Vm::makeArray(std::vector<Value> elements) {
  charge(elements.size() * sizeof(Value));
  Object* a = make(ObjectKind::Array, arrayProto);
  a->elements = std::move(elements);
  return a;
}

Object* Vm::makeNative(NativeFunction f) {
  Object* fn = make(ObjectKind::Function, functionProto);
  fn->native = std::move(f);
  return fn;
}

Object* Vm::makeDisplayObject(ObjectKind kind, void* instance) {
  Object* proto = kind == ObjectKind::Button ? buttonProto : kind == ObjectKind::TextField ? textFieldProto : clipProto;
  // Not charged to the running script: the timeline makes these, whoever asks first.
  Object* o = heap_.make(kind, proto);
  o->clip = instance;
  return o;
}

bool Vm::lookup(Object* object, const std::string& name, Value& out, Object** foundIn) {
  if (name == "__proto__") {
    out = Value::from(object->proto);
    if (!object->proto) out = Value::undefined();
    return object->proto != nullptr;
  }
  Object* o = object;
  for (int hop = 0; o && hop < kMaxPrototypeHops; ++hop, o = o->proto) {
    if (o->kind == ObjectKind::Array) {
      size_t i;
      if (name == "length") {
        out = Value::from(static_cast<double>(o->elements.size()));
        return true;
      }
      if (arrayIndex(name, i) && i < o->elements.size()) {
        out = o->elements[i];
        return true;
      }
    }
    if (hop == 0 && o->isDisplay() && o->clip && !name.empty() &&
        (name[0] == '_' || o->kind == ObjectKind::TextField) && stage_.getClipProperty(o, name, out))
      return true;
    if (const Object::Slot* s = o->find(name)) {
      if (foundIn) *foundIn = o;
      if (!s->isAccessor()) {
        out = s->value;
        return true;
      }
      Value getter = Value::from(s->getter);
      out = Value::undefined();
      guarded("getter", [&] {
        std::vector<Value> none;
        out = call(getter, Value::from(object), none);
      });
      return true;
    }
    if (o->kind == ObjectKind::Clip && o->clip && hop == 0) {
      if (Object* child = stage_.childClip(o, name)) {
        out = Value::from(child);
        return true;
      }
    }
  }
  return false;
}

Value Vm::peek(Object* object, const std::string& name) const {
  int hop = 0;
  for (const Object* o = object; o && hop < kMaxPrototypeHops; o = o->proto, ++hop)
    if (const Object::Slot* s = o->find(name)) return s->isAccessor() ? Value::undefined() : s->value;
  return Value::undefined();
}

Value Vm::getMember(const Value& object, const std::string& name) {
  Value out;
  switch (object.type) {
    case ValueType::Undefined:
    case ValueType::Null: return out;
    case ValueType::String:
      if (name == "length") return Value::from(static_cast<double>(version_ >= 6 ? utf8CodePoints(object.string).size() : object.string.size()));
      lookup(stringProto, name, out);
      return out;
    case ValueType::Number: lookup(numberProto, name, out); return out;
    case ValueType::Boolean: lookup(booleanProto, name, out); return out;
    case ValueType::Object: lookup(object.object, name, out); return out;
  }
  return out;
}

void Vm::setMember(const Value& object, const std::string& name, const Value& value) {
  if (!object.isObject()) return;
  Object* o = object.object;
  if (name == "__proto__") {
    if (value.isObject()) o->proto = value.object;
    return;
  }
  if (o->kind == ObjectKind::Array) {
    size_t i;
    if (name == "length") {
      double n = toNumber(value);
      if (n >= 0 && n <= kMaxArrayLength) {
        if (n > o->elements.size()) charge((static_cast<size_t>(n) - o->elements.size()) * sizeof(Value));
        o->elements.resize(static_cast<size_t>(n));
      }
      return;
    }
    if (arrayIndex(name, i)) {
      if (i >= kMaxArrayLength) throw ScriptAbort{"array index too large"};
      if (i >= o->elements.size()) {
        charge((i + 1 - o->elements.size()) * sizeof(Value));
        o->elements.resize(i + 1);
      }
      o->elements[i] = value;
      return;
    }
  }
  if (o->isDisplay() && o->clip && !name.empty() && (name[0] == '_' || o->kind == ObjectKind::TextField) &&
      stage_.setClipProperty(o, name, value))
    return;
  Value stored = value;
  if (o->watchers) {
    auto it = o->watchers->find(o->key(name));
    if (it != o->watchers->end() && !it->second.running) {
      Object::Watcher w = it->second;
      it->second.running = true;  // an assignment by the watcher itself is not watched again
      Value old;
      if (const Object::Slot* s = o->find(name)) old = s->value;
      std::vector<Value> args{Value::from(name), old, value, w.userData};
      struct Done {
        Object* o;
        std::string key;
        ~Done() {
          if (!o->watchers) return;
          auto at = o->watchers->find(key);
          if (at != o->watchers->end()) at->second.running = false;
        }
      } done{o, o->key(name)};
      stored = call(w.callback, object, args);
    }
  }
  // An own member is set in place; a new one may be a property a prototype defines, which
  // is looked for only once scripts have defined any.
  Object::Slot* s = o->find(name);
  int hop = 1;
  for (Object* p = o->proto; !s && hasAccessors_ && p && hop < kMaxPrototypeHops; p = p->proto, ++hop) {
    s = p->find(name);
    if (s && !s->isAccessor()) s = nullptr;
    if (s) break;
  }
  if (s && s->isAccessor()) {
    if (s->setter) {
      std::vector<Value> args{stored};
      call(Value::from(s->setter), object, args);
    }
    return;
  }
  if (s) {
    if (!(s->flags & ReadOnly)) s->value = stored;
    return;
  }
  o->set(name, stored);
}

void Vm::addProperty(Object* object, const std::string& name, Object* getter, Object* setter, bool byScript) {
  hasAccessors_ |= byScript;
  object->set(name, Value::undefined());
  Object::Slot* s = object->find(name);
  s->getter = getter;
  s->setter = setter;
}

Value Vm::toPrimitive(const Value& v) {
  if (!v.isObject()) return v;
  Object* o = v.object;
  if (o->kind == ObjectKind::Boxed) return o->primitive;
  if (o->isDisplay()) return Value::from(toString(v));
  std::vector<Value> none;
  // A date reads as its text first, as in ECMAScript.
  if (o->kind == ObjectKind::Date) {
    Value text = call(getMember(v, "toString"), v, none);
    if (!text.isObject()) return text;
  }
  Value r = call(getMember(v, "valueOf"), v, none);
  if (!r.isObject()) return r;
  r = call(getMember(v, "toString"), v, none);
  if (!r.isObject()) return r;
  return Value::from(o->isFunction() ? "[type Function]" : "[type Object]");
}

double Vm::toNumber(const Value& v) {
  if (!v.isObject()) return primitiveToNumber(v, version_);
  if (v.object->isDisplay()) return NAN;
  Value p = toPrimitive(v);
  return p.isObject() ? NAN : primitiveToNumber(p, version_);
}

std::string Vm::toString(const Value& v) {
  if (!v.isObject()) return primitiveToString(v, version_);
  Object* o = v.object;
  if (o->isDisplay()) return o->clip ? stage_.targetPath(o) : "";
  if (o->kind == ObjectKind::Boxed) return primitiveToString(o->primitive, version_);
  if (o->isFunction()) return "[type Function]";
  std::vector<Value> none;
  Value method = getMember(v, "toString");
  if (method.isObject() && method.object->isFunction()) {
    Value r = call(method, v, none);
    if (!r.isObject()) return primitiveToString(r, version_);
  }
  return "[object Object]";
}

Object* Vm::toObject(const Value& v) {
  switch (v.type) {
    case ValueType::Undefined:
    case ValueType::Null: return nullptr;
    case ValueType::Object: return v.object;
    default: break;
  }
  Object* proto = v.isString() ? stringProto : v.isNumber() ? numberProto : booleanProto;
  Object* box = make(ObjectKind::Boxed, proto);
  box->primitive = v;
  return box;
}

bool Vm::strictlyEquals(const Value& a, const Value& b) {
  if (a.type != b.type) return false;
  switch (a.type) {
    case ValueType::Undefined:
    case ValueType::Null: return true;
    case ValueType::Boolean: return a.boolean == b.boolean;
    case ValueType::Number: return a.number == b.number;
    case ValueType::String: return a.string == b.string;
    case ValueType::Object: return a.object == b.object;
  }
  return false;
}

bool Vm::looselyEquals(const Value& a, const Value& b) {
  if (a.type == b.type) return strictlyEquals(a, b);
  if (a.isNullish() && b.isNullish()) return true;
  if (a.isNullish() || b.isNullish()) return false;
  if (a.isObject() && b.isObject()) return a.object == b.object;
  if (a.isObject() || b.isObject()) {
    Value pa = toPrimitive(a), pb = toPrimitive(b);
    if (pa.isObject() || pb.isObject()) return false;
    return looselyEquals(pa, pb);
  }
  if (a.isString() && b.isString()) return a.string == b.string;
  return primitiveToNumber(a, version_) == primitiveToNumber(b, version_);
}

std::string Vm::typeOf(const Value& v) {
  switch (v.type) {
    case ValueType::Undefined: return "undefined";
    case ValueType::Null: return "null";
    case ValueType::Boolean: return "boolean";
    case ValueType::Number: return "number";
    case ValueType::String: return "string";
    case ValueType::Object:
      if (v.object->kind == ObjectKind::Clip) return "movieclip";
      return v.object->isFunction() ? "function" : "object";
  }
  return "undefined";
}

bool Vm::instanceOf(const Value& object, Object* constructor) {
  if (!object.isObject() || !constructor) return false;
  Value protoValue;
  if (!lookup(constructor, "prototype", protoValue) || !protoValue.isObject()) return false;
  Object* target = protoValue.object;
  Object* p = object.object->proto;
  for (int hop = 0; p && hop < kMaxPrototypeHops; ++hop, p = p->proto) {
    if (p == target) return true;
    for (Object* i : p->interfaces)
      if (i == constructor) return true;
  }
  return false;
}

Value Vm::call(const Value& function, const Value& thisValue, std::vector<Value>& args, Object* home) {
  if (!function.isObject() || !function.object->isFunction()) return Value::undefined();
  Object* f = function.object;
  if (depth_ >= kMaxCallDepth) throw ScriptAbort{"calls nested deeper than " + std::to_string(kMaxCallDepth)};
  ++depth_;
  struct Leave {
    int& depth;
    ~Leave() { --depth; }
  } leave{depth_};
  if (f->native) return f->native(*this, thisValue, args);
  if (f->script) return callScript(f, thisValue, args, home);
  return Value::undefined();
}

Value Vm::construct(const Value& constructor, std::vector<Value>& args) {
  if (!constructor.isObject() || !constructor.object->isFunction()) return Value::undefined();
  Value protoValue = getMember(constructor, "prototype");
  Object* instance = make(ObjectKind::Plain, protoValue.isObject() ? protoValue.object : objectProto);
  instance->set("__constructor__", constructor, DontEnum);
  Value result = call(constructor, Value::from(instance), args, instance->proto);
  // Built-in constructors (Array, String...) make their own kind of object.
  if (constructor.object->native && result.isObject()) return result;
  return Value::from(instance);
}

template <typename Body>
void Vm::guarded(const char* what, Body body) {
  // Only the outermost run catches; inside a script, errors go on to the script's own
  // handlers and guards.
  bool outermost = !running_;
  if (outermost) {
    actions_ = bytes_ = 0;
    running_ = true;
  }
  struct Leave {
    bool& running;
    bool outermost;
    ~Leave() {
      if (outermost) running = false;
    }
  } leave{running_, outermost};
  try {
    body();
  } catch (const ScriptThrow& t) {
    if (!outermost) throw;
    warn(std::string(what) + ": uncaught exception " + toString(t.value));
  } catch (const ScriptAbort& a) {
    if (!outermost) throw;
    warn(std::string(what) + " stopped: " + a.reason);
  }
}

void Vm::runActions(const uint8_t* code, size_t size, Object* clip) {
  guarded("actions", [&] {
    Activation a;
    a.code = code;
    a.size = size;
    a.scope = {global_, clip};
    a.registers.resize(4);
    a.targetScope = 1;
    a.target = a.baseClip = a.locals = clip;
    a.thisValue = Value::from(clip);
    a.constants = std::make_shared<std::vector<std::string>>();
    runRange(a, 0, size);
  });
}

Value Vm::callFromHost(const Value& function, const Value& thisValue, std::vector<Value> args) {
  Value result;
  guarded("handler", [&] { result = call(function, thisValue, args); });
  return result;
}

bool Vm::callMethodFromHost(Object* object, const std::string& name, std::vector<Value> args) {
  bool found = false;
  guarded("handler", [&] {
    Value method;
    Object* home = nullptr;
    if (!lookup(object, name, method, &home) || !method.isObject() || !method.object->isFunction()) return;
    found = true;
    call(method, Value::from(object), args, home);
  });
  return found;
}

namespace {

// "a.b.v", "/a/b:v" or "v": the clip path, empty for `base` itself, and the name.
void splitVariablePath(const std::string& path, std::string& clip, std::string& name) {
  size_t split = path.rfind(':');
  if (split == std::string::npos) split = path.rfind('.');
  if (split == std::string::npos) {
    clip.clear();
    name = path;
  } else {
    clip = path.substr(0, split);
    name = path.substr(split + 1);
  }
}

}  // namespace

bool Vm::readVariableText(Object* base, const std::string& path, std::string& out) {
  std::string clip, name;
  splitVariablePath(path, clip, name);
  bool found = false;
  guarded("variable", [&] {
    Object* owner = resolveTarget(base, clip);
    Value v;
    found = owner && lookup(owner, name, v) && !v.isUndefined();
    if (found) out = toString(v);
  });
  return found;
}

void Vm::writeVariablePath(Object* base, const std::string& path, const Value& value) {
  std::string clip, name;
  splitVariablePath(path, clip, name);
  guarded("variable", [&] {
    if (Object* owner = resolveTarget(base, clip)) setMember(Value::from(owner), name, value);
  });
}

void Vm::chargeWork(size_t items) {
  actions_ += items / 32;
  countAction();
}

void Vm::countAction() {
  if (++actions_ > kMaxActionsPerRun)
    throw ScriptAbort{"more than " + std::to_string(kMaxActionsPerRun) + " actions (a script that runs away)"};
}

int Vm::addInterval(const Value& function, const Value& thisValue, const std::string& method,
                    std::vector<Value> args, double periodMs) {
  Interval i{function, thisValue, method, std::move(args), std::max(std::isnan(periodMs) ? 0.0 : periodMs, 1.0), 0};
  i.dueMs = nowMs_ + i.periodMs;
  intervals_[nextInterval_] = std::move(i);
  return nextInterval_++;
}

void Vm::clearInterval(int id) { intervals_.erase(id); }

void Vm::runIntervals(double nowMs) {
  nowMs_ = nowMs;
  // A timer due several times since the last step fires that many times, up to a bound:
  // past it the timer skips ahead, so a short period cannot stall the movie.
  std::vector<int> due;
  for (auto& [id, i] : intervals_)
    if (i.dueMs <= nowMs) due.push_back(id);
  for (int id : due) {
    for (int fired = 0; fired < kMaxIntervalCatchUp; ++fired) {
      auto it = intervals_.find(id);
      if (it == intervals_.end() || it->second.dueMs > nowMs) break;
      Interval& i = it->second;
      i.dueMs += i.periodMs;
      if (fired + 1 == kMaxIntervalCatchUp) i.dueMs = std::max(i.dueMs, nowMs + i.periodMs);
      Interval copy = i;
      if (copy.method.empty()) {
        callFromHost(copy.function, copy.thisValue, copy.args);
      } else if (copy.thisValue.isObject()) {
        callMethodFromHost(copy.thisValue.object, copy.method, copy.args);
      }
    }
  }
}

void Vm::setKey(int keyCode, bool down) {
  if (down) {
    lastKey_ = keyCode;
    keysDown_.insert(keyCode);
  } else {
    keysDown_.erase(keyCode);
  }
}

void Vm::broadcast(const std::string& source, const std::string& method) {
  const Object::Slot* owner = global_->find(source);
  if (!owner || !owner->value.isObject()) return;
  const Object::Slot* list = owner->value.object->find("_listeners");
  if (!list || !list->value.isObject()) return;
  // A copy: a handler may add or remove listeners.
  std::vector<Value> listeners = list->value.object->elements;
  for (const Value& l : listeners)
    if (l.isObject()) callMethodFromHost(l.object, method, {});
}

void Vm::collectGarbage(const std::vector<Object*>& extraRoots) {
  std::vector<Object*> roots = extraRoots;
  for (Object* p : {objectProto, functionProto, arrayProto, stringProto, numberProto, booleanProto, clipProto,
                    buttonProto, textFieldProto, global_})
    roots.push_back(p);
  auto addValue = [&roots](const Value& v) {
    if (v.isObject()) roots.push_back(v.object);
  };
  for (const auto& [name, c] : classes_) addValue(c);
  for (const auto& [id, i] : intervals_) {
    addValue(i.function);
    addValue(i.thisValue);
    for (const Value& v : i.args) addValue(v);
  }
  heap_.collect(roots);
}

void Vm::registerClass(const std::string& exportName, const Value& constructor) {
  if (constructor.isObject() && constructor.object->isFunction()) classes_[exportName] = constructor;
  else classes_.erase(exportName);
}

Value Vm::registeredClass(const std::string& exportName) const {
  auto it = classes_.find(exportName);
  return it == classes_.end() ? Value::undefined() : it->second;
}

uint32_t Vm::nextRandom() {
  // xorshift: the same sequence on every run, so movies and tests are repeatable.
  random_ ^= random_ << 13;
  random_ ^= random_ >> 17;
  random_ ^= random_ << 5;
  return random_;
}

}  // namespace tvrl::avm1
