// Values and operators as Flash Player 8 gives them, per SWF version: the pure
// conversions as tables, then each operator run in a movie and read back through trace.
#include <gtest/gtest.h>

#include <cmath>
#include <map>

#include "player/avm1/value.h"
#include "tests/player/script_movie.h"

namespace tvrl::player::test {
namespace {

TEST(Avm1Conversion, NumbersPrintWithFifteenSignificantDigits) {
  const std::pair<double, const char*> cases[] = {
      {0, "0"},
      {-0.0, "0"},
      {1, "1"},
      {-2.5, "-2.5"},
      {0.1 + 0.2, "0.3"},
      {1.0 / 3, "0.333333333333333"},
      {2.0 / 3, "0.666666666666667"},
      {100, "100"},
      {123456789012345, "123456789012345"},
      {1e15, "1e+15"},
      {1234567890123456789.0, "1.23456789012346e+18"},
      {0.0001, "0.0001"},
      {1.5e-7, "1.5e-7"},
      {4.35, "4.35"},
      {-1e21, "-1e+21"},
      {NAN, "NaN"},
      {INFINITY, "Infinity"},
      {-INFINITY, "-Infinity"},
  };
  for (const auto& [n, text] : cases) EXPECT_EQ(avm1::numberToString(n), text) << n;
}

TEST(Avm1Conversion, StringsToNumbersPerVersion) {
  struct Case {
    const char* text;
    int version;
    double expected;  // NaN compared as NaN
  };
  const Case cases[] = {
      {"12", 5, 12},      {" 12 ", 7, 12},    {"-1.5e2", 6, -150}, {"", 4, 0},        {"", 5, NAN},
      {"", 7, NAN},       {"0x1A", 5, NAN},   {"0x1A", 6, 26},     {"0xFFFFFFFF", 7, -1}, {"12px", 7, NAN},
      {"Infinity", 7, NAN}, {".5", 6, 0.5},   {"5.", 6, 5},        {"+3", 6, 3},      {"e5", 6, NAN},
  };
  for (const Case& c : cases) {
    double got = avm1::stringToNumber(c.text, c.version);
    if (std::isnan(c.expected)) EXPECT_TRUE(std::isnan(got)) << c.text << " in SWF " << c.version;
    else EXPECT_EQ(got, c.expected) << c.text << " in SWF " << c.version;
  }
}

TEST(Avm1Conversion, PrimitivesToBooleansStringsAndNumbersPerVersion) {
  using avm1::Value;
  struct Case {
    Value value;
    int version;
    bool boolean;
    const char* string;
    double number;
  };
  const Case cases[] = {
      {Value::undefined(), 6, false, "", 0},
      {Value::undefined(), 7, false, "undefined", NAN},
      {Value::null(), 6, false, "null", 0},
      {Value::null(), 7, false, "null", NAN},
      {Value::from("0"), 6, false, "0", 0},
      {Value::from("0"), 7, true, "0", 0},
      {Value::from("abc"), 6, false, "abc", NAN},
      {Value::from("abc"), 7, true, "abc", NAN},
      {Value::from(""), 7, false, "", NAN},
      {Value::from(true), 6, true, "true", 1},
      {Value::from(NAN), 7, false, "NaN", NAN},
      {Value::from(-0.5), 7, true, "-0.5", -0.5},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.string) + " in SWF " + std::to_string(c.version));
    EXPECT_EQ(avm1::primitiveToBoolean(c.value, c.version), c.boolean);
    EXPECT_EQ(avm1::primitiveToString(c.value, c.version), c.string);
    double n = avm1::primitiveToNumber(c.value, c.version);
    if (std::isnan(c.number)) EXPECT_TRUE(std::isnan(n));
    else EXPECT_EQ(n, c.number);
  }
}

TEST(Avm1Conversion, Int32WrapsModuloTwoToThe32) {
  EXPECT_EQ(avm1::toInt32(4294967297.0), 1);
  EXPECT_EQ(avm1::toInt32(2147483648.0), -2147483647 - 1);
  EXPECT_EQ(avm1::toInt32(-1.9), -1);
  EXPECT_EQ(avm1::toInt32(NAN), 0);
  EXPECT_EQ(avm1::toUint32(-1), 4294967295u);
}

// An operator applied to pushed operands, and what trace prints in each SWF version.
struct OperatorCase {
  const char* name;
  std::vector<PushValue> operands;
  std::vector<ActionCode> ops;
  std::map<int, const char*> printed;
};

TEST(Avm1Operators, PrintAsFlashDoesPerVersion) {
  const PushValue undef = PushValue::undefined(), null = PushValue::null();
  const OperatorCase cases[] = {
      {"string plus undefined", {"a", undef}, {ActionAdd2}, {{6, "a"}, {7, "aundefined"}, {8, "aundefined"}}},
      {"undefined plus number", {undef, 1}, {ActionAdd2}, {{6, "1"}, {7, "NaN"}}},
      {"number plus string concatenates", {1, "2"}, {ActionAdd2}, {{5, "12"}, {8, "12"}}},
      {"old add is numeric", {"1", "2"}, {ActionAdd}, {{4, "3"}, {8, "3"}}},
      {"tenths add up", {0.1, 0.2}, {ActionAdd2}, {{8, "0.3"}}},
      {"undefined equals null", {undef, null}, {ActionEquals2}, {{6, "true"}, {8, "true"}}},
      {"numeric string equals number", {"10", 10}, {ActionEquals2}, {{8, "true"}}},
      {"true equals one", {true, 1}, {ActionEquals2}, {{8, "true"}}},
      {"strict equality keeps types", {1, "1"}, {ActionStrictEquals}, {{8, "false"}}},
      {"strings compare as strings", {"10", "9"}, {ActionLess2}, {{8, "true"}}},
      {"a number makes it numeric", {10, "9"}, {ActionLess2}, {{8, "false"}}},
      {"NaN compares undefined", {"x", 1}, {ActionLess2}, {{8, "undefined"}}},
      {"greater", {3, 2}, {ActionGreater}, {{8, "true"}}},
      {"SWF 4 comparisons give numbers", {1, 2}, {ActionLess}, {{4, "1"}, {5, "true"}}},
      {"not of the string 0", {"0"}, {ActionNot}, {{4, "1"}, {6, "true"}, {7, "false"}}},
      {"divide by zero", {1, 0}, {ActionDivide}, {{4, "#ERROR#"}, {5, "Infinity"}, {8, "Infinity"}}},
      {"modulo keeps the sign", {-7, 3}, {ActionModulo}, {{8, "-1"}}},
      {"unsigned shift", {-1, 28}, {ActionBitURShift}, {{8, "15"}}},
      {"signed shift", {-16, 2}, {ActionBitRShift}, {{8, "-4"}}},
      {"left shift into the sign", {1, 31}, {ActionBitLShift}, {{8, "-2147483648"}}},
      {"and truncates", {5.7, 3}, {ActionBitAnd}, {{8, "1"}}},
      {"or wraps", {4294967297.0, 0}, {ActionBitOr}, {{8, "1"}}},
      {"xor", {6, 3}, {ActionBitXor}, {{8, "5"}}},
      {"hexadecimal strings", {"0x1A"}, {ActionToNumber}, {{5, "NaN"}, {6, "26"}}},
      {"to integer truncates", {-3.7}, {ActionToInteger}, {{8, "-3"}}},
      {"increment a string", {"5"}, {ActionIncrement}, {{8, "6"}}},
      {"decrement", {0.5}, {ActionDecrement}, {{8, "-0.5"}}},
      {"string extract is 1-based", {"hello", 2, 3}, {ActionStringExtract}, {{8, "ell"}}},
      {"multibyte length counts characters", {"h\xc3\xa9llo"}, {ActionMBStringLength}, {{8, "5"}}},
      {"byte length counts bytes", {"h\xc3\xa9llo"}, {ActionStringLength}, {{8, "6"}}},
      {"string add of undefined", {"a", undef}, {ActionStringAdd}, {{6, "a"}, {7, "aundefined"}}},
      {"string equals", {"ab", "ab"}, {ActionStringEquals}, {{8, "true"}}},
      {"string less", {"ab", "b"}, {ActionStringLess}, {{8, "true"}}},
      {"char to ascii", {"A"}, {ActionCharToAscii}, {{8, "65"}}},
      {"ascii to char", {97}, {ActionAsciiToChar}, {{8, "a"}}},
      {"typeof null", {null}, {ActionTypeOf}, {{8, "null"}}},
      {"typeof a string", {"s"}, {ActionTypeOf}, {{8, "string"}}},
      {"swap", {1, 2}, {ActionStackSwap, ActionSubtract}, {{8, "1"}}},
      {"duplicate", {3}, {ActionPushDuplicate, ActionMultiply}, {{8, "9"}}},
      {"trace of undefined", {undef}, {}, {{5, "undefined"}, {6, "undefined"}, {8, "undefined"}}},
      {"trace of null", {null}, {}, {{8, "null"}}},
      {"float push", {PushValue::floatValue(1.5f)}, {}, {{8, "1.5"}}},
  };
  for (const OperatorCase& c : cases) {
    for (const auto& [version, expected] : c.printed) {
      Assembler a;
      a.push(c.operands);
      for (ActionCode op : c.ops) a.op(op);
      a.op(ActionTrace);
      EXPECT_EQ(traceOf(a, version), std::vector<std::string>{expected}) << c.name << " in SWF " << version;
    }
  }
}

TEST(Avm1Operators, NamesIgnoreCaseBeforeSwf7) {
  Assembler a;
  a.push({"Score", 5}).op(ActionSetVariable).push({"score"}).op(ActionGetVariable).op(ActionTrace);
  EXPECT_EQ(traceOf(a, 6), std::vector<std::string>{"5"});
  EXPECT_EQ(traceOf(a, 7), std::vector<std::string>{"undefined"});
}

}  // namespace
}  // namespace tvrl::player::test
