#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "graphics/BitmapFile.h"
#include "support/Bytes.h"

namespace dovetail {
namespace {

using testing::Bytes;
using testing::WithU16;
using testing::WithU32;

// What a fixture file says about itself; BuildBmp lays it out as a file.
struct BmpLayout {
  int32_t width = 0;
  int32_t height = 0;  // negative: top-down rows
  uint16_t bitCount = 24;
  uint32_t compression = kBiRgb;
  uint32_t infoSize = 40;       // 12, 40, 108 or 124
  std::vector<uint32_t> masks;  // after a 40-byte header, or inside a larger one
  std::vector<Pixel> palette;   // written as stored: B, G, R (, 0)
  uint32_t colorsUsed = 0;
  std::string pixels;  // the pixel data as stored
};

std::string BuildBmp(const BmpLayout& layout) {
  Bytes info;
  if (layout.infoSize == 12) {
    info.U32(12).U16(layout.width).U16(layout.height).U16(1).U16(layout.bitCount);
  } else {
    info.U32(layout.infoSize)
        .U32(static_cast<uint32_t>(layout.width))
        .U32(static_cast<uint32_t>(layout.height))
        .U16(1)
        .U16(layout.bitCount)
        .U32(layout.compression)
        .U32(static_cast<uint32_t>(layout.pixels.size()))
        .U32(2835)
        .U32(2835)
        .U32(layout.colorsUsed)
        .U32(0);
    if (layout.infoSize > 40) {
      for (size_t i = 0; i < 4; ++i) {
        info.U32(i < layout.masks.size() ? layout.masks[i] : 0);
      }
      while (info.Text().size() < layout.infoSize)
        info.U8(0);
    } else {
      for (uint32_t mask : layout.masks) {
        info.U32(mask);
      }
    }
  }
  for (Pixel p : layout.palette) {
    info.U8(BlueOf(p)).U8(GreenOf(p)).U8(RedOf(p));
    if (layout.infoSize != 12) info.U8(0);
  }
  const uint32_t offset = 14 + static_cast<uint32_t>(info.Text().size());
  Bytes file;
  file.Raw("BM").U32(offset + static_cast<uint32_t>(layout.pixels.size())).U32(0).U32(offset);
  return file.Raw(info.Text()).Raw(layout.pixels).Text();
}

// Stores rows of values (top row first) at `bits` per pixel, each row padded
// to 4 bytes, bottom row first unless `topDown`. Values are palette indices up
// to 8 bits, 16-bit words, 0xRRGGBB for 24 bits, 32-bit words for 32 bits.
std::string PackRows(const std::vector<std::vector<uint32_t>>& rows, int bits,
                     bool topDown = false) {
  std::string out;
  for (size_t i = 0; i < rows.size(); ++i) {
    const auto& row = rows[topDown ? i : rows.size() - 1 - i];
    std::string packed;
    if (bits <= 8) {
      packed.assign((row.size() * bits + 7) / 8, '\0');
      for (size_t x = 0; x < row.size(); ++x) {
        const size_t bit = x * bits;
        packed[bit / 8] = static_cast<char>(packed[bit / 8] | (row[x] << (8 - bits - bit % 8)));
      }
    } else {
      Bytes b;
      for (uint32_t v : row) {
        if (bits == 16) b.U16(v);
        if (bits == 24) b.U8(BlueOf(v)).U8(GreenOf(v)).U8(RedOf(v));
        if (bits == 32) b.U32(v);
      }
      packed = b.Text();
    }
    packed.resize((packed.size() + 3) / 4 * 4, '\0');
    out += packed;
  }
  return out;
}

std::vector<Pixel> TestPalette(size_t count) {
  std::vector<Pixel> palette;
  for (uint32_t i = 0; i < count; ++i) {
    palette.push_back(Rgb(i * 37 + 5, i * 91 + 1, 250 - i * 13));
  }
  return palette;
}

// A width × height picture of palette indices below `colours`.
std::vector<std::vector<uint32_t>> IndexRows(int32_t width, int32_t height, uint32_t colours) {
  std::vector<std::vector<uint32_t>> rows(height, std::vector<uint32_t>(width));
  for (int32_t y = 0; y < height; ++y) {
    for (int32_t x = 0; x < width; ++x) {
      rows[y][x] = (x * 7 + y * 3 + x * y) % colours;
    }
  }
  return rows;
}

Surface FromRows(const std::vector<std::vector<uint32_t>>& rows,
                 const std::vector<Pixel>& palette) {
  Surface s(static_cast<int32_t>(rows[0].size()), static_cast<int32_t>(rows.size()));
  for (int32_t y = 0; y < s.Height(); ++y) {
    for (int32_t x = 0; x < s.Width(); ++x) {
      const uint32_t v = rows[y][x];
      s.Set(x, y, palette.empty() ? v : (v < palette.size() ? palette[v] : kBlack));
    }
  }
  return s;
}

struct DecodeCase {
  std::string what;
  std::string bytes;
  Surface expected;
};

DecodeCase PaletteCase(const std::string& what, int32_t width, int32_t height, uint16_t bits,
                       uint32_t colours, uint32_t infoSize = 40, bool topDown = false) {
  const auto rows = IndexRows(width, height, colours);
  BmpLayout layout;
  layout.width = width;
  layout.height = topDown ? -height : height;
  layout.bitCount = bits;
  layout.infoSize = infoSize;
  layout.palette = TestPalette(colours);
  layout.pixels = PackRows(rows, bits, topDown);
  return {what, BuildBmp(layout), FromRows(rows, layout.palette)};
}

DecodeCase DirectCase(const std::string& what, uint16_t bits, uint32_t infoSize, bool topDown,
                      uint32_t compression = kBiRgb, std::vector<uint32_t> masks = {}) {
  // 0xRRGGBB colours; for 32 bits the stored word is built from them below.
  const std::vector<std::vector<uint32_t>> colours = {
      {0xFF0000, 0x00FF00, 0x0000FF, 0x123456, 0xFEDCBA},
      {0x000000, 0xFFFFFF, 0x808080, 0x010203, 0xA0B0C0},
      {0x7F7F7F, 0x00FFFF, 0xFF00FF, 0xFFFF00, 0x0F1E2D},
  };
  auto stored = colours;
  if (bits == 32) {
    for (auto& row : stored) {
      for (auto& v : row) {
        if (compression == kBiBitfields) {
          // Masks R = 0xFF, G = 0xFF00, B = 0xFF0000: bytes R, G, B, spare.
          v = RedOf(v) | (GreenOf(v) << 8) | (BlueOf(v) << 16) | 0x5A000000;
        } else {
          v |= 0xC3000000;  // the fourth byte carries nothing
        }
      }
    }
  }
  BmpLayout layout;
  layout.width = 5;
  layout.height = topDown ? -3 : 3;
  layout.bitCount = bits;
  layout.infoSize = infoSize;
  layout.compression = compression;
  layout.masks = std::move(masks);
  layout.pixels = PackRows(stored, bits, topDown);
  return {what, BuildBmp(layout), FromRows(colours, {})};
}

// 16-bit words and the colours they stand for.
DecodeCase SixteenBitCase(const std::string& what, bool bitfields565,
                          const std::vector<std::pair<uint32_t, Pixel>>& values) {
  std::vector<std::vector<uint32_t>> words(2), colours(2);
  for (size_t i = 0; i < values.size(); ++i) {
    words[i / 4].push_back(values[i].first);
    colours[i / 4].push_back(values[i].second);
  }
  BmpLayout layout;
  layout.width = 4;
  layout.height = 2;
  layout.bitCount = 16;
  if (bitfields565) {
    layout.compression = kBiBitfields;
    layout.masks = {0xF800, 0x07E0, 0x001F};
  }
  layout.pixels = PackRows(words, 16);
  return {what, BuildBmp(layout), FromRows(colours, {})};
}

std::vector<Pixel> RlePalette() {
  auto palette = TestPalette(16);
  palette[0] = 0x336699;  // unwritten pixels must show this, not black
  return palette;
}

// Concatenates RLE commands, one list of bytes each.
std::string Stream(std::initializer_list<std::vector<uint8_t>> commands) {
  std::string out;
  for (const auto& command : commands) {
    out.append(command.begin(), command.end());
  }
  return out;
}

// 6 × 4, RLE8: encoded and absolute runs (odd, padded, and even), a delta
// that skips pixels, end of line, and an early end of bitmap.
std::string Rle8Stream() {
  return Stream({
      {3, 1},              // row 0: 1 1 1
      {0, 3, 2, 3, 1, 0},  // absolute 2 3 1 + pad
      {0, 0},              // end of line
      {2, 2},              // row 1: 2 2
      {0, 2, 2, 1},        // delta: x 2 -> 4, row 1 -> 2
      {2, 3},              // row 2: 3 3 at x 4
      {0, 0},              // end of line
      {0, 4, 1, 2, 3, 2},  // row 3: absolute 1 2 3 2
      {0, 1},              // end of bitmap
  });
}

std::string RleBmp(uint16_t bits, uint32_t compression, int32_t width, int32_t height,
                   const std::string& stream) {
  BmpLayout layout;
  layout.width = width;
  layout.height = height;
  layout.bitCount = bits;
  layout.compression = compression;
  layout.palette = RlePalette();
  layout.colorsUsed = static_cast<uint32_t>(layout.palette.size());
  layout.pixels = stream;
  return BuildBmp(layout);
}

DecodeCase Rle8Case() {
  return {"RLE8", RleBmp(8, kBiRle8, 6, 4, Rle8Stream()),
          FromRows({{1, 2, 3, 2, 0, 0}, {0, 0, 0, 0, 3, 3}, {2, 2, 0, 0, 0, 0}, {1, 1, 1, 2, 3, 1}},
                   RlePalette())};
}

// 7 × 3, RLE4: encoded runs alternate two indices, an odd absolute run is
// padded, a delta jumps to the last row, which ends early.
DecodeCase Rle4Case() {
  const std::string stream = Stream({
      {5, 0x12},                    // row 0: 1 2 1 2 1
      {2, 0x34},                    // 3 4
      {0, 0},                       // end of line
      {0, 5, 0x56, 0x78, 0x90, 0},  // absolute 5 6 7 8 9 + pad
      {0, 2, 1, 1},                 // delta: x 5 -> 6, row 1 -> 2
      {1, 0xA0},                    // A
      {0, 1},                       // end of bitmap
  });
  return {"RLE4", RleBmp(4, kBiRle4, 7, 3, stream),
          FromRows({{0, 0, 0, 0, 0, 0, 10}, {5, 6, 7, 8, 9, 0, 0}, {1, 2, 1, 2, 1, 3, 4}},
                   RlePalette())};
}

TEST(BitmapFile, DecodesEveryDepthAndLayoutToTheSamePixels) {
  std::vector<DecodeCase> cases = {
      PaletteCase("1 bit, rows of several bytes", 37, 3, 1, 2),
      PaletteCase("4 bits", 5, 3, 4, 16),
      PaletteCase("8 bits", 5, 3, 8, 256),
      PaletteCase("8 bits, OS/2 core header", 5, 3, 8, 256, 12),
      PaletteCase("4 bits, OS/2 core header", 5, 3, 4, 16, 12),
      PaletteCase("8 bits, top-down", 5, 3, 8, 256, 40, true),
      DirectCase("24 bits", 24, 40, false),
      DirectCase("24 bits, top-down", 24, 40, true),
      DirectCase("24 bits, V5 header", 24, 124, false),
      DirectCase("32 bits, fourth byte ignored", 32, 40, false),
      DirectCase("32 bits, top-down", 32, 40, true),
      DirectCase("32 bits, bit fields in a V4 header", 32, 108, false, kBiBitfields,
                 {0x0000FF, 0x00FF00, 0xFF0000}),
      DirectCase("32 bits, bit fields after a 40-byte header", 32, 40, false, kBiBitfields,
                 {0x0000FF, 0x00FF00, 0xFF0000}),
      SixteenBitCase("16 bits, default 5-5-5", false,
                     {{0x7FFF, 0xFFFFFF},
                      {0x7C00, 0xFF0000},
                      {0x03E0, 0x00FF00},
                      {0x001F, 0x0000FF},
                      {0x4210, 0x848484},
                      {0x0421, 0x080808},
                      {0x8000, 0x000000},
                      {0xFFFF, 0xFFFFFF}}),
      SixteenBitCase("16 bits, 5-6-5 bit fields", true,
                     {{0xF800, 0xFF0000},
                      {0x07E0, 0x00FF00},
                      {0x001F, 0x0000FF},
                      {0x8410, 0x848284},
                      {0x0020, 0x000400},
                      {0x0841, 0x080808},
                      {0x0000, 0x000000},
                      {0xFFFF, 0xFFFFFF}}),
      Rle8Case(),
      Rle4Case(),
  };
  for (const DecodeCase& c : cases) {
    SCOPED_TRACE(c.what);
    auto decoded = DecodeBitmap(c.bytes, "fixture.bmp");
    ASSERT_TRUE(decoded.ok()) << decoded.error().message;
    EXPECT_EQ(*decoded, c.expected);
  }
}

TEST(BitmapFile, IndicesPastAShortColourTableAreBlack) {
  const auto rows = IndexRows(5, 3, 16);
  BmpLayout layout;
  layout.width = 5;
  layout.height = 3;
  layout.bitCount = 4;
  layout.palette = TestPalette(6);
  layout.colorsUsed = 6;
  layout.pixels = PackRows(rows, 4);
  auto decoded = DecodeBitmap(BuildBmp(layout), "short.bmp");
  ASSERT_TRUE(decoded.ok()) << decoded.error().message;
  EXPECT_EQ(*decoded, FromRows(rows, layout.palette));
  EXPECT_EQ(decoded->At(2, 0), kBlack);  // index (2·7) mod 16 = 14
}

TEST(BitmapFile, AcceptsALastRowWithoutItsPadding) {
  DecodeCase c = PaletteCase("8 bits", 5, 3, 8, 256);
  c.bytes.resize(c.bytes.size() - 3);  // 5 bytes of pixels, 3 of padding
  auto decoded = DecodeBitmap(c.bytes, "unpadded.bmp");
  ASSERT_TRUE(decoded.ok()) << decoded.error().message;
  EXPECT_EQ(*decoded, c.expected);
  c.bytes.pop_back();
  EXPECT_FALSE(DecodeBitmap(c.bytes, "unpadded.bmp").ok());
}

// 8 bits, 4 × 2: rows need no padding, so every byte is needed.
std::string Plain8() {
  BmpLayout layout;
  layout.width = 4;
  layout.height = 2;
  layout.bitCount = 8;
  layout.palette = TestPalette(4);
  layout.colorsUsed = 4;
  layout.pixels = PackRows(IndexRows(4, 2, 4), 8);
  return BuildBmp(layout);
}

std::string Bitfields16() {
  return SixteenBitCase("", true, {{1, 0}, {2, 0}, {3, 0}, {4, 0}, {5, 0}, {6, 0}, {7, 0}, {8, 0}})
      .bytes;
}

TEST(BitmapFile, RejectsCorruptFilesNamingThem) {
  const std::string plain = Plain8();
  const size_t paletteStart = 14 + 40;
  const size_t pixelStart = paletteStart + 16;
  const std::string rle8 = Rle8Case().bytes;
  const auto rleWith = [](const std::string& stream) { return RleBmp(8, kBiRle8, 6, 4, stream); };
  struct Corrupt {
    std::string what;
    std::string bytes;
    std::string reason;
  };
  const std::vector<Corrupt> cases = {
      {"empty file", "", "truncated file header"},
      {"disguised signature", "JF" + plain.substr(2), "not a bitmap file"},
      {"file header cut", plain.substr(0, 10), "truncated file header"},
      {"info header cut", plain.substr(0, 30), "truncated bitmap header"},
      {"colour table cut", plain.substr(0, paletteStart + 10), "truncated colour table"},
      {"pixel data cut", plain.substr(0, plain.size() - 1), "truncated pixel data"},
      {"no pixel data", plain.substr(0, pixelStart), "truncated pixel data"},
      {"offset past the end", WithU32(plain, 10, 5000), "past the end of the file"},
      {"offset inside the header", WithU32(plain, 10, 20), "inside the header"},
      {"header size 20", WithU32(plain, 14, 20), "unsupported bitmap header size 20"},
      {"zero width", WithU32(plain, 18, 0), "invalid bitmap size 0x2"},
      {"zero height", WithU32(plain, 22, 0), "invalid bitmap size"},
      {"negative width", WithU32(plain, 18, static_cast<uint32_t>(-4)), "invalid bitmap size"},
      {"huge width", WithU32(plain, 18, 100000), "too large"},
      {"most negative height", WithU32(plain, 22, 0x80000000u), "too large"},
      {"huge area", WithU32(WithU32(plain, 18, 16384), 22, 16384), "too large"},
      // A tiny RLE stream may claim any size: the size alone must stop it.
      {"RLE bomb 16384 x 4096", RleBmp(8, kBiRle8, 16384, 4096, {0, 1}), "16384x4096 is too large"},
      {"RLE wider than any picture the game shows", RleBmp(8, kBiRle8, 2049, 2, {0, 1}),
       "too large"},
      {"RLE of more pixels than the game shows", RleBmp(8, kBiRle8, 2048, 1025, {0, 1}),
       "too large"},
      {"depth 2", WithU16(plain, 28, 2), "unsupported bit depth 2"},
      {"depth 64", WithU16(plain, 28, 64), "unsupported bit depth 64"},
      {"depth 0", WithU16(plain, 28, 0), "unsupported bit depth 0"},
      {"JPEG compression", WithU32(plain, 30, 4), "unsupported compression 4"},
      {"RLE8 with 4 bits", WithU16(rle8, 28, 4), "RLE8 compression with 4 bits"},
      {"RLE4 with 8 bits", WithU32(plain, 30, kBiRle4), "RLE4 compression with 8 bits"},
      {"bit fields with 8 bits", WithU32(plain, 30, kBiBitfields), "bit-field compression"},
      {"masks cut", Bitfields16().substr(0, 14 + 40 + 8), "truncated colour masks"},
      {"non-contiguous mask", WithU32(Bitfields16(), 14 + 40, 0xF0F0), "not contiguous"},
      {"RLE stream cut", rle8.substr(0, rle8.size() - 2), "before the end-of-bitmap mark"},
      {"RLE without end mark", rleWith({6, 1, 0, 0}), "before the end-of-bitmap mark"},
      {"RLE run past the row", rleWith({7, 1, 0, 1}), "past the end of a row"},
      {"RLE absolute run past the row", rleWith({4, 1, 0, 3, 1, 1, 1, 0}), "past the end of a row"},
      {"RLE absolute run cut", rleWith({0, 5, 1, 2}), "inside an absolute run"},
      {"RLE delta cut", rleWith({0, 2, 1}), "inside a delta"},
      {"RLE delta past the picture", rleWith({0, 2, 0, 4, 0, 1}), "delta goes past the picture"},
      {"RLE delta past the row", rleWith({0, 2, 7, 0, 0, 1}), "delta goes past the picture"},
      {"RLE lines past the last row", rleWith({0, 0, 0, 0, 0, 0, 0, 0, 0, 0}), "past the last row"},
      {"RLE run after the last row", rleWith({0, 0, 0, 0, 0, 0, 0, 0, 1, 1}),
       "past the end of a row"},
  };
  for (const Corrupt& c : cases) {
    SCOPED_TRACE(c.what);
    auto decoded = DecodeBitmap(c.bytes, "p05.dat");
    ASSERT_FALSE(decoded.ok());
    EXPECT_EQ(decoded.error().message.rfind("p05.dat: ", 0), 0u) << decoded.error().message;
    EXPECT_NE(decoded.error().message.find(c.reason), std::string::npos) << decoded.error().message;
  }
}

TEST(BitmapFile, RleStreamMayLeaveOutTheEndMarkAfterTheLastRow) {
  // Four full rows, each ended by end of line, and no end-of-bitmap mark.
  Bytes stream;
  for (int row = 0; row < 4; ++row) {
    stream.U8(6).U8(row).U8(0).U8(0);
  }
  auto decoded = DecodeBitmap(RleBmp(8, kBiRle8, 6, 4, stream.Text()), "open.bmp");
  ASSERT_TRUE(decoded.ok()) << decoded.error().message;
  EXPECT_EQ(decoded->At(0, 0), RlePalette()[3]);
  EXPECT_EQ(decoded->At(5, 3), RlePalette()[0]);
}

TEST(BitmapFile, AnRlePictureAtTheSizeCapDecodesFromItsEndMarkAlone) {
  auto decoded = DecodeBitmap(RleBmp(8, kBiRle8, 2048, 1024, std::string{0, 1}), "p08.dat");
  ASSERT_TRUE(decoded.ok()) << decoded.error().message;
  EXPECT_EQ(decoded->Width(), 2048);
  EXPECT_EQ(decoded->At(2047, 1023), RlePalette()[0]);
}

// Fixtures in which every byte is needed: any shorter file must be refused.
std::vector<std::pair<std::string, std::string>> TightFixtures() {
  BmpLayout core;
  core.width = 4;
  core.height = 2;
  core.bitCount = 8;
  core.infoSize = 12;
  core.palette = TestPalette(256);
  core.pixels = PackRows(IndexRows(4, 2, 256), 8);
  return {{"8 bits", Plain8()},
          {"OS/2 8 bits", BuildBmp(core)},
          {"16-bit bit fields", Bitfields16()},
          {"32-bit bit fields V4",
           DirectCase("", 32, 108, false, kBiBitfields, {0xFF, 0xFF00, 0xFF0000}).bytes},
          {"RLE8", Rle8Case().bytes},
          {"RLE4", Rle4Case().bytes}};
}

TEST(BitmapFile, EveryTruncationIsRefused) {
  for (const auto& [what, bytes] : TightFixtures()) {
    SCOPED_TRACE(what);
    ASSERT_TRUE(DecodeBitmap(bytes, "cut.bmp").ok());
    for (size_t length = 0; length < bytes.size(); ++length) {
      auto decoded = DecodeBitmap(std::string_view(bytes).substr(0, length), "cut.bmp");
      ASSERT_FALSE(decoded.ok()) << "length " << length;
      EXPECT_EQ(decoded.error().message.rfind("cut.bmp: ", 0), 0u);
    }
  }
}

TEST(BitmapFile, DamagedBytesNeverCrash) {
  // Each byte in turn set to a few telling values; the sanitizer build checks
  // that no read leaves the buffer. Whatever the outcome, a failure names the
  // file and a success has the stated size.
  for (const auto& [what, original] : TightFixtures()) {
    SCOPED_TRACE(what);
    for (size_t i = 0; i < original.size(); ++i) {
      for (uint8_t value : {0x00, 0x01, 0x7F, 0x80, 0xFF}) {
        std::string bytes = original;
        bytes[i] = static_cast<char>(value);
        auto decoded = DecodeBitmap(bytes, "damaged.bmp");
        if (decoded.ok()) {
          EXPECT_EQ(decoded->Pixels().size(),
                    static_cast<size_t>(decoded->Width()) * decoded->Height());
        } else {
          EXPECT_EQ(decoded.error().message.rfind("damaged.bmp: ", 0), 0u);
        }
      }
    }
  }
}

Surface Pattern(int32_t width, int32_t height) {
  Surface s(width, height);
  for (int32_t y = 0; y < height; ++y) {
    for (int32_t x = 0; x < width; ++x) {
      s.Set(x, y, Rgb(x * 40 + y, 255 - y * 50, (x * y * 17) ^ 0xA5));
    }
  }
  return s;
}

TEST(BitmapFile, Encode24RoundTripsAndWritesAPlainFile) {
  for (auto [width, height] : {std::pair{1, 1}, std::pair{4, 3}, std::pair{7, 5}}) {
    SCOPED_TRACE(std::to_string(width) + "x" + std::to_string(height));
    const Surface picture = Pattern(width, height);
    const std::string bytes = EncodeBitmap24(picture);
    const size_t stride = (width * 3 + 3) / 4 * 4;
    ASSERT_EQ(bytes.size(), 54 + stride * height);
    EXPECT_EQ(bytes.substr(0, 2), "BM");
    EXPECT_EQ(bytes[28], 24);  // bits per pixel
    EXPECT_EQ(bytes[30], 0);   // no compression
    EXPECT_GT(bytes[22], 0);   // positive height: bottom-up
    // The first stored pixel is the bottom-left one, blue first.
    EXPECT_EQ(static_cast<uint8_t>(bytes[54]), BlueOf(picture.At(0, height - 1)));
    auto decoded = DecodeBitmap(bytes, "round.bmp");
    ASSERT_TRUE(decoded.ok()) << decoded.error().message;
    EXPECT_EQ(*decoded, picture);
  }
}

TEST(BitmapFile, SavesAndLoadsFilesNamingThemInErrors) {
  const auto folder = std::filesystem::temp_directory_path() /
                      ("dovetail-bitmapfile-" + std::to_string(::getpid()));
  std::filesystem::create_directories(folder);
  const Surface picture = Pattern(9, 4);
  const auto path = folder / "saved.bmp";
  ASSERT_TRUE(SaveBitmapFile(path, picture).ok());
  auto loaded = LoadBitmapFile(path);
  ASSERT_TRUE(loaded.ok()) << loaded.error().message;
  EXPECT_EQ(*loaded, picture);

  const auto disguised = folder / "p05.dat";
  {
    std::ofstream out(disguised, std::ios::binary);
    out << "JF" << EncodeBitmap24(picture).substr(2);
  }
  auto refused = LoadBitmapFile(disguised);
  ASSERT_FALSE(refused.ok());
  EXPECT_EQ(refused.error().message.rfind(disguised.string() + ": ", 0), 0u);

  auto missing = LoadBitmapFile(folder / "missing.bmp");
  ASSERT_FALSE(missing.ok());
  EXPECT_NE(missing.error().message.find("missing.bmp"), std::string::npos);
  std::filesystem::remove_all(folder);
}

}  // namespace
}  // namespace dovetail
