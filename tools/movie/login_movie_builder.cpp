#include "tools/movie/login_movie_builder.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <map>
#include <optional>

#include "player/swf/tag_codes.h"
#include "player/writer/avm1_assembler.h"
#include "player/writer/shape_builders.h"
#include "player/writer/shape_writer.h"
#include "player/writer/tag_stream.h"
#include "player/writer/tags.h"
#include "tools/movie/outline_font.h"

namespace tvrl::movie {
namespace {

using namespace swf;
using writer::Assembler;

constexpr double kTwips = 20;
constexpr uint16_t kFontId = 1;

double twips(double pixels) { return std::round(pixels * kTwips); }

Matrix at(double x, double y) { return Matrix::translation(twips(x), twips(y)); }

// A rounded box with its corner at the origin, so that placing it moves it.
Shape roundedBox(double width, double height, double radius, const FillStyle& fill, const LineStyle* edge = nullptr) {
  return writer::shapeOf(writer::roundedRectPath(0, 0, twips(width), twips(height), twips(radius), edge ? 1 : 0), fill,
                         edge);
}

// Text set in the movie's one font, with where its ink lies around the pen's start.
struct SetText {
  TextCharacter character;
  Rect ink;
};

// The state of an animated element `frame` frames in: how far it still is from its
// place, and how opaque it is. Eases out, so it settles gently.
struct AnimationStep {
  double dx = 0, dy = 0;
  double opacity = 1;
};

AnimationStep stepOf(const Animation& a, int frame) {
  double t = a.frames <= 1 ? 1 : std::min(1.0, frame / double(a.frames - 1));
  double eased = 1 - std::pow(1 - t, 3);
  return {a.dx * (1 - eased), a.dy * (1 - eased), eased};
}

class MovieBuilder {
 public:
  MovieBuilder(const LoginSource& source, const OutlineFont& font) : source_(source), font_(font) {}

  std::vector<uint8_t> build() {
    addFont();
    addPanel();
    for (const Element& e : source_.elements) std::visit([this](const auto& element) { add(element); }, e);
    addFrames();
    writer::MovieHeader header;
    header.version = 8;
    header.frameSize = {0, int32_t(twips(source_.stage.width)), 0, int32_t(twips(source_.stage.height))};
    header.frameRate = source_.stage.fps;
    header.compressed = true;
    return writer::writeMovie(header, tags_);
  }

 private:
  // One font holds every character the texts and labels use, in code order.
  void addFont() {
    auto need = [&](const std::u32string& text, int line) {
      for (char32_t c : text) {
        if (glyphOf_.count(c)) continue;
        int glyph = font_.glyphIndex(c);
        if (glyph == 0) {
          char code[16];
          std::snprintf(code, sizeof code, "U+%04X", static_cast<unsigned>(c));
          throw LoginSourceError(line, std::string("the font has no glyph for ") + code);
        }
        glyphOf_[c] = static_cast<uint32_t>(glyph);
      }
    };
    for (const Element& e : source_.elements) {
      if (auto* t = std::get_if<TextLine>(&e)) need(t->text, t->line);
      if (auto* b = std::get_if<Button>(&e)) need(b->label, b->line);
    }
    FontCharacter font;
    font.name = "LoginFace";
    font.emSize = OutlineFont::kEmSize;
    font.ascent = font_.ascent();
    font.descent = font_.descent();
    font.leading = font_.leading();
    uint32_t index = 0;
    for (auto& [code, glyph] : glyphOf_) {
      font.glyphs.push_back(font_.glyphShape(static_cast<int>(glyph)));
      font.codes.push_back(static_cast<uint16_t>(code));
      font.advances.push_back(std::round(font_.advance(static_cast<int>(glyph))));
      glyph = index++;  // from here on, the glyph's place in the movie's font
    }
    glyphs_ = font.glyphs;
    advances_ = font.advances;
    tags_.add(TagDefineFont3, writer::defineFont(kFontId, font, 3));
  }

  SetText setText(const std::u32string& text, double size, Rgba color) {
    SetText out;
    const double height = twips(size);
    const double scale = height / OutlineFont::kEmSize;
    double pen = 0;
    bool inked = false;
    for (size_t i = 0; i < text.size(); ++i) {
      // A record holds at most 255 glyphs; each one states where it starts.
      if (i % 255 == 0) {
        TextRecord r;
        r.fontId = kFontId;
        r.height = static_cast<uint16_t>(height);
        r.color = color;
        r.x = pen;
        out.character.records.push_back(r);
      }
      uint32_t glyph = glyphOf_.at(text[i]);
      int32_t advance = static_cast<int32_t>(std::lround(advances_[glyph] * scale));
      out.character.records.back().glyphs.push_back({glyph, advance});
      const Rect& b = glyphs_[glyph].bounds;
      if (b.xMax > b.xMin) {
        Rect ink{int32_t(std::floor(pen + b.xMin * scale)), int32_t(std::ceil(pen + b.xMax * scale)),
                 int32_t(std::floor(b.yMin * scale)), int32_t(std::ceil(b.yMax * scale))};
        out.ink = inked ? Rect{std::min(out.ink.xMin, ink.xMin), std::max(out.ink.xMax, ink.xMax),
                               std::min(out.ink.yMin, ink.yMin), std::max(out.ink.yMax, ink.yMax)}
                        : ink;
        inked = true;
      }
      pen += advance;
    }
    out.character.bounds = out.ink;
    return out;
  }

  uint16_t defineText(const SetText& text, int line) {
    // Pens are stored in 16 bits.
    for (const TextRecord& r : text.character.records)
      if (r.x > 32767) throw LoginSourceError(line, "the text is too long for one line");
    uint16_t id = nextId();
    tags_.add(TagDefineText2, writer::defineText(id, text.character, 2));
    return id;
  }

  void addPanel() {
    const Panel& panel = source_.panel;
    if (source_.shadow) {
      // Rings around the panel, each a little wider than the last; where they overlap the
      // shadow is darkest, so it fades out from the panel's edge.
      const Shadow& s = *source_.shadow;
      Shape shadow;
      for (int step = 1; step <= s.steps; ++step) {
        double grow = s.spread * step / s.steps;
        const Box& b = panel.box;
        Path outer = writer::roundedRectPath(twips(b.x0 - grow), twips(b.y0 - grow), twips(b.x1 + grow), twips(b.y1 + grow),
                                             twips(panel.radius + grow));
        Path hole = writer::roundedRectPath(twips(b.x0), twips(b.y0), twips(b.x1), twips(b.y1), twips(panel.radius));
        std::swap(hole.fill0, hole.fill1);
        ShapeLayer layer;
        layer.fills = {writer::solidFill(s.color)};
        layer.paths = {outer, hole};
        shadow.layers.push_back(layer);
        if (step == s.steps) shadow.bounds = writer::pathBounds(outer);
      }
      place(defineShape(shadow), "shadow", {});
    }
    LineStyle edge;
    edge.width = static_cast<uint16_t>(twips(1));
    edge.color = panel.edge;
    const Box& b = panel.box;
    FillStyle gradient = writer::linearGradientFill(0, 0, 0, b.height(), panel.top, panel.bottom);
    place(defineShape(roundedBox(b.width(), b.height(), panel.radius, gradient, &edge)), "panel", at(b.x0, b.y0));
  }

  void add(const Decoration& d) {
    place(defineShape(roundedBox(d.box.width(), d.box.height(), d.radius, writer::solidFill(d.color))), d.name,
          at(d.box.x0, d.box.y0));
  }

  void add(const TextLine& t) { place(defineText(setText(t.text, t.size, t.color), t.line), t.name, at(t.x, t.y)); }

  // A clip of one frame holding the fill, so that scripts can read its box and hide it.
  void add(const Placeholder& p) {
    uint16_t fill = defineShape(roundedBox(p.box.width(), p.box.height(), 0, writer::solidFill(p.color)));
    writer::TagStream inside;
    PlaceCommand c;
    c.characterId = fill;
    c.depth = 1;
    c.matrix = Matrix{};
    inside.add(TagPlaceObject2, writer::placeObject2(c));
    inside.showFrame();
    uint16_t id = nextId();
    tags_.add(TagDefineSprite, writer::defineSprite(id, inside));
    place(id, p.name, at(p.box.x0, p.box.y0));
  }

  void add(const Button& b) {
    const double w = b.box.width(), h = b.box.height();
    uint16_t up = defineShape(roundedBox(w, h, b.radius, writer::solidFill(b.colors.up)));
    uint16_t over = defineShape(roundedBox(w, h, b.radius, writer::solidFill(b.colors.over)));
    uint16_t down = defineShape(roundedBox(w, h, b.radius, writer::solidFill(b.colors.down)));
    SetText label = setText(b.label, b.labelSize, b.colors.label);
    uint16_t labelId = defineText(label, b.line);
    // The label's ink is centred on the face; pressed, it sinks by a pixel.
    double tx = std::round(twips(w) / 2 - (label.ink.xMin + label.ink.xMax) / 2.0);
    double ty = std::round(twips(h) / 2 - (label.ink.yMin + label.ink.yMax) / 2.0);
    ButtonCharacter button;
    button.records = {{ButtonUp | ButtonHitTest, up, 1, {}, {}},
                      {ButtonOver, over, 1, {}, {}},
                      {ButtonDown, down, 1, {}, {}},
                      {ButtonUp | ButtonOver, labelId, 2, Matrix::translation(tx, ty), {}},
                      {ButtonDown, labelId, 2, Matrix::translation(tx, ty + kTwips), {}}};
    Assembler release;
    if (b.action == Button::Action::FsCommand) release.getUrl("FSCommand:" + b.argument, "");
    else release.getUrl(source_.address(b.argument), "_blank");
    button.actions = {{CondOverDownToOverUp, release.bytes()}};
    uint16_t id = nextId();
    tags_.add(TagDefineButton2, writer::defineButton(id, button, true));
    place(id, b.name, at(b.box.x0, b.box.y0));
  }

  // The first frame hides the placeholder and tells the launcher where the login page
  // goes and which page it is:
  //   web._visible = false;
  //   fscommand("moveweb", web._x + "," + web._y + "," + web._width + "," + web._height);
  //   fscommand("weburl", "<login page>");
  Assembler firstFrameScript() const {
    const Placeholder& p = source_.placeholder();
    Assembler a;
    a.push({p.name}).op(avm1::ActionGetVariable).push({"_visible", false}).op(avm1::ActionSetMember);
    a.push({"FSCommand:moveweb"});
    bool first = true;
    for (const char* property : {"_x", "_y", "_width", "_height"}) {
      if (!first) a.push({","}).op(avm1::ActionAdd2);
      a.push({p.name}).op(avm1::ActionGetVariable).push({property}).op(avm1::ActionGetMember);
      if (!first) a.op(avm1::ActionAdd2);
      first = false;
    }
    a.getUrl2(0);
    a.getUrl("FSCommand:weburl", source_.address(p.address));
    return a;
  }

  // Frame one places everything; the animated elements then move and fade in frame by
  // frame, and the last frame stops the movie, so nothing changes after it.
  void addFrames() {
    const int frames = source_.frameCount();
    for (int frame = 0; frame < frames; ++frame) {
      for (const PlaceCommand& p : placements_) {
        const Animation* a = animationOf(*p.name);
        if (frame > 0 && (!a || frame >= a->frames)) continue;
        PlaceCommand c = p;
        if (a) {
          AnimationStep step = stepOf(*a, frame);
          c.matrix = Matrix::translation(p.matrix->tx + twips(step.dx), p.matrix->ty + twips(step.dy));
          ColorTransform fade;
          fade.mulA = static_cast<int16_t>(std::lround(step.opacity * 256));
          c.colorTransform = fade;
        }
        if (frame > 0) {
          c.move = true;
          c.characterId.reset();
          c.name.reset();
        }
        tags_.add(TagPlaceObject2, writer::placeObject2(c));
      }
      Assembler script = frame == 0 ? firstFrameScript() : Assembler();
      if (frame == frames - 1) script.op(avm1::ActionStop);
      tags_.add(TagDoAction, script.bytes());
      tags_.showFrame();
    }
  }

  const Animation* animationOf(const std::string& name) const {
    for (const Animation& a : source_.animations)
      if (a.name == name) return &a;
    return nullptr;
  }

  uint16_t defineShape(const Shape& shape) {
    uint16_t id = nextId();
    tags_.add(TagDefineShape4, writer::defineShape(id, shape, 4));
    return id;
  }

  // Placed in frame one in the order of the description, each at a depth of its own.
  void place(uint16_t id, const std::string& name, const Matrix& m) {
    PlaceCommand p;
    p.characterId = id;
    p.depth = static_cast<uint16_t>(placements_.size() + 1);
    p.matrix = m;
    p.name = name;
    placements_.push_back(p);
  }

  uint16_t nextId() { return nextId_++; }

  const LoginSource& source_;
  const OutlineFont& font_;
  writer::TagStream tags_;
  std::map<char32_t, uint32_t> glyphOf_;  // character to glyph: the file's, then the movie font's
  std::vector<Shape> glyphs_;
  std::vector<double> advances_;
  std::vector<PlaceCommand> placements_;
  uint16_t nextId_ = kFontId + 1;
};

}  // namespace

std::vector<uint8_t> buildLoginMovie(const LoginSource& source, const std::string& folder) {
  std::string path = source.font.file;
  if (!path.empty() && path[0] != '/' && !folder.empty()) path = folder + "/" + path;
  std::optional<OutlineFont> font;
  try {
    font.emplace(path, source.font.face);
  } catch (const std::runtime_error& e) {
    throw LoginSourceError(source.font.line, e.what());
  }
  return MovieBuilder(source, *font).build();
}

}  // namespace tvrl::movie
