// swfplay: plays a movie headless for a number of frames and writes a frame as PNG.
//   swfplay MOVIE [--frames N] [--png FILE] [--png-frame K] [--size WxH] [--no-aa]
//                 [--trace] [--events] [--input FILE]
// --trace prints the movie's trace lines on standard output, one per line, and moves the
// summary to standard error; --events prints the host calls on standard error as
// `FSCommand COMMAND "ARGS"` and `Navigate URL "TARGET"`; --input plays the timed
// events of FILE (see input_script.h). The clock advances one frame period per frame.
#define STB_IMAGE_WRITE_IMPLEMENTATION
#include <stb_image_write.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "input_script.h"
#include "player/player.h"

namespace {

struct Options {
  std::string movie;
  int frames = 1;
  std::string png;
  int pngFrame = -1;  // -1: the last frame
  int width = 0, height = 0;
  bool antialias = true;
  bool trace = false;
  bool events = false;
  std::string input;
};

// Prints what the movie asks of its host, as the options ask.
class ConsoleHost : public tvrl::player::PlayerHost {
 public:
  explicit ConsoleHost(const Options& o) : options_(o) {}
  void trace(const std::string& line) override {
    if (options_.trace) std::printf("%s\n", line.c_str());
  }
  void fsCommand(const std::string& command, const std::string& args) override {
    if (options_.events) std::fprintf(stderr, "FSCommand %s \"%s\"\n", command.c_str(), args.c_str());
  }
  void navigate(const std::string& url, const std::string& target) override {
    if (options_.events) std::fprintf(stderr, "Navigate %s \"%s\"\n", url.c_str(), target.c_str());
  }
  void warning(const std::string& message) override { std::fprintf(stderr, "swfplay: script: %s\n", message.c_str()); }

 private:
  const Options& options_;
};

bool parseInt(const char* text, int& out) {
  char* end = nullptr;
  long v = std::strtol(text, &end, 10);
  if (!*text || *end || v < 0 || v > 1000000) return false;
  out = static_cast<int>(v);
  return true;
}

bool parse(int argc, char** argv, Options& o) {
  for (int i = 1; i < argc; ++i) {
    std::string a = argv[i];
    bool hasValue = i + 1 < argc;
    if (a == "--frames" && hasValue) {
      if (!parseInt(argv[++i], o.frames)) return false;
    } else if (a == "--png" && hasValue) {
      o.png = argv[++i];
    } else if (a == "--png-frame" && hasValue) {
      if (!parseInt(argv[++i], o.pngFrame)) return false;
    } else if (a == "--size" && hasValue) {
      if (std::sscanf(argv[++i], "%dx%d", &o.width, &o.height) != 2 || o.width <= 0 || o.height <= 0 ||
          o.width > 16384 || o.height > 16384)
        return false;
    } else if (a == "--no-aa") {
      o.antialias = false;
    } else if (a == "--trace") {
      o.trace = true;
    } else if (a == "--events") {
      o.events = true;
    } else if (a == "--input" && hasValue) {
      o.input = argv[++i];
    } else if (a.rfind("--", 0) == 0 || !o.movie.empty()) {
      return false;
    } else {
      o.movie = a;
    }
  }
  // A frame to write must be one that is played.
  return !o.movie.empty() && o.frames > 0 && (o.pngFrame < 0 || o.pngFrame < o.frames);
}

bool writePng(tvrl::player::Player& player, const Options& o, int width, int height) {
  std::vector<uint32_t> pixels(static_cast<size_t>(width) * height, 0xffffffff);
  tvrl::player::RenderOptions options;
  options.antialias = o.antialias;
  player.render({pixels.data(), width, height, width}, options);
  std::vector<uint8_t> rgba(pixels.size() * 4);
  for (size_t i = 0; i < pixels.size(); ++i) {
    uint32_t p = pixels[i];
    uint32_t a = p >> 24;
    auto straight = [a](uint32_t c) { return static_cast<uint8_t>(a ? std::min<uint32_t>(255, (c * 255 + a / 2) / a) : 0); };
    rgba[4 * i + 0] = straight(p >> 16 & 255);
    rgba[4 * i + 1] = straight(p >> 8 & 255);
    rgba[4 * i + 2] = straight(p & 255);
    rgba[4 * i + 3] = static_cast<uint8_t>(a);
  }
  return stbi_write_png(o.png.c_str(), width, height, 4, rgba.data(), width * 4) != 0;
}

}  // namespace

int main(int argc, char** argv) {
  Options o;
  if (!parse(argc, argv, o)) {
    std::fprintf(stderr,
                 "usage: swfplay MOVIE [--frames N] [--png FILE] [--png-frame K] [--size WxH] [--no-aa]\n"
                 "               [--trace] [--events] [--input FILE]\n");
    return 2;
  }
  std::ifstream in(o.movie, std::ios::binary);
  if (!in) {
    std::fprintf(stderr, "swfplay: cannot open %s\n", o.movie.c_str());
    return 1;
  }
  std::vector<uint8_t> data((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  std::vector<swfplay::InputEvent> events;
  if (!o.input.empty()) {
    std::ifstream file(o.input);
    std::string text((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>()), error;
    if (!file || !swfplay::parseInputScript(text, events, error)) {
      std::fprintf(stderr, "swfplay: %s: %s\n", o.input.c_str(), file ? error.c_str() : "cannot open");
      return 1;
    }
  }
  std::string error;
  ConsoleHost host(o);
  auto player = tvrl::player::Player::load(data.data(), data.size(), error, &host);
  if (!player) {
    std::fprintf(stderr, "swfplay: %s: %s\n", o.movie.c_str(), error.c_str());
    return 1;
  }
  for (const std::string& w : player->movie().warnings) std::fprintf(stderr, "swfplay: warning: %s\n", w.c_str());

  const tvrl::swf::Rect& stage = player->movie().frameSize;
  int width = o.width ? o.width : std::max(1, (stage.xMax - stage.xMin) / 20);
  int height = o.height ? o.height : std::max(1, (stage.yMax - stage.yMin) / 20);
  int pngFrame = o.pngFrame >= 0 ? o.pngFrame : std::max(0, o.frames - 1);
  int changed = 0;
  double period = player->movie().frameRate > 0 ? 1000 / player->movie().frameRate : 1000.0 / 12;
  size_t nextEvent = 0;
  for (int frame = 0; frame < o.frames; ++frame) {
    double now = frame * period;
    if (frame > 0) player->setClock(now);
    // The events up to a frame's time arrive before it advances; only frames count as changes.
    for (; nextEvent < events.size() && events[nextEvent].timeMs <= now; ++nextEvent) {
      const swfplay::InputEvent& e = events[nextEvent];
      using Kind = swfplay::InputEvent::Kind;
      switch (e.kind) {
        case Kind::Move: player->mouseMove(e.x, e.y); break;
        case Kind::Down: player->mouseDown(e.x, e.y); break;
        case Kind::Up: player->mouseUp(e.x, e.y); break;
        case Kind::Leave: player->mouseLeave(); break;
        case Kind::KeyDown: player->keyDown(e.keyCode); break;
        case Kind::KeyUp: player->keyUp(e.keyCode); break;
        case Kind::Key:
          player->keyDown(e.keyCode);
          player->keyUp(e.keyCode);
          break;
      }
    }
    if (frame > 0) changed += player->advance();
    if (!o.png.empty() && frame == pngFrame && !writePng(*player, o, width, height)) {
      std::fprintf(stderr, "swfplay: cannot write %s\n", o.png.c_str());
      return 1;
    }
  }
  std::fprintf(o.trace ? stderr : stdout, "%s: version %d, %dx%d, %.2f fps, %d frames; played %d, %d changed\n", o.movie.c_str(),
              player->movie().version, (stage.xMax - stage.xMin) / 20, (stage.yMax - stage.yMin) / 20,
              player->movie().frameRate, player->frameCount(), o.frames, changed);
  return 0;
}
