// Frames of the root and of sprites: placing, moving and removing objects, going back,
// labels, and whether a frame changed anything visible.
#include <gtest/gtest.h>

#include "player/timeline/sprite_instance.h"
#include "tests/player/test_movie.h"

namespace tvrl::player::test {
namespace {

using swf::Matrix;
using swf::writer::TagStream;

swf::PlaceCommand moveTo(uint16_t depth, double x) {
  swf::PlaceCommand p;
  p.depth = depth;
  p.move = true;
  p.matrix = Matrix::translation(x * kTwips, 0);
  return p;
}

// Frame 1 places a square at depth 1; frame 2 moves it; frame 3 adds one at depth 2;
// frame 4 removes the first.
std::unique_ptr<Player> fourFrames() {
  TagStream tags;
  addShape(tags, 1, rectangleShape(0, 0, 2, 2, solidFill({255, 0, 0, 255})));
  tags.add(swf::TagFrameLabel, swf::writer::frameLabel("start"));
  addPlace(tags, placeNew(1, 1));
  tags.showFrame();
  addPlace(tags, moveTo(1, 5));
  tags.showFrame();
  tags.add(swf::TagFrameLabel, swf::writer::frameLabel("second"));
  addPlace(tags, placeNew(1, 2, Matrix::translation(0, 10 * kTwips)));
  tags.showFrame();
  tags.add(swf::TagRemoveObject2, swf::writer::removeObject2(1));
  tags.showFrame();
  return loadPlayer(tags, 20, 20);
}

std::vector<uint16_t> depths(const Player& p) {
  std::vector<uint16_t> d;
  for (const auto& [depth, object] : p.root().objects()) d.push_back(depth);
  return d;
}

TEST(Timeline, PlacesMovesAndRemovesAcrossFrames) {
  auto p = fourFrames();
  ASSERT_TRUE(p);
  EXPECT_EQ(p->currentFrame(), 0);
  EXPECT_EQ(depths(*p), (std::vector<uint16_t>{1}));
  EXPECT_EQ(draw(*p, 20, 20, kBlack, false).at(0, 0), 0xffff0000u);

  EXPECT_TRUE(p->advance());
  EXPECT_EQ(p->root().objects().at(1).matrix, Matrix::translation(5 * kTwips, 0));
  Pixels moved = draw(*p, 20, 20, kBlack, false);
  EXPECT_EQ(moved.at(0, 0), kBlack);
  EXPECT_EQ(moved.at(5, 0), 0xffff0000u);

  EXPECT_TRUE(p->advance());
  EXPECT_EQ(depths(*p), (std::vector<uint16_t>{1, 2}));
  EXPECT_TRUE(p->advance());
  EXPECT_EQ(depths(*p), (std::vector<uint16_t>{2}));
  EXPECT_EQ(p->currentFrame(), 3);
}

TEST(Timeline, LoopsAndGoingBackRebuildsFromTheFirstFrame) {
  auto p = fourFrames();
  ASSERT_TRUE(p);
  p->gotoFrame(3);
  EXPECT_TRUE(p->advance());  // loops to the first frame
  EXPECT_EQ(p->currentFrame(), 0);
  EXPECT_EQ(depths(*p), (std::vector<uint16_t>{1}));
  EXPECT_EQ(p->root().objects().at(1).matrix, Matrix{});

  p->gotoFrame(2);
  EXPECT_TRUE(p->gotoFrame(1));
  EXPECT_EQ(depths(*p), (std::vector<uint16_t>{1}));
  EXPECT_EQ(p->root().objects().at(1).matrix, Matrix::translation(5 * kTwips, 0));
}

TEST(Timeline, LabelsResolveToFrames) {
  auto p = fourFrames();
  ASSERT_TRUE(p);
  EXPECT_TRUE(p->gotoLabel("second"));
  EXPECT_EQ(p->currentFrame(), 2);
  EXPECT_TRUE(p->gotoLabel("start"));
  EXPECT_EQ(p->currentFrame(), 0);
  EXPECT_FALSE(p->gotoLabel("missing"));
  EXPECT_EQ(p->currentFrame(), 0);
}

TEST(Timeline, AStillMovieReportsNoChange) {
  TagStream tags;
  addShape(tags, 1, rectangleShape(0, 0, 2, 2, solidFill({255, 0, 0, 255})));
  addPlace(tags, placeNew(1, 1));
  tags.showFrame();
  addPlace(tags, moveTo(1, 0));  // a move to where it already is
  tags.showFrame();
  auto p = loadPlayer(tags, 20, 20);
  ASSERT_TRUE(p);
  EXPECT_FALSE(p->advance());
  EXPECT_EQ(p->currentFrame(), 1);
  EXPECT_FALSE(p->advance());  // looping back rebuilds the same picture
  EXPECT_EQ(p->currentFrame(), 0);
}

// A sprite of three frames moving its square, on a root of one frame.
std::unique_ptr<Player> movingSprite() {
  TagStream inner;
  addPlace(inner, placeNew(1, 1));
  inner.showFrame();
  addPlace(inner, moveTo(1, 4));
  inner.showFrame();
  addPlace(inner, moveTo(1, 8));
  inner.showFrame();
  TagStream tags;
  addShape(tags, 1, rectangleShape(0, 0, 2, 2, solidFill({255, 0, 0, 255})));
  tags.add(swf::TagDefineSprite, swf::writer::defineSprite(2, inner));
  addPlace(tags, placeNew(2, 1));
  tags.showFrame();
  return loadPlayer(tags, 20, 20);
}

TEST(Timeline, ASpriteRunsItsOwnFrames) {
  auto p = movingSprite();
  ASSERT_TRUE(p);
  const SpriteInstance* sprite = p->root().objects().at(1).sprite.get();
  ASSERT_TRUE(sprite);
  EXPECT_EQ(sprite->currentFrame(), 0);
  EXPECT_TRUE(p->advance());
  EXPECT_EQ(p->currentFrame(), 0);
  EXPECT_EQ(sprite->currentFrame(), 1);
  EXPECT_EQ(draw(*p, 20, 20, kBlack, false).at(4, 0), 0xffff0000u);
  EXPECT_TRUE(p->advance());
  EXPECT_TRUE(p->advance());
  EXPECT_EQ(sprite->currentFrame(), 0);
  EXPECT_EQ(draw(*p, 20, 20, kBlack, false).at(0, 0), 0xffff0000u);
}

TEST(Timeline, ASpriteLivingOnKeepsPlayingWhenTheRootLoops) {
  TagStream inner;
  for (int i = 0; i < 4; ++i) inner.showFrame();
  TagStream tags;
  tags.add(swf::TagDefineSprite, swf::writer::defineSprite(1, inner));
  addPlace(tags, placeNew(1, 1));
  tags.showFrame();
  tags.showFrame();
  auto p = loadPlayer(tags, 20, 20);
  ASSERT_TRUE(p);
  p->advance();
  p->advance();  // the root loops back to its first frame
  EXPECT_EQ(p->currentFrame(), 0);
  ASSERT_TRUE(p->root().objects().at(1).sprite);
  EXPECT_EQ(p->root().objects().at(1).sprite->currentFrame(), 2);
}

TEST(Timeline, ASpriteThatPlacesItselfStopsNesting) {
  TagStream inner;
  addPlace(inner, placeNew(1, 1));
  inner.showFrame();
  TagStream tags;
  tags.add(swf::TagDefineSprite, swf::writer::defineSprite(1, inner));
  addPlace(tags, placeNew(1, 1));
  tags.showFrame();
  auto p = loadPlayer(tags, 20, 20);
  ASSERT_TRUE(p);
  int levels = 0;
  for (const SpriteInstance* s = &p->root(); s && !s->objects().empty(); s = s->objects().begin()->second.sprite.get())
    ++levels;
  EXPECT_GT(levels, 2);
  EXPECT_LE(levels, 40);
  EXPECT_FALSE(p->advance());
  draw(*p, 20, 20, kBlack);
}

size_t countInstances(const DisplayList& list) {
  size_t n = 0;
  for (const auto& [depth, object] : list) {
    if (object.sprite) n += 1 + countInstances(object.sprite->objects());
    if (object.button) n += 1 + countInstances(object.button->objects());
  }
  return n;
}

TEST(Timeline, ButtonsHoldingThemselvesManyTimesStayBounded) {
  swf::ButtonCharacter button;
  for (uint16_t depth = 1; depth <= 8; ++depth) button.records.push_back({swf::ButtonUp, 1, depth, Matrix{}, {}});
  TagStream tags;
  tags.add(swf::TagDefineButton2, swf::writer::defineButton(1, button, true));
  addPlace(tags, placeNew(1, 1));
  tags.showFrame();
  auto p = loadPlayer(tags, 20, 20);
  ASSERT_TRUE(p);
  size_t instances = countInstances(p->root().objects());
  EXPECT_GT(instances, 1000u);
  EXPECT_LE(instances, PlayContext::kMaxLiveObjects);
  EXPECT_FALSE(p->advance());
}

TEST(Timeline, ButtonRecordsSharingADepthMakeOneObject) {
  swf::ButtonCharacter button;
  for (int i = 0; i < 8; ++i) button.records.push_back({swf::ButtonUp, 1, 1, Matrix{}, {}});
  TagStream tags;
  tags.add(swf::TagDefineButton2, swf::writer::defineButton(1, button, true));
  addPlace(tags, placeNew(1, 1));
  tags.showFrame();
  auto p = loadPlayer(tags, 20, 20);
  ASSERT_TRUE(p);
  // One chain of buttons, each holding the next, down to the nesting limit.
  size_t instances = countInstances(p->root().objects());
  EXPECT_GE(instances, 8u);
  EXPECT_LE(instances, 40u);
}

}  // namespace
}  // namespace tvrl::player::test
