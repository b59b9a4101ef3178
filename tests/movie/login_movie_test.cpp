// The default login movie as the launcher plays it: what its first frame tells the
// launcher, how it looks over a transparent window, how its buttons answer the pointer,
// and that its intro ends. Positions and colours are read from the description the movie
// is made from, so the movie is held to what its source says.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <utility>
#include <variant>
#include <vector>

#include "player/player.h"
#include "player/timeline/sprite_instance.h"
#include "tools/movie/login_source.h"

namespace tvrl::movie {
namespace {

using player::Cursor;
using player::Player;
using player::ScaleMode;

constexpr int kWidth = 996, kHeight = 646;

std::string readFile(const char* path) {
  std::ifstream in(path, std::ios::binary);
  EXPECT_TRUE(in) << "cannot read " << path;
  return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

struct Recorder : player::PlayerHost {
  std::vector<std::string> events;
  std::vector<std::string> warnings;
  void fsCommand(const std::string& command, const std::string& args) override {
    events.push_back("fscommand " + command + " " + args);
  }
  void navigate(const std::string& url, const std::string& target) override {
    events.push_back("navigate " + url + " " + target);
  }
  void warning(const std::string& message) override { warnings.push_back(message); }
};

struct Frame {
  std::vector<uint32_t> pixels;  // BGRA premultiplied, as the launcher's window takes them
  uint32_t at(double x, double y) const { return pixels.at(static_cast<size_t>(y) * kWidth + static_cast<size_t>(x)); }
};

int alpha(uint32_t p) { return static_cast<int>(p >> 24); }

// Each colour channel within `tolerance` of an opaque colour.
bool near(uint32_t p, Rgba c, int tolerance) {
  return alpha(p) == 255 && std::abs(int(p >> 16 & 255) - c.r) <= tolerance &&
         std::abs(int(p >> 8 & 255) - c.g) <= tolerance && std::abs(int(p & 255) - c.b) <= tolerance;
}

class LoginMovie : public ::testing::Test {
 protected:
  void SetUp() override {
    source_ = parseLoginSource(readFile(TVRL_LOGIN_SOURCE_PATH));
    bytes_ = readFile(TVRL_LOGIN_MOVIE_PATH);
    std::string error;
    player_ = Player::load(reinterpret_cast<const uint8_t*>(bytes_.data()), bytes_.size(), error, &host_);
    ASSERT_TRUE(player_) << error;
    player_->setViewport(kWidth, kHeight, ScaleMode::ShowAll);
  }

  // Over a clear window, without the movie's background, as the launcher draws it.
  Frame render() const {
    Frame f{std::vector<uint32_t>(static_cast<size_t>(kWidth) * kHeight, 0)};
    player::RenderOptions options;
    options.scaleMode = ScaleMode::ShowAll;
    options.paintBackground = false;
    player_->render({f.pixels.data(), kWidth, kHeight, kWidth}, options);
    return f;
  }

  void playIntro() {
    for (int i = 0; i < source_.frameCount(); ++i) player_->advance();
  }

  const player::DisplayObject* named(const std::string& name) const {
    for (const auto& [depth, object] : player_->root().objects())
      if (object.name == name) return &object;
    return nullptr;
  }

  LoginSource source_;
  std::string bytes_;
  Recorder host_;
  std::unique_ptr<Player> player_;
};

TEST_F(LoginMovie, StageIsTheLaunchersWindow) {
  const swf::Movie& m = player_->movie();
  EXPECT_EQ(m.version, 8);
  EXPECT_EQ(m.frameSize, (swf::Rect{0, kWidth * 20, 0, kHeight * 20}));
  EXPECT_EQ(source_.stage.width, kWidth);
  EXPECT_EQ(source_.stage.height, kHeight);
  EXPECT_NEAR(m.frameRate, 24, 1);
  EXPECT_EQ(player_->frameCount(), source_.frameCount());
}

TEST_F(LoginMovie, FirstFramePlacesTheWebViewThenLoadsTheLoginPage) {
  const Box& b = source_.placeholder().box;
  std::string rect = std::to_string(int(b.x0)) + "," + std::to_string(int(b.y0)) + "," + std::to_string(int(b.width())) +
                     "," + std::to_string(int(b.height()));
  EXPECT_EQ(host_.events, (std::vector<std::string>{"fscommand moveweb " + rect, std::string("fscommand weburl ") + TVRL_LOGIN_URL}));
  EXPECT_TRUE(host_.warnings.empty()) << host_.warnings.front();

  playIntro();
  for (int i = 0; i < 10; ++i) player_->advance();
  EXPECT_EQ(host_.events.size(), 2u) << "only the first frame speaks: " << host_.events.back();
}

TEST_F(LoginMovie, PlaceholderIsNotDrawn) {
  const Placeholder& p = source_.placeholder();
  auto expectHidden = [&](const Frame& f) {
    for (double x : {p.box.x0 + 3, p.box.centerX(), p.box.x1 - 3})
      for (double y : {p.box.y0 + 3, p.box.centerY(), p.box.y1 - 3})
        EXPECT_FALSE(near(f.at(x, y), p.color, 24)) << "the placeholder shows at " << x << "," << y;
  };
  expectHidden(render());
  playIntro();
  expectHidden(render());
}

TEST_F(LoginMovie, FaceIsAnOpaquePanelWithASoftShadowAndClearCorners) {
  playIntro();
  Frame f = render();
  for (int cx : {0, kWidth - 8})
    for (int cy : {0, kHeight - 8})
      for (int y = cy; y < cy + 8; ++y)
        for (int x = cx; x < cx + 8; ++x) ASSERT_EQ(alpha(f.at(x, y)), 0) << "corner pixel " << x << "," << y;

  const Box& panel = source_.panel.box;
  EXPECT_EQ(alpha(f.at(panel.centerX(), panel.centerY())), 255);
  EXPECT_EQ(alpha(f.at(panel.x0 + source_.panel.radius, panel.y1 - source_.panel.radius)), 255);

  ASSERT_TRUE(source_.shadow);
  const double half = source_.shadow->spread / 2;
  for (auto [x, y] : {std::pair{panel.x0 - half, panel.centerY()}, {panel.x1 + half, panel.centerY()},
                      {panel.centerX(), panel.y0 - half}, {panel.centerX(), panel.y1 + half}}) {
    EXPECT_GT(alpha(f.at(x, y)), 0) << "shadow at " << x << "," << y;
    EXPECT_LT(alpha(f.at(x, y)), 255) << "shadow at " << x << "," << y;
  }
  // Darker next to the panel than further out.
  EXPECT_GT(alpha(f.at(panel.x0 - 2, panel.centerY())), alpha(f.at(panel.x0 - source_.shadow->spread + 2, panel.centerY())));
}

// Large texts have strokes wide enough to show their own colour; smaller ones are mostly edges.
TEST_F(LoginMovie, TextsAreDrawnFromTheFontsOutlines) {
  playIntro();
  Frame f = render();
  int checked = 0;
  for (const Element& e : source_.elements) {
    auto* t = std::get_if<TextLine>(&e);
    if (!t || t->size < 20) continue;
    int inked = 0;
    for (double y = t->y - t->size; y < t->y + t->size * 0.25; ++y)
      for (double x = t->x; x < t->x + t->size * t->text.size() && x < kWidth; ++x) inked += near(f.at(x, y), t->color, 16);
    EXPECT_GT(inked, t->size * t->text.size() / 2) << t->name;
    // Nothing of the text's colour above it.
    for (double x = t->x; x < t->x + t->size * t->text.size() && x < kWidth; ++x)
      EXPECT_FALSE(near(f.at(x, t->y - t->size * 1.3), t->color, 16)) << t->name;
    ++checked;
  }
  EXPECT_GE(checked, 2);
}

TEST_F(LoginMovie, ButtonsSendTheirCommandsAndOpenTheirPages) {
  playIntro();
  host_.events.clear();
  std::vector<std::string> heard;
  for (const Button& b : source_.buttons()) {
    SCOPED_TRACE(b.name);
    const double x = b.box.centerX(), y = b.box.centerY();
    const double faceX = b.box.x0 + 3;  // on the face, clear of the label
    const uint32_t idle = render().at(faceX, y);
    player_->mouseMove(x, y);
    EXPECT_EQ(player_->cursor(), Cursor::Hand);
    EXPECT_NE(render().at(faceX, y), idle) << "no change on hover";
    player_->mouseDown(x, y);
    EXPECT_TRUE(host_.events.empty()) << "nothing before the release";
    player_->mouseUp(x, y);
    ASSERT_EQ(host_.events.size(), 1u);
    std::string expected = b.action == Button::Action::FsCommand ? "fscommand " + b.argument + " "
                                                                      : "navigate " + source_.address(b.argument) + " _blank";
    EXPECT_EQ(host_.events[0], expected);
    heard.push_back(host_.events[0]);
    host_.events.clear();
  }
  for (std::string wanted : {std::string("fscommand close "), std::string("fscommand min "),
                             "navigate " + std::string(TVRL_HOME_URL) + " _blank",
                             "navigate " + std::string(TVRL_HELP_URL) + " _blank"})
    EXPECT_NE(std::find(heard.begin(), heard.end(), wanted), heard.end()) << "no button does " << wanted;

  // The panel itself is no button.
  const Box& panel = source_.panel.box;
  const double px = panel.x0 + source_.panel.radius, py = panel.y1 - source_.panel.radius;
  for (const Button& b : source_.buttons()) ASSERT_FALSE(b.box.contains(px, py));
  player_->mouseMove(px, py);
  EXPECT_EQ(player_->cursor(), Cursor::Arrow);
  player_->mouseDown(px, py);
  player_->mouseUp(px, py);
  EXPECT_TRUE(host_.events.empty());
}

TEST_F(LoginMovie, IntroSlidesAndFadesInThenTheMovieStaysStill) {
  ASSERT_FALSE(source_.animations.empty());
  for (const Animation& a : source_.animations) {
    const player::DisplayObject* o = named(a.name);
    ASSERT_TRUE(o) << a.name;
    EXPECT_EQ(o->colorTransform.mulA, 0) << a.name << " starts clear";
  }

  int changes = 0;
  for (int i = 1; i < source_.frameCount(); ++i) changes += player_->advance();
  EXPECT_EQ(player_->currentFrame(), source_.frameCount() - 1);
  EXPECT_GT(changes, source_.frameCount() / 2);

  for (const Animation& a : source_.animations) {
    const player::DisplayObject* o = named(a.name);
    EXPECT_EQ(o->colorTransform.mulA, 256) << a.name << " ends opaque";
    for (const Element& e : source_.elements)
      if (auto* t = std::get_if<TextLine>(&e); t && t->name == a.name) {
        EXPECT_EQ(o->matrix.tx, t->x * 20) << a.name << " ends in its place";
        EXPECT_EQ(o->matrix.ty, t->y * 20) << a.name << " ends in its place";
      }
  }

  const Frame last = render();
  for (int i = 0; i < 48; ++i) ASSERT_FALSE(player_->advance()) << "frame " << i << " after the intro changed something";
  EXPECT_EQ(player_->currentFrame(), source_.frameCount() - 1);
  EXPECT_EQ(render().pixels, last.pixels);
}

}  // namespace
}  // namespace tvrl::movie
