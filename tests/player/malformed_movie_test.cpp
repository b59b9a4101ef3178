// Malformed files give a clear load error or a skipped tag, never a crash.
#include <gtest/gtest.h>

#include <random>

#include "player/swf/movie.h"
#include "player/swf/tag_codes.h"
#include "player/writer/byte_writer.h"
#include "player/writer/shape_writer.h"
#include "player/writer/tag_stream.h"
#include "player/writer/tags.h"

namespace tvrl::swf {
namespace {

using writer::ByteWriter;
using writer::TagStream;

std::vector<uint8_t> bytes(std::initializer_list<int> v) { return std::vector<uint8_t>(v.begin(), v.end()); }

std::vector<uint8_t> movieWith(const TagStream& tags, bool compressed = false) {
  writer::MovieHeader h;
  h.compressed = compressed;
  return writer::writeMovie(h, tags);
}

std::vector<uint8_t> movieWithTag(uint16_t code, const std::vector<uint8_t>& body) {
  TagStream tags;
  tags.add(code, body);
  tags.showFrame();
  return movieWith(tags);
}

std::vector<uint8_t> withLength(std::vector<uint8_t> file, uint32_t length) {
  for (int i = 0; i < 4; ++i) file[4 + i] = uint8_t(length >> (8 * i));
  return file;
}

std::vector<uint8_t> corruptCompressed() {
  std::vector<uint8_t> f = movieWith(TagStream{}, true);
  for (size_t i = 10; i < f.size(); ++i) f[i] ^= 0x5a;
  return f;
}

std::vector<uint8_t> truncatedCompressed() {
  TagStream tags;
  tags.add(TagDefineShape, writer::defineShape(1, Shape{}, 1));
  std::vector<uint8_t> f = movieWith(tags, true);
  f.resize(f.size() - 6);
  return f;
}

std::vector<uint8_t> absurdStyleCount() {
  ByteWriter b;
  b.u16(1);
  b.rect({0, 20, 0, 20});
  b.u8(0xff);
  b.u16(0xffff);  // more fill styles than the tag holds
  b.u8(0);
  return movieWithTag(TagDefineShape3, b.data());
}

std::vector<uint8_t> hugeBitmap() {
  ByteWriter b;
  b.u16(1);
  b.u8(5);
  b.u16(0xffff);
  b.u16(0xffff);
  b.bytes(bytes({0x78, 0x9c, 0x03, 0x00, 0x00, 0x00, 0x00, 0x01}));
  return movieWithTag(TagDefineBitsLossless, b.data());
}

std::vector<uint8_t> lyingGlyphCount() {
  ByteWriter b;
  b.u16(1);
  b.u8(0x08);
  b.u8(0);
  b.u8(0);
  b.u16(60000);  // glyphs whose offsets are not there
  b.u32(8);
  return movieWithTag(TagDefineFont2, b.data());
}

std::vector<uint8_t> tagRunningPastTheEnd() {
  std::vector<uint8_t> f = movieWithTag(TagDefineShape, writer::defineShape(1, Shape{}, 1));
  f.resize(f.size() - 2);  // the End tag
  ByteWriter tail;
  tail.u16(TagDefineShape << 6 | 0x3f);
  tail.u32(1000000);
  tail.u16(2);
  f.insert(f.end(), tail.data().begin(), tail.data().end());
  return withLength(f, uint32_t(f.size()));
}

std::vector<uint8_t> badJpeg() { return movieWithTag(TagDefineBitsJpeg2, bytes({2, 0, 0xff, 0xd8, 0xff, 0xc0, 0, 3})); }

// A Huffman table claiming 16 * 255 symbols, more than any table can hold.
std::vector<uint8_t> oversizedHuffmanTable() {
  ByteWriter b;
  b.u16(2);
  b.bytes(bytes({0xff, 0xd8, 0xff, 0xc4, 0x00, 0x13, 0x00}));
  for (int i = 0; i < 16; ++i) b.u8(0xff);
  b.bytes(bytes({0xff, 0xd9}));
  return movieWithTag(TagDefineBitsJpeg2, b.data());
}

std::vector<uint8_t> badZlibInBitmap() {
  return movieWithTag(TagDefineBitsLossless, bytes({1, 0, 5, 2, 0, 2, 0, 0x78, 0x9c, 0xff, 0xff, 0xff}));
}

std::vector<uint8_t> unknownFillType() {
  ByteWriter b;
  b.u16(1);
  b.rect({0, 20, 0, 20});
  b.u8(1);
  b.u8(0x77);
  return movieWithTag(TagDefineShape, b.data());
}

struct MalformedCase {
  const char* name;
  std::vector<uint8_t> (*file)();
  const char* error;       // expected load error, or null when the movie loads
  uint16_t missingCharacter;  // when it loads: a definition that must have been skipped
};

std::ostream& operator<<(std::ostream& os, const MalformedCase& c) { return os << c.name; }

class MalformedMovie : public ::testing::TestWithParam<MalformedCase> {};

TEST_P(MalformedMovie, GivesAClearErrorOrSkipsTheTag) {
  std::vector<uint8_t> f = GetParam().file();
  LoadResult r = loadMovie(f.data(), f.size());
  if (GetParam().error) {
    EXPECT_FALSE(r.movie);
    EXPECT_EQ(r.error, GetParam().error);
  } else {
    ASSERT_TRUE(r.movie) << r.error;
    EXPECT_FALSE(r.movie->warnings.empty());
    EXPECT_EQ(r.movie->character(GetParam().missingCharacter), nullptr);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Table, MalformedMovie,
    ::testing::Values(
        MalformedCase{"Empty", [] { return std::vector<uint8_t>{}; }, "file is too short to be a SWF movie", 0},
        MalformedCase{"NotSwf", [] { return bytes({'G', 'I', 'F', '8', '9', 'a', 0, 0, 0, 0}); }, "not a SWF movie (bad signature)", 0},
        MalformedCase{"Lzma", [] { return bytes({'Z', 'W', 'S', 13, 20, 0, 0, 0, 0}); }, "LZMA-compressed movies are not supported", 0},
        MalformedCase{"HeaderCutShort", [] { return bytes({'F', 'W', 'S', 8, 12, 0, 0, 0, 0x78, 0}); }, "file ends inside its header", 0},
        MalformedCase{"AbsurdLength", [] { return withLength(movieWith(TagStream{}, true), 0xfffffff0u); }, "movie is too large", 0},
        MalformedCase{"CorruptZlib", corruptCompressed, "compressed data is corrupt", 0},
        MalformedCase{"TruncatedZlib", truncatedCompressed, "compressed data ends early", 0},
        MalformedCase{"ZlibLongerThanHeader", [] { return withLength(movieWith(TagStream{}, true), 12); }, "compressed data is longer than the header says", 0},
        MalformedCase{"AbsurdStyleCount", absurdStyleCount, nullptr, 1},
        MalformedCase{"HugeBitmap", hugeBitmap, nullptr, 1},
        MalformedCase{"BadZlibInBitmap", badZlibInBitmap, nullptr, 1},
        MalformedCase{"BadJpeg", badJpeg, nullptr, 2},
        MalformedCase{"OversizedHuffmanTable", oversizedHuffmanTable, nullptr, 2},
        MalformedCase{"LyingGlyphCount", lyingGlyphCount, nullptr, 1},
        MalformedCase{"TagRunsPastTheEnd", tagRunningPastTheEnd, nullptr, 2},
        MalformedCase{"UnknownFillType", unknownFillType, nullptr, 1}),
    [](const ::testing::TestParamInfo<MalformedCase>& info) { return std::string(info.param.name); });

TEST(MalformedMovie, UnknownTagsAreSkippedByLength) {
  TagStream tags;
  tags.add(777, bytes({1, 2, 3, 4, 5}));
  tags.add(TagDefineShape, writer::defineShape(1, Shape{}, 1));
  tags.showFrame();
  std::vector<uint8_t> f = movieWith(tags);
  LoadResult r = loadMovie(f.data(), f.size());
  ASSERT_TRUE(r.movie);
  EXPECT_TRUE(r.movie->warnings.empty());
  EXPECT_NE(r.movie->character(1), nullptr);
}

TEST(MalformedMovie, DefinitionsInsideASpriteAreIgnored) {
  TagStream inner;
  inner.add(TagDefineShape, writer::defineShape(5, Shape{}, 1));
  inner.showFrame();
  TagStream tags;
  tags.add(TagDefineSprite, writer::defineSprite(1, inner));
  std::vector<uint8_t> f = movieWith(tags);
  LoadResult r = loadMovie(f.data(), f.size());
  ASSERT_TRUE(r.movie);
  EXPECT_NE(r.movie->character(1), nullptr);
  EXPECT_EQ(r.movie->character(5), nullptr);
}

}  // namespace
}  // namespace tvrl::swf
