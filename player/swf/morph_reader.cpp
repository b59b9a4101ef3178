#include "player/swf/morph_reader.h"

#include "player/swf/shape_reader.h"

namespace tvrl::swf {
namespace {

bool readMorphFill(ByteReader& in, FillStyle& start, FillStyle& end) {
  uint8_t type = in.u8();
  start.kind = end.kind = static_cast<FillKind>(type);
  switch (type) {
    case 0x00:
      start.color = in.rgba();
      end.color = in.rgba();
      break;
    case 0x10:
    case 0x12:
    case 0x13: {
      start.matrix = in.matrix();
      end.matrix = in.matrix();
      in.alignBits();
      uint8_t head = in.u8();
      for (Gradient* g : {&start.gradient, &end.gradient}) {
        g->spread = static_cast<SpreadMode>((head >> 6) % 3);
        g->interpolation = (head >> 4 & 3) == 1 ? Interpolation::LinearRgb : Interpolation::Rgb;
      }
      for (unsigned i = 0, n = head & 0x0f; i < n && !in.failed(); ++i) {
        GradientStop s, e;
        s.ratio = in.u8();
        s.color = in.rgba();
        e.ratio = in.u8();
        e.color = in.rgba();
        start.gradient.stops.push_back(s);
        end.gradient.stops.push_back(e);
      }
      if (type == 0x13) {
        start.gradient.focalPoint = in.fixed8();
        end.gradient.focalPoint = in.fixed8();
      }
      break;
    }
    case 0x40:
    case 0x41:
    case 0x42:
    case 0x43:
      start.bitmapId = end.bitmapId = in.u16();
      start.matrix = in.matrix();
      end.matrix = in.matrix();
      break;
    default:
      in.fail();
  }
  return !in.failed();
}

bool readMorphStyles(ByteReader& in, bool version2, ShapeLayer& start, ShapeLayer& end) {
  uint32_t fills = in.u8();
  if (fills == 0xff) fills = in.u16();
  for (uint32_t i = 0; i < fills && !in.failed(); ++i) {
    FillStyle s, e;
    if (!readMorphFill(in, s, e)) return false;
    start.fills.push_back(s);
    end.fills.push_back(e);
  }
  uint32_t lines = in.u8();
  if (lines == 0xff) lines = in.u16();
  for (uint32_t i = 0; i < lines && !in.failed(); ++i) {
    LineStyle s, e;
    s.width = in.u16();
    e.width = in.u16();
    if (version2) {
      in.alignBits();
      s.startCap = static_cast<CapStyle>(in.ub(2) % 3);
      s.join = static_cast<JoinStyle>(in.ub(2) % 3);
      s.hasFill = in.ub(1);
      in.ub(9);  // stroke scaling, pixel hinting, reserved, noClose
      s.endCap = static_cast<CapStyle>(in.ub(2) % 3);
      if (s.join == JoinStyle::Miter) s.miterLimit = in.fixed8();
      e.startCap = s.startCap;
      e.endCap = s.endCap;
      e.join = s.join;
      e.miterLimit = s.miterLimit;
      e.hasFill = s.hasFill;
      if (s.hasFill) {
        if (!readMorphFill(in, s.fill, e.fill)) return false;
      } else {
        s.color = in.rgba();
        e.color = in.rgba();
      }
    } else {
      s.color = in.rgba();
      e.color = in.rgba();
    }
    start.lines.push_back(s);
    end.lines.push_back(e);
  }
  return !in.failed();
}

// The end edges carry no styles; they pair with the start edges one by one.
void pairEndEdges(const Shape& start, const Shape& endEdges, Shape& end) {
  std::vector<std::pair<Point, Edge>> flat;
  for (const ShapeLayer& layer : endEdges.layers)
    for (const Path& p : layer.paths) {
      Point from = p.start;
      for (const Edge& e : p.edges) {
        flat.push_back({from, e});
        from = e.to;
      }
    }
  size_t k = 0;
  for (ShapeLayer& layer : end.layers) {
    layer.paths = start.layers.front().paths;
    for (Path& p : layer.paths) {
      if (k < flat.size()) p.start = flat[k].first;
      for (Edge& e : p.edges) {
        if (k < flat.size()) e = flat[k++].second;
      }
    }
  }
}

}  // namespace

bool readMorphShape(ByteReader& in, bool version2, MorphShapeCharacter& out) {
  out.start.bounds = in.rect();
  out.end.bounds = in.rect();
  if (version2) {
    in.rect();
    in.rect();
    in.u8();
  }
  uint32_t endOffset = in.u32();
  size_t offsetBase = in.position();
  out.start.layers.assign(1, ShapeLayer{});
  out.end.layers.assign(1, ShapeLayer{});
  if (!readMorphStyles(in, version2, out.start.layers[0], out.end.layers[0])) return false;
  if (!readShapeRecords(in, 3, out.start) || out.start.layers.size() != 1) return false;
  if (offsetBase + endOffset < in.position()) return false;
  in.skip(offsetBase + endOffset - in.position());
  Shape endEdges;
  endEdges.layers.assign(1, ShapeLayer{});
  if (!readShapeRecords(in, 1, endEdges)) return false;
  pairEndEdges(out.start, endEdges, out.end);
  return true;
}

}  // namespace tvrl::swf
