#include "tools/movie/font_file_check.h"

#include <map>
#include <stdexcept>

namespace tvrl::movie {
namespace {

class Bytes {
 public:
  explicit Bytes(const std::vector<uint8_t>& d) : d_(d) {}
  uint64_t size() const { return d_.size(); }
  uint32_t u16(uint64_t at) const { need(at, 2); return uint32_t(d_[at]) << 8 | d_[at + 1]; }
  uint32_t u32(uint64_t at) const { need(at, 4); return u16(at) << 16 | u16(at + 2); }
  std::string tag(uint64_t at) const { need(at, 4); return std::string(d_.begin() + at, d_.begin() + at + 4); }
  void need(uint64_t at, uint64_t n) const {
    if (at + n > d_.size()) throw std::runtime_error("the file is cut short or its tables point outside it");
  }

 private:
  const std::vector<uint8_t>& d_;
};

struct Table {
  uint64_t offset = 0, length = 0;
};

void checkCmap(const Bytes& b, const Table& cmap) {
  uint32_t count = b.u16(cmap.offset + 2);
  if (4 + 8ull * count > cmap.length) throw std::runtime_error("its character map is damaged");
  for (uint32_t i = 0; i < count; ++i) {
    uint64_t sub = b.u32(cmap.offset + 4 + 8ull * i + 4);
    if (sub + 8 > cmap.length) throw std::runtime_error("its character map is damaged");
    uint32_t format = b.u16(cmap.offset + sub);
    uint64_t length = format >= 8 ? b.u32(cmap.offset + sub + 4) : b.u16(cmap.offset + sub + 2);
    if (sub + length > cmap.length) throw std::runtime_error("its character map is damaged");
  }
}

}  // namespace

int checkTrueTypeFace(const std::vector<uint8_t>& file, int face) {
  Bytes b(file);
  if (b.size() < 12) throw std::runtime_error("not a TrueType font");
  uint64_t at = 0;
  if (b.tag(0) == "ttcf") {
    uint32_t faces = b.u32(8);
    if (face < 0 || static_cast<uint32_t>(face) >= faces)
      throw std::runtime_error("the collection has " + std::to_string(faces) + " faces, no face " + std::to_string(face));
    at = b.u32(12 + 4ull * face);
  } else if (face != 0) {
    throw std::runtime_error("a single font has only face 0");
  }
  std::string version = b.tag(at);
  if (version == "OTTO") throw std::runtime_error("its outlines are PostScript (CFF); a TrueType font is needed");
  if (version != std::string("\0\1\0\0", 4) && version != "true") throw std::runtime_error("not a TrueType font");

  std::map<std::string, Table> tables;
  uint32_t count = b.u16(at + 4);
  for (uint32_t i = 0; i < count; ++i) {
    uint64_t record = at + 12 + 16ull * i;
    Table t{b.u32(record + 8), b.u32(record + 12)};
    b.need(t.offset, t.length);
    tables[b.tag(record)] = t;
  }
  static const std::map<std::string, uint64_t> kRequired = {{"cmap", 4},  {"head", 54}, {"hhea", 36}, {"hmtx", 0},
                                                            {"loca", 0},  {"glyf", 0},  {"maxp", 6}};
  for (const auto& [name, smallest] : kRequired) {
    auto it = tables.find(name);
    if (it == tables.end()) throw std::runtime_error("it has no '" + name + "' table");
    if (it->second.length < smallest) throw std::runtime_error("its '" + name + "' table is too short");
  }

  uint64_t glyphs = b.u16(tables["maxp"].offset + 4);
  uint32_t locFormat = b.u16(tables["head"].offset + 50);
  if (locFormat > 1) throw std::runtime_error("its glyph index has an unknown format");
  const Table& loca = tables["loca"];
  uint64_t entry = locFormat == 0 ? 2 : 4;
  if ((glyphs + 1) * entry > loca.length) throw std::runtime_error("its glyph index is too short");
  for (uint64_t g = 0; g <= glyphs; ++g) {
    uint64_t offset = locFormat == 0 ? 2ull * b.u16(loca.offset + 2 * g) : b.u32(loca.offset + 4 * g);
    if (offset > tables["glyf"].length) throw std::runtime_error("its glyph index points outside the glyphs");
  }
  uint64_t metrics = b.u16(tables["hhea"].offset + 34);
  uint64_t bearings = glyphs > metrics ? glyphs - metrics : 0;
  if (metrics == 0 || 4 * metrics + 2 * bearings > tables["hmtx"].length)
    throw std::runtime_error("its glyph metrics are too short");
  checkCmap(b, tables["cmap"]);
  return static_cast<int>(at);
}

}  // namespace tvrl::movie
