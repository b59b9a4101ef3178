// Built-ins of the display objects beyond the clip's timeline methods: depths, text
// fields made by scripts, buttons' settings, Color and the Stage object.
#include <cmath>

#include "player/avm1/builtin_support.h"

namespace tvrl::avm1 {

namespace {

// A script's depth from a number; out-of-range values keep to the engine's range.
int depthArg(Vm& v, const Value& value) {
  double d = v.toNumber(value);
  return std::isfinite(d) ? static_cast<int>(std::fmax(-1e7, std::fmin(d, 1e7))) : 0;
}

void installDepthMethods(Vm& vm, Object* proto) {
  method(vm, proto, "getDepth", [](Vm& v, const Value& t, Args&) {
    int depth;
    Object* o = displayOf(t);
    return o && v.stage().depthOf(o, depth) ? Value::from(depth) : Value::undefined();
  });
}

void installClipMethods(Vm& vm) {
  Object* proto = vm.clipProto;
  installDepthMethods(vm, proto);
  // swapDepths(depth) or swapDepths(clip): with a clip, the two change places when they
  // share a parent.
  method(vm, proto, "swapDepths", [](Vm& v, const Value& t, Args& args) {
    Object* c = clipOf(t);
    Value target = arg(args, 0);
    if (!c) return Value::undefined();
    if (target.isObject()) {
      Object* other = displayOf(target);
      int depth;
      if (other && other != c && v.stage().parentClip(other) == v.stage().parentClip(c) &&
          v.stage().depthOf(other, depth))
        v.stage().swapDepths(c, depth);
    } else if (!target.isUndefined()) {
      v.stage().swapDepths(c, depthArg(v, target));
    }
    return Value::undefined();
  });
  method(vm, proto, "getNextHighestDepth", [](Vm& v, const Value& t, Args&) {
    Object* c = clipOf(t);
    return c ? Value::from(v.stage().nextHighestDepth(c)) : Value::undefined();
  });
  method(vm, proto, "getInstanceAtDepth", [](Vm& v, const Value& t, Args& args) {
    Object* c = clipOf(t);
    Object* found = c ? v.stage().instanceAtDepth(c, depthArg(v, arg(args, 0))) : nullptr;
    return found ? Value::from(found) : Value::undefined();
  });
  // createTextField(name, depth, x, y, width, height): the field from version 8 on.
  method(vm, proto, "createTextField", [](Vm& v, const Value& t, Args& args) {
    Object* c = clipOf(t);
    if (!c || args.size() < 6) return Value::undefined();
    Object* made = v.stage().createTextField(c, v.toString(args[0]), depthArg(v, args[1]), v.toNumber(args[2]),
                                             v.toNumber(args[3]), v.toNumber(args[4]), v.toNumber(args[5]));
    return made && v.version() >= 8 ? Value::from(made) : Value::undefined();
  });
  proto->set("enabled", Value::from(true), DontEnum);
  proto->set("useHandCursor", Value::from(true), DontEnum);
}

void installButtonAndTextField(Vm& vm) {
  Object* button = vm.buttonProto;
  makeClass(vm, button, "Button", [](Vm&, const Value&, Args&) { return Value::undefined(); });
  installDepthMethods(vm, button);
  button->set("enabled", Value::from(true), DontEnum);
  button->set("useHandCursor", Value::from(true), DontEnum);

  Object* field = vm.textFieldProto;
  makeClass(vm, field, "TextField", [](Vm&, const Value&, Args&) { return Value::undefined(); });
  installDepthMethods(vm, field);
  method(vm, field, "removeTextField", [](Vm& v, const Value& t, Args&) {
    if (Object* o = displayOf(t)) v.stage().removeClip(o);
    return Value::undefined();
  });
}

// The clip a Color works on: given as a clip or as a path from the root.
Object* colorTarget(Vm& v, const Value& self) {
  Value target = v.getMember(self, "__target");
  if (target.isObject()) return displayOf(target);
  if (target.isString()) return displayOf(Value::from(v.resolveTarget(v.stage().rootClip(), target.string)));
  return nullptr;
}

// The clip of a Color method and its colour transform; false when the clip is gone.
bool colorOf(Vm& v, const Value& self, Object*& clip, swf::ColorTransform& cx) {
  clip = colorTarget(v, self);
  return clip && v.stage().colorTransform(clip, cx);
}

int16_t channelValue(Vm& v, const Value& n, double scale, int16_t keep) {
  if (n.isUndefined()) return keep;
  double d = v.toNumber(n);
  if (!std::isfinite(d)) return keep;
  return static_cast<int16_t>(std::fmax(-32768, std::fmin(32767, std::round(d * scale))));
}

void installColor(Vm& vm) {
  Object* proto = vm.makeObject();
  makeClass(vm, proto, "Color", [](Vm&, const Value& t, Args& args) {
    if (t.isObject()) t.object->set("__target", arg(args, 0), DontEnum);
    return Value::undefined();
  });
  method(vm, proto, "setRGB", [](Vm& v, const Value& t, Args& args) {
    Object* c;
    swf::ColorTransform cx;
    if (!colorOf(v, t, c, cx)) return Value::undefined();
    uint32_t rgb = toUint32(v.toNumber(arg(args, 0)));
    cx.mulR = cx.mulG = cx.mulB = 0;
    cx.addR = static_cast<int16_t>(rgb >> 16 & 255);
    cx.addG = static_cast<int16_t>(rgb >> 8 & 255);
    cx.addB = static_cast<int16_t>(rgb & 255);
    v.stage().setColorTransform(c, cx);
    return Value::undefined();
  });
  method(vm, proto, "getRGB", [](Vm& v, const Value& t, Args&) {
    Object* c;
    swf::ColorTransform cx;
    if (!colorOf(v, t, c, cx)) return Value::undefined();
    return Value::from((cx.addR & 255) << 16 | (cx.addG & 255) << 8 | (cx.addB & 255));
  });
  // Percentages (ra, ga, ba, aa) scale a channel; offsets (rb, gb, bb, ab) add to it.
  static const char* const names[] = {"ra", "rb", "ga", "gb", "ba", "bb", "aa", "ab"};
  method(vm, proto, "setTransform", [](Vm& v, const Value& t, Args& args) {
    Object* c;
    Value spec = arg(args, 0);
    swf::ColorTransform cx;
    if (!spec.isObject() || !colorOf(v, t, c, cx)) return Value::undefined();
    int16_t* fields[] = {&cx.mulR, &cx.addR, &cx.mulG, &cx.addG, &cx.mulB, &cx.addB, &cx.mulA, &cx.addA};
    for (int i = 0; i < 8; ++i) {
      Value n;
      if (v.lookup(spec.object, names[i], n)) *fields[i] = channelValue(v, n, i % 2 ? 1 : 2.56, *fields[i]);
    }
    v.stage().setColorTransform(c, cx);
    return Value::undefined();
  });
  method(vm, proto, "getTransform", [](Vm& v, const Value& t, Args&) {
    Object* c;
    swf::ColorTransform cx;
    if (!colorOf(v, t, c, cx)) return Value::undefined();
    const int16_t fields[] = {cx.mulR, cx.addR, cx.mulG, cx.addG, cx.mulB, cx.addB, cx.mulA, cx.addA};
    Object* out = v.makeObject();
    for (int i = 0; i < 8; ++i) out->set(names[i], Value::from(i % 2 ? fields[i] : fields[i] / 2.56));
    return Value::from(out);
  });
}

void installStage(Vm& vm) {
  Object* stage = makeBroadcaster(vm, "Stage");
  auto size = [&vm](bool width) {
    return vm.makeNative([width](Vm& v, const Value&, Args&) {
      double w, h;
      v.stage().stageSize(w, h);
      return Value::from(width ? w : h);
    });
  };
  vm.addProperty(stage, "width", size(true), nullptr, false);
  vm.addProperty(stage, "height", size(false), nullptr, false);
  stage->set("scaleMode", Value::from("showAll"), DontEnum);
  stage->set("align", Value::from(""), DontEnum);
  stage->set("showMenu", Value::from(true), DontEnum);
  for (const char* name : {"width", "height"}) stage->find(name)->flags |= DontEnum;
}

}  // namespace

void installDisplayObjects(Vm& vm) {
  installClipMethods(vm);
  installButtonAndTextField(vm);
  installColor(vm);
  installStage(vm);
}

}  // namespace tvrl::avm1
