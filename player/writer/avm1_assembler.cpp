#include "player/writer/avm1_assembler.h"

#include <cstring>
#include <stdexcept>

#include "player/writer/byte_writer.h"

namespace tvrl::swf::writer {

using namespace avm1;

void Assembler::action(uint8_t code, const std::vector<uint8_t>& payload) {
  code_.push_back(code);
  if (code < 0x80) return;
  if (payload.size() > 0xffff) throw std::invalid_argument("action payload longer than 65535 bytes");
  code_.push_back(static_cast<uint8_t>(payload.size()));
  code_.push_back(static_cast<uint8_t>(payload.size() >> 8));
  code_.insert(code_.end(), payload.begin(), payload.end());
}

Assembler& Assembler::op(ActionCode code) {
  if (code >= 0x80) throw std::invalid_argument("action with a payload needs its own method");
  action(code, {});
  return *this;
}

Assembler& Assembler::push(const std::vector<PushValue>& values) {
  ByteWriter out;
  for (const PushValue& v : values) {
    switch (v.kind) {
      case PushValue::Kind::String: out.u8(0); out.cString(v.string); break;
      case PushValue::Kind::Double:
        if (v.single) {
          float f = static_cast<float>(v.number);
          uint32_t bits;
          std::memcpy(&bits, &f, 4);
          out.u8(1);
          out.u32(bits);
        } else {
          uint64_t bits;
          std::memcpy(&bits, &v.number, 8);
          out.u8(6);
          out.u32(static_cast<uint32_t>(bits >> 32));
          out.u32(static_cast<uint32_t>(bits));
        }
        break;
      case PushValue::Kind::Integer: out.u8(7); out.u32(static_cast<uint32_t>(static_cast<int32_t>(v.number))); break;
      case PushValue::Kind::Boolean: out.u8(5); out.u8(v.number != 0); break;
      case PushValue::Kind::Null: out.u8(2); break;
      case PushValue::Kind::Undefined: out.u8(3); break;
      case PushValue::Kind::Register: out.u8(4); out.u8(static_cast<uint8_t>(v.index)); break;
      case PushValue::Kind::Constant:
        if (v.index < 256) {
          out.u8(8);
          out.u8(static_cast<uint8_t>(v.index));
        } else {
          out.u8(9);
          out.u16(static_cast<uint16_t>(v.index));
        }
        break;
    }
  }
  action(ActionPush, out.data());
  return *this;
}

Assembler& Assembler::constantPool(const std::vector<std::string>& constants) {
  ByteWriter out;
  out.u16(static_cast<uint16_t>(constants.size()));
  for (const std::string& c : constants) out.cString(c);
  action(ActionConstantPool, out.data());
  return *this;
}

Assembler& Assembler::storeRegister(uint8_t reg) {
  action(ActionStoreRegister, {reg});
  return *this;
}

Assembler& Assembler::gotoFrame(uint16_t frame) {
  action(ActionGotoFrame, {static_cast<uint8_t>(frame), static_cast<uint8_t>(frame >> 8)});
  return *this;
}

Assembler& Assembler::gotoLabel(const std::string& label) {
  ByteWriter out;
  out.cString(label);
  action(ActionGotoLabel, out.data());
  return *this;
}

Assembler& Assembler::gotoFrame2(bool play, uint16_t sceneBias) {
  ByteWriter out;
  out.u8(static_cast<uint8_t>((sceneBias ? 2 : 0) | (play ? 1 : 0)));
  if (sceneBias) out.u16(sceneBias);
  action(ActionGotoFrame2, out.data());
  return *this;
}

Assembler& Assembler::getUrl(const std::string& url, const std::string& target) {
  ByteWriter out;
  out.cString(url);
  out.cString(target);
  action(ActionGetURL, out.data());
  return *this;
}

Assembler& Assembler::getUrl2(uint8_t flags) {
  action(ActionGetURL2, {flags});
  return *this;
}

Assembler& Assembler::setTarget(const std::string& target) {
  ByteWriter out;
  out.cString(target);
  action(ActionSetTarget, out.data());
  return *this;
}

Assembler& Assembler::waitForFrame(uint16_t frame, uint8_t skip) {
  action(ActionWaitForFrame, {static_cast<uint8_t>(frame), static_cast<uint8_t>(frame >> 8), skip});
  return *this;
}

Assembler& Assembler::label(const std::string& name) {
  if (!labels_.emplace(name, code_.size()).second) throw std::invalid_argument("label defined twice: " + name);
  return *this;
}

void Assembler::branch(uint8_t code, const std::string& label) {
  action(code, {0, 0});
  fixups_.emplace_back(code_.size() - 2, label);
}

Assembler& Assembler::jump(const std::string& label) {
  branch(ActionJump, label);
  return *this;
}

Assembler& Assembler::branchIf(const std::string& label) {
  branch(ActionIf, label);
  return *this;
}

Assembler& Assembler::defineFunction(const std::string& name, const std::vector<std::string>& params,
                                     const Assembler& body) {
  std::vector<uint8_t> code = body.body();
  ByteWriter out;
  out.cString(name);
  out.u16(static_cast<uint16_t>(params.size()));
  for (const std::string& p : params) out.cString(p);
  out.u16(static_cast<uint16_t>(code.size()));
  action(ActionDefineFunction, out.data());
  code_.insert(code_.end(), code.begin(), code.end());
  return *this;
}

Assembler& Assembler::defineFunction2(const std::string& name, uint8_t registerCount, uint16_t flags,
                                      const std::vector<Function2Param>& params, const Assembler& body) {
  std::vector<uint8_t> code = body.body();
  ByteWriter out;
  out.cString(name);
  out.u16(static_cast<uint16_t>(params.size()));
  out.u8(registerCount);
  out.u16(flags);
  for (const Function2Param& p : params) {
    out.u8(p.reg);
    out.cString(p.name);
  }
  out.u16(static_cast<uint16_t>(code.size()));
  action(ActionDefineFunction2, out.data());
  code_.insert(code_.end(), code.begin(), code.end());
  return *this;
}

Assembler& Assembler::with(const Assembler& body) {
  std::vector<uint8_t> code = body.body();
  action(ActionWith, {static_cast<uint8_t>(code.size()), static_cast<uint8_t>(code.size() >> 8)});
  code_.insert(code_.end(), code.begin(), code.end());
  return *this;
}

Assembler& Assembler::tryBlock(const Assembler& body, const Assembler* catchBody, const std::string& catchName,
                               const Assembler* finallyBody, int catchRegister) {
  std::vector<uint8_t> t = body.body();
  std::vector<uint8_t> c = catchBody ? catchBody->body() : std::vector<uint8_t>{};
  std::vector<uint8_t> f = finallyBody ? finallyBody->body() : std::vector<uint8_t>{};
  ByteWriter out;
  out.u8(static_cast<uint8_t>((catchBody ? 1 : 0) | (finallyBody ? 2 : 0) | (catchRegister >= 0 ? 4 : 0)));
  out.u16(static_cast<uint16_t>(t.size()));
  out.u16(static_cast<uint16_t>(c.size()));
  out.u16(static_cast<uint16_t>(f.size()));
  if (catchRegister >= 0) out.u8(static_cast<uint8_t>(catchRegister));
  else out.cString(catchName);
  action(ActionTry, out.data());
  code_.insert(code_.end(), t.begin(), t.end());
  code_.insert(code_.end(), c.begin(), c.end());
  code_.insert(code_.end(), f.begin(), f.end());
  return *this;
}

Assembler& Assembler::raw(const std::vector<uint8_t>& bytes) {
  code_.insert(code_.end(), bytes.begin(), bytes.end());
  return *this;
}

std::vector<uint8_t> Assembler::body() const {
  std::vector<uint8_t> code = code_;
  for (const auto& [at, name] : fixups_) {
    auto it = labels_.find(name);
    if (it == labels_.end()) throw std::invalid_argument("branch to an unknown label: " + name);
    long offset = static_cast<long>(it->second) - static_cast<long>(at + 2);
    if (offset < -32768 || offset > 32767) throw std::invalid_argument("branch too far: " + name);
    code[at] = static_cast<uint8_t>(offset);
    code[at + 1] = static_cast<uint8_t>(static_cast<uint16_t>(offset) >> 8);
  }
  return code;
}

std::vector<uint8_t> Assembler::bytes() const {
  std::vector<uint8_t> code = body();
  code.push_back(ActionEnd);
  return code;
}

}  // namespace tvrl::swf::writer
