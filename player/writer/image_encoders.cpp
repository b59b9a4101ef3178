// The one translation unit that compiles stb_image_write's code: JPEG and PNG for the
// bitmap tags that carry them.
#define STB_IMAGE_WRITE_IMPLEMENTATION
#define STBI_WRITE_NO_STDIO
#include <stb_image_write.h>

#include "player/writer/tags.h"

namespace tvrl::swf::writer {
namespace {

void append(void* context, void* data, int size) {
  auto* v = static_cast<std::vector<uint8_t>*>(context);
  v->insert(v->end(), static_cast<uint8_t*>(data), static_cast<uint8_t*>(data) + size);
}

}  // namespace

std::vector<uint8_t> encodeJpeg(int width, int height, const std::vector<Rgba>& pixels, int quality) {
  std::vector<uint8_t> rgb;
  rgb.reserve(pixels.size() * 3);
  for (const Rgba& p : pixels) {
    rgb.push_back(p.r);
    rgb.push_back(p.g);
    rgb.push_back(p.b);
  }
  std::vector<uint8_t> out;
  stbi_write_jpg_to_func(append, &out, width, height, 3, rgb.data(), quality);
  return out;
}

std::vector<uint8_t> encodePng(int width, int height, const std::vector<Rgba>& pixels) {
  std::vector<uint8_t> rgba;
  rgba.reserve(pixels.size() * 4);
  for (const Rgba& p : pixels) {
    rgba.push_back(p.r);
    rgba.push_back(p.g);
    rgba.push_back(p.b);
    rgba.push_back(p.a);
  }
  std::vector<uint8_t> out;
  stbi_write_png_to_func(append, &out, width, height, 4, rgba.data(), width * 4);
  return out;
}

}  // namespace tvrl::swf::writer
