#include "tests/player/sample_movie.h"

#include "player/swf/tag_codes.h"
#include "player/writer/shape_writer.h"
#include "player/writer/tag_stream.h"
#include "player/writer/tags.h"

namespace tvrl::player::test {

using namespace swf;
using writer::TagStream;

std::vector<uint8_t> everyTagMovie(bool compressed) {
  TagStream tags;
  tags.add(TagFileAttributes, writer::fileAttributes(0));
  tags.add(TagSetBackgroundColor, writer::setBackgroundColor({40, 40, 60, 255}));

  std::vector<Rgba> texels;
  for (int i = 0; i < 16; ++i) texels.push_back({uint8_t(i * 16), uint8_t(255 - i * 16), 128, uint8_t(i < 8 ? 255 : 128)});
  tags.add(TagDefineBitsLossless2, writer::defineBitsLossless(1, 4, 4, texels, 5, true));
  tags.add(TagDefineBitsLossless, writer::defineBitsLossless(2, 4, 4, texels, 3, false));
  std::vector<uint8_t> jpeg = writer::encodeJpeg(4, 4, texels);
  tags.add(TagDefineBitsJpeg3, writer::defineBitsJpeg3(3, jpeg, std::vector<uint8_t>(16, 200)));
  auto [tables, bits] = writer::defineBitsWithTables(4, jpeg);
  tags.add(TagJpegTables, tables);
  tags.add(TagDefineBits, bits);

  Shape shape;
  shape.bounds = {0, 4000, 0, 3000};
  ShapeLayer layer;
  FillStyle gradient;
  gradient.kind = FillKind::FocalRadialGradient;
  gradient.matrix = Matrix{0.05, 0.01, -0.01, 0.05, 1000, 1000};
  gradient.gradient.spread = SpreadMode::Reflect;
  gradient.gradient.focalPoint = 0.5;
  gradient.gradient.stops = {{0, {255, 0, 0, 255}}, {255, {0, 0, 255, 100}}};
  FillStyle bitmap;
  bitmap.kind = FillKind::RepeatingBitmap;
  bitmap.bitmapId = 1;
  bitmap.matrix = Matrix{60, 10, -10, 60, 0, 0};
  LineStyle line;
  line.width = 60;
  line.join = JoinStyle::Miter;
  line.color = {255, 255, 0, 200};
  layer.fills = {gradient, bitmap};
  layer.lines = {line};
  layer.paths.push_back(rectanglePath(0, 0, 2000, 1500, 1, 1));
  Path curve;
  curve.fill0 = 2;
  curve.line = 1;
  curve.start = {2000, 1500};
  Edge c;
  c.curve = true;
  c.control = {4000, 0};
  c.to = {3000, 3000};
  Edge back;
  back.to = {2000, 1500};
  curve.edges = {c, back};
  layer.paths.push_back(curve);
  shape.layers = {layer, layer};
  tags.add(TagDefineShape4, writer::defineShape(10, shape, 4));
  tags.add(TagDefineShape, writer::defineShape(11, shape, 1));

  MorphShapeCharacter morph;
  morph.start = shape;
  morph.start.layers.resize(1);
  morph.end = morph.start;
  morph.end.layers[0].paths[1].edges[0].to = {500, 2500};
  tags.add(TagDefineMorphShape2, writer::defineMorphShape(12, morph, true));

  FontCharacter font;
  font.glyphs = {shape, shape};
  font.codes = {'a', 'b'};
  font.advances = {900, 700};
  font.ascent = 800;
  font.descent = 200;
  tags.add(TagDefineFont3, writer::defineFont(20, font, 3));
  tags.add(TagDefineFont, writer::defineFont(21, font, 1));
  tags.add(TagDefineFontInfo, writer::defineFontInfo(21, font, false));
  TextCharacter text;
  text.bounds = {0, 4000, 0, 1000};
  TextRecord record;
  record.fontId = 20;
  record.height = 400;
  record.glyphs = {{0, 300}, {1, 300}, {0, 300}};
  text.records = {record};
  tags.add(TagDefineText2, writer::defineText(22, text, 2));
  EditTextCharacter field;
  field.bounds = {0, 3000, 0, 1200};
  field.fontId = 20;
  field.useOutlines = field.wordWrap = field.multiline = field.html = field.border = true;
  field.initialText = "<p align=\"center\">ab ab ab ab ab</p>ba";
  tags.add(TagDefineEditText, writer::defineEditText(23, field));

  ButtonCharacter button;
  button.records = {{ButtonUp | ButtonHitTest, 10, 1, Matrix::scaling(0.5, 0.5), ColorTransform{}},
                    {ButtonOver, 11, 2, Matrix{}, ColorTransform{}}};
  tags.add(TagDefineButton2, writer::defineButton(30, button, true));
  tags.add(TagDefineButton, writer::defineButton(31, button, false));
  ColorTransform cx;
  cx.mulG = 100;
  cx.addR = 30;
  tags.add(TagDefineButtonCxform, writer::defineButtonCxform(31, cx));

  TagStream inner;
  PlaceCommand innerPlace;
  innerPlace.depth = 1;
  innerPlace.characterId = 12;
  innerPlace.ratio = 0;
  inner.add(TagPlaceObject2, writer::placeObject2(innerPlace));
  inner.showFrame();
  PlaceCommand morphStep;
  morphStep.depth = 1;
  morphStep.move = true;
  morphStep.ratio = 40000;
  inner.add(TagPlaceObject3, writer::placeObject2(morphStep, true));
  inner.showFrame();
  tags.add(TagDefineSprite, writer::defineSprite(40, inner));
  tags.add(TagExportAssets, writer::exportAssets({{"shape", 10}}));

  uint16_t depth = 1;
  PlaceCommand mask;
  mask.depth = depth++;
  mask.characterId = 11;
  mask.clipDepth = 4;
  tags.add(TagPlaceObject2, writer::placeObject2(mask));
  for (uint16_t id : {10, 22, 23, 30, 31, 40}) {
    PlaceCommand p;
    p.depth = depth++;
    p.characterId = id;
    p.matrix = Matrix{1, 0.2, -0.2, 1, depth * 300.0, depth * 200.0};
    p.colorTransform = cx;
    p.name = "object";
    tags.add(TagPlaceObject2, writer::placeObject2(p));
  }
  tags.add(TagPlaceObject, writer::placeObject(11, depth, Matrix::translation(100, 100), &cx));
  tags.add(TagFrameLabel, writer::frameLabel("first"));
  tags.showFrame();
  tags.add(TagRemoveObject, writer::removeObject(11, depth));
  tags.add(TagRemoveObject2, writer::removeObject2(2));
  tags.showFrame();

  writer::MovieHeader header;
  header.compressed = compressed;
  header.frameSize = {0, 200 * 20, 0, 150 * 20};
  return writer::writeMovie(header, tags);
}

}  // namespace tvrl::player::test
