#include "player/swf/shape_reader.h"

namespace tvrl::swf {
namespace {

uint32_t readStyleCount(ByteReader& in, int shapeVersion) {
  uint32_t n = in.u8();
  if (n == 0xff && shapeVersion >= 2) n = in.u16();
  return n;
}

bool readFillStyle(ByteReader& in, int shapeVersion, FillStyle& f) {
  uint8_t type = in.u8();
  bool alpha = shapeVersion >= 3;
  switch (type) {
    case 0x00:
      f.kind = FillKind::Solid;
      f.color = alpha ? in.rgba() : in.rgb();
      break;
    case 0x10:
    case 0x12:
    case 0x13:
      f.kind = static_cast<FillKind>(type);
      f.matrix = in.matrix();
      if (!readGradient(in, alpha, type == 0x13, f.gradient)) return false;
      break;
    case 0x40:
    case 0x41:
    case 0x42:
    case 0x43:
      f.kind = static_cast<FillKind>(type);
      f.bitmapId = in.u16();
      f.matrix = in.matrix();
      break;
    default:
      in.fail();
      return false;
  }
  return !in.failed();
}

}  // namespace

bool readGradient(ByteReader& in, bool withAlpha, bool focal, Gradient& g) {
  in.alignBits();
  g.spread = static_cast<SpreadMode>(in.ub(2));
  if (static_cast<int>(g.spread) > 2) g.spread = SpreadMode::Pad;
  g.interpolation = in.ub(2) == 1 ? Interpolation::LinearRgb : Interpolation::Rgb;
  unsigned n = in.ub(4);
  g.stops.clear();
  for (unsigned i = 0; i < n && !in.failed(); ++i) {
    GradientStop s;
    s.ratio = in.u8();
    s.color = withAlpha ? in.rgba() : in.rgb();
    g.stops.push_back(s);
  }
  if (focal) g.focalPoint = in.fixed8();
  return !in.failed();
}

bool readFillStyles(ByteReader& in, int shapeVersion, std::vector<FillStyle>& out) {
  uint32_t n = readStyleCount(in, shapeVersion);
  for (uint32_t i = 0; i < n && !in.failed(); ++i) {
    FillStyle f;
    if (!readFillStyle(in, shapeVersion, f)) return false;
    out.push_back(f);
  }
  return !in.failed();
}

bool readLineStyles(ByteReader& in, int shapeVersion, std::vector<LineStyle>& out) {
  uint32_t n = readStyleCount(in, shapeVersion);
  for (uint32_t i = 0; i < n && !in.failed(); ++i) {
    LineStyle l;
    l.width = in.u16();
    if (shapeVersion >= 4) {
      in.alignBits();
      l.startCap = static_cast<CapStyle>(in.ub(2) % 3);
      l.join = static_cast<JoinStyle>(in.ub(2) % 3);
      l.hasFill = in.ub(1);
      in.ub(9);  // stroke scaling, pixel hinting, reserved, noClose: strokes scale with the shape
      l.endCap = static_cast<CapStyle>(in.ub(2) % 3);
      if (l.join == JoinStyle::Miter) l.miterLimit = in.fixed8();
      if (l.hasFill) {
        if (!readFillStyle(in, shapeVersion, l.fill)) return false;
      } else {
        l.color = in.rgba();
      }
    } else {
      l.color = shapeVersion >= 3 ? in.rgba() : in.rgb();
    }
    out.push_back(l);
  }
  return !in.failed();
}

bool readShapeRecords(ByteReader& in, int shapeVersion, Shape& shape) {
  if (shape.layers.empty()) shape.layers.emplace_back();
  in.alignBits();
  unsigned fillBits = in.ub(4);
  unsigned lineBits = in.ub(4);
  Point pen;
  Path current;
  auto flush = [&]() {
    if (!current.edges.empty()) shape.layers.back().paths.push_back(current);
    current.edges.clear();
    current.start = pen;
  };
  auto styleIndex = [](uint32_t i, size_t count) { return i <= count ? i : 0; };
  while (!in.failed()) {
    if (in.ub(1) == 0) {
      unsigned flags = in.ub(5);
      if (flags == 0) {
        flush();
        return true;
      }
      flush();
      if (flags & 1) {
        unsigned n = in.ub(5);
        pen.x = in.sb(n);
        pen.y = in.sb(n);
        current.start = pen;
      }
      ShapeLayer& layer = shape.layers.back();
      if (flags & 2) current.fill0 = styleIndex(in.ub(fillBits), layer.fills.size());
      if (flags & 4) current.fill1 = styleIndex(in.ub(fillBits), layer.fills.size());
      if (flags & 8) current.line = styleIndex(in.ub(lineBits), layer.lines.size());
      if ((flags & 16) && shapeVersion >= 2) {
        ShapeLayer next;
        if (!readFillStyles(in, shapeVersion, next.fills) ||
            !readLineStyles(in, shapeVersion, next.lines))
          return false;
        shape.layers.push_back(std::move(next));
        current.fill0 = current.fill1 = current.line = 0;
        in.alignBits();
        fillBits = in.ub(4);
        lineBits = in.ub(4);
      }
      continue;
    }
    Edge e;
    if (in.ub(1)) {
      unsigned n = in.ub(4) + 2;
      double dx = 0, dy = 0;
      if (in.ub(1)) {
        dx = in.sb(n);
        dy = in.sb(n);
      } else if (in.ub(1)) {
        dy = in.sb(n);
      } else {
        dx = in.sb(n);
      }
      pen = {pen.x + dx, pen.y + dy};
    } else {
      unsigned n = in.ub(4) + 2;
      double cx = pen.x + in.sb(n), cy = pen.y + in.sb(n);
      e.curve = true;
      e.control = {cx, cy};
      pen = {cx + in.sb(n), cy + in.sb(n)};
    }
    e.to = pen;
    if (!in.failed()) current.edges.push_back(e);
  }
  return false;
}

bool readShape(ByteReader& in, int shapeVersion, Shape& out) {
  out.bounds = in.rect();
  if (shapeVersion >= 4) {
    in.rect();  // edge bounds
    in.u8();    // winding rule and stroke scaling flags
  }
  out.layers.assign(1, ShapeLayer{});
  if (!readFillStyles(in, shapeVersion, out.layers[0].fills) ||
      !readLineStyles(in, shapeVersion, out.layers[0].lines))
    return false;
  return readShapeRecords(in, shapeVersion, out);
}

bool readGlyphShape(ByteReader& in, Shape& out) {
  out.layers.assign(1, ShapeLayer{});
  out.layers[0].fills.push_back(FillStyle{});
  return readShapeRecords(in, 1, out);
}

}  // namespace tvrl::swf
