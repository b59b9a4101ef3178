// Reads the file header, undoes the zlib compression and walks the tags, handing each
// to its reader. A tag is read from its own bounded slice, so a tag that lies about its
// content can never make a reader run into the next one.
#include <cstring>

#include "player/swf/bitmap_reader.h"
#include "player/swf/button_reader.h"
#include "player/swf/control_tags.h"
#include "player/swf/inflate.h"
#include "player/swf/limits.h"
#include "player/swf/morph_reader.h"
#include "player/swf/movie.h"
#include "player/swf/shape_reader.h"
#include "player/swf/tag_codes.h"
#include "player/swf/text_reader.h"

namespace tvrl::swf {
namespace {

class Loader {
 public:
  explicit Loader(Movie& movie) : movie_(movie) {}

  void readTags(ByteReader& in, Timeline& timeline, bool insideSprite) {
    std::vector<FrameCommand> frame;
    bool frameHasContent = false;
    while (in.remaining() >= 2) {
      uint16_t head = in.u16();
      uint16_t code = head >> 6;
      size_t length = head & 0x3f;
      if (length == 0x3f) length = in.u32();
      if (in.failed()) break;
      if (length > in.remaining()) {
        warn(code, "length runs past the end of the file");
        length = in.remaining();
      }
      ByteReader body(in.current(), length);
      in.skip(length);
      if (code == TagEnd) break;
      if (code == TagShowFrame) {
        if (static_cast<int>(timeline.frames.size()) < kMaxFrames) timeline.frames.push_back(std::move(frame));
        frame.clear();
        frameHasContent = false;
        continue;
      }
      frameHasContent = true;
      // Sprites hold control tags only; definitions inside one are ignored.
      bool ok = isControlTag(code) ? readControlTag(code, body, timeline, frame)
                                   : insideSprite || readDefinitionTag(code, body);
      if (!ok) warn(code, "malformed, skipped");
    }
    // Tags after the last ShowFrame still make a frame, as Flash plays them.
    if ((frameHasContent || timeline.frames.empty()) && static_cast<int>(timeline.frames.size()) < kMaxFrames)
      timeline.frames.push_back(std::move(frame));
  }

 private:
  bool readControlTag(uint16_t code, ByteReader& body, Timeline& timeline, std::vector<FrameCommand>& frame) {
    FrameCommand command;
    bool ok = true;
    switch (code) {
      case TagPlaceObject: ok = readPlaceObject(body, command); break;
      case TagPlaceObject2: ok = readPlaceObject2(body, false, command, movie_.version); break;
      case TagPlaceObject3: ok = readPlaceObject2(body, true, command, movie_.version); break;
      case TagRemoveObject: ok = readRemoveObject(body, false, command); break;
      case TagRemoveObject2: ok = readRemoveObject(body, true, command); break;
      case TagDoAction: {
        int at = static_cast<int>(timeline.frames.size());
        timeline.actions[at].emplace_back(body.current(), body.current() + body.remaining());
        return true;
      }
      case TagDoInitAction: {
        uint16_t spriteId = body.u16();
        if (body.failed()) return false;
        int at = static_cast<int>(timeline.frames.size());
        timeline.initActions[at].emplace_back(spriteId, std::vector<uint8_t>(body.current(), body.current() + body.remaining()));
        return true;
      }
      case TagFrameLabel: {
        std::string label = body.cString();
        if (body.failed()) return false;
        timeline.labels.emplace(label, static_cast<int>(timeline.frames.size()));
        return true;
      }
      default: return false;
    }
    if (ok) frame.push_back(std::move(command));
    return ok;
  }

  static bool isControlTag(uint16_t code) {
    return code == TagPlaceObject || code == TagPlaceObject2 || code == TagPlaceObject3 ||
           code == TagRemoveObject || code == TagRemoveObject2 || code == TagFrameLabel || code == TagDoAction ||
           code == TagDoInitAction;
  }

  bool readDefinitionTag(uint16_t code, ByteReader& body) {
    switch (code) {
      case TagSetBackgroundColor: {
        Rgba c = body.rgb();
        if (body.failed()) return false;
        movie_.background = c;
        return true;
      }
      case TagFileAttributes: movie_.fileAttributes = body.u32(); return !body.failed();
      case TagJpegTables: jpegTables_.assign(body.current(), body.current() + body.remaining()); return true;
      case TagExportAssets: {
        unsigned count = body.u16();
        for (unsigned i = 0; i < count && !body.failed(); ++i) {
          uint16_t id = body.u16();
          std::string name = body.cString();
          if (!body.failed()) movie_.exports.emplace(name, id);
        }
        return !body.failed();
      }
      case TagDefineShape: return define<ShapeCharacter>(body, [](ByteReader& in, ShapeCharacter& c) { return readShape(in, 1, c.shape); });
      case TagDefineShape2: return define<ShapeCharacter>(body, [](ByteReader& in, ShapeCharacter& c) { return readShape(in, 2, c.shape); });
      case TagDefineShape3: return define<ShapeCharacter>(body, [](ByteReader& in, ShapeCharacter& c) { return readShape(in, 3, c.shape); });
      case TagDefineShape4: return define<ShapeCharacter>(body, [](ByteReader& in, ShapeCharacter& c) { return readShape(in, 4, c.shape); });
      case TagDefineMorphShape: return define<MorphShapeCharacter>(body, [](ByteReader& in, MorphShapeCharacter& c) { return readMorphShape(in, false, c); });
      case TagDefineMorphShape2: return define<MorphShapeCharacter>(body, [](ByteReader& in, MorphShapeCharacter& c) { return readMorphShape(in, true, c); });
      case TagDefineBitsLossless: return define<BitmapCharacter>(body, [](ByteReader& in, BitmapCharacter& c) { return readLosslessBitmap(in, false, c); });
      case TagDefineBitsLossless2: return define<BitmapCharacter>(body, [](ByteReader& in, BitmapCharacter& c) { return readLosslessBitmap(in, true, c); });
      case TagDefineBits:
        return define<BitmapCharacter>(body, [this](ByteReader& in, BitmapCharacter& c) {
          return decodeJpegBitmap(in.current(), in.remaining(), jpegTables_, nullptr, 0, c);
        });
      case TagDefineBitsJpeg2:
        return define<BitmapCharacter>(body, [](ByteReader& in, BitmapCharacter& c) {
          return decodeJpegBitmap(in.current(), in.remaining(), {}, nullptr, 0, c);
        });
      case TagDefineBitsJpeg3:
        return define<BitmapCharacter>(body, [](ByteReader& in, BitmapCharacter& c) {
          uint32_t jpegSize = in.u32();
          const uint8_t* jpeg = in.bytes(jpegSize);
          if (!jpeg) return false;
          return decodeJpegBitmap(jpeg, jpegSize, {}, in.current(), in.remaining(), c);
        });
      case TagDefineFont: return define<FontCharacter>(body, [](ByteReader& in, FontCharacter& c) { return readFont(in, 1, c); });
      case TagDefineFont2: return define<FontCharacter>(body, [](ByteReader& in, FontCharacter& c) { return readFont(in, 2, c); });
      case TagDefineFont3: return define<FontCharacter>(body, [](ByteReader& in, FontCharacter& c) { return readFont(in, 3, c); });
      case TagDefineFontInfo:
      case TagDefineFontInfo2: {
        auto* font = existing<FontCharacter>(body.u16(), CharacterKind::Font);
        return font && readFontInfo(body, code == TagDefineFontInfo2, *font);
      }
      case TagDefineText: return define<TextCharacter>(body, [](ByteReader& in, TextCharacter& c) { return readText(in, 1, c); });
      case TagDefineText2: return define<TextCharacter>(body, [](ByteReader& in, TextCharacter& c) { return readText(in, 2, c); });
      case TagDefineEditText: return define<EditTextCharacter>(body, [](ByteReader& in, EditTextCharacter& c) { return readEditText(in, c); });
      case TagDefineButton: return define<ButtonCharacter>(body, [](ByteReader& in, ButtonCharacter& c) { return readButton(in, false, c); });
      case TagDefineButton2: return define<ButtonCharacter>(body, [](ByteReader& in, ButtonCharacter& c) { return readButton(in, true, c); });
      case TagDefineButtonCxform: {
        auto* button = existing<ButtonCharacter>(body.u16(), CharacterKind::Button);
        return button && readButtonColorTransform(body, *button);
      }
      case TagDefineSprite:
        return define<SpriteCharacter>(body, [this](ByteReader& in, SpriteCharacter& c) {
          in.u16();  // the declared frame count; the ShowFrame tags are what count
          if (in.failed()) return false;
          readTags(in, c.timeline, true);
          return true;
        });
      default: return true;  // sound, scripts, metadata and anything unknown
    }
  }

  template <typename T, typename Read>
  bool define(ByteReader& body, Read read) {
    uint16_t id = body.u16();
    if (body.failed()) return false;
    auto c = std::make_unique<T>();
    if (!read(body, *c)) return false;
    // A second definition of an id is ignored, as Flash does.
    movie_.dictionary.emplace(id, std::move(c));
    return true;
  }

  template <typename T>
  T* existing(uint16_t id, CharacterKind kind) {
    auto it = movie_.dictionary.find(id);
    if (it == movie_.dictionary.end() || it->second->kind != kind) return nullptr;
    return static_cast<T*>(it->second.get());
  }

  void warn(uint16_t code, const char* what) {
    if (movie_.warnings.size() < kMaxWarnings)
      movie_.warnings.push_back("tag " + std::to_string(code) + ": " + what);
  }

  Movie& movie_;
  std::vector<uint8_t> jpegTables_;
};

}  // namespace

LoadResult loadMovie(const uint8_t* data, size_t size) {
  LoadResult result;
  if (size < 8) {
    result.error = "file is too short to be a SWF movie";
    return result;
  }
  bool compressed = data[0] == 'C';
  if ((data[0] != 'F' && data[0] != 'C') || data[1] != 'W' || data[2] != 'S') {
    result.error = data[0] == 'Z' && data[1] == 'W' && data[2] == 'S'
                       ? "LZMA-compressed movies are not supported"
                       : "not a SWF movie (bad signature)";
    return result;
  }
  uint32_t declaredLength = data[4] | data[5] << 8 | data[6] << 16 | static_cast<uint32_t>(data[7]) << 24;
  if (declaredLength > kMaxMovieBytes) {
    result.error = "movie is too large";
    return result;
  }
  std::vector<uint8_t> inflated;
  const uint8_t* body = data + 8;
  size_t bodySize = size - 8;
  if (compressed) {
    size_t expected = declaredLength > 8 ? declaredLength - 8 : 0;
    switch (inflateBounded(data + 8, size - 8, expected, inflated)) {
      case InflateStatus::Complete: break;
      case InflateStatus::Truncated: result.error = "compressed data ends early"; return result;
      case InflateStatus::Corrupt: result.error = "compressed data is corrupt"; return result;
      case InflateStatus::TooLarge: result.error = "compressed data is longer than the header says"; return result;
    }
    body = inflated.data();
    bodySize = inflated.size();
  }

  auto movie = std::make_unique<Movie>();
  movie->version = data[3];
  movie->compressed = compressed;
  ByteReader in(body, bodySize);
  movie->frameSize = in.rect();
  movie->frameRate = in.u16() / 256.0;
  movie->declaredFrameCount = in.u16();
  if (in.failed()) {
    result.error = "file ends inside its header";
    return result;
  }
  Loader loader(*movie);
  loader.readTags(in, movie->root, false);
  result.movie = std::move(movie);
  return result;
}

}  // namespace tvrl::swf
