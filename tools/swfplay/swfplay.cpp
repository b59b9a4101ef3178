// swfplay: plays a movie headless for a number of frames and writes a frame as PNG.
//   swfplay MOVIE [--frames N] [--png FILE] [--png-frame K] [--size WxH] [--no-aa]
#define STB_IMAGE_WRITE_IMPLEMENTATION
#include <stb_image_write.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "player/player.h"

namespace {

struct Options {
  std::string movie;
  int frames = 1;
  std::string png;
  int pngFrame = -1;  // -1: the last frame
  int width = 0, height = 0;
  bool antialias = true;
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
    std::fprintf(stderr, "usage: swfplay MOVIE [--frames N] [--png FILE] [--png-frame K] [--size WxH] [--no-aa]\n");
    return 2;
  }
  std::ifstream in(o.movie, std::ios::binary);
  if (!in) {
    std::fprintf(stderr, "swfplay: cannot open %s\n", o.movie.c_str());
    return 1;
  }
  std::vector<uint8_t> data((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  std::string error;
  auto player = tvrl::player::Player::load(data.data(), data.size(), error);
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
  for (int frame = 0; frame < o.frames; ++frame) {
    if (frame > 0) changed += player->advance();
    if (!o.png.empty() && frame == pngFrame && !writePng(*player, o, width, height)) {
      std::fprintf(stderr, "swfplay: cannot write %s\n", o.png.c_str());
      return 1;
    }
  }
  std::printf("%s: version %d, %dx%d, %.2f fps, %d frames; played %d, %d changed\n", o.movie.c_str(),
              player->movie().version, (stage.xMax - stage.xMin) / 20, (stage.yMax - stage.yMin) / 20,
              player->movie().frameRate, player->frameCount(), o.frames, changed);
  return 0;
}
