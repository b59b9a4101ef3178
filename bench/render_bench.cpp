// Draws the login scene with the engine and with cairo in the same run and prints the
// milliseconds per frame of each and their ratio; then the time and memory to load a
// 1 MB movie. A benchmark, not a test: it prints, it does not judge.
#include <malloc.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <cstdio>
#include <string>
#include <vector>

#include "bench/cairo_scene.h"
#include "bench/login_scene.h"
#include "player/player.h"

namespace {

using Clock = std::chrono::steady_clock;

template <typename Draw>
double timeOnce(Draw& draw) {
  auto start = Clock::now();
  draw();
  return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

double median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v[v.size() / 2];
}

// The two take turns frame by frame, so that a busy machine slows both alike; the
// median frame of each is reported.
template <typename DrawA, typename DrawB>
std::pair<double, double> medianMilliseconds(int frames, DrawA a, DrawB b) {
  a();  // warm caches and lazily built state
  b();
  std::vector<double> ta, tb;
  for (int i = 0; i < frames; ++i) {
    ta.push_back(timeOnce(a));
    tb.push_back(timeOnce(b));
  }
  return {median(ta), median(tb)};
}

}  // namespace

int main(int argc, char** argv) {
  using namespace tvrl;
  int frames = argc > 1 ? std::stoi(argv[1]) : 50;
  bench::LoginScene scene = bench::buildLoginScene();
  std::string error;
  auto player = player::Player::load(scene.movie.data(), scene.movie.size(), error);
  if (!player) {
    std::fprintf(stderr, "the scene did not load: %s\n", error.c_str());
    return 1;
  }
  std::vector<uint32_t> pixels(bench::kWidth * bench::kHeight);
  player::RenderOptions options;
  options.paintBackground = false;
  cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, bench::kWidth, bench::kHeight);
  bench::CairoScene cairoScene(scene);
  auto [engine, cairo] = medianMilliseconds(
      frames, [&] { player->render({pixels.data(), bench::kWidth, bench::kHeight, bench::kWidth}, options); },
      [&] {
        cairo_t* cr = cairo_create(surface);
        cairoScene.draw(cr);
        if (cairo_status(cr) != CAIRO_STATUS_SUCCESS)
          std::fprintf(stderr, "cairo: %s\n", cairo_status_to_string(cairo_status(cr)));
        cairo_destroy(cr);
      });
  // The two pictures should agree; a large difference means the comparison is unfair.
  cairo_surface_flush(surface);
  const uint8_t* theirs = cairo_image_surface_get_data(surface);
  int theirStride = cairo_image_surface_get_stride(surface);
  double totalDifference = 0;
  size_t farOff = 0;
  for (int y = 0; y < bench::kHeight; ++y)
    for (int x = 0; x < bench::kWidth; ++x) {
      uint32_t a = pixels[y * bench::kWidth + x];
      uint32_t b = reinterpret_cast<const uint32_t*>(theirs + y * theirStride)[x];
      int worst = 0;
      for (int shift = 0; shift < 32; shift += 8) {
        int d = std::abs(int(a >> shift & 255) - int(b >> shift & 255));
        totalDifference += d;
        worst = std::max(worst, d);
      }
      farOff += worst > 32;
    }
  cairo_surface_destroy(surface);

  std::printf("login scene %dx%d, anti-aliased, median of %d frames\n", bench::kWidth, bench::kHeight, frames);
  std::printf("  engine: %8.3f ms/frame\n", engine);
  std::printf("  cairo:  %8.3f ms/frame\n", cairo);
  std::printf("  engine/cairo: %.2f (below 1 is faster than cairo)\n", engine / cairo);
  std::printf("  pictures: mean channel difference %.2f, %.2f%% of pixels off by more than 32\n",
              totalDifference / (4.0 * bench::kWidth * bench::kHeight), 100.0 * farOff / (bench::kWidth * bench::kHeight));

  std::vector<uint8_t> large = bench::buildLargeMovie(1 << 20);
  const int loads = 10;
  size_t before = mallinfo2().uordblks;
  auto start = Clock::now();
  size_t heldByMovie = 0;
  for (int i = 0; i < loads; ++i) {
    swf::LoadResult r = swf::loadMovie(large.data(), large.size());
    if (!r.movie) {
      std::fprintf(stderr, "the large movie did not load: %s\n", r.error.c_str());
      return 1;
    }
    heldByMovie = mallinfo2().uordblks - before;
  }
  double loadMs = std::chrono::duration<double, std::milli>(Clock::now() - start).count() / loads;
  std::printf("load of a %.2f MB movie: %.2f ms, %.2f MB held by the loaded movie\n", large.size() / 1048576.0, loadMs,
              heldByMovie / 1048576.0);
  return 0;
}
