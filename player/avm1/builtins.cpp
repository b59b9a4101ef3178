// The built-in classes and functions a Flash 8 movie reaches: Object, Function, Array,
// String, Number, Boolean, Math, the global functions, and the prototypes of clips,
// buttons and text fields (the clip methods call the Stage).
#include <algorithm>
#include <cmath>

#include "player/avm1/builtin_support.h"

namespace tvrl::avm1 {

namespace {

// Where the primitive of a String, Number or Boolean method comes from.
Value primitiveOf(const Value& thisValue) {
  if (thisValue.isObject() && thisValue.object->kind == ObjectKind::Boxed) return thisValue.object->primitive;
  return thisValue;
}

// A relative index of slice and substr: negative counts from the end.
size_t clampIndex(double i, size_t length) {
  if (std::isnan(i)) return 0;
  if (i < 0) i = std::max(0.0, static_cast<double>(length) + std::trunc(i));
  return static_cast<size_t>(std::min(static_cast<double>(length), std::trunc(i)));
}

void installObject(Vm& vm) {
  Object* proto = vm.objectProto;
  Object* object = makeClass(vm, proto, "Object", [](Vm& v, const Value&, Args& args) {
    Object* o = v.toObject(arg(args, 0));
    return Value::from(o ? o : v.makeObject());
  });
  // registerClass(linkage name, constructor): clips of that symbol become instances of it.
  method(vm, object, "registerClass", [](Vm& v, const Value&, Args& args) {
    if (args.size() < 2) return Value::from(false);
    v.registerClass(v.toString(args[0]), args[1]);
    return Value::from(true);
  });
  method(vm, proto, "toString", [](Vm&, const Value&, Args&) { return Value::from("[object Object]"); });
  method(vm, proto, "valueOf", [](Vm&, const Value& t, Args&) { return t; });
  method(vm, proto, "hasOwnProperty", [](Vm& v, const Value& t, Args& args) {
    return Value::from(t.isObject() && t.object->find(v.toString(arg(args, 0))) != nullptr);
  });
  // addProperty(name, getter, setter): false without a name or a getter; a setter that is
  // not a function (null) makes the property read-only.
  method(vm, proto, "addProperty", [](Vm& v, const Value& t, Args& args) {
    std::string name = v.toString(arg(args, 0));
    Value getter = arg(args, 1), setter = arg(args, 2);
    if (!t.isObject() || name.empty() || !getter.isObject() || !getter.object->isFunction()) return Value::from(false);
    bool settable = setter.isObject() && setter.object->isFunction();
    if (!settable && !setter.isNullish()) return Value::from(false);
    v.addProperty(t.object, name, getter.object, settable ? setter.object : nullptr);
    return Value::from(true);
  });
  method(vm, proto, "watch", [](Vm& v, const Value& t, Args& args) {
    Value callback = arg(args, 1);
    if (!t.isObject() || !callback.isObject() || !callback.object->isFunction()) return Value::from(false);
    Object* o = t.object;
    if (!o->watchers) o->watchers = std::make_unique<std::map<std::string, Object::Watcher>>();
    (*o->watchers)[o->key(v.toString(arg(args, 0)))] = {callback, arg(args, 2)};
    return Value::from(true);
  });
  method(vm, proto, "unwatch", [](Vm& v, const Value& t, Args& args) {
    if (!t.isObject() || !t.object->watchers) return Value::from(false);
    Object* o = t.object;
    auto it = o->watchers->find(o->key(v.toString(arg(args, 0))));
    if (it == o->watchers->end() || it->second.running) return Value::from(false);
    o->watchers->erase(it);
    return Value::from(true);
  });
  method(vm, proto, "isPrototypeOf", [](Vm&, const Value& t, Args& args) {
    Value o = arg(args, 0);
    if (!t.isObject() || !o.isObject()) return Value::from(false);
    for (Object* p = o.object->proto; p; p = p->proto)
      if (p == t.object) return Value::from(true);
    return Value::from(false);
  });

  Object* fproto = vm.functionProto;
  makeClass(vm, fproto, "Function", [](Vm&, const Value&, Args&) { return Value::undefined(); });
  method(vm, fproto, "call", [](Vm& v, const Value& t, Args& args) {
    Args rest(args.begin() + std::min<size_t>(1, args.size()), args.end());
    return v.call(t, arg(args, 0), rest);
  });
  method(vm, fproto, "apply", [](Vm& v, const Value& t, Args& args) {
    Args list;
    Value a = arg(args, 1);
    if (a.isObject() && a.object->kind == ObjectKind::Array) list = a.object->elements;
    return v.call(t, arg(args, 0), list);
  });
}

std::string join(Vm& vm, Object* array, const std::string& separator) {
  std::string out;
  for (size_t i = 0; i < array->elements.size(); ++i) {
    if (i) out += separator;
    const Value& e = array->elements[i];
    if (!e.isNullish()) out += vm.toString(e);
  }
  return out;
}

void installArray(Vm& vm) {
  Object* proto = vm.arrayProto;
  Object* ctor = makeClass(vm, proto, "Array", [](Vm& v, const Value&, Args& args) {
    if (args.size() == 1 && args[0].isNumber()) {
      double n = args[0].number;
      Object* a = v.makeArray();
      if (n >= 0 && n <= kMaxArrayLength) {
        v.charge(static_cast<size_t>(n) * sizeof(Value));
        a->elements.resize(static_cast<size_t>(n));
      }
      return Value::from(a);
    }
    return Value::from(v.makeArray(args));
  });
  ctor->set("CASEINSENSITIVE", Value::from(1));
  ctor->set("DESCENDING", Value::from(2));
  ctor->set("NUMERIC", Value::from(16));
  // The array a method works on; its length is charged as the method's work.
  auto self = [](const Value& t) { return t.isObject() && t.object->kind == ObjectKind::Array ? t.object : nullptr; };
  auto work = [](Vm& v, Object* a) {
    if (a) v.chargeWork(a->elements.size());
    return a;
  };
  method(vm, proto, "push", [self](Vm&, const Value& t, Args& args) {
    Object* a = self(t);
    if (!a) return Value::undefined();
    if (a->elements.size() + args.size() > kMaxArrayLength) return Value::from(static_cast<double>(a->elements.size()));
    a->elements.insert(a->elements.end(), args.begin(), args.end());
    return Value::from(static_cast<double>(a->elements.size()));
  });
  method(vm, proto, "pop", [self](Vm&, const Value& t, Args&) {
    Object* a = self(t);
    if (!a || a->elements.empty()) return Value::undefined();
    Value v = a->elements.back();
    a->elements.pop_back();
    return v;
  });
  method(vm, proto, "shift", [self, work](Vm& v, const Value& t, Args&) {
    Object* a = work(v, self(t));
    if (!a || a->elements.empty()) return Value::undefined();
    Value first = a->elements.front();
    a->elements.erase(a->elements.begin());
    return first;
  });
  method(vm, proto, "unshift", [self, work](Vm& v, const Value& t, Args& args) {
    Object* a = work(v, self(t));
    if (!a) return Value::undefined();
    if (a->elements.size() + args.size() <= kMaxArrayLength) a->elements.insert(a->elements.begin(), args.begin(), args.end());
    return Value::from(static_cast<double>(a->elements.size()));
  });
  method(vm, proto, "join", [self, work](Vm& v, const Value& t, Args& args) {
    Object* a = work(v, self(t));
    return a ? Value::from(join(v, a, args.empty() || args[0].isUndefined() ? "," : v.toString(args[0]))) : Value::undefined();
  });
  method(vm, proto, "toString", [self, work](Vm& v, const Value& t, Args&) {
    Object* a = work(v, self(t));
    return a ? Value::from(join(v, a, ",")) : Value::from("[object Object]");
  });
  method(vm, proto, "reverse", [self, work](Vm& v, const Value& t, Args&) {
    if (Object* a = work(v, self(t))) std::reverse(a->elements.begin(), a->elements.end());
    return t;
  });
  method(vm, proto, "concat", [self, work](Vm& v, const Value& t, Args& args) {
    Object* a = work(v, self(t));
    std::vector<Value> out = a ? a->elements : std::vector<Value>{};
    for (const Value& x : args) {
      if (x.isObject() && x.object->kind == ObjectKind::Array) out.insert(out.end(), x.object->elements.begin(), x.object->elements.end());
      else out.push_back(x);
      if (out.size() > kMaxArrayLength) break;
    }
    return Value::from(v.makeArray(std::move(out)));
  });
  method(vm, proto, "slice", [self, work](Vm& v, const Value& t, Args& args) {
    Object* a = work(v, self(t));
    if (!a) return Value::undefined();
    size_t n = a->elements.size();
    size_t begin = clampIndex(args.empty() ? 0 : v.toNumber(args[0]), n);
    size_t end = args.size() < 2 || args[1].isUndefined() ? n : clampIndex(v.toNumber(args[1]), n);
    std::vector<Value> out;
    if (begin < end) out.assign(a->elements.begin() + begin, a->elements.begin() + end);
    return Value::from(v.makeArray(std::move(out)));
  });
  method(vm, proto, "splice", [self, work](Vm& v, const Value& t, Args& args) {
    Object* a = work(v, self(t));
    if (!a || args.empty()) return Value::undefined();
    size_t n = a->elements.size();
    size_t begin = clampIndex(v.toNumber(args[0]), n);
    size_t count = args.size() < 2 ? n - begin : clampIndex(v.toNumber(args[1]), n - begin);
    std::vector<Value> removed(a->elements.begin() + begin, a->elements.begin() + begin + count);
    a->elements.erase(a->elements.begin() + begin, a->elements.begin() + begin + count);
    if (args.size() > 2 && a->elements.size() + args.size() <= kMaxArrayLength)
      a->elements.insert(a->elements.begin() + begin, args.begin() + 2, args.end());
    return Value::from(v.makeArray(std::move(removed)));
  });
  method(vm, proto, "sort", [self, work](Vm& v, const Value& t, Args& args) {
    Object* a = work(v, self(t));
    if (!a) return t;
    Value compare = arg(args, 0);
    int options = compare.isNumber() ? static_cast<int>(compare.number) : static_cast<int>(v.toNumber(arg(args, 1)));
    bool custom = compare.isObject() && compare.object->isFunction();
    auto before = [&](const Value& x, const Value& y) {
      bool less;
      if (custom) {
        Args pair{x, y};
        less = v.toNumber(v.call(compare, Value::undefined(), pair)) < 0;
      } else if (options & 16) {
        less = v.toNumber(x) < v.toNumber(y);
      } else {
        std::string sx = v.toString(x), sy = v.toString(y);
        if (options & 1) {
          std::transform(sx.begin(), sx.end(), sx.begin(), ::tolower);
          std::transform(sy.begin(), sy.end(), sy.begin(), ::tolower);
        }
        less = sx < sy;
      }
      return less;
    };
    // A merge sort on a copy: stable, n log n comparisons, and a comparison that is not a
    // strict order (a script's, or NaN) can only misplace elements, never run off.
    std::vector<Value> e = a->elements;
    v.chargeWork(e.size() * 20);
    std::vector<Value> buffer(e.size());
    for (size_t width = 1; width < e.size(); width *= 2) {
      for (size_t lo = 0; lo < e.size(); lo += 2 * width) {
        size_t mid = std::min(lo + width, e.size()), hi = std::min(lo + 2 * width, e.size());
        size_t i = lo, j = mid, k = lo;
        while (i < mid && j < hi) buffer[k++] = before(e[j], e[i]) ? e[j++] : e[i++];
        while (i < mid) buffer[k++] = e[i++];
        while (j < hi) buffer[k++] = e[j++];
      }
      std::swap(e, buffer);
    }
    if (options & 2) std::reverse(e.begin(), e.end());
    a->elements = std::move(e);
    return t;
  });
}

void installString(Vm& vm) {
  Object* proto = vm.stringProto;
  Object* ctor = makeClass(vm, proto, "String", [](Vm& v, const Value& t, Args& args) {
    Value s = Value::from(args.empty() ? std::string() : v.toString(args[0]));
    // Called as a constructor, `this` is the new object: give it the string to wrap.
    if (t.isObject() && t.object->kind == ObjectKind::Plain && t.object->proto == v.stringProto) {
      Object* box = v.toObject(s);
      return Value::from(box);
    }
    return s;
  });
  method(vm, ctor, "fromCharCode", [](Vm& v, const Value&, Args& args) {
    std::vector<uint32_t> cps;
    for (const Value& a : args) cps.push_back(static_cast<uint32_t>(toInt32(v.toNumber(a))) & 0xffff);
    return Value::from(utf8FromCodePoints(cps, 0, cps.size()));
  });
  // The string a method works on; its length is charged as the method's work.
  auto text = [](Vm& v, const Value& t) {
    std::string s = v.toString(primitiveOf(t));
    v.chargeWork(s.size());
    return s;
  };
  method(vm, proto, "toString", [text](Vm& v, const Value& t, Args&) { return Value::from(text(v, t)); });
  method(vm, proto, "valueOf", [text](Vm& v, const Value& t, Args&) { return Value::from(text(v, t)); });
  method(vm, proto, "toUpperCase", [text](Vm& v, const Value& t, Args&) {
    std::string s = text(v, t);
    std::transform(s.begin(), s.end(), s.begin(), ::toupper);
    return Value::from(s);
  });
  method(vm, proto, "toLowerCase", [text](Vm& v, const Value& t, Args&) {
    std::string s = text(v, t);
    std::transform(s.begin(), s.end(), s.begin(), ::tolower);
    return Value::from(s);
  });
  method(vm, proto, "charAt", [text](Vm& v, const Value& t, Args& args) {
    std::vector<uint32_t> c = utf8CodePoints(text(v, t));
    double i = v.toNumber(arg(args, 0));
    if (std::isnan(i)) i = 0;
    return Value::from(i >= 0 && i < c.size() ? utf8FromCodePoints(c, static_cast<size_t>(i), static_cast<size_t>(i) + 1) : "");
  });
  method(vm, proto, "charCodeAt", [text](Vm& v, const Value& t, Args& args) {
    std::vector<uint32_t> c = utf8CodePoints(text(v, t));
    double i = v.toNumber(arg(args, 0));
    if (std::isnan(i)) i = 0;
    return Value::from(i >= 0 && i < c.size() ? static_cast<double>(c[static_cast<size_t>(i)]) : NAN);
  });
  auto indexOf = [text](bool last) {
    return [text, last](Vm& v, const Value& t, Args& args) {
      std::string s = text(v, t), what = v.toString(arg(args, 0));
      size_t at;
      if (last) {
        double from = args.size() > 1 ? v.toNumber(args[1]) : NAN;
        at = s.rfind(what, std::isnan(from) ? std::string::npos : static_cast<size_t>(std::max(0.0, from)));
      } else {
        at = s.find(what, clampIndex(args.size() > 1 ? v.toNumber(args[1]) : 0, s.size()));
      }
      return Value::from(at == std::string::npos ? -1.0 : static_cast<double>(utf8CodePoints(s.substr(0, at)).size()));
    };
  };
  method(vm, proto, "indexOf", indexOf(false));
  method(vm, proto, "lastIndexOf", indexOf(true));
  method(vm, proto, "substr", [text](Vm& v, const Value& t, Args& args) {
    std::vector<uint32_t> c = utf8CodePoints(text(v, t));
    size_t begin = clampIndex(v.toNumber(arg(args, 0)), c.size());
    double count = args.size() < 2 || args[1].isUndefined() ? c.size() : v.toNumber(args[1]);
    if (std::isnan(count) || count <= 0) return Value::from("");
    return Value::from(utf8FromCodePoints(c, begin, begin + static_cast<size_t>(std::min<double>(count, c.size()))));
  });
  method(vm, proto, "substring", [text](Vm& v, const Value& t, Args& args) {
    std::vector<uint32_t> c = utf8CodePoints(text(v, t));
    auto at = [&](double i) { return std::isnan(i) || i < 0 ? size_t{0} : static_cast<size_t>(std::min<double>(i, c.size())); };
    size_t begin = at(v.toNumber(arg(args, 0)));
    size_t end = args.size() < 2 || args[1].isUndefined() ? c.size() : at(v.toNumber(args[1]));
    if (begin > end) std::swap(begin, end);
    return Value::from(utf8FromCodePoints(c, begin, end));
  });
  method(vm, proto, "slice", [text](Vm& v, const Value& t, Args& args) {
    std::vector<uint32_t> c = utf8CodePoints(text(v, t));
    size_t begin = clampIndex(v.toNumber(arg(args, 0)), c.size());
    size_t end = args.size() < 2 || args[1].isUndefined() ? c.size() : clampIndex(v.toNumber(args[1]), c.size());
    return Value::from(begin < end ? utf8FromCodePoints(c, begin, end) : "");
  });
  method(vm, proto, "split", [text](Vm& v, const Value& t, Args& args) {
    std::string s = text(v, t);
    std::vector<Value> parts;
    if (args.empty() || args[0].isUndefined()) {
      parts.push_back(Value::from(s));
    } else {
      std::string sep = v.toString(args[0]);
      if (sep.empty()) {
        std::vector<uint32_t> c = utf8CodePoints(s);
        for (size_t i = 0; i < c.size(); ++i) parts.push_back(Value::from(utf8FromCodePoints(c, i, i + 1)));
      } else {
        size_t from = 0, at;
        while ((at = s.find(sep, from)) != std::string::npos && parts.size() < kMaxArrayLength) {
          parts.push_back(Value::from(s.substr(from, at - from)));
          from = at + sep.size();
        }
        parts.push_back(Value::from(s.substr(from)));
      }
    }
    return Value::from(v.makeArray(std::move(parts)));
  });
  method(vm, proto, "concat", [text](Vm& v, const Value& t, Args& args) {
    std::string s = text(v, t);
    for (const Value& a : args) s += v.toString(a);
    return Value::from(s);
  });
}

void installNumberAndBoolean(Vm& vm) {
  Object* nproto = vm.numberProto;
  Object* number = makeClass(vm, nproto, "Number", [](Vm& v, const Value& t, Args& args) {
    Value n = Value::from(args.empty() ? 0.0 : v.toNumber(args[0]));
    if (t.isObject() && t.object->kind == ObjectKind::Plain && t.object->proto == v.numberProto) return Value::from(v.toObject(n));
    return n;
  });
  number->set("MAX_VALUE", Value::from(1.7976931348623157e308), ReadOnly | DontDelete);
  number->set("MIN_VALUE", Value::from(4.9406564584124654e-324), ReadOnly | DontDelete);
  number->set("NaN", Value::from(NAN), ReadOnly | DontDelete);
  number->set("POSITIVE_INFINITY", Value::from(INFINITY), ReadOnly | DontDelete);
  number->set("NEGATIVE_INFINITY", Value::from(-INFINITY), ReadOnly | DontDelete);
  method(vm, nproto, "toString", [](Vm& v, const Value& t, Args& args) {
    double n = v.toNumber(primitiveOf(t));
    int radix = args.empty() ? 10 : toInt32(v.toNumber(args[0]));
    return Value::from(numberToRadixString(n, radix));
  });
  method(vm, nproto, "valueOf", [](Vm& v, const Value& t, Args&) { return Value::from(v.toNumber(primitiveOf(t))); });

  Object* bproto = vm.booleanProto;
  makeClass(vm, bproto, "Boolean", [](Vm& v, const Value& t, Args& args) {
    Value b = Value::from(!args.empty() && v.toBoolean(args[0]));
    if (t.isObject() && t.object->kind == ObjectKind::Plain && t.object->proto == v.booleanProto) return Value::from(v.toObject(b));
    return b;
  });
  method(vm, bproto, "toString", [](Vm& v, const Value& t, Args&) { return Value::from(v.toString(primitiveOf(t))); });
  method(vm, bproto, "valueOf", [](Vm&, const Value& t, Args&) { return primitiveOf(t); });
}

void installMath(Vm& vm) {
  Object* math = vm.makeObject();
  vm.global()->set("Math", Value::from(math), DontEnum);
  // Written out: strict C++ on Windows has no M_PI and friends.
  const std::pair<const char*, double> constants[] = {
      {"PI", 3.141592653589793}, {"E", 2.718281828459045},     {"LN2", 0.6931471805599453},
      {"LN10", 2.302585092994046}, {"LOG2E", 1.4426950408889634}, {"LOG10E", 0.4342944819032518},
      {"SQRT2", 1.4142135623730951}, {"SQRT1_2", 0.7071067811865476}};
  for (const auto& [name, value] : constants) math->set(name, Value::from(value), ReadOnly | DontDelete | DontEnum);
  const std::pair<const char*, double (*)(double)> unary[] = {
      {"abs", [](double x) { return std::fabs(x); }},   {"ceil", [](double x) { return std::ceil(x); }},
      {"floor", [](double x) { return std::floor(x); }}, {"round", [](double x) { return std::floor(x + 0.5); }},
      {"sqrt", [](double x) { return std::sqrt(x); }},   {"sin", [](double x) { return std::sin(x); }},
      {"cos", [](double x) { return std::cos(x); }},     {"tan", [](double x) { return std::tan(x); }},
      {"asin", [](double x) { return std::asin(x); }},   {"acos", [](double x) { return std::acos(x); }},
      {"atan", [](double x) { return std::atan(x); }},   {"exp", [](double x) { return std::exp(x); }},
      {"log", [](double x) { return std::log(x); }}};
  for (const auto& [name, f] : unary) {
    auto fn = f;
    method(vm, math, name, [fn](Vm& v, const Value&, Args& args) { return Value::from(fn(v.toNumber(arg(args, 0)))); });
  }
  method(vm, math, "atan2", [](Vm& v, const Value&, Args& args) {
    return Value::from(std::atan2(v.toNumber(arg(args, 0)), v.toNumber(arg(args, 1))));
  });
  method(vm, math, "pow", [](Vm& v, const Value&, Args& args) {
    return Value::from(std::pow(v.toNumber(arg(args, 0)), v.toNumber(arg(args, 1))));
  });
  auto extreme = [](bool max) {
    return [max](Vm& v, const Value&, Args& args) {
      double r = max ? -INFINITY : INFINITY;
      for (const Value& a : args) {
        double n = v.toNumber(a);
        if (std::isnan(n)) return Value::from(NAN);
        r = max ? std::max(r, n) : std::min(r, n);
      }
      return Value::from(r);
    };
  };
  method(vm, math, "max", extreme(true));
  method(vm, math, "min", extreme(false));
  method(vm, math, "random", [](Vm& v, const Value&, Args&) { return Value::from(v.nextRandom() / 4294967296.0); });
}

void installGlobals(Vm& vm) {
  Object* g = vm.global();
  g->set("NaN", Value::from(NAN), DontEnum);
  g->set("Infinity", Value::from(INFINITY), DontEnum);
  method(vm, g, "isNaN", [](Vm& v, const Value&, Args& args) { return Value::from(std::isnan(v.toNumber(arg(args, 0)))); });
  method(vm, g, "isFinite", [](Vm& v, const Value&, Args& args) { return Value::from(std::isfinite(v.toNumber(arg(args, 0)))); });
  method(vm, g, "parseFloat", [](Vm& v, const Value&, Args& args) {
    std::string s = v.toString(arg(args, 0));
    size_t i = s.find_first_not_of(" \t\r\n");
    if (i == std::string::npos) return Value::from(NAN);
    // The longest prefix that reads as a number.
    for (size_t end = s.size(); end > i; --end) {
      double n = stringToNumber(s.substr(i, end - i), 7);
      if (!std::isnan(n) && s.compare(i, 2, "0x") != 0) return Value::from(n);
    }
    return Value::from(NAN);
  });
  method(vm, g, "parseInt", [](Vm& v, const Value&, Args& args) {
    std::string s = v.toString(arg(args, 0));
    int radix = args.size() > 1 ? toInt32(v.toNumber(args[1])) : 0;
    size_t i = s.find_first_not_of(" \t\r\n");
    if (i == std::string::npos) return Value::from(NAN);
    bool negative = false;
    if (s[i] == '-' || s[i] == '+') negative = s[i++] == '-';
    if ((radix == 0 || radix == 16) && s.compare(i, 2, "0x") == 0 ) {
      radix = 16;
      i += 2;
    } else if (radix == 0 && s.size() > i + 1 && s[i] == '0') {
      radix = 8;  // a leading zero reads as octal, as Flash does
    } else if (radix == 0) {
      radix = 10;
    }
    if (radix < 2 || radix > 36) return Value::from(NAN);
    double n = 0;
    bool any = false;
    for (; i < s.size(); ++i) {
      int d = std::isdigit(static_cast<unsigned char>(s[i])) ? s[i] - '0'
              : std::isalpha(static_cast<unsigned char>(s[i])) ? std::tolower(static_cast<unsigned char>(s[i])) - 'a' + 10
                                                                : 99;
      if (d >= radix) break;
      n = n * radix + d;
      any = true;
    }
    return Value::from(any ? (negative ? -n : n) : NAN);
  });
  method(vm, g, "escape", [](Vm& v, const Value&, Args& args) {
    std::string s = v.toString(arg(args, 0)), out;
    for (unsigned char c : s) {
      if (std::isalnum(c)) {
        out += static_cast<char>(c);
      } else {
        char hex[4];
        std::snprintf(hex, sizeof hex, "%%%02X", c);
        out += hex;
      }
    }
    return Value::from(out);
  });
  method(vm, g, "unescape", [](Vm& v, const Value&, Args& args) {
    std::string s = v.toString(arg(args, 0)), out;
    for (size_t i = 0; i < s.size(); ++i) {
      if (s[i] == '%' && i + 2 < s.size() && std::isxdigit(static_cast<unsigned char>(s[i + 1])) &&
          std::isxdigit(static_cast<unsigned char>(s[i + 2]))) {
        out += static_cast<char>(std::stoi(s.substr(i + 1, 2), nullptr, 16));
        i += 2;
      } else {
        out += s[i];
      }
    }
    return Value::from(out);
  });
  // setInterval(function, ms, args...) or setInterval(object, "method", ms, args...).
  method(vm, g, "setInterval", [](Vm& v, const Value&, Args& args) {
    Value first = arg(args, 0);
    if (first.isObject() && first.object->isFunction())
      return Value::from(v.addInterval(first, Value::undefined(), "", Args(args.begin() + std::min<size_t>(2, args.size()), args.end()),
                                       v.toNumber(arg(args, 1))));
    if (first.isObject() && args.size() >= 3)
      return Value::from(v.addInterval(Value::undefined(), first, v.toString(args[1]), Args(args.begin() + 3, args.end()),
                                       v.toNumber(args[2])));
    return Value::undefined();
  });
  method(vm, g, "clearInterval", [](Vm& v, const Value&, Args& args) {
    v.clearInterval(toInt32(v.toNumber(arg(args, 0))));
    return Value::undefined();
  });
  method(vm, g, "fscommand", [](Vm& v, const Value&, Args& args) {
    v.stage().fsCommand(v.toString(arg(args, 0)), args.size() > 1 ? v.toString(args[1]) : "");
    return Value::undefined();
  });
  // ASSetPropFlags(object, names, set, clear): hides members from for-in, as class code does.
  method(vm, g, "ASSetPropFlags", [](Vm& v, const Value&, Args& args) {
    Object* o = v.toObject(arg(args, 0));
    if (!o) return Value::undefined();
    Value names = arg(args, 1);
    std::vector<std::string> list;
    if (names.isObject() && names.object->kind == ObjectKind::Array) {
      for (const Value& n : names.object->elements) list.push_back(v.toString(n));
    } else if (names.isString()) {
      std::string s = names.string;
      size_t from = 0, at;
      while ((at = s.find(',', from)) != std::string::npos) {
        list.push_back(s.substr(from, at - from));
        from = at + 1;
      }
      list.push_back(s.substr(from));
    } else {
      for (const Object::Slot& s : o->slots()) list.push_back(s.name);
    }
    uint8_t set = static_cast<uint8_t>(toInt32(v.toNumber(arg(args, 2))) & 7);
    uint8_t clear = static_cast<uint8_t>(toInt32(v.toNumber(arg(args, 3))) & 7);
    for (const std::string& n : list)
      if (Object::Slot* s = o->find(n)) s->flags = static_cast<uint8_t>((s->flags & ~clear) | set);
    return Value::undefined();
  });
}

void installClip(Vm& vm) {
  Object* proto = vm.clipProto;
  makeClass(vm, proto, "MovieClip", [](Vm&, const Value&, Args&) { return Value::undefined(); });
  auto gotoMethod = [](bool play) {
    return [play](Vm& v, const Value& t, Args& args) {
      Object* clip = clipOf(t);
      Value frame = arg(args, 0);
      if (!clip) return Value::undefined();
      double n = frame.isString() ? stringToNumber(frame.string, v.version()) : v.toNumber(frame);
      if (frame.isString() && std::isnan(n)) v.stage().gotoLabel(clip, frame.string, play);
      else if (!std::isnan(n)) v.stage().gotoFrame(clip, static_cast<int>(std::max(0.0, std::min(n, 1e6))) - 1, play);
      return Value::undefined();
    };
  };
  method(vm, proto, "gotoAndPlay", gotoMethod(true));
  method(vm, proto, "gotoAndStop", gotoMethod(false));
  method(vm, proto, "play", [](Vm& v, const Value& t, Args&) {
    if (Object* c = clipOf(t)) v.stage().setPlaying(c, true);
    return Value::undefined();
  });
  method(vm, proto, "stop", [](Vm& v, const Value& t, Args&) {
    if (Object* c = clipOf(t)) v.stage().setPlaying(c, false);
    return Value::undefined();
  });
  method(vm, proto, "nextFrame", [](Vm& v, const Value& t, Args&) {
    if (Object* c = clipOf(t)) v.stage().stepFrame(c, 1);
    return Value::undefined();
  });
  method(vm, proto, "prevFrame", [](Vm& v, const Value& t, Args&) {
    if (Object* c = clipOf(t)) v.stage().stepFrame(c, -1);
    return Value::undefined();
  });
  method(vm, proto, "getURL", [](Vm& v, const Value&, Args& args) {
    v.requestUrl(v.toString(arg(args, 0)), args.size() > 1 ? v.toString(args[1]) : "");
    return Value::undefined();
  });
  method(vm, proto, "createEmptyMovieClip", [](Vm& v, const Value& t, Args& args) {
    Object* c = clipOf(t);
    Object* made = c ? v.stage().createEmptyClip(c, v.toString(arg(args, 0)), toInt32(v.toNumber(arg(args, 1)))) : nullptr;
    return made ? Value::from(made) : Value::undefined();
  });
  method(vm, proto, "attachMovie", [](Vm& v, const Value& t, Args& args) {
    Object* c = clipOf(t);
    Object* made = c ? v.stage().attachClip(c, v.toString(arg(args, 0)), v.toString(arg(args, 1)),
                                            toInt32(v.toNumber(arg(args, 2))))
                     : nullptr;
    if (!made) return Value::undefined();
    if (arg(args, 3).isObject())
      for (const Object::Slot& s : arg(args, 3).object->slots()) v.setMember(Value::from(made), s.name, s.value);
    // The class registered for the symbol constructs the clip once it has its properties.
    Value ctor = v.registeredClass(v.toString(arg(args, 0)));
    if (ctor.isObject()) {
      Args none;
      v.call(ctor, Value::from(made), none);
    }
    return Value::from(made);
  });
  method(vm, proto, "duplicateMovieClip", [](Vm& v, const Value& t, Args& args) {
    Object* c = clipOf(t);
    Object* made = c ? v.stage().duplicateClip(c, v.toString(arg(args, 0)), toInt32(v.toNumber(arg(args, 1)))) : nullptr;
    return made ? Value::from(made) : Value::undefined();
  });
  method(vm, proto, "removeMovieClip", [](Vm& v, const Value& t, Args&) {
    if (Object* c = clipOf(t)) v.stage().removeClip(c);
    return Value::undefined();
  });
  method(vm, proto, "getBounds", [](Vm& v, const Value& t, Args& args) {
    Object* c = clipOf(t);
    Object* space = clipOf(arg(args, 0));
    double x0, y0, x1, y1;
    if (!c || !v.stage().clipBounds(c, space, x0, y0, x1, y1)) return Value::undefined();
    Object* r = v.makeObject();
    r->set("xMin", Value::from(x0));
    r->set("xMax", Value::from(x1));
    r->set("yMin", Value::from(y0));
    r->set("yMax", Value::from(y1));
    return Value::from(r);
  });
  method(vm, proto, "hitTest", [](Vm& v, const Value& t, Args& args) {
    Object* c = clipOf(t);
    if (!c) return Value::from(false);
    if (args.size() >= 2)
      return Value::from(v.stage().hitTestPoint(c, v.toNumber(args[0]), v.toNumber(args[1]), v.toBoolean(arg(args, 2))));
    Object* other = clipOf(arg(args, 0));
    double a0, b0, a1, b1, c0, d0, c1, d1;
    if (!other || !v.stage().clipBounds(c, v.stage().rootClip(), a0, b0, a1, b1) ||
        !v.stage().clipBounds(other, v.stage().rootClip(), c0, d0, c1, d1))
      return Value::from(false);
    return Value::from(a0 <= c1 && c0 <= a1 && b0 <= d1 && d0 <= b1);
  });
}

// The character a key types on a US keyboard, with or without shift; 0 for none.
int asciiOf(int keyCode, bool shift) {
  if (keyCode >= 'A' && keyCode <= 'Z') return shift ? keyCode : keyCode + 32;
  if (keyCode >= '0' && keyCode <= '9') return shift ? ")!@#$%^&*("[keyCode - '0'] : keyCode;
  if (keyCode >= 96 && keyCode <= 105) return '0' + keyCode - 96;  // the number pad
  static const struct {
    int code;
    char plain, shifted;
  } keys[] = {{8, 8, 8},       {9, 9, 9},       {13, 13, 13},    {27, 27, 27},    {32, ' ', ' '},
              {46, 127, 127},  {106, '*', '*'}, {107, '+', '+'}, {109, '-', '-'}, {110, '.', '.'},
              {111, '/', '/'}, {186, ';', ':'}, {187, '=', '+'}, {188, ',', '<'}, {189, '-', '_'},
              {190, '.', '>'}, {191, '/', '?'}, {192, '`', '~'}, {219, '[', '{'}, {220, '\\', '|'},
              {221, ']', '}'}, {222, '\'', '"'}};
  for (const auto& k : keys)
    if (k.code == keyCode) return shift ? k.shifted : k.plain;
  return 0;
}

void installKeyAndMouse(Vm& vm) {
  Object* key = makeBroadcaster(vm, "Key");
  const std::pair<const char*, int> codes[] = {
      {"BACKSPACE", 8}, {"TAB", 9},    {"ENTER", 13},  {"SHIFT", 16}, {"CONTROL", 17}, {"CAPSLOCK", 20},
      {"ESCAPE", 27},   {"SPACE", 32}, {"PGUP", 33},   {"PGDN", 34},  {"END", 35},     {"HOME", 36},
      {"LEFT", 37},     {"UP", 38},    {"RIGHT", 39},  {"DOWN", 40},  {"INSERT", 45},  {"DELETEKEY", 46},
      {"ALT", 18}};
  for (const auto& [name, code] : codes) key->set(name, Value::from(code), ReadOnly | DontDelete | DontEnum);
  method(vm, key, "getCode", [](Vm& v, const Value&, Args&) { return Value::from(v.lastKey()); });
  method(vm, key, "getAscii", [](Vm& v, const Value&, Args&) {
    return Value::from(asciiOf(v.lastKey(), v.keyIsDown(16)));
  });
  method(vm, key, "isDown", [](Vm& v, const Value&, Args& args) {
    return Value::from(v.keyIsDown(toInt32(v.toNumber(arg(args, 0)))));
  });
  method(vm, key, "isToggled", [](Vm&, const Value&, Args&) { return Value::from(false); });
  Object* mouse = makeBroadcaster(vm, "Mouse");
  // The cursor is the host's and never hidden: both answer 0, "it was visible".
  method(vm, mouse, "show", [](Vm&, const Value&, Args&) { return Value::from(0); });
  method(vm, mouse, "hide", [](Vm&, const Value&, Args&) { return Value::from(0); });
}

}  // namespace

Object* makeBroadcaster(Vm& vm, const char* name) {
  Object* o = vm.makeObject();
  vm.global()->set(name, Value::from(o), DontEnum);
  o->set("_listeners", Value::from(vm.makeArray()), DontEnum);
  auto listeners = [](Vm& v, const Value& t) -> Object* {
    Value l = v.getMember(t, "_listeners");
    return l.isObject() && l.object->kind == ObjectKind::Array ? l.object : nullptr;
  };
  method(vm, o, "addListener", [listeners](Vm& v, const Value& t, Args& args) {
    Object* l = listeners(v, t);
    Value who = arg(args, 0);
    if (!l || !who.isObject()) return Value::from(false);
    for (const Value& e : l->elements)
      if (e.isObject() && e.object == who.object) return Value::from(true);
    if (l->elements.size() < kMaxArrayLength) l->elements.push_back(who);
    return Value::from(true);
  });
  method(vm, o, "removeListener", [listeners](Vm& v, const Value& t, Args& args) {
    Object* l = listeners(v, t);
    Value who = arg(args, 0);
    if (!l || !who.isObject()) return Value::from(false);
    auto it = std::find_if(l->elements.begin(), l->elements.end(),
                           [&](const Value& e) { return e.isObject() && e.object == who.object; });
    if (it == l->elements.end()) return Value::from(false);
    l->elements.erase(it);
    return Value::from(true);
  });
  return o;
}

void installBuiltins(Vm& vm) {
  vm.arrayProto = vm.make(ObjectKind::Plain, vm.objectProto);
  vm.stringProto = vm.make(ObjectKind::Plain, vm.objectProto);
  vm.numberProto = vm.make(ObjectKind::Plain, vm.objectProto);
  vm.booleanProto = vm.make(ObjectKind::Plain, vm.objectProto);
  vm.clipProto = vm.make(ObjectKind::Plain, vm.objectProto);
  vm.buttonProto = vm.make(ObjectKind::Plain, vm.objectProto);
  vm.textFieldProto = vm.make(ObjectKind::Plain, vm.objectProto);
  installObject(vm);
  installArray(vm);
  installString(vm);
  installNumberAndBoolean(vm);
  installMath(vm);
  installGlobals(vm);
  installClip(vm);
  installKeyAndMouse(vm);
  installDisplayObjects(vm);
  installDate(vm);
}

}  // namespace tvrl::avm1
