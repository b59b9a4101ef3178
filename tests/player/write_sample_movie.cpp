// Writes the every-tag sample movie to a file, for tests of the command-line tools.
#include <cstdio>
#include <fstream>

#include "tests/player/sample_movie.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: write_sample_movie FILE\n");
    return 2;
  }
  std::vector<uint8_t> movie = tvrl::player::test::everyTagMovie(true);
  std::ofstream out(argv[1], std::ios::binary);
  out.write(reinterpret_cast<const char*>(movie.data()), static_cast<std::streamsize>(movie.size()));
  return out ? 0 : 1;
}
