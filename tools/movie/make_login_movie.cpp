// make_login_movie: writes the launcher's login movie from its readable description.
//   make_login_movie SOURCE OUTPUT [--url NAME=ADDRESS]...
// --url replaces the address of a page the description names (CMake passes the login,
// home and help pages this way). A problem is reported with the line it is on, and no
// output is written: the movie goes to a temporary file renamed into place at the end.
#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "tools/movie/login_movie_builder.h"
#include "tools/movie/login_source.h"

namespace {

int usage() {
  std::fprintf(stderr, "usage: make_login_movie SOURCE OUTPUT [--url NAME=ADDRESS]...\n");
  return 2;
}

bool writeAtomically(const std::string& path, const std::vector<uint8_t>& bytes) {
  const std::string partial = path + ".partial";
  {
    std::ofstream out(partial, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    if (!out.flush()) {
      std::remove(partial.c_str());
      return false;
    }
  }
  if (std::rename(partial.c_str(), path.c_str()) != 0) {
    std::remove(partial.c_str());
    return false;
  }
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) return usage();
  const std::string sourcePath = argv[1], outputPath = argv[2];
  std::vector<std::string> overrides;
  for (int i = 3; i < argc; ++i) {
    if (std::string(argv[i]) != "--url" || i + 1 == argc) return usage();
    overrides.push_back(argv[++i]);
  }

  std::ifstream in(sourcePath, std::ios::binary);
  if (!in) {
    std::fprintf(stderr, "make_login_movie: cannot read %s\n", sourcePath.c_str());
    return 1;
  }
  const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  const size_t slash = sourcePath.find_last_of('/');
  const std::string folder = slash == std::string::npos ? "." : sourcePath.substr(0, slash);

  try {
    tvrl::movie::LoginSource source = tvrl::movie::parseLoginSource(text);
    for (const std::string& o : overrides) tvrl::movie::overrideAddress(source, o);
    std::vector<uint8_t> movie = tvrl::movie::buildLoginMovie(source, folder);
    if (!writeAtomically(outputPath, movie)) {
      std::fprintf(stderr, "make_login_movie: cannot write %s\n", outputPath.c_str());
      return 1;
    }
  } catch (const tvrl::movie::LoginSourceError& e) {
    if (e.line() > 0) std::fprintf(stderr, "make_login_movie: %s:%d: %s\n", sourcePath.c_str(), e.line(), e.what());
    else std::fprintf(stderr, "make_login_movie: %s: %s\n", sourcePath.c_str(), e.what());
    return 1;
  } catch (const std::exception& e) {
    std::fprintf(stderr, "make_login_movie: %s\n", e.what());
    return 1;
  }
  return 0;
}
