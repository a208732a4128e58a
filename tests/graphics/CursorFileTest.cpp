#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "graphics/CursorFile.h"
#include "host/Surface.h"
#include "support/Bytes.h"

namespace dovetail {
namespace {

using testing::Bytes;
using testing::WithU16;
using testing::WithU32;

// Rows of a width × height picture (top row first) stored bottom-up at `bits`
// per pixel, each row padded to 4 bytes; 32-bit values are stored as words.
std::string PackRows(int32_t width, int32_t height, int bits,
                     const std::function<uint32_t(int32_t, int32_t)>& value) {
  std::string out;
  for (int32_t y = height - 1; y >= 0; --y) {
    std::string row;
    if (bits == 32) {
      Bytes b;
      for (int32_t x = 0; x < width; ++x) {
        b.U32(value(x, y));
      }
      row = b.Text();
    } else {
      row.assign((width * bits + 7) / 8, '\0');
      for (int32_t x = 0; x < width; ++x) {
        const int bit = x * bits;
        row[bit / 8] = static_cast<char>(row[bit / 8] | (value(x, y) << (8 - bits - bit % 8)));
      }
    }
    row.resize((row.size() + 3) / 4 * 4, '\0');
    out += row;
  }
  return out;
}

struct CursorImage {
  int32_t width = 0;
  int32_t height = 0;
  uint16_t bitCount = 4;
  uint16_t hotX = 0;
  uint16_t hotY = 0;
  std::vector<Pixel> palette;
  std::function<uint32_t(int32_t, int32_t)> colour;  // index or 32-bit word
  std::function<uint32_t(int32_t, int32_t)> andBit;
};

std::string BuildDib(const CursorImage& image) {
  Bytes dib;
  dib.U32(40).U32(image.width).U32(image.height * 2).U16(1).U16(image.bitCount).U32(0);
  dib.U32(0).U32(0).U32(0).U32(static_cast<uint32_t>(image.palette.size())).U32(0);
  for (Pixel p : image.palette) {
    dib.U8(BlueOf(p)).U8(GreenOf(p)).U8(RedOf(p)).U8(0);
  }
  dib.Raw(PackRows(image.width, image.height, image.bitCount, image.colour));
  dib.Raw(PackRows(image.width, image.height, 1, image.andBit));
  return dib.Text();
}

std::string BuildCursor(const std::vector<CursorImage>& images) {
  Bytes file;
  file.U16(0).U16(2).U16(static_cast<uint32_t>(images.size()));
  uint32_t offset = 6 + 16 * static_cast<uint32_t>(images.size());
  std::string data;
  for (const CursorImage& image : images) {
    const std::string dib = BuildDib(image);
    file.U8(image.width).U8(image.height).U8(0).U8(0).U16(image.hotX).U16(image.hotY);
    file.U32(static_cast<uint32_t>(dib.size())).U32(offset);
    offset += static_cast<uint32_t>(dib.size());
    data += dib;
  }
  return file.Raw(data).Text();
}

// A 32 × 32 4-bit arrow: a black outline around an orange body, transparent
// around it, and one screen-inverting pixel (AND 1 over white) at (20, 5).
constexpr Pixel kOrange = 0xFF8000;
bool InArrow(int32_t x, int32_t y) {
  return x <= y && y < 20;
}
bool OnOutline(int32_t x, int32_t y) {
  return InArrow(x, y) && (x == 0 || x == y || y == 19);
}
bool Inverting(int32_t x, int32_t y) {
  return x == 20 && y == 5;
}

CursorImage Arrow() {
  CursorImage image;
  image.width = 32;
  image.height = 32;
  image.bitCount = 4;
  image.hotX = 3;
  image.hotY = 5;
  image.palette.assign(16, 0x00FF00);
  image.palette[0] = kBlack;
  image.palette[9] = kOrange;
  image.palette[15] = kWhite;
  image.colour = [](int32_t x, int32_t y) -> uint32_t {
    if (Inverting(x, y)) return 15;
    if (!InArrow(x, y) || OnOutline(x, y)) return 0;
    return 9;
  };
  image.andBit = [](int32_t x, int32_t y) -> uint32_t { return InArrow(x, y) ? 0 : 1; };
  return image;
}

TEST(CursorFile, DecodesHotSpotColoursAndTransparency) {
  auto cursor = DecodeCursor(BuildCursor({Arrow()}), "select.cur");
  ASSERT_TRUE(cursor.ok()) << cursor.error().message;
  EXPECT_EQ(cursor->width, 32);
  EXPECT_EQ(cursor->height, 32);
  EXPECT_EQ(cursor->hotX, 3);
  EXPECT_EQ(cursor->hotY, 5);
  ASSERT_EQ(cursor->argb.size(), 32u * 32u);
  for (int32_t y = 0; y < 32; ++y) {
    for (int32_t x = 0; x < 32; ++x) {
      uint32_t expected = 0;  // transparent
      if (OnOutline(x, y) || Inverting(x, y)) {
        expected = 0xFF000000;
      } else if (InArrow(x, y)) {
        expected = 0xFF000000 | kOrange;
      }
      ASSERT_EQ(cursor->argb[y * 32 + x], expected) << "at " << x << ", " << y;
    }
  }
}

TEST(CursorFile, ThirtyTwoBitImagesUseTheirAlphaWhenTheyHaveAny) {
  CursorImage image;
  image.width = 3;
  image.height = 2;
  image.bitCount = 32;
  const uint32_t words[2][3] = {{0x80FF0000, 0xFF00FF00, 0x00000000},
                                {0x400000FF, 0x00123456, 0xFFFFFFFF}};
  image.colour = [&](int32_t x, int32_t y) { return words[y][x]; };
  image.andBit = [](int32_t x, int32_t) -> uint32_t { return x == 1 ? 1 : 0; };  // ignored
  auto cursor = DecodeCursor(BuildCursor({image}), "alpha.cur");
  ASSERT_TRUE(cursor.ok()) << cursor.error().message;
  EXPECT_EQ(cursor->argb, (std::vector<uint32_t>{0x80FF0000, 0xFF00FF00, 0x00000000, 0x400000FF,
                                                 0x00123456, 0xFFFFFFFF}));

  // Without any alpha the AND mask decides.
  const uint32_t plain[2][3] = {{0x00FF0000, 0x00FFFFFF, 0x00000000},
                                {0x000000FF, 0x00000000, 0x00123456}};
  image.colour = [&](int32_t x, int32_t y) { return plain[y][x]; };
  cursor = DecodeCursor(BuildCursor({image}), "mask.cur");
  ASSERT_TRUE(cursor.ok()) << cursor.error().message;
  EXPECT_EQ(cursor->argb, (std::vector<uint32_t>{0xFFFF0000, 0xFF000000, 0xFF000000, 0xFF0000FF,
                                                 0x00000000, 0xFF123456}));
}

TEST(CursorFile, TakesTheImageClosestTo32AndKeepsTheHotSpotInside) {
  CursorImage small;
  small.width = 16;
  small.height = 16;
  small.bitCount = 1;
  small.hotX = 1;
  small.hotY = 2;
  small.palette = {kBlack, kWhite};
  small.colour = [](int32_t, int32_t) -> uint32_t { return 1; };
  small.andBit = [](int32_t, int32_t) -> uint32_t { return 0; };
  CursorImage large = Arrow();
  large.hotX = 40;  // outside the image
  large.hotY = 31;
  auto cursor = DecodeCursor(BuildCursor({small, large}), "two.cur");
  ASSERT_TRUE(cursor.ok()) << cursor.error().message;
  EXPECT_EQ(cursor->width, 32);
  EXPECT_EQ(cursor->hotX, 31);
  EXPECT_EQ(cursor->hotY, 31);

  cursor = DecodeCursor(BuildCursor({small}), "one.cur");
  ASSERT_TRUE(cursor.ok()) << cursor.error().message;
  EXPECT_EQ(cursor->width, 16);
  EXPECT_EQ(cursor->hotX, 1);
  EXPECT_EQ(cursor->hotY, 2);
  EXPECT_EQ(cursor->argb[0], 0xFFFFFFFFu);
}

TEST(CursorFile, RejectsCorruptFilesNamingThem) {
  const std::string good = BuildCursor({Arrow()});
  const size_t dib = 22;  // the directory and one entry
  std::string png = good.substr(0, dib) + "\x89PNG\r\n\x1A\n" + std::string(32, '\0');
  png = WithU32(png, 14, static_cast<uint32_t>(png.size() - dib));
  struct Corrupt {
    std::string what;
    std::string bytes;
    std::string reason;
  };
  const std::vector<Corrupt> cases = {
      {"empty", "", "truncated cursor directory"},
      {"icon, not cursor", WithU16(good, 2, 1), "not a cursor file"},
      {"reserved word set", WithU16(good, 0, 1), "not a cursor file"},
      {"no images", WithU16(good, 4, 0), "holds no image"},
      {"directory cut", good.substr(0, 15), "truncated cursor directory"},
      {"more entries than the file holds", WithU16(good, 4, 60), "truncated cursor directory"},
      {"image past the end", WithU32(good, 18, 5000), "past the end of the file"},
      {"image size past the end", WithU32(good, 14, 5000), "past the end of the file"},
      {"PNG image", png, "PNG cursors are not supported"},
      {"bad info header", WithU32(good, dib, 20), "unsupported bitmap header size 20"},
      {"odd doubled height", WithU32(good, dib + 8, 63), "is odd"},
      {"RLE image", WithU32(good, dib + 16, 2), "compressed cursor images"},
      {"huge width", WithU32(good, dib + 4, 70000), "too large"},
      {"wider than any cursor", WithU32(good, dib + 4, 257), "larger than 256 pixels a side"},
  };
  for (const Corrupt& c : cases) {
    SCOPED_TRACE(c.what);
    auto cursor = DecodeCursor(c.bytes, "select.cur");
    ASSERT_FALSE(cursor.ok());
    EXPECT_EQ(cursor.error().message.rfind("select.cur: ", 0), 0u) << cursor.error().message;
    EXPECT_NE(cursor.error().message.find(c.reason), std::string::npos) << cursor.error().message;
  }
}

TEST(CursorFile, EveryShortenedImageIsRefused) {
  // The directory is kept consistent with the shortened image, so that the
  // image decoder itself meets the end of the data: in the header, the
  // colour table, the colour rows or the mask.
  const std::string good = BuildCursor({Arrow()});
  const size_t dib = 22;
  bool sawMask = false;
  for (size_t length = dib; length < good.size(); ++length) {
    const std::string cut =
        WithU32(good.substr(0, length), 14, static_cast<uint32_t>(length - dib));
    auto cursor = DecodeCursor(cut, "cut.cur");
    ASSERT_FALSE(cursor.ok()) << "length " << length;
    EXPECT_EQ(cursor.error().message.rfind("cut.cur: ", 0), 0u);
    sawMask = sawMask || cursor.error().message.find("truncated cursor mask") != std::string::npos;
  }
  EXPECT_TRUE(sawMask);
}

TEST(CursorFile, DamagedBytesNeverCrash) {
  const std::string good = BuildCursor({Arrow()});
  for (size_t i = 0; i < 22 + 40 + 64; ++i) {  // directory, info header, colour table
    for (uint8_t value : {0x00, 0x01, 0x7F, 0x80, 0xFF}) {
      std::string bytes = good;
      bytes[i] = static_cast<char>(value);
      auto cursor = DecodeCursor(bytes, "damaged.cur");
      if (cursor.ok()) {
        EXPECT_EQ(cursor->argb.size(), static_cast<size_t>(cursor->width) * cursor->height);
        EXPECT_LT(cursor->hotX, cursor->width);
        EXPECT_LT(cursor->hotY, cursor->height);
      } else {
        EXPECT_EQ(cursor.error().message.rfind("damaged.cur: ", 0), 0u);
      }
    }
  }
}

TEST(CursorFile, LoadsFromAFile) {
  const auto folder = std::filesystem::temp_directory_path() /
                      ("dovetail-cursorfile-" + std::to_string(::getpid()));
  std::filesystem::create_directories(folder);
  const auto path = folder / "select.cur";
  {
    std::ofstream out(path, std::ios::binary);
    out << BuildCursor({Arrow()});
  }
  auto cursor = LoadCursorFile(path);
  ASSERT_TRUE(cursor.ok()) << cursor.error().message;
  EXPECT_EQ(cursor->hotX, 3);
  auto missing = LoadCursorFile(folder / "none.cur");
  ASSERT_FALSE(missing.ok());
  EXPECT_NE(missing.error().message.find("none.cur"), std::string::npos);
  std::filesystem::remove_all(folder);
}

}  // namespace
}  // namespace dovetail
