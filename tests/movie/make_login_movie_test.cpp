// make_login_movie as the build runs it: a description in, a movie out; a bad description
// gives a message naming the line and the problem, a failing exit and no movie.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "player/player.h"
#include "tools/movie/login_source.h"

namespace tvrl::movie {
namespace {

std::string readFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

void writeFile(const std::string& path, const std::string& text) { std::ofstream(path, std::ios::binary) << text; }

bool exists(const std::string& path) { return access(path.c_str(), F_OK) == 0; }

struct ToolRun {
  int exitCode = -1;
  std::string errors;
};

class MakeLoginMovie : public ::testing::Test {
 protected:
  void SetUp() override {
    char pattern[] = "/tmp/make_login_movie_test.XXXXXX";
    ASSERT_TRUE(mkdtemp(pattern));
    dir_ = pattern;
    source_ = dir_ + "/login_movie.txt";
    output_ = dir_ + "/login.swf";
    // The shipped description's font, so the cases need nothing else installed.
    font_ = parseLoginSource(readFile(TVRL_LOGIN_SOURCE_PATH)).font.file;
  }
  void TearDown() override { std::system(("rm -rf '" + dir_ + "'").c_str()); }

  // A small complete description, one statement a line; line numbers are indices + 1.
  std::vector<std::string> description() const {
    return {"stage 200 150 24",
            "font " + font_ + " 0",
            "url login http://example.com/login",
            "url help http://example.com/help",
            "panel 10 10 190 140 8 #336699 #112233 #ffffff40",
            "placeholder web 60 20 180 120 #eeeeee login",
            "buttoncolors #ffb43c #ffcd6b #dc9322 #000000",
            "button help 20 100 50 130 4 12 link help Help",
            "text title 20 40 16 #ffffff Tavrel",
            "animate title 6 -10 0"};
  }

  ToolRun run(const std::vector<std::string>& lines, const std::string& options = "") {
    std::string text;
    for (const std::string& l : lines) text += l + "\n";
    writeFile(source_, text);
    const std::string errors = dir_ + "/errors.txt";
    int status = std::system(
        (std::string(TVRL_MAKE_LOGIN_MOVIE) + " '" + source_ + "' '" + output_ + "' " + options + " 2>'" + errors + "'").c_str());
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, readFile(errors)};
  }

  std::string dir_, source_, output_, font_;
};

TEST_F(MakeLoginMovie, WritesAPlayableMovieWithTheGivenPages) {
  ToolRun r = run(description(), "--url login=http://127.0.0.1/sign-in --url help=http://127.0.0.1/faq");
  ASSERT_EQ(r.exitCode, 0) << r.errors;
  EXPECT_EQ(r.errors, "");
  EXPECT_FALSE(exists(output_ + ".partial"));

  struct Heard : player::PlayerHost {
    std::vector<std::string> events;
    void fsCommand(const std::string& c, const std::string& a) override { events.push_back(c + " " + a); }
    void navigate(const std::string& url, const std::string& target) override { events.push_back(url + " " + target); }
  } host;
  std::string movie = readFile(output_);
  std::string error;
  auto player = player::Player::load(reinterpret_cast<const uint8_t*>(movie.data()), movie.size(), error, &host);
  ASSERT_TRUE(player) << error;
  EXPECT_EQ(player->frameCount(), 6);
  player->mouseMove(35, 115);
  player->mouseDown(35, 115);
  player->mouseUp(35, 115);
  EXPECT_EQ(host.events, (std::vector<std::string>{"moveweb 60,20,120,100", "weburl http://127.0.0.1/sign-in",
                                                   "http://127.0.0.1/faq _blank"}));
}

struct BadCase {
  const char* what;
  int line;              // the line replaced, 1-based; 0 adds one at the end
  std::string with;      // empty: the line is removed
  std::string options;
  std::string message;   // part of what the tool says
};

TEST_F(MakeLoginMovie, BadDescriptionsAreReportedAndWriteNothing) {
  const std::vector<BadCase> cases = {
      {"unknown statement", 0, "wobble 1 2", "", "login_movie.txt:11: unknown statement 'wobble'"},
      {"bad number", 5, "panel 10 10 19O 140 8 #336699 #112233 #ffffff40", "", ":5: x1 must be a number, not '19O'"},
      {"number out of range", 1, "stage 200 150 0", "", ":1: fps must be between 1 and 120, not 0"},
      {"fields missing", 5, "panel 10 10 190 140", "", ":5: panel takes x0 y0 x1 y1 radius top bottom edge (4 fields given)"},
      {"bad colour", 5, "panel 10 10 190 140 8 #336699 #1122 #ffffff40", "", ":5: bottom must be a colour"},
      {"empty box", 6, "placeholder web 60 120 180 20 #eeeeee login", "", ":6: the box is empty"},
      {"placeholder between pixels", 6, "placeholder web 60.5 20 180 120 #eeeeee login", "", ":6: the placeholder's edges must be a whole number"},
      {"missing placeholder", 6, "", "", "no 'placeholder' line"},
      {"missing font file", 2, "font /nonexistent/fonts/none.ttc 0", "", ":2: cannot read font file '/nonexistent/fonts/none.ttc'"},
      {"file that is no font", 2, "font login_movie.txt 0", "", ":2: font file '" + dir_ + "/login_movie.txt': not a TrueType font"},
      {"face beyond the collection", 2, "font " + font_ + " 9", "", ":2: font file '" + font_ + "': the collection has"},
      {"character without a glyph", 9, "text title 20 40 16 #ffffff Tav\xef\xbf\xberel", "", ":9: the font has no glyph for U+FFFE"},
      {"text that is not UTF-8", 9, "text title 20 40 16 #ffffff Tav\xc3rel", "", ":9: the text is not valid UTF-8"},
      {"link to an unnamed page", 8, "button help 20 100 50 130 4 12 link shop Shop", "", ":8: no 'url' line names the page 'shop'"},
      {"button off the stage", 8, "button help 180 100 250 130 4 12 link help Help", "", ":8: the button reaches off the stage"},
      {"name taken twice", 0, "text web 20 40 16 #ffffff x", "", ":11: the name 'web' is taken on line 6"},
      {"animating nothing", 10, "animate nobody 6 -10 0", "", ":10: nothing is named 'nobody'"},
      {"a second stage", 0, "stage 100 100 24", "", ":11: a second 'stage'; the first is on line 1"},
      {"override of an unknown page", 0, "", "--url shop=http://x/", "--url shop: the description has no page of that name"},
  };
  for (const BadCase& c : cases) {
    SCOPED_TRACE(c.what);
    std::vector<std::string> lines = description();
    if (c.line == 0 && !c.with.empty()) lines.push_back(c.with);
    else if (c.line > 0 && c.with.empty()) lines.erase(lines.begin() + c.line - 1);
    else if (c.line > 0) lines[c.line - 1] = c.with;
    ToolRun r = run(lines, c.options);
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_NE(r.errors.find(c.message), std::string::npos) << r.errors;
    EXPECT_FALSE(exists(output_));
    EXPECT_FALSE(exists(output_ + ".partial"));
  }
}

TEST_F(MakeLoginMovie, AFailureLeavesThePreviousMovieAsItWas) {
  writeFile(output_, "the previous movie");
  std::vector<std::string> lines = description();
  lines[1] = "font /nonexistent/fonts/none.ttc 0";
  EXPECT_EQ(run(lines).exitCode, 1);
  EXPECT_EQ(readFile(output_), "the previous movie");
}

TEST_F(MakeLoginMovie, ArgumentsItCannotUseAreRefused) {
  for (const char* options : {"--url", "--colour red", "--url login"}) {
    SCOPED_TRACE(options);
    ToolRun r = run(description(), options);
    EXPECT_NE(r.exitCode, 0);
    EXPECT_FALSE(r.errors.empty());
    EXPECT_FALSE(exists(output_));
  }
}

}  // namespace
}  // namespace tvrl::movie
