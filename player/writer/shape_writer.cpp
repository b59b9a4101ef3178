#include "player/writer/shape_writer.h"

#include <cmath>

namespace tvrl::swf::writer {
namespace {

int32_t twips(double v) { return static_cast<int32_t>(std::lround(v)); }

void writeStyleCount(ByteWriter& out, size_t count, int shapeVersion) {
  if (count >= 0xff && shapeVersion >= 2) {
    out.u8(0xff);
    out.u16(static_cast<uint16_t>(count));
  } else {
    out.u8(static_cast<uint8_t>(count));
  }
}

void writeGradient(ByteWriter& out, const Gradient& g, bool withAlpha, bool focal) {
  out.ub(2, static_cast<uint32_t>(g.spread));
  out.ub(2, static_cast<uint32_t>(g.interpolation));
  out.ub(4, static_cast<uint32_t>(g.stops.size()));
  for (const GradientStop& s : g.stops) {
    out.u8(s.ratio);
    withAlpha ? out.rgba(s.color) : out.rgb(s.color);
  }
  if (focal) out.fixed8(g.focalPoint);
}

void writeFill(ByteWriter& out, const FillStyle& f, int shapeVersion) {
  out.u8(static_cast<uint8_t>(f.kind));
  if (f.kind == FillKind::Solid) {
    shapeVersion >= 3 ? out.rgba(f.color) : out.rgb(f.color);
  } else if (isGradient(f.kind)) {
    out.matrix(f.matrix);
    writeGradient(out, f.gradient, shapeVersion >= 3, f.kind == FillKind::FocalRadialGradient);
  } else {
    out.u16(f.bitmapId);
    out.matrix(f.matrix);
  }
}

void writeLineFlags(ByteWriter& out, const LineStyle& l) {
  out.ub(2, static_cast<uint32_t>(l.startCap));
  out.ub(2, static_cast<uint32_t>(l.join));
  out.ub(1, l.hasFill);
  out.ub(9, 0);
  out.ub(2, static_cast<uint32_t>(l.endCap));
  if (l.join == JoinStyle::Miter) out.fixed8(l.miterLimit);
}

void writeStyles(ByteWriter& out, const ShapeLayer& layer, int shapeVersion) {
  writeStyleCount(out, layer.fills.size(), shapeVersion);
  for (const FillStyle& f : layer.fills) writeFill(out, f, shapeVersion);
  writeStyleCount(out, layer.lines.size(), shapeVersion);
  for (const LineStyle& l : layer.lines) {
    out.u16(l.width);
    if (shapeVersion >= 4) {
      writeLineFlags(out, l);
      l.hasFill ? writeFill(out, l.fill, shapeVersion) : out.rgba(l.color);
    } else {
      shapeVersion >= 3 ? out.rgba(l.color) : out.rgb(l.color);
    }
  }
}

void writeEdge(ByteWriter& out, Point& pen, const Edge& e) {
  if (e.curve) {
    int32_t cx = twips(e.control.x) - twips(pen.x), cy = twips(e.control.y) - twips(pen.y);
    int32_t ax = twips(e.to.x) - twips(e.control.x), ay = twips(e.to.y) - twips(e.control.y);
    unsigned n = std::max(2u, ByteWriter::signedBits({cx, cy, ax, ay}));
    out.ub(2, 2);  // edge, curved
    out.ub(4, n - 2);
    out.sb(n, cx);
    out.sb(n, cy);
    out.sb(n, ax);
    out.sb(n, ay);
  } else {
    int32_t dx = twips(e.to.x) - twips(pen.x), dy = twips(e.to.y) - twips(pen.y);
    unsigned n = std::max(2u, ByteWriter::signedBits({dx, dy}));
    out.ub(2, 3);  // edge, straight
    out.ub(4, n - 2);
    if (dx != 0 && dy != 0) {
      out.ub(1, 1);
      out.sb(n, dx);
      out.sb(n, dy);
    } else {
      out.ub(1, 0);
      out.ub(1, dx == 0);
      out.sb(n, dx == 0 ? dy : dx);
    }
  }
  pen = e.to;
}

struct Bits {
  unsigned fill, line;
};

Bits styleBits(const ShapeLayer& layer) {
  return {ByteWriter::unsignedBits(static_cast<uint32_t>(layer.fills.size())),
          ByteWriter::unsignedBits(static_cast<uint32_t>(layer.lines.size()))};
}

// Every path starts with a record that moves the pen and sets all three styles.
void writePaths(ByteWriter& out, const std::vector<Path>& paths, Bits bits, Point& pen, bool withStyles) {
  for (const Path& p : paths) {
    out.ub(1, 0);
    out.ub(1, 0);  // new styles
    out.ub(1, withStyles);
    out.ub(1, withStyles);
    out.ub(1, withStyles);
    out.ub(1, 1);
    int32_t x = twips(p.start.x), y = twips(p.start.y);
    unsigned n = ByteWriter::signedBits({x, y});
    out.ub(5, n);
    out.sb(n, x);
    out.sb(n, y);
    if (withStyles) {
      out.ub(bits.fill, p.fill0);
      out.ub(bits.fill, p.fill1);
      out.ub(bits.line, p.line);
    }
    pen = p.start;
    for (const Edge& e : p.edges) writeEdge(out, pen, e);
  }
}

void writeEnd(ByteWriter& out) {
  out.ub(6, 0);
  out.flushBits();
}

void writeMorphFill(ByteWriter& out, const FillStyle& s, const FillStyle& e) {
  out.u8(static_cast<uint8_t>(s.kind));
  if (s.kind == FillKind::Solid) {
    out.rgba(s.color);
    out.rgba(e.color);
  } else if (isGradient(s.kind)) {
    out.matrix(s.matrix);
    out.matrix(e.matrix);
    out.ub(2, static_cast<uint32_t>(s.gradient.spread));
    out.ub(2, static_cast<uint32_t>(s.gradient.interpolation));
    out.ub(4, static_cast<uint32_t>(s.gradient.stops.size()));
    for (size_t i = 0; i < s.gradient.stops.size(); ++i) {
      out.u8(s.gradient.stops[i].ratio);
      out.rgba(s.gradient.stops[i].color);
      out.u8(e.gradient.stops[i].ratio);
      out.rgba(e.gradient.stops[i].color);
    }
    if (s.kind == FillKind::FocalRadialGradient) {
      out.fixed8(s.gradient.focalPoint);
      out.fixed8(e.gradient.focalPoint);
    }
  } else {
    out.u16(s.bitmapId);
    out.matrix(s.matrix);
    out.matrix(e.matrix);
  }
}

}  // namespace

std::vector<uint8_t> defineShape(uint16_t id, const Shape& shape, int shapeVersion) {
  ByteWriter out;
  out.u16(id);
  out.rect(shape.bounds);
  if (shapeVersion >= 4) {
    out.rect(shape.bounds);
    out.u8(0);
  }
  static const std::vector<ShapeLayer> kNoLayers(1);
  const std::vector<ShapeLayer>& layers = shape.layers.empty() ? kNoLayers : shape.layers;
  Point pen;
  for (size_t i = 0; i < layers.size(); ++i) {
    const ShapeLayer& layer = layers[i];
    Bits bits = styleBits(layer);
    if (i == 0) {
      writeStyles(out, layer, shapeVersion);
    } else {
      out.ub(1, 0);
      out.ub(5, 0x10);  // new styles only
      writeStyles(out, layer, shapeVersion);
    }
    out.ub(4, bits.fill);
    out.ub(4, bits.line);
    writePaths(out, layer.paths, bits, pen, true);
  }
  writeEnd(out);
  return out.data();
}

std::vector<uint8_t> defineMorphShape(uint16_t id, const MorphShapeCharacter& morph, bool version2) {
  ByteWriter out;
  out.u16(id);
  out.rect(morph.start.bounds);
  out.rect(morph.end.bounds);
  if (version2) {
    out.rect(morph.start.bounds);
    out.rect(morph.end.bounds);
    out.u8(0);
  }
  size_t offsetAt = out.size();
  out.u32(0);
  const ShapeLayer& s = morph.start.layers.at(0);
  const ShapeLayer& e = morph.end.layers.at(0);
  writeStyleCount(out, s.fills.size(), 2);
  for (size_t i = 0; i < s.fills.size(); ++i) writeMorphFill(out, s.fills[i], e.fills[i]);
  writeStyleCount(out, s.lines.size(), 2);
  for (size_t i = 0; i < s.lines.size(); ++i) {
    out.u16(s.lines[i].width);
    out.u16(e.lines[i].width);
    if (version2) {
      writeLineFlags(out, s.lines[i]);
      if (s.lines[i].hasFill) {
        writeMorphFill(out, s.lines[i].fill, e.lines[i].fill);
        continue;
      }
    }
    out.rgba(s.lines[i].color);
    out.rgba(e.lines[i].color);
  }
  Bits bits = styleBits(s);
  out.ub(4, bits.fill);
  out.ub(4, bits.line);
  Point pen;
  writePaths(out, s.paths, bits, pen, true);
  writeEnd(out);
  out.patchU32(offsetAt, static_cast<uint32_t>(out.size() - offsetAt - 4));
  out.ub(4, 0);
  out.ub(4, 0);
  pen = Point{};
  writePaths(out, e.paths, Bits{0, 0}, pen, false);
  writeEnd(out);
  return out.data();
}

void writeGlyph(ByteWriter& out, const Shape& glyph) {
  out.ub(4, 1);
  out.ub(4, 0);
  Point pen;
  if (!glyph.layers.empty()) writePaths(out, glyph.layers[0].paths, Bits{1, 0}, pen, true);
  writeEnd(out);
}

}  // namespace tvrl::swf::writer
