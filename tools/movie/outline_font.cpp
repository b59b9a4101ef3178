#include "tools/movie/outline_font.h"

#include <stb/stb_truetype.h>

#include <cerrno>
#include <cmath>
#include <cstring>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <vector>

#include "tools/movie/font_file_check.h"

namespace tvrl::movie {

struct OutlineFont::Face {
  std::vector<uint8_t> file;  // stb_truetype points into it
  stbtt_fontinfo info{};
  double scale = 1;           // font units to em units
};

OutlineFont::OutlineFont(const std::string& path, int face) : face_(std::make_unique<Face>()) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw std::runtime_error("cannot read font file '" + path + "': " + std::strerror(errno));
  face_->file.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  if (in.bad()) throw std::runtime_error("cannot read font file '" + path + "'");
  int offset;
  try {
    offset = checkTrueTypeFace(face_->file, face);
  } catch (const std::runtime_error& e) {
    throw std::runtime_error("font file '" + path + "': " + e.what());
  }
  if (!stbtt_InitFont(&face_->info, face_->file.data(), offset))
    throw std::runtime_error("font file '" + path + "': face " + std::to_string(face) + " cannot be read");
  face_->scale = stbtt_ScaleForMappingEmToPixels(&face_->info, static_cast<float>(kEmSize));
}

OutlineFont::~OutlineFont() = default;

int OutlineFont::glyphIndex(char32_t c) const { return stbtt_FindGlyphIndex(&face_->info, static_cast<int>(c)); }

swf::Shape OutlineFont::glyphShape(int glyph) const {
  swf::Shape shape;
  shape.layers.emplace_back();
  const double s = face_->scale;
  auto at = [s](int x, int y) { return swf::Point{x * s, -y * s}; };

  stbtt_vertex* vertices = nullptr;
  int count = stbtt_GetGlyphShape(&face_->info, glyph, &vertices);
  std::vector<swf::Path>& paths = shape.layers[0].paths;
  for (int i = 0; i < count; ++i) {
    const stbtt_vertex& v = vertices[i];
    if (v.type == STBTT_vmove || paths.empty()) {
      swf::Path p;
      p.fill0 = 1;
      p.start = at(v.x, v.y);
      paths.push_back(p);
      if (v.type == STBTT_vmove) continue;
    }
    swf::Edge e;
    e.to = at(v.x, v.y);
    if (v.type == STBTT_vcurve) {
      e.curve = true;
      e.control = at(v.cx, v.cy);
    }
    paths.back().edges.push_back(e);
  }
  stbtt_FreeShape(&face_->info, vertices);

  int x0 = 0, y0 = 0, x1 = 0, y1 = 0;
  if (stbtt_GetGlyphBox(&face_->info, glyph, &x0, &y0, &x1, &y1))
    shape.bounds = {int32_t(std::floor(x0 * s)), int32_t(std::ceil(x1 * s)), int32_t(std::floor(-y1 * s)),
                    int32_t(std::ceil(-y0 * s))};
  return shape;
}

double OutlineFont::advance(int glyph) const {
  int advance = 0, bearing = 0;
  stbtt_GetGlyphHMetrics(&face_->info, glyph, &advance, &bearing);
  return advance * face_->scale;
}

double OutlineFont::ascent() const {
  int ascent = 0, descent = 0, gap = 0;
  stbtt_GetFontVMetrics(&face_->info, &ascent, &descent, &gap);
  return ascent * face_->scale;
}

double OutlineFont::descent() const {
  int ascent = 0, descent = 0, gap = 0;
  stbtt_GetFontVMetrics(&face_->info, &ascent, &descent, &gap);
  return -descent * face_->scale;
}

double OutlineFont::leading() const {
  int ascent = 0, descent = 0, gap = 0;
  stbtt_GetFontVMetrics(&face_->info, &ascent, &descent, &gap);
  return gap * face_->scale;
}

}  // namespace tvrl::movie
