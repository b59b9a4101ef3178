// Writes AVM1 bytecode from a readable list of actions, for test movies and the
// default movie. Branches name their targets by label; function bodies, With and Try
// blocks are assemblers of their own.
//
//   Assembler a;
//   a.push({"hello"}).op(ActionTrace);
//   a.push({"n", 0}).op(ActionSetVariable).label("loop") ... .branchIf("loop");
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "player/avm1/action_codes.h"

namespace tvrl::swf::writer {

using avm1::ActionCode;

// One value of a Push action.
struct PushValue {
  enum class Kind : uint8_t { String, Double, Integer, Boolean, Null, Undefined, Register, Constant } kind;
  std::string string;
  double number = 0;
  uint32_t index = 0;

  PushValue(const char* s) : kind(Kind::String), string(s) {}
  PushValue(std::string s) : kind(Kind::String), string(std::move(s)) {}
  PushValue(double d) : kind(Kind::Double), number(d) {}
  PushValue(int i) : kind(Kind::Integer), number(i) {}
  PushValue(bool b) : kind(Kind::Boolean), number(b ? 1 : 0) {}
  static PushValue null() { return PushValue(Kind::Null); }
  static PushValue undefined() { return PushValue(Kind::Undefined); }
  static PushValue reg(uint8_t r) { PushValue v(Kind::Register); v.index = r; return v; }
  static PushValue constant(uint16_t i) { PushValue v(Kind::Constant); v.index = i; return v; }
  static PushValue floatValue(float f) { PushValue v(Kind::Double); v.number = f; v.single = true; return v; }
  bool single = false;  // written as a 32-bit float

 private:
  explicit PushValue(Kind k) : kind(k) {}
};

struct Function2Param {
  uint8_t reg = 0;  // 0: a named local
  std::string name;
};

class Assembler {
 public:
  Assembler& op(ActionCode code);  // an action without payload
  Assembler& push(const std::vector<PushValue>& values);
  Assembler& constantPool(const std::vector<std::string>& constants);
  Assembler& storeRegister(uint8_t reg);
  Assembler& gotoFrame(uint16_t frame);
  Assembler& gotoLabel(const std::string& label);
  Assembler& gotoFrame2(bool play, uint16_t sceneBias = 0);
  Assembler& getUrl(const std::string& url, const std::string& target);
  Assembler& getUrl2(uint8_t flags = 0);
  Assembler& setTarget(const std::string& target);
  Assembler& waitForFrame(uint16_t frame, uint8_t skip);

  Assembler& label(const std::string& name);
  Assembler& jump(const std::string& label);
  Assembler& branchIf(const std::string& label);

  Assembler& defineFunction(const std::string& name, const std::vector<std::string>& params, const Assembler& body);
  Assembler& defineFunction2(const std::string& name, uint8_t registerCount, uint16_t flags,
                             const std::vector<Function2Param>& params, const Assembler& body);
  Assembler& with(const Assembler& body);
  // catchName empty with catchRegister set: the exception goes to that register.
  Assembler& tryBlock(const Assembler& body, const Assembler* catchBody, const std::string& catchName,
                      const Assembler* finallyBody, int catchRegister = -1);
  // Raw bytes, for damaged code in robustness tests.
  Assembler& raw(const std::vector<uint8_t>& bytes);

  // The code without a final ActionEnd (a body) and with it (a whole block).
  std::vector<uint8_t> body() const;
  std::vector<uint8_t> bytes() const;

 private:
  void action(uint8_t code, const std::vector<uint8_t>& payload);
  void branch(uint8_t code, const std::string& label);

  std::vector<uint8_t> code_;
  std::map<std::string, size_t> labels_;
  std::vector<std::pair<size_t, std::string>> fixups_;  // offset field position, label
};

}  // namespace tvrl::swf::writer
