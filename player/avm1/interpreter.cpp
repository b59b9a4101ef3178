// The action loop: decodes each action of a block in place (bounded by the block) and
// carries it out. Bytecode that cannot be decoded ends the block with a warning.
#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstring>

#include "player/avm1/action_codes.h"
#include "player/avm1/activation.h"
#include "player/avm1/vm.h"
#include "player/swf/byte_reader.h"

namespace tvrl::avm1 {

namespace {

Value pop(Activation& a) {
  if (a.stack.empty()) return Value::undefined();  // Flash reads undefined past the bottom
  Value v = std::move(a.stack.back());
  a.stack.pop_back();
  return v;
}

void push(Activation& a, Value v) {
  if (a.stack.size() >= kMaxStackValues) throw ScriptAbort{"stack overflow"};
  if (v.isString()) a.pushedBytes += v.string.size();
  a.stack.push_back(std::move(v));
}

// A count read from the stack, never more than the values there to take.
size_t popCount(Activation& a) {
  Value v = pop(a);
  double n = v.isNumber() ? v.number : 0;
  if (!(n > 0)) return 0;
  return n > static_cast<double>(a.stack.size()) ? a.stack.size() : static_cast<size_t>(n);
}

std::vector<Value> popArgs(Activation& a) {
  size_t n = popCount(a);
  std::vector<Value> args(n);
  for (size_t i = 0; i < n; ++i) args[i] = pop(a);
  return args;
}

double readDouble(swf::ByteReader& in) {
  // Stored as two little-endian halves, the high half first.
  uint64_t high = in.u32(), low = in.u32();
  uint64_t bits = high << 32 | low;
  double d;
  std::memcpy(&d, &bits, sizeof d);
  return d;
}

float readFloat(swf::ByteReader& in) {
  uint32_t bits = in.u32();
  float f;
  std::memcpy(&f, &bits, sizeof f);
  return f;
}

// StringExtract: 1-based index, as the old string actions count.
std::string extract(const std::vector<uint32_t>& cps, double index, double count) {
  if (std::isnan(index) || std::isnan(count)) return "";
  double begin = std::max(0.0, std::trunc(index) - 1);
  if (begin >= static_cast<double>(cps.size()) || count <= 0) return "";
  double end = std::min(static_cast<double>(cps.size()), begin + std::trunc(count));
  return utf8FromCodePoints(cps, static_cast<size_t>(begin), static_cast<size_t>(end));
}

}  // namespace

const char* propertyName(int index) {
  static const char* const names[] = {"_x", "_y", "_xscale", "_yscale", "_currentframe", "_totalframes",
                                      "_alpha", "_visible", "_width", "_height", "_rotation", "_target",
                                      "_framesloaded", "_name", "_droptarget", "_url", "_highquality",
                                      "_focusrect", "_soundbuftime", "_quality", "_xmouse", "_ymouse"};
  return index >= 0 && index < 22 ? names[index] : nullptr;
}

void Vm::requestUrl(const std::string& url, const std::string& target) {
  static const char kPrefix[] = "fscommand:";
  bool fsCommand = url.size() >= 10 && std::equal(url.begin(), url.begin() + 10, kPrefix, [](char a, char b) {
                     return std::tolower(static_cast<unsigned char>(a)) == b;
                   });
  if (fsCommand) stage_.fsCommand(url.substr(10), target);
  else stage_.navigate(url, target);
}

Object* Vm::resolveTarget(Object* base, const std::string& path) {
  if (path.empty()) return base;
  Object* at = base;
  size_t i = 0;
  bool slash = path.find('/') != std::string::npos;
  if (path[0] == '/') {
    at = stage_.rootClip();
    i = 1;
  }
  while (i <= path.size() && at) {
    size_t end = path.find_first_of(slash ? "/" : ".", i);
    if (end == std::string::npos) end = path.size();
    std::string part = path.substr(i, end - i);
    i = end + 1;
    if (part.empty()) continue;
    if (part == ".." || part == "_parent") {
      at = at->isDisplay() && at->clip ? stage_.parentClip(at) : nullptr;
    } else if (part == "_root" || part == "_level0") {
      at = stage_.rootClip();
    } else if (part == "_global") {
      at = global_;
    } else if (part != "this") {
      Value v;
      at = lookup(at, part, v) && v.isObject() ? v.object : nullptr;
    }
  }
  return at;
}

Object* Vm::targetOf(Activation& a, const Value& target) {
  if (target.isObject()) return target.object;
  return resolveTarget(a.target, toString(target));
}

Value Vm::getVariable(Activation& a, const std::string& name) {
  size_t colon = name.rfind(':');
  size_t split = colon != std::string::npos ? colon : name.find_first_of("/.") != std::string::npos ? name.rfind('.') : std::string::npos;
  if (split != std::string::npos && name.find('/') != std::string::npos && colon == std::string::npos) {
    Object* clip = resolveTarget(a.target, name);
    return clip ? Value::from(clip) : Value::undefined();
  }
  if (split != std::string::npos) {
    Object* owner = split == 0 ? a.target : resolveTarget(a.target, name.substr(0, split));
    return owner ? getMember(Value::from(owner), name.substr(split + 1)) : Value::undefined();
  }
  if (name == "this") return a.thisValue;
  if (name == "_global") return Value::from(global_);
  if (name == "_root" || name == "_level0") return Value::from(stage_.rootClip());
  Value out;
  for (size_t i = a.scope.size(); i-- > 0;)
    if (a.scope[i] && lookup(a.scope[i], name, out)) return out;
  return Value::undefined();
}

void Vm::setVariable(Activation& a, const std::string& name, const Value& value) {
  size_t split = name.rfind(':');
  if (split == std::string::npos && name.find_first_of("/") == std::string::npos) split = name.rfind('.');
  if (split != std::string::npos) {
    Object* owner = split == 0 ? a.target : resolveTarget(a.target, name.substr(0, split));
    if (owner) setMember(Value::from(owner), name.substr(split + 1), value);
    return;
  }
  // A name already in scope is set where it lives; _global is only reached by name.
  Value ignored;
  for (size_t i = a.scope.size(); i-- > 1;) {
    if (a.scope[i] && lookup(a.scope[i], name, ignored)) {
      setMember(Value::from(a.scope[i]), name, value);
      return;
    }
  }
  Object* home = a.target ? a.target : a.locals;
  if (home) setMember(Value::from(home), name, value);
}

void Vm::defineLocal(Activation& a, const std::string& name, const Value& value) {
  if (a.locals) a.locals->set(name, value);
}

bool Vm::deleteVariable(Activation& a, const std::string& name) {
  for (size_t i = a.scope.size(); i-- > 0;)
    if (a.scope[i] && a.scope[i]->find(name)) return a.scope[i]->remove(name);
  return false;
}

Object* Vm::defineFunction(Activation& a, std::unique_ptr<ScriptFunction> f) {
  f->scope = a.scope;
  f->definingClip = a.target;
  f->constants = a.constants;
  Object* fn = make(ObjectKind::Function, functionProto);
  fn->script = std::move(f);
  Object* proto = makeObject();
  proto->set("constructor", Value::from(fn), DontEnum);
  fn->set("prototype", Value::from(proto), DontEnum);
  return fn;
}

Value Vm::callScript(Object* function, const Value& thisValue, std::vector<Value>& args, Object* home) {
  const ScriptFunction& f = *function->script;
  Activation a;
  a.code = f.body;
  a.size = f.size;
  a.constants = f.constants;
  Object* locals = make(ObjectKind::Plain, nullptr);
  a.scope = f.scope;
  a.scope.push_back(locals);
  a.locals = locals;
  a.target = a.baseClip = f.definingClip;
  a.thisValue = thisValue;

  Object* arguments = makeArray(args);
  arguments->set("callee", Value::from(function), DontEnum);
  auto makeSuper = [&]() -> Value {
    Object* base = home ? home : thisValue.isObject() ? thisValue.object->proto : nullptr;
    if (!base) return Value::undefined();
    Object* s = make(ObjectKind::Super, nullptr);
    s->superProto = base->proto;
    s->superThis = thisValue;
    Value ctor;
    if (lookup(base, "__constructor__", ctor) || (base->proto && lookup(base->proto, "constructor", ctor)))
      s->set("__constructor__", ctor, DontEnum);
    return Value::from(s);
  };
  Object* root = stage_.rootClip();
  Object* parent = a.target && a.target->clip ? stage_.parentClip(a.target) : nullptr;

  if (!f.isFunction2) {
    a.registers.resize(4);
    locals->set("arguments", Value::from(arguments));
    locals->set("super", makeSuper());
    for (size_t i = 0; i < f.params.size(); ++i) locals->set(f.params[i], i < args.size() ? args[i] : Value::undefined());
  } else {
    a.registers.resize(std::max<size_t>(f.registerCount, 1));
    size_t r = 1;
    auto preload = [&](const Value& v) {
      if (r < a.registers.size()) a.registers[r++] = v;
    };
    if (f.flags & PreloadThis) preload(thisValue);
    if (f.flags & PreloadArguments) preload(Value::from(arguments));
    else if (!(f.flags & SuppressArguments)) locals->set("arguments", Value::from(arguments));
    if (f.flags & PreloadSuper) preload(makeSuper());
    else if (!(f.flags & SuppressSuper)) locals->set("super", makeSuper());
    if (f.flags & PreloadRoot) preload(Value::from(root));
    if (f.flags & PreloadParent) preload(parent ? Value::from(parent) : Value::undefined());
    if (f.flags & PreloadGlobal) preload(Value::from(global_));
    for (size_t i = 0; i < f.params.size(); ++i) {
      Value arg = i < args.size() ? args[i] : Value::undefined();
      uint8_t reg = f.paramRegisters[i];
      if (reg && reg < a.registers.size()) a.registers[reg] = arg;
      else locals->set(f.params[i], arg);
    }
  }
  runRange(a, 0, a.size);
  return a.result;
}

Vm::Flow Vm::runRange(Activation& a, size_t begin, size_t end) {
  a.pc = begin;
  for (;;) {
    if (a.pc < begin || a.pc > end) return Flow::Jump;
    if (a.pc == end) return Flow::Normal;
    bool done = false;
    Flow flow = step(a, done);
    if (done) return flow;
  }
}

// One action at a.pc. Sets `done` when the range ends (Return, End, bad bytecode, or a
// jump out of a With or Try body).
Vm::Flow Vm::step(Activation& a, bool& done) {
  countAction();
  const uint8_t op = a.code[a.pc];
  size_t next = a.pc + 1;
  swf::ByteReader in(nullptr, 0);
  if (op >= 0x80) {
    if (a.pc + 3 > a.size) {
      warn("actions: truncated action header");
      done = true;
      return Flow::Return;
    }
    size_t length = a.code[a.pc + 1] | a.code[a.pc + 2] << 8;
    if (a.pc + 3 + length > a.size) {
      warn("actions: action runs past the end of its block");
      done = true;
      return Flow::Return;
    }
    in = swf::ByteReader(a.code + a.pc + 3, length);
    next = a.pc + 3 + length;
  }
  auto stop = [&](const char* why) {
    warn(std::string("actions: ") + why);
    done = true;
    return Flow::Return;
  };
  auto popNumber = [&] { return toNumber(pop(a)); };
  auto popString = [&] { return toString(pop(a)); };
  // SWF 4 movies have no booleans: comparisons give 1 or 0.
  auto pushTruth = [&](bool b) { push(a, version_ >= 5 ? Value::from(b) : Value::from(b ? 1 : 0)); };
  auto constant = [&](size_t i) { return a.constants && i < a.constants->size() ? Value::from((*a.constants)[i]) : Value::undefined(); };

  switch (op) {
    case ActionEnd: done = true; return Flow::Return;
    case ActionNextFrame: if (a.target) stage_.stepFrame(a.target, 1); break;
    case ActionPreviousFrame: if (a.target) stage_.stepFrame(a.target, -1); break;
    case ActionPlay: if (a.target) stage_.setPlaying(a.target, true); break;
    case ActionStop: if (a.target) stage_.setPlaying(a.target, false); break;
    case ActionToggleQuality:
    case ActionStopSounds: break;
    case ActionAdd: { double b = popNumber(), x = popNumber(); push(a, Value::from(x + b)); break; }
    case ActionSubtract: { double b = popNumber(), x = popNumber(); push(a, Value::from(x - b)); break; }
    case ActionMultiply: { double b = popNumber(), x = popNumber(); push(a, Value::from(x * b)); break; }
    case ActionDivide: {
      double b = popNumber(), x = popNumber();
      if (b == 0 && version_ < 5) push(a, Value::from("#ERROR#"));
      else push(a, Value::from(x / b));
      break;
    }
    case ActionModulo: { double b = popNumber(), x = popNumber(); push(a, Value::from(std::fmod(x, b))); break; }
    case ActionEquals: { double b = popNumber(), x = popNumber(); pushTruth(x == b); break; }
    case ActionLess: { double b = popNumber(), x = popNumber(); pushTruth(x < b); break; }
    case ActionAnd: { bool b = toBoolean(pop(a)), x = toBoolean(pop(a)); pushTruth(x && b); break; }
    case ActionOr: { bool b = toBoolean(pop(a)), x = toBoolean(pop(a)); pushTruth(x || b); break; }
    case ActionNot: pushTruth(!toBoolean(pop(a))); break;
    case ActionStringEquals: { std::string b = popString(), x = popString(); pushTruth(x == b); break; }
    case ActionStringLess: { std::string b = popString(), x = popString(); pushTruth(x < b); break; }
    case ActionStringGreater: { std::string b = popString(), x = popString(); pushTruth(x > b); break; }
    case ActionStringLength: push(a, Value::from(static_cast<double>(popString().size()))); break;
    case ActionMBStringLength: push(a, Value::from(static_cast<double>(utf8CodePoints(popString()).size()))); break;
    case ActionStringExtract: {
      double count = popNumber(), index = popNumber();
      std::string s = popString();
      std::vector<uint32_t> bytes(s.begin(), s.end());
      for (uint32_t& b : bytes) b &= 0xff;
      std::string out;
      double from = std::max(0.0, std::trunc(index) - 1);
      if (!std::isnan(index) && !std::isnan(count) && count > 0 && from < s.size())
        out = s.substr(static_cast<size_t>(from), static_cast<size_t>(std::min<double>(count, s.size())));
      push(a, Value::from(out));
      break;
    }
    case ActionMBStringExtract: {
      double count = popNumber(), index = popNumber();
      push(a, Value::from(extract(utf8CodePoints(popString()), index, count)));
      break;
    }
    case ActionStringAdd: { std::string b = popString(), x = popString(); push(a, Value::from(x + b)); break; }
    case ActionCharToAscii: {
      std::string s = popString();
      push(a, s.empty() ? Value::from(NAN) : Value::from(static_cast<double>(static_cast<unsigned char>(s[0]))));
      break;
    }
    case ActionMBCharToAscii: {
      std::vector<uint32_t> cps = utf8CodePoints(popString());
      push(a, cps.empty() ? Value::from(NAN) : Value::from(static_cast<double>(cps[0])));
      break;
    }
    case ActionAsciiToChar: push(a, Value::from(std::string(1, static_cast<char>(toInt32(popNumber()) & 0xff)))); break;
    case ActionMBAsciiToChar: {
      std::vector<uint32_t> cp{static_cast<uint32_t>(toInt32(popNumber())) & 0x1fffff};
      push(a, Value::from(utf8FromCodePoints(cp, 0, 1)));
      break;
    }
    case ActionPop: pop(a); break;
    case ActionToInteger: {
      double n = popNumber();
      push(a, Value::from(std::isnan(n) ? 0.0 : std::isinf(n) ? n : std::trunc(n)));
      break;
    }
    case ActionGetVariable: push(a, getVariable(a, popString())); break;
    case ActionSetVariable: { Value v = pop(a); setVariable(a, popString(), v); break; }
    case ActionSetTarget2:
    case ActionSetTarget: {
      Value t = op == ActionSetTarget ? Value::from(in.cString()) : pop(a);
      bool empty = t.isString() && t.string.empty();
      Object* clip = empty ? a.baseClip : targetOf(a, t);
      if (!clip && !empty) warn("actions: SetTarget to a missing clip " + toString(t));
      a.target = clip;
      if (a.targetScope) a.scope[a.targetScope] = clip ? clip : a.baseClip;
      break;
    }
    case ActionGetProperty: {
      int index = toInt32(popNumber());
      Object* clip = targetOf(a, pop(a));
      const char* name = propertyName(index);
      Value v;
      if (clip && name && clip->isDisplay() && clip->clip) stage_.getClipProperty(clip, name, v);
      push(a, v);
      break;
    }
    case ActionSetProperty: {
      Value v = pop(a);
      int index = toInt32(popNumber());
      Object* clip = targetOf(a, pop(a));
      const char* name = propertyName(index);
      if (clip && name && clip->isDisplay() && clip->clip) stage_.setClipProperty(clip, name, v);
      break;
    }
    case ActionCloneSprite: {
      int depth = toInt32(popNumber());
      std::string name = popString();
      Object* source = targetOf(a, pop(a));
      if (source && source->kind == ObjectKind::Clip && source->clip) stage_.duplicateClip(source, name, depth);
      break;
    }
    case ActionRemoveSprite: {
      Object* clip = targetOf(a, pop(a));
      if (clip && clip->kind == ObjectKind::Clip && clip->clip) stage_.removeClip(clip);
      break;
    }
    case ActionTrace: {
      Value v = pop(a);
      stage_.trace(v.isUndefined() ? "undefined" : toString(v));
      break;
    }
    case ActionStartDrag: {
      pop(a);
      pop(a);
      if (toBoolean(pop(a)))
        for (int i = 0; i < 4; ++i) pop(a);
      warn("actions: dragging is not supported");
      break;
    }
    case ActionEndDrag: break;
    case ActionThrow: throw ScriptThrow{pop(a)};
    case ActionCastOp: {
      Value object = pop(a), ctor = pop(a);
      push(a, ctor.isObject() && instanceOf(object, ctor.object) ? object : Value::null());
      break;
    }
    case ActionImplementsOp: {
      Value ctor = pop(a);
      std::vector<Value> interfaces = popArgs(a);
      Value proto = getMember(ctor, "prototype");
      if (proto.isObject())
        for (const Value& i : interfaces)
          if (i.isObject()) proto.object->interfaces.push_back(i.object);
      break;
    }
    case ActionRandomNumber: {
      double max = std::trunc(popNumber());
      push(a, Value::from(max >= 1 && max < 4294967296.0 ? static_cast<double>(nextRandom() % static_cast<uint32_t>(max)) : 0.0));
      break;
    }
    case ActionGetTime: push(a, Value::from(std::floor(stage_.timeMs()))); break;
    case ActionDelete: {
      std::string name = popString();
      Object* o = toObject(pop(a));
      pushTruth(o && o->remove(name));
      break;
    }
    case ActionDelete2: pushTruth(deleteVariable(a, popString())); break;
    case ActionDefineLocal: { Value v = pop(a); defineLocal(a, popString(), v); break; }
    case ActionDefineLocal2: {
      std::string name = popString();
      if (a.locals && !a.locals->find(name)) defineLocal(a, name, Value::undefined());
      break;
    }
    case ActionCallFunction: {
      std::string name = popString();
      std::vector<Value> args = popArgs(a);
      Value fn = getVariable(a, name);
      if (!fn.isObject() || !fn.object->isFunction()) warn("actions: " + name + " is not a function");
      push(a, call(fn, a.target ? Value::from(a.target) : Value::undefined(), args));
      break;
    }
    case ActionCallMethod:
    case ActionNewMethod: {
      Value nameValue = pop(a);
      Value object = pop(a);
      std::vector<Value> args = popArgs(a);
      std::string name = nameValue.isUndefined() ? "" : toString(nameValue);
      if (op == ActionNewMethod) {
        push(a, construct(name.empty() ? object : getMember(object, name), args));
        break;
      }
      if (object.isObject() && object.object->kind == ObjectKind::Super) {
        Object* s = object.object;
        Value method;
        Object* home = nullptr;
        if (name.empty()) {
          const Object::Slot* ctor = s->find("__constructor__");
          if (ctor) method = ctor->value;
          home = s->superProto;
        } else if (s->superProto) {
          lookup(s->superProto, name, method, &home);
        }
        push(a, call(method, s->superThis, args, home));
        break;
      }
      if (name.empty()) {
        push(a, call(object, Value::undefined(), args));
        break;
      }
      Value method;
      Object* home = nullptr;
      if (object.isObject()) lookup(object.object, name, method, &home);
      else method = getMember(object, name);
      if (!method.isObject() || !method.object->isFunction()) warn("actions: method " + name + " is not a function");
      push(a, call(method, object, args, home));
      break;
    }
    case ActionReturn:
      a.result = pop(a);
      done = true;
      return Flow::Return;
    case ActionNewObject: {
      std::string name = popString();
      std::vector<Value> args = popArgs(a);
      push(a, construct(getVariable(a, name), args));
      break;
    }
    case ActionInitArray: push(a, Value::from(makeArray(popArgs(a)))); break;
    case ActionInitObject: {
      Value countValue = pop(a);
      double n = countValue.isNumber() ? countValue.number : 0;
      size_t pairs = n > 0 ? static_cast<size_t>(std::min(n, static_cast<double>(a.stack.size() / 2))) : 0;
      Object* o = makeObject();
      for (size_t i = 0; i < pairs; ++i) {
        Value v = pop(a);
        setMember(Value::from(o), popString(), v);
      }
      push(a, Value::from(o));
      break;
    }
    case ActionTypeOf: push(a, Value::from(typeOf(pop(a)))); break;
    case ActionTargetPath: {
      Value v = pop(a);
      push(a, v.isObject() && v.object->isDisplay() && v.object->clip ? Value::from(stage_.targetPath(v.object))
                                                                                  : Value::undefined());
      break;
    }
    case ActionEnumerate:
    case ActionEnumerate2: {
      Value v = op == ActionEnumerate ? getVariable(a, popString()) : pop(a);
      push(a, Value::null());
      if (!v.isObject()) break;
      // Names are pushed oldest first, so the loop pops the newest first, as Flash lists them.
      std::vector<std::string> names;
      int hops = 0;
      for (Object* o = v.object; o && hops < 256; o = o->proto, ++hops) {
        for (size_t i = 0; i < o->elements.size(); ++i) names.push_back(std::to_string(i));
        for (const Object::Slot& s : o->slots())
          if (!(s.flags & DontEnum)) names.push_back(s.name);
      }
      for (const std::string& n : names) push(a, Value::from(n));
      break;
    }
    case ActionAdd2: {
      Value b = toPrimitive(pop(a)), x = toPrimitive(pop(a));
      if (x.isString() || b.isString()) push(a, Value::from(toString(x) + toString(b)));
      else push(a, Value::from(toNumber(x) + toNumber(b)));
      break;
    }
    case ActionLess2:
    case ActionGreater: {
      Value b = toPrimitive(pop(a)), x = toPrimitive(pop(a));
      if (op == ActionGreater) std::swap(x, b);
      if (x.isString() && b.isString()) {
        push(a, Value::from(x.string < b.string));
      } else {
        double nx = toNumber(x), nb = toNumber(b);
        push(a, std::isnan(nx) || std::isnan(nb) ? Value::undefined() : Value::from(nx < nb));
      }
      break;
    }
    case ActionEquals2: { Value b = pop(a), x = pop(a); push(a, Value::from(looselyEquals(x, b))); break; }
    case ActionStrictEquals: { Value b = pop(a), x = pop(a); push(a, Value::from(strictlyEquals(x, b))); break; }
    case ActionToNumber: push(a, Value::from(popNumber())); break;
    case ActionToString: push(a, Value::from(popString())); break;
    case ActionPushDuplicate: { Value v = pop(a); push(a, v); push(a, v); break; }
    case ActionStackSwap: { Value b = pop(a), x = pop(a); push(a, b); push(a, x); break; }
    case ActionGetMember: {
      std::string name = popString();
      push(a, getMember(pop(a), name));
      break;
    }
    case ActionSetMember: {
      Value v = pop(a);
      std::string name = popString();
      setMember(pop(a), name, v);
      break;
    }
    case ActionIncrement: push(a, Value::from(popNumber() + 1)); break;
    case ActionDecrement: push(a, Value::from(popNumber() - 1)); break;
    case ActionInstanceOf: {
      Value ctor = pop(a), object = pop(a);
      push(a, Value::from(ctor.isObject() && instanceOf(object, ctor.object)));
      break;
    }
    case ActionBitAnd: { int32_t b = toInt32(popNumber()), x = toInt32(popNumber()); push(a, Value::from(static_cast<double>(x & b))); break; }
    case ActionBitOr: { int32_t b = toInt32(popNumber()), x = toInt32(popNumber()); push(a, Value::from(static_cast<double>(x | b))); break; }
    case ActionBitXor: { int32_t b = toInt32(popNumber()), x = toInt32(popNumber()); push(a, Value::from(static_cast<double>(x ^ b))); break; }
    case ActionBitLShift: {
      uint32_t s = toUint32(popNumber()) & 31;
      int32_t x = toInt32(popNumber());
      push(a, Value::from(static_cast<double>(static_cast<int32_t>(static_cast<uint32_t>(x) << s))));
      break;
    }
    case ActionBitRShift: {
      uint32_t s = toUint32(popNumber()) & 31;
      int32_t x = toInt32(popNumber());
      push(a, Value::from(static_cast<double>(x >> s)));
      break;
    }
    case ActionBitURShift: {
      uint32_t s = toUint32(popNumber()) & 31;
      uint32_t x = toUint32(popNumber());
      push(a, Value::from(static_cast<double>(x >> s)));
      break;
    }
    case ActionExtends: {
      Value super = pop(a), sub = pop(a);
      if (!sub.isObject() || !super.isObject()) break;
      Value superProto = getMember(super, "prototype");
      Object* proto = make(ObjectKind::Plain, superProto.isObject() ? superProto.object : objectProto);
      proto->set("__constructor__", super, DontEnum);
      sub.object->set("prototype", Value::from(proto), DontEnum);
      break;
    }

    case ActionGotoFrame: {
      int frame = in.u16();
      if (a.target) stage_.gotoFrame(a.target, frame, false);
      break;
    }
    case ActionGetURL:
    case ActionGetURL2: {
      std::string url, target;
      uint8_t flags = 0;
      if (op == ActionGetURL) {
        url = in.cString();
        target = in.cString();
      } else {
        flags = in.u8();
        target = popString();
        url = popString();
      }
      if (flags & 0xc0) warn("actions: loading movies and variables is not supported (" + url + ")");
      else requestUrl(url, target);
      break;
    }
    case ActionStoreRegister: {
      uint8_t r = in.u8();
      if (!in.failed() && r < a.registers.size()) a.registers[r] = a.stack.empty() ? Value::undefined() : a.stack.back();
      break;
    }
    case ActionConstantPool: {
      auto pool = std::make_shared<std::vector<std::string>>();
      unsigned count = in.u16();
      for (unsigned i = 0; i < count && !in.failed(); ++i) pool->push_back(in.cString());
      if (in.failed()) return stop("constant pool runs past its action");
      a.constants = std::move(pool);
      break;
    }
    case ActionWaitForFrame:
    case ActionWaitForFrame2:
      // Every frame of a movie in memory is loaded: nothing is ever skipped.
      if (op == ActionWaitForFrame2) pop(a);
      break;
    case ActionGotoLabel: {
      std::string label = in.cString();
      if (a.target && !stage_.gotoLabel(a.target, label, false)) warn("actions: no frame labelled " + label);
      break;
    }
    case ActionDefineFunction:
    case ActionDefineFunction2: {
      auto f = std::make_unique<ScriptFunction>();
      f->name = in.cString();
      unsigned params = in.u16();
      f->isFunction2 = op == ActionDefineFunction2;
      if (f->isFunction2) {
        f->registerCount = in.u8();
        f->flags = in.u16();
      }
      for (unsigned i = 0; i < params && !in.failed(); ++i) {
        f->paramRegisters.push_back(f->isFunction2 ? in.u8() : 0);
        f->params.push_back(in.cString());
      }
      size_t bodySize = in.u16();
      if (in.failed()) return stop("function header runs past its action");
      if (next + bodySize > a.size) return stop("function body runs past the end of its block");
      f->body = a.code + next;
      f->size = bodySize;
      std::string name = f->name;
      Object* fn = defineFunction(a, std::move(f));
      if (name.empty()) push(a, Value::from(fn));
      else if (a.locals) a.locals->set(name, Value::from(fn));
      next += bodySize;
      break;
    }
    case ActionTry: {
      uint8_t flags = in.u8();
      size_t trySize = in.u16(), catchSize = in.u16(), finallySize = in.u16();
      bool catchInRegister = flags & 4;
      std::string catchName;
      uint8_t catchRegister = 0;
      if (catchInRegister) catchRegister = in.u8();
      else catchName = in.cString();
      if (in.failed()) return stop("try header runs past its action");
      size_t tryStart = next, catchStart = tryStart + trySize, finallyStart = catchStart + catchSize;
      size_t after = finallyStart + finallySize;
      if (after > a.size) return stop("try blocks run past the end of their block");
      Flow flow = Flow::Normal;
      bool pending = false;
      Value thrown;
      size_t height = a.stack.size();
      try {
        flow = runRange(a, tryStart, catchStart);
      } catch (const ScriptThrow& t) {
        if (flags & 1) {
          a.stack.resize(std::min(height, a.stack.size()));
          if (catchInRegister) {
            if (catchRegister < a.registers.size()) a.registers[catchRegister] = t.value;
          } else {
            defineLocal(a, catchName, t.value);
          }
          try {
            flow = runRange(a, catchStart, finallyStart);
          } catch (const ScriptThrow& again) {
            pending = true;
            thrown = again.value;
          }
        } else {
          pending = true;
          thrown = t.value;
        }
      }
      if (flags & 2) {
        size_t resume = a.pc;
        Value result = a.result;
        Flow finallyFlow = runRange(a, finallyStart, after);
        if (finallyFlow == Flow::Normal) {
          a.pc = resume;
          a.result = result;
        } else {
          flow = finallyFlow;
          pending = false;
        }
      }
      if (pending) throw ScriptThrow{thrown};
      if (flow == Flow::Return) {
        done = true;
        return flow;
      }
      // After a jump out of the blocks, the loop of the enclosing range checks where it went.
      if (flow == Flow::Normal) a.pc = after;
      return Flow::Normal;
    }
    case ActionWith: {
      size_t bodySize = in.u16();
      if (in.failed() || next + bodySize > a.size) return stop("with body runs past the end of its block");
      Object* o = toObject(pop(a));
      if (!o) {
        a.pc = next + bodySize;
        return Flow::Normal;
      }
      a.scope.push_back(o);
      Flow flow;
      try {
        flow = runRange(a, next, next + bodySize);
      } catch (...) {
        a.scope.pop_back();
        throw;
      }
      a.scope.pop_back();
      if (flow == Flow::Return) {
        done = true;
        return flow;
      }
      if (flow == Flow::Normal) a.pc = next + bodySize;
      return Flow::Normal;
    }
    case ActionPush: {
      while (in.remaining() > 0 && !in.failed()) {
        uint8_t type = in.u8();
        switch (type) {
          case 0: push(a, Value::from(in.cString())); break;
          case 1: push(a, Value::from(static_cast<double>(readFloat(in)))); break;
          case 2: push(a, Value::null()); break;
          case 3: push(a, Value::undefined()); break;
          case 4: {
            uint8_t r = in.u8();
            push(a, r < a.registers.size() ? a.registers[r] : Value::undefined());
            break;
          }
          case 5: push(a, Value::from(in.u8() != 0)); break;
          case 6: push(a, Value::from(readDouble(in))); break;
          case 7: push(a, Value::from(static_cast<double>(static_cast<int32_t>(in.u32())))); break;
          case 8: push(a, constant(in.u8())); break;
          case 9: push(a, constant(in.u16())); break;
          default: return stop("unknown push type");
        }
      }
      if (in.failed()) return stop("push runs past its action");
      break;
    }
    case ActionJump:
    case ActionIf: {
      int16_t offset = static_cast<int16_t>(in.u16());
      if (in.failed()) return stop("branch without an offset");
      if (op == ActionIf && !toBoolean(pop(a))) break;
      long target = static_cast<long>(next) + offset;
      if (target < 0 || static_cast<size_t>(target) > a.size) return stop("branch outside its block");
      a.pc = static_cast<size_t>(target);
      return Flow::Normal;
    }
    case ActionCall: {
      Value frame = pop(a);
      if (!a.target) break;
      int n = frame.isString() ? stage_.labelFrame(a.target, frame.string) : toInt32(toNumber(frame)) - 1;
      if (n >= 0) stage_.callFrame(a.target, n);
      break;
    }
    case ActionGotoFrame2: {
      uint8_t flags = in.u8();
      int bias = (flags & 2) ? in.u16() : 0;
      Value frame = pop(a);
      Object* clip = a.target;
      bool play = flags & 1;
      if (frame.isString()) {
        // "target:frame" or a label; a label that reads as a number is a frame number.
        std::string s = frame.string;
        size_t colon = s.rfind(':');
        if (colon != std::string::npos) {
          clip = resolveTarget(a.target, s.substr(0, colon));
          s = s.substr(colon + 1);
        }
        double n = stringToNumber(s, version_);
        if (!clip) break;
        if (!std::isnan(n)) stage_.gotoFrame(clip, static_cast<int>(n) - 1 + bias, play);
        else stage_.gotoLabel(clip, s, play);
      } else if (clip) {
        double n = toNumber(frame);
        if (!std::isnan(n)) stage_.gotoFrame(clip, static_cast<int>(std::max(-1.0, std::min(n, 1e6))) - 1 + bias, play);
      }
      break;
    }
    default:
      // Unknown actions are skipped by their length, as Flash does.
      break;
  }
  charge(a.pushedBytes);
  a.pushedBytes = 0;
  a.pc = next;
  return Flow::Normal;
}

}  // namespace tvrl::avm1
