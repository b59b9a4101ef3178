#include "bench/cairo_scene.h"

#include <vector>

namespace tvrl::bench {
namespace {

using namespace swf;

void quadTo(cairo_t* cr, Point from, Point control, Point to) {
  // The quadratic as a cubic: control points two thirds of the way to the quadratic's.
  cairo_curve_to(cr, from.x + 2.0 / 3 * (control.x - from.x), from.y + 2.0 / 3 * (control.y - from.y),
                 to.x + 2.0 / 3 * (control.x - to.x), to.y + 2.0 / 3 * (control.y - to.y), to.x, to.y);
}

// Cairo fills by winding, so a path with its fill on the left is run backwards.
void addPath(cairo_t* cr, const Path& p) {
  std::vector<Point> from{p.start};
  for (const Edge& e : p.edges) from.push_back(e.to);
  bool backwards = p.fill1 == 0 && p.fill0 != 0;
  if (!backwards) {
    cairo_move_to(cr, p.start.x, p.start.y);
    for (size_t i = 0; i < p.edges.size(); ++i) {
      const Edge& e = p.edges[i];
      if (e.curve)
        quadTo(cr, from[i], e.control, e.to);
      else
        cairo_line_to(cr, e.to.x, e.to.y);
    }
  } else {
    cairo_move_to(cr, from.back().x, from.back().y);
    for (size_t i = p.edges.size(); i-- > 0;) {
      const Edge& e = p.edges[i];
      if (e.curve)
        quadTo(cr, e.to, e.control, from[i]);
      else
        cairo_line_to(cr, from[i].x, from[i].y);
    }
  }
  cairo_close_path(cr);
}

cairo_matrix_t cairoMatrix(const Matrix& m) { return {m.a, m.b, m.c, m.d, m.tx, m.ty}; }

cairo_pattern_t* patternFor(const FillStyle& f, cairo_surface_t* background) {
  cairo_pattern_t* pattern;
  if (f.kind == FillKind::Solid) {
    return cairo_pattern_create_rgba(f.color.r / 255.0, f.color.g / 255.0, f.color.b / 255.0, f.color.a / 255.0);
  } else if (isBitmap(f.kind)) {
    pattern = cairo_pattern_create_for_surface(background);
    cairo_pattern_set_filter(pattern, CAIRO_FILTER_BILINEAR);
  } else {
    // In units of the gradient square's half width: pixman's fixed point cannot hold the
    // square's own 16384 units with the precision a gradient needs.
    pattern = f.kind == FillKind::LinearGradient ? cairo_pattern_create_linear(-1, 0, 1, 0)
                                                  : cairo_pattern_create_radial(0, 0, 0, 0, 0, 1);
    for (const GradientStop& s : f.gradient.stops)
      cairo_pattern_add_color_stop_rgba(pattern, s.ratio / 255.0, s.color.r / 255.0, s.color.g / 255.0,
                                        s.color.b / 255.0, s.color.a / 255.0);
    cairo_pattern_set_extend(pattern, CAIRO_EXTEND_PAD);
  }
  // Pattern matrices map user space to pattern space: the inverse of the fill's.
  cairo_matrix_t m = cairoMatrix(isBitmap(f.kind) ? f.matrix : f.matrix * Matrix::scaling(16384, 16384));
  cairo_matrix_invert(&m);
  cairo_pattern_set_matrix(pattern, &m);
  return pattern;
}

}  // namespace

CairoScene::CairoScene(const LoginScene& scene) : scene_(scene) {
  const BitmapCharacter& b = scene.background;
  background_ = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, b.width, b.height);
  uint32_t* data = reinterpret_cast<uint32_t*>(cairo_image_surface_get_data(background_));
  int stride = cairo_image_surface_get_stride(background_) / 4;
  for (int y = 0; y < b.height; ++y)
    for (int x = 0; x < b.width; ++x) data[y * stride + x] = b.pixels[y * b.width + x];
  cairo_surface_mark_dirty(background_);
}

CairoScene::~CairoScene() { cairo_surface_destroy(background_); }

void CairoScene::draw(cairo_t* cr) const {
  cairo_set_antialias(cr, CAIRO_ANTIALIAS_DEFAULT);
  cairo_set_fill_rule(cr, CAIRO_FILL_RULE_WINDING);
  for (const PlacedShape& placed : scene_.drawOrder) {
    cairo_save(cr);
    cairo_scale(cr, 1 / 20.0, 1 / 20.0);  // the stage's twips onto pixels
    cairo_matrix_t m = cairoMatrix(placed.matrix);
    cairo_transform(cr, &m);
    for (const ShapeLayer& layer : placed.shape.layers) {
      for (const Path& p : layer.paths) addPath(cr, p);
      cairo_pattern_t* pattern = patternFor(layer.fills.at(0), background_);
      cairo_set_source(cr, pattern);
      cairo_fill(cr);
      cairo_pattern_destroy(pattern);
      if (!layer.lines.empty()) {
        for (const Path& p : layer.paths)
          if (p.line) addPath(cr, p);
        const LineStyle& l = layer.lines[0];
        cairo_set_source_rgba(cr, l.color.r / 255.0, l.color.g / 255.0, l.color.b / 255.0, l.color.a / 255.0);
        cairo_set_line_width(cr, l.width);
        cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
        cairo_stroke(cr);
      }
    }
    cairo_restore(cr);
  }
}

}  // namespace tvrl::bench
