// Small scenes drawn pixel by pixel: exact where the answer is exact, by tolerance where
// anti-aliasing or interpolation rounds.
#include <gtest/gtest.h>

#include "tests/player/test_movie.h"

namespace tvrl::player::test {
namespace {

using swf::Matrix;
using swf::Rgba;
using swf::writer::TagStream;

std::unique_ptr<Player> singleShape(const swf::Shape& shape, int w = 20, int h = 20, Matrix m = {}) {
  TagStream tags;
  addShape(tags, 1, shape);
  addPlace(tags, placeNew(1, 1, m));
  tags.showFrame();
  return loadPlayer(tags, w, h);
}

class SolidRectangle : public ::testing::TestWithParam<bool> {};

TEST_P(SolidRectangle, CoversExactlyItsPixels) {
  auto player = singleShape(rectangleShape(4, 5, 12, 15, solidFill({255, 0, 0, 255})));
  Pixels p = draw(*player, 20, 20, kBlack, GetParam());
  for (int y = 0; y < 20; ++y)
    for (int x = 0; x < 20; ++x) {
      bool inside = x >= 4 && x < 12 && y >= 5 && y < 15;
      ASSERT_EQ(p.at(x, y), inside ? 0xffff0000u : kBlack) << x << "," << y;
    }
}

INSTANTIATE_TEST_SUITE_P(AntialiasOnAndOff, SolidRectangle, ::testing::Bool());

TEST(EdgePixels, HalfCoveredPixelsBlendHalfWayAndNoAntialiasingSamplesCentres) {
  auto player = singleShape(rectangleShape(2.5, 2, 10, 10.25, solidFill({255, 255, 255, 255})));
  Pixels aa = draw(*player, 20, 20, kBlack, true);
  EXPECT_TRUE(near(aa.at(2, 5), 0xff808080, 1));
  EXPECT_TRUE(near(aa.at(5, 10), 0xff404040, 1));
  EXPECT_TRUE(near(aa.at(2, 10), 0xff202020, 1));
  Pixels hard = draw(*player, 20, 20, kBlack, false);
  EXPECT_EQ(hard.at(1, 5), kBlack);
  EXPECT_EQ(hard.at(2, 5), kWhite);  // a centre on a left edge is inside
  EXPECT_EQ(hard.at(5, 9), kWhite);
  EXPECT_EQ(hard.at(5, 10), kBlack);
}

// Two triangles with different fills meeting on a diagonal, as one shape would store a
// square split in two.
swf::Shape splitSquare(Rgba left, Rgba right) {
  swf::Shape s;
  s.layers.emplace_back();
  s.layers[0].fills = {solidFill(left), solidFill(right)};
  auto edge = [](double x, double y) {
    swf::Edge e;
    e.to = {x * kTwips, y * kTwips};
    return e;
  };
  swf::Path upper;
  upper.fill1 = 1;
  upper.start = {2 * kTwips, 2 * kTwips};
  upper.edges = {edge(18, 2), edge(18, 18)};
  swf::Path lower;
  lower.fill1 = 2;
  lower.start = {18 * kTwips, 18 * kTwips};
  lower.edges = {edge(2, 18), edge(2, 2)};
  swf::Path diagonal;  // from (2,2) to (18,18): fill 1 on its left, fill 2 on its right
  diagonal.fill0 = 1;
  diagonal.fill1 = 2;
  diagonal.start = {2 * kTwips, 2 * kTwips};
  diagonal.edges = {edge(18, 18)};
  s.layers[0].paths = {upper, lower, diagonal};
  return s;
}

TEST(SharedEdge, TwoFillsMeetWithoutASeam) {
  auto player = singleShape(splitSquare({0, 0, 255, 255}, {0, 0, 255, 255}));
  Pixels p = draw(*player, 20, 20, kWhite, true);
  for (int y = 2; y < 18; ++y)
    for (int x = 2; x < 18; ++x) ASSERT_EQ(p.at(x, y), 0xff0000ffu) << x << "," << y;
}

TEST(SharedEdge, DiagonalPixelsMixTheTwoFills) {
  auto player = singleShape(splitSquare({255, 0, 0, 255}, {0, 0, 255, 255}));
  Pixels p = draw(*player, 20, 20, kWhite, true);
  EXPECT_TRUE(near(p.at(10, 10), 0xff800080, 2));
  EXPECT_EQ(p.at(15, 5), 0xffff0000u);
  EXPECT_EQ(p.at(5, 15), 0xff0000ffu);
}

TEST(Translucency, DrawingOverBlackAndWhiteDiffersOnlyWhereTranslucent) {
  TagStream tags;
  addShape(tags, 1, rectangleShape(0, 0, 10, 20, solidFill({255, 0, 0, 255})));
  addShape(tags, 2, rectangleShape(10, 0, 20, 20, solidFill({255, 0, 0, 128})));
  addPlace(tags, placeNew(1, 1));
  addPlace(tags, placeNew(2, 2));
  tags.showFrame();
  auto player = loadPlayer(tags, 20, 20);
  Pixels black = draw(*player, 20, 20, kBlack);
  Pixels white = draw(*player, 20, 20, kWhite);
  EXPECT_EQ(black.at(5, 5), white.at(5, 5));
  EXPECT_EQ(black.at(15, 5), 0xff800000u);
  EXPECT_EQ(white.at(15, 5), 0xffff7f7fu);
}

struct GradientCase {
  const char* name;
  swf::FillKind kind;
  swf::SpreadMode spread;
  int probeX;      // a pixel beyond the gradient's end...
  int mirrorX;     // ...which must look like this pixel inside it (-1: the end colour)
};

class GradientEnds : public ::testing::TestWithParam<GradientCase> {};

// The gradient square runs from x = 20 to x = 80 px (red to blue); the shape spans 0..100.
TEST_P(GradientEnds, EndColoursAndSpreadBeyondThem) {
  swf::FillStyle f;
  f.kind = GetParam().kind;
  f.gradient.spread = GetParam().spread;
  f.gradient.stops = {{0, {255, 0, 0, 255}}, {255, {0, 0, 255, 255}}};
  double scale = 60 * kTwips / 32768.0;
  f.matrix = {scale, 0, 0, scale, 50 * kTwips, 10 * kTwips};
  auto player = singleShape(rectangleShape(0, 0, 100, 20, f), 100, 20);
  Pixels p = draw(*player, 100, 20, kBlack, false);
  if (GetParam().kind == swf::FillKind::LinearGradient) {
    if (GetParam().spread == swf::SpreadMode::Pad) {
      EXPECT_EQ(p.at(5, 10), 0xffff0000u);
    }
    EXPECT_TRUE(near(p.at(20, 10), 0xffff0000, 3));
    EXPECT_TRUE(near(p.at(79, 10), 0xff0000ff, 6));
  } else {
    EXPECT_TRUE(near(p.at(50, 10), 0xffff0000, 12));  // the centre
  }
  uint32_t want = GetParam().mirrorX < 0 ? 0xff0000ffu : p.at(GetParam().mirrorX, 10);
  EXPECT_TRUE(near(p.at(GetParam().probeX, 10), want, 3));
}

INSTANTIATE_TEST_SUITE_P(
    Table, GradientEnds,
    ::testing::Values(GradientCase{"LinearPad", swf::FillKind::LinearGradient, swf::SpreadMode::Pad, 95, -1},
                      GradientCase{"LinearReflect", swf::FillKind::LinearGradient, swf::SpreadMode::Reflect, 95, 64},
                      GradientCase{"LinearRepeat", swf::FillKind::LinearGradient, swf::SpreadMode::Repeat, 95, 35},
                      GradientCase{"RadialPad", swf::FillKind::RadialGradient, swf::SpreadMode::Pad, 95, -1},
                      GradientCase{"RadialReflect", swf::FillKind::RadialGradient, swf::SpreadMode::Reflect, 95, 64}),
    [](const ::testing::TestParamInfo<GradientCase>& info) { return std::string(info.param.name); });

TEST(Gradient, LinearRgbInterpolationIsLighterInTheMiddle) {
  auto middle = [](swf::Interpolation interpolation) {
    swf::FillStyle f;
    f.kind = swf::FillKind::LinearGradient;
    f.gradient.interpolation = interpolation;
    f.gradient.stops = {{0, {0, 0, 0, 255}}, {255, {255, 255, 255, 255}}};
    double scale = 100 * kTwips / 32768.0;
    f.matrix = {scale, 0, 0, scale, 50 * kTwips, 0};
    auto player = singleShape(rectangleShape(0, 0, 100, 4, f), 100, 4);
    return channel(draw(*player, 100, 4, kBlack, false).at(50, 2), 0);
  };
  EXPECT_NEAR(middle(swf::Interpolation::Rgb), 128, 3);
  EXPECT_NEAR(middle(swf::Interpolation::LinearRgb), 188, 3);  // sRGB of linear 0.5
}

TEST(Gradient, FocalPointMovesTheStartColour) {
  swf::FillStyle f;
  f.kind = swf::FillKind::FocalRadialGradient;
  f.gradient.focalPoint = 0.75;
  f.gradient.stops = {{0, {255, 0, 0, 255}}, {255, {0, 0, 255, 255}}};
  double scale = 40 * kTwips / 32768.0;  // the square's 32768 units become 40 px
  f.matrix = {scale, 0, 0, scale, 50 * kTwips, 50 * kTwips};
  auto player = singleShape(rectangleShape(0, 0, 100, 100, f), 100, 100);
  Pixels p = draw(*player, 100, 100, kBlack, false);
  // The circle's radius is 20 px; the focal point sits 0.75 of it (15 px) right of the centre.
  EXPECT_TRUE(near(p.at(65, 50), 0xffff0000, 0x30));
  EXPECT_EQ(p.at(71, 50), 0xff0000ffu);  // outside the circle
  EXPECT_GT(channel(p.at(49, 50), 0), 60);  // the centre is already on its way to blue
}

// A 2x2 bitmap of four colours, each texel drawn 10x10, placed at (5.25, 5.25) so that no
// pixel centre falls on a texel border.
class BitmapFill : public ::testing::TestWithParam<swf::FillKind> {};

TEST_P(BitmapFill, CornersAndWhatLiesBeyond) {
  std::vector<Rgba> texels = {{255, 0, 0, 255}, {0, 255, 0, 255}, {0, 0, 255, 255}, {255, 255, 255, 255}};
  TagStream tags;
  tags.add(swf::TagDefineBitsLossless, swf::writer::defineBitsLossless(9, 2, 2, texels, 5, false));
  swf::FillStyle f;
  f.kind = GetParam();
  f.bitmapId = 9;
  f.matrix = {10 * kTwips, 0, 0, 10 * kTwips, 5.25 * kTwips, 5.25 * kTwips};
  addShape(tags, 1, rectangleShape(0, 0, 40, 40, f));
  addPlace(tags, placeNew(1, 1));
  tags.showFrame();
  auto player = loadPlayer(tags, 40, 40);
  Pixels p = draw(*player, 40, 40, kBlack, false);
  bool smooth = GetParam() == swf::FillKind::ClippedBitmap || GetParam() == swf::FillKind::RepeatingBitmap;
  bool repeat = GetParam() == swf::FillKind::RepeatingBitmap || GetParam() == swf::FillKind::RepeatingBitmapHard;
  if (smooth) {
    // Smoothing blends across texel borders; near a texel's centre its colour dominates.
    EXPECT_TRUE(near(p.at(10, 10), 0xffff0000, 16));
    EXPECT_TRUE(near(p.at(15, 10), 0xff808000, 16));
    EXPECT_TRUE(near(p.at(20, 20), 0xffffffff, 16));
  } else {
    EXPECT_EQ(p.at(5, 5), 0xffff0000u);
    EXPECT_EQ(p.at(24, 5), 0xff00ff00u);
    EXPECT_EQ(p.at(5, 24), 0xff0000ffu);
    EXPECT_EQ(p.at(24, 24), 0xffffffffu);
  }
  // Beyond the bitmap: its edge stretched, or the bitmap again (x = 30 is texel 0 again).
  int tolerance = smooth ? 16 : 0;
  EXPECT_TRUE(near(p.at(30, 10), repeat ? 0xffff0000 : 0xff00ff00, tolerance));
  EXPECT_TRUE(near(p.at(30, 20), repeat ? 0xff0000ff : 0xffffffff, tolerance));
}

std::string bitmapKindName(const ::testing::TestParamInfo<swf::FillKind>& info) {
  switch (info.param) {
    case swf::FillKind::ClippedBitmapHard: return "ClippedHard";
    case swf::FillKind::RepeatingBitmapHard: return "RepeatingHard";
    case swf::FillKind::ClippedBitmap: return "ClippedSmooth";
    default: return "RepeatingSmooth";
  }
}

INSTANTIATE_TEST_SUITE_P(Kinds, BitmapFill,
                         ::testing::Values(swf::FillKind::ClippedBitmapHard, swf::FillKind::RepeatingBitmapHard,
                                           swf::FillKind::ClippedBitmap, swf::FillKind::RepeatingBitmap),
                         bitmapKindName);

TEST(Mask, ClipsOnlyTheDepthsItCovers) {
  TagStream tags;
  addShape(tags, 1, rectangleShape(0, 0, 10, 20, solidFill({0, 0, 0, 255})));      // the mask: left half
  addShape(tags, 2, rectangleShape(0, 0, 20, 10, solidFill({255, 0, 0, 255})));    // masked: top half
  addShape(tags, 3, rectangleShape(0, 10, 20, 20, solidFill({0, 255, 0, 255})));   // above the mask's reach
  swf::PlaceCommand mask = placeNew(1, 1);
  mask.clipDepth = 2;
  addPlace(tags, mask);
  addPlace(tags, placeNew(2, 2));
  addPlace(tags, placeNew(3, 3));
  tags.showFrame();
  auto player = loadPlayer(tags, 20, 20);
  Pixels p = draw(*player, 20, 20, kWhite);
  EXPECT_EQ(p.at(5, 5), 0xffff0000u);
  EXPECT_EQ(p.at(15, 5), kWhite);  // masked away; the mask itself is not drawn
  EXPECT_EQ(p.at(5, 15), 0xff00ff00u);
  EXPECT_EQ(p.at(15, 15), 0xff00ff00u);
}

TEST(Transforms, NestedMatricesAndColourTransformsCompose) {
  TagStream inner;
  swf::PlaceCommand shape = placeNew(1, 1, Matrix::translation(2 * kTwips, 0));
  swf::ColorTransform halfRed;
  halfRed.mulR = 128;
  shape.colorTransform = halfRed;
  addPlace(inner, shape);
  inner.showFrame();
  TagStream tags;
  addShape(tags, 1, rectangleShape(0, 0, 2, 2, solidFill({255, 255, 0, 255})));
  tags.add(swf::TagDefineSprite, swf::writer::defineSprite(2, inner));
  swf::PlaceCommand sprite = placeNew(2, 1, Matrix{2, 0, 0, 2, 4 * kTwips, 4 * kTwips});
  swf::ColorTransform noGreen;
  noGreen.mulG = 0;
  noGreen.addB = 100;
  sprite.colorTransform = noGreen;
  addPlace(tags, sprite);
  tags.showFrame();
  auto player = loadPlayer(tags, 20, 20);
  Pixels p = draw(*player, 20, 20, kBlack, false);
  // The square: 2 px at (2,0) in the sprite, scaled 2x and moved by (4,4): pixels 8..11.
  EXPECT_EQ(p.at(7, 5), kBlack);
  EXPECT_EQ(p.at(8, 4), 0xff7f0064u);
  EXPECT_EQ(p.at(11, 7), 0xff7f0064u);
  EXPECT_EQ(p.at(12, 7), kBlack);
}

swf::Shape strokedPath(std::vector<swf::Point> points, uint16_t width, swf::CapStyle cap, swf::JoinStyle join) {
  swf::Shape s;
  s.layers.emplace_back();
  swf::LineStyle l;
  l.width = width;
  l.color = {255, 255, 255, 255};
  l.startCap = l.endCap = cap;
  l.join = join;
  s.layers[0].lines = {l};
  swf::Path p;
  p.line = 1;
  p.start = {points[0].x * kTwips, points[0].y * kTwips};
  for (size_t i = 1; i < points.size(); ++i) {
    swf::Edge e;
    e.to = {points[i].x * kTwips, points[i].y * kTwips};
    p.edges.push_back(e);
  }
  s.layers[0].paths = {p};
  return s;
}

TEST(Stroke, WidthAndCapsCoverTheRightPixels) {
  auto flat = singleShape(strokedPath({{5, 10}, {15, 10}}, 4 * 20, swf::CapStyle::None, swf::JoinStyle::Round));
  Pixels p = draw(*flat, 20, 20, kBlack, false);
  EXPECT_EQ(p.at(10, 7), kBlack);
  EXPECT_EQ(p.at(10, 8), kWhite);
  EXPECT_EQ(p.at(10, 11), kWhite);
  EXPECT_EQ(p.at(10, 12), kBlack);
  EXPECT_EQ(p.at(4, 10), kBlack);  // no cap
  auto square = singleShape(strokedPath({{5, 10}, {15, 10}}, 4 * 20, swf::CapStyle::Square, swf::JoinStyle::Round));
  Pixels q = draw(*square, 20, 20, kBlack, false);
  EXPECT_EQ(q.at(3, 10), kWhite);  // extends by half the width
  EXPECT_EQ(q.at(2, 10), kBlack);
  auto round = singleShape(strokedPath({{5, 10}, {15, 10}}, 4 * 20, swf::CapStyle::Round, swf::JoinStyle::Round));
  Pixels r = draw(*round, 20, 20, kBlack, false);
  EXPECT_EQ(r.at(3, 10), kWhite);
  EXPECT_EQ(r.at(3, 8), kBlack);  // the corner a square cap would fill
}

TEST(Stroke, HairlineIsOnePixelWide) {
  auto player = singleShape(strokedPath({{2, 10.5}, {18, 10.5}}, 0, swf::CapStyle::None, swf::JoinStyle::Round));
  Pixels p = draw(*player, 20, 20, kBlack, true);
  EXPECT_EQ(p.at(10, 10), kWhite);
  EXPECT_EQ(p.at(10, 9), kBlack);
  EXPECT_EQ(p.at(10, 11), kBlack);
}

struct JoinCase {
  const char* name;
  swf::JoinStyle join;
  bool cornerCovered;  // the outer corner pixel of a right angle
};

class StrokeJoin : public ::testing::TestWithParam<JoinCase> {};

TEST_P(StrokeJoin, OuterCornerOfARightAngle) {
  // Right along y = 5, then down along x = 15; 6 px wide. The outer corner is (17.x, 2.x).
  auto player = singleShape(strokedPath({{2, 5}, {15, 5}, {15, 18}}, 6 * 20, swf::CapStyle::None, GetParam().join));
  Pixels p = draw(*player, 20, 20, kBlack, false);
  EXPECT_EQ(p.at(17, 2), GetParam().cornerCovered ? kWhite : kBlack);
  EXPECT_EQ(p.at(16, 4), kWhite);  // covered by every join
}

INSTANTIATE_TEST_SUITE_P(Table, StrokeJoin,
                         ::testing::Values(JoinCase{"Miter", swf::JoinStyle::Miter, true},
                                           JoinCase{"Round", swf::JoinStyle::Round, false},
                                           JoinCase{"Bevel", swf::JoinStyle::Bevel, false}),
                         [](const ::testing::TestParamInfo<JoinCase>& info) { return std::string(info.param.name); });

struct ScaleCase {
  const char* name;
  ScaleMode mode;
  int x, y;          // a target pixel...
  bool insideStage;  // ...and whether the stage-filling rectangle covers it
};

class StageScale : public ::testing::TestWithParam<ScaleCase> {};

// A 100x50 stage filled with one rectangle, drawn into 200x200.
TEST_P(StageScale, MapsTheStageOntoTheTarget) {
  auto player = singleShape(rectangleShape(0, 0, 100, 50, solidFill({255, 255, 255, 255})), 100, 50);
  Pixels p = draw(*player, 200, 200, kBlack, false, GetParam().mode);
  EXPECT_EQ(p.at(GetParam().x, GetParam().y), GetParam().insideStage ? kWhite : kBlack);
}

INSTANTIATE_TEST_SUITE_P(
    Table, StageScale,
    ::testing::Values(ScaleCase{"ShowAllTopBorder", ScaleMode::ShowAll, 100, 49, false},
                      ScaleCase{"ShowAllTopRow", ScaleMode::ShowAll, 100, 50, true},
                      ScaleCase{"ShowAllBottomRow", ScaleMode::ShowAll, 100, 149, true},
                      ScaleCase{"ShowAllBottomBorder", ScaleMode::ShowAll, 100, 150, false},
                      ScaleCase{"NoBorderFillsHeight", ScaleMode::NoBorder, 100, 0, true},
                      ScaleCase{"NoBorderFillsHeightBottom", ScaleMode::NoBorder, 100, 199, true},
                      ScaleCase{"ExactFitTop", ScaleMode::ExactFit, 0, 0, true},
                      ScaleCase{"ExactFitCorner", ScaleMode::ExactFit, 199, 199, true},
                      ScaleCase{"NoScaleCentredLeft", ScaleMode::NoScale, 50, 75, true},
                      ScaleCase{"NoScaleOutsideLeft", ScaleMode::NoScale, 49, 75, false},
                      ScaleCase{"NoScaleOutsideBelow", ScaleMode::NoScale, 100, 125, false}),
    [](const ::testing::TestParamInfo<ScaleCase>& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace tvrl::player::test
