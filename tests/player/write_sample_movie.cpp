// Writes the every-tag sample movie, or with --scripted the scripted one, to a file, for
// tests of the command-line tools.
#include <cstdio>
#include <fstream>

#include <cstring>

#include "tests/player/sample_movie.h"
#include "tests/player/scripted_sample_movie.h"

int main(int argc, char** argv) {
  bool scripted = argc == 3 && std::strcmp(argv[1], "--scripted") == 0;
  if (argc != 2 && !scripted) {
    std::fprintf(stderr, "usage: write_sample_movie [--scripted] FILE\n");
    return 2;
  }
  std::vector<uint8_t> movie =
      scripted ? tvrl::player::test::scriptedSampleMovie(true) : tvrl::player::test::everyTagMovie(true);
  std::ofstream out(argv[argc - 1], std::ios::binary);
  out.write(reinterpret_cast<const char*>(movie.data()), static_cast<std::streamsize>(movie.size()));
  return out ? 0 : 1;
}
