// The script machine through assembled movies: control flow, functions, registers,
// closures, scopes, objects and classes, exceptions and the built-ins.
#include <gtest/gtest.h>

#include "tests/player/script_movie.h"

namespace tvrl::player::test {
namespace {

using Lines = std::vector<std::string>;

// push name; GetVariable
Assembler& get(Assembler& a, const char* name) { return a.push({name}).op(ActionGetVariable); }

TEST(Avm1Interpreter, LoopsWithBranchesConstantsAndRegisters) {
  // for (i = 1; i <= 100; i++) sum += i; trace(sum), with i in register 1 and names pooled.
  Assembler a;
  a.constantPool({"sum"})
      .push({PushValue::constant(0), 0})
      .op(ActionSetVariable)
      .push({1})
      .storeRegister(1)
      .op(ActionPop)
      .label("loop")
      .push({PushValue::reg(1), 100})
      .op(ActionGreater)
      .branchIf("done")
      .push({PushValue::constant(0), PushValue::constant(0)})
      .op(ActionGetVariable)
      .push({PushValue::reg(1)})
      .op(ActionAdd2)
      .op(ActionSetVariable)
      .push({PushValue::reg(1)})
      .op(ActionIncrement)
      .storeRegister(1)
      .op(ActionPop)
      .jump("loop")
      .label("done")
      .push({PushValue::constant(0)})
      .op(ActionGetVariable)
      .op(ActionTrace);
  EXPECT_EQ(traceOf(a), Lines{"5050"});
}

TEST(Avm1Interpreter, ClosuresKeepTheirOwnVariables) {
  // function makeCounter() { var n = 0; return function () { n++; return n; }; }
  Assembler inner;
  inner.push({"n", "n"}).op(ActionGetVariable).op(ActionIncrement).op(ActionSetVariable);
  get(inner, "n").op(ActionReturn);
  Assembler outer;
  outer.push({"n", 0}).op(ActionDefineLocal).defineFunction("", {}, inner).op(ActionReturn);
  Assembler a;
  a.defineFunction("makeCounter", {}, outer);
  a.push({"c", 0, "makeCounter"}).op(ActionCallFunction).op(ActionSetVariable);
  a.push({"d", 0, "makeCounter"}).op(ActionCallFunction).op(ActionSetVariable);
  for (const char* f : {"c", "c", "d", "c"}) a.push({0, f}).op(ActionCallFunction).op(ActionTrace);
  // The counter's variable is its own, not the timeline's.
  get(a, "n").op(ActionTrace);
  EXPECT_EQ(traceOf(a), (Lines{"1", "2", "1", "3", "undefined"}));
}

TEST(Avm1Interpreter, Function2PreloadsRegistersAndTakesParametersInRegisters) {
  // function add(a, b) with this, arguments in r1, r2 and a, b in r3, r4.
  Assembler body;
  body.push({PushValue::reg(3), PushValue::reg(4)}).op(ActionAdd2).op(ActionTrace);
  body.push({PushValue::reg(2), "length"}).op(ActionGetMember).op(ActionTrace);
  body.push({PushValue::reg(1)}).op(ActionTypeOf).op(ActionTrace);
  // A parameter without a register is a named local.
  get(body, "c").op(ActionTrace);
  Assembler a;
  a.defineFunction2("add", 5, PreloadThis | PreloadArguments | SuppressSuper,
                    {{3, "a"}, {4, "b"}, {0, "c"}}, body);
  a.push({9, 5, 2, 3, "add"}).op(ActionCallFunction).op(ActionPop);

  Assembler roots;
  roots.push({PushValue::reg(1)}).op(ActionTrace);
  roots.push({PushValue::reg(2), "Math"}).op(ActionGetMember).push({"PI"}).op(ActionGetMember).op(ActionTrace);
  a.defineFunction2("roots", 3, PreloadRoot | PreloadGlobal | SuppressThis | SuppressArguments, {}, roots);
  a.push({0, "roots"}).op(ActionCallFunction).op(ActionPop);
  EXPECT_EQ(traceOf(a), (Lines{"7", "3", "movieclip", "9", "_level0", "3.14159265358979"}));
}

TEST(Avm1Interpreter, RecursionAndArguments) {
  // function fact(n) { if (n > 1) return n * fact(n - 1); return 1; }
  Assembler fact;
  get(fact, "n").push({1}).op(ActionGreater).branchIf("recurse").push({1}).op(ActionReturn).label("recurse");
  get(fact, "n");
  get(fact, "n").push({1}).op(ActionSubtract).push({1, "fact"}).op(ActionCallFunction);
  fact.op(ActionMultiply).op(ActionReturn);
  // function count() { return arguments.length + ":" + arguments[1]; }
  Assembler count;
  get(count, "arguments").push({"length"}).op(ActionGetMember).push({":"}).op(ActionAdd2);
  get(count, "arguments").push({1}).op(ActionGetMember).op(ActionAdd2).op(ActionReturn);
  Assembler a;
  a.defineFunction("fact", {"n"}, fact).defineFunction("count", {}, count);
  a.push({10, 1, "fact"}).op(ActionCallFunction).op(ActionTrace);
  a.push({20, 1, "fact"}).op(ActionCallFunction).op(ActionTrace);
  a.push({"z", "y", "x", 3, "count"}).op(ActionCallFunction).op(ActionTrace);
  a.push({"x", 1, "count"}).op(ActionCallFunction).op(ActionTrace);
  EXPECT_EQ(traceOf(a), (Lines{"3628800", "2.43290200817664e+18", "3:y", "1:undefined"}));
}

TEST(Avm1Interpreter, LocalsTimelineVariablesAndWith) {
  // x = "timeline"; function f() { var x = "local"; trace(x); y = "set by f"; }
  Assembler f;
  f.push({"x", "local"}).op(ActionDefineLocal);
  get(f, "x").op(ActionTrace);
  f.push({"y", "set by f"}).op(ActionSetVariable);
  Assembler a;
  a.push({"x", "timeline"}).op(ActionSetVariable).defineFunction("f", {}, f);
  a.push({0, "f"}).op(ActionCallFunction).op(ActionPop);
  get(a, "x").op(ActionTrace);
  get(a, "y").op(ActionTrace);
  // o = {a: 1}; with (o) { trace(a); a = 5; } trace(o.a);
  a.push({"o", "a", 1, 1}).op(ActionInitObject).op(ActionSetVariable);
  Assembler inside;
  get(inside, "a").op(ActionTrace);
  inside.push({"a", 5}).op(ActionSetVariable);
  get(a, "o").with(inside);
  get(a, "o").push({"a"}).op(ActionGetMember).op(ActionTrace);
  // Delete2 removes a timeline variable; a path reads through slash syntax.
  a.push({"x"}).op(ActionDelete2).op(ActionTrace);
  get(a, "x").op(ActionTrace);
  get(a, "/:y").op(ActionTrace);
  EXPECT_EQ(traceOf(a), (Lines{"local", "timeline", "set by f", "1", "5", "true", "undefined", "set by f"}));
}

TEST(Avm1Interpreter, ClassesWithExtendsSuperAndInstanceOf) {
  // function Animal(name) { this.name = name; }
  Assembler animal;
  get(animal, "this").push({"name"});
  get(animal, "name").op(ActionSetMember);
  // Animal.prototype.speak = function () { return this.name + " makes a sound"; };
  Assembler speak;
  get(speak, "this").push({"name"}).op(ActionGetMember).push({" makes a sound"}).op(ActionAdd2).op(ActionReturn);
  // function Dog(name) { super(name); }
  Assembler dog;
  get(dog, "name").push({1});
  get(dog, "super").push({PushValue::undefined()}).op(ActionCallMethod).op(ActionPop);
  // Dog.prototype.speak = function () { return super.speak() + " (woof)"; };
  Assembler bark;
  bark.push({0});
  get(bark, "super").push({"speak"}).op(ActionCallMethod).push({" (woof)"}).op(ActionAdd2).op(ActionReturn);

  Assembler a;
  a.defineFunction("Animal", {"name"}, animal);
  get(a, "Animal").push({"prototype"}).op(ActionGetMember).push({"speak"}).defineFunction("", {}, speak).op(ActionSetMember);
  a.defineFunction("Dog", {"name"}, dog);
  get(a, "Dog");
  get(a, "Animal").op(ActionExtends);
  get(a, "Dog").push({"prototype"}).op(ActionGetMember).push({"speak"}).defineFunction("", {}, bark).op(ActionSetMember);
  a.push({"d", "Rex", 1, "Dog"}).op(ActionNewObject).op(ActionSetVariable);
  a.push({0});
  get(a, "d").push({"speak"}).op(ActionCallMethod).op(ActionTrace);
  get(a, "d");
  get(a, "Animal").op(ActionInstanceOf).op(ActionTrace);
  get(a, "Dog");
  get(a, "d").op(ActionCastOp).push({"name"}).op(ActionGetMember).op(ActionTrace);
  get(a, "Dog").push({"o", 0, "Object"}).op(ActionNewObject).op(ActionCastOp).op(ActionTrace);
  EXPECT_EQ(traceOf(a), (Lines{"Rex makes a sound (woof)", "true", "Rex", "null"}));
}

TEST(Avm1Interpreter, TryCatchFinallyAndThrowAcrossCalls) {
  Assembler throwing;
  throwing.push({"oops"}).op(ActionThrow);
  Assembler handler;
  handler.push({"caught "});
  get(handler, "e").op(ActionAdd2).op(ActionTrace);
  Assembler finally;
  finally.push({"finally"}).op(ActionTrace);
  Assembler thrower;
  thrower.push({"deep"}).op(ActionThrow);
  Assembler callThrower;
  callThrower.push({0, "thrower"}).op(ActionCallFunction).push({"not reached"}).op(ActionTrace);
  Assembler inRegister;
  inRegister.push({PushValue::reg(2)}).op(ActionTrace);

  Assembler a;
  a.tryBlock(throwing, &handler, "e", &finally);
  a.defineFunction("thrower", {}, thrower);
  a.tryBlock(callThrower, &inRegister, "", nullptr, 2);
  // Uncaught: the block stops with a warning and the next block still runs.
  a.push({"uncaught"}).op(ActionThrow).push({"not reached"}).op(ActionTrace);

  swf::writer::TagStream tags;
  addActions(tags, a);
  addActions(tags, Assembler().push({"next block"}).op(ActionTrace));
  tags.showFrame();
  RecordingHost host;
  auto player = loadScripted(tags, host);
  EXPECT_EQ(host.lines, (Lines{"caught oops", "finally", "deep", "next block"}));
  ASSERT_EQ(host.warnings.size(), 1u);
  EXPECT_NE(host.warnings[0].find("uncaught"), std::string::npos);
}

TEST(Avm1Interpreter, ObjectsArraysAndEnumeration) {
  Assembler a;
  // o = {}; o.a = 1; o.b = 2; for (k in o) trace(k);  -- newest first, as Flash lists them
  a.push({"o", 0}).op(ActionInitObject).op(ActionSetVariable);
  get(a, "o").push({"a", 1}).op(ActionSetMember);
  get(a, "o").push({"b", 2}).op(ActionSetMember);
  get(a, "o").op(ActionEnumerate2);
  a.label("next").storeRegister(0).push({PushValue::null()}).op(ActionEquals2).branchIf("done");
  a.push({PushValue::reg(0)}).op(ActionTrace).jump("next").label("done");
  // arr = [3, 1, 2]; arr.sort(); trace(arr); trace(arr.length);
  a.push({"arr", 2, 1, 3, 3}).op(ActionInitArray).op(ActionSetVariable);
  a.push({0});
  get(a, "arr").push({"sort"}).op(ActionCallMethod).op(ActionPop);
  get(a, "arr").op(ActionTrace);
  get(a, "arr").push({"length"}).op(ActionGetMember).op(ActionTrace);
  // delete o.a; trace(o.a);
  get(a, "o").push({"a"}).op(ActionDelete).op(ActionPop);
  get(a, "o").push({"a"}).op(ActionGetMember).op(ActionTrace);
  // typeof a function, and a plain object's string
  get(a, "o").op(ActionTrace);
  a.push({0, "Object"}).op(ActionNewObject).push({"toString"}).op(ActionGetMember).op(ActionTypeOf).op(ActionTrace);
  EXPECT_EQ(traceOf(a), (Lines{"b", "a", "1,2,3", "3", "undefined", "[object Object]", "function"}));
}

TEST(Avm1Interpreter, BuiltInStringsNumbersAndMath) {
  struct Case {
    const char* expected;
    std::vector<PushValue> args;  // pushed before the call, already reversed
    const char* object;           // a global, or a string literal when quoted
    const char* method;
  };
  const Case cases[] = {
      {"b", {1, 1}, "'abc", "charAt"},
      {"HELLO", {0}, "'hello", "toUpperCase"},
      {"ell", {3, 1, 2}, "'hello", "substr"},
      {"el", {3, 1, 2}, "'hello", "substring"},
      {"2", {"l", 1}, "'hello", "indexOf"},
      {"3", {"l", 1}, "'hello", "lastIndexOf"},
      {"a|b|c", {",", 1}, "'a,b,c", "split"},
      {"ff", {16, 1}, "#255", "toString"},
      {"7", {7, 3, 2}, "Math", "max"},
      {"-2", {-1.5, 1}, "Math", "floor"},
      {"3", {2.5, 1}, "Math", "round"},
      {"8", {3, 2, 2}, "Math", "pow"},
      {"31", {"0x1F", 1}, "_global", "parseInt"},
      {"1.5", {"1.5px", 1}, "_global", "parseFloat"},
      {"true", {"abc", 1}, "_global", "isNaN"},
      {"AB", {66, 65, 2}, "String", "fromCharCode"},
  };
  for (const Case& c : cases) {
    Assembler a;
    a.push(c.args);
    std::string object = c.object;
    if (object[0] == '\'') a.push({object.substr(1)});
    else if (object[0] == '#') a.push({std::stoi(object.substr(1))});
    else get(a, c.object);
    a.push({c.method}).op(ActionCallMethod);
    if (std::string(c.method) == "split")
      a.storeRegister(1).op(ActionPop).push({"|", 1, PushValue::reg(1), "join"}).op(ActionCallMethod);
    a.op(ActionTrace);
    EXPECT_EQ(traceOf(a), Lines{c.expected}) << c.object << "." << c.method;
  }
}

}  // namespace
}  // namespace tvrl::player::test
