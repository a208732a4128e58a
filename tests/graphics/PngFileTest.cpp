#include <gtest/gtest.h>
#include <zlib.h>

#include "graphics/PngFile.h"

namespace dovetail {
namespace {

uint32_t BigEndian32(const std::string& s, size_t at) {
  return (uint32_t{static_cast<uint8_t>(s[at])} << 24) |
         (uint32_t{static_cast<uint8_t>(s[at + 1])} << 16) |
         (uint32_t{static_cast<uint8_t>(s[at + 2])} << 8) | static_cast<uint8_t>(s[at + 3]);
}

TEST(PngFile, EncodesTheSurfacePixelsAsRgbRows) {
  Surface surface(3, 2, 0);
  surface.Set(0, 0, Rgb(255, 0, 0));
  surface.Set(2, 1, Rgb(1, 2, 3));
  const std::string png = EncodePng(surface);
  ASSERT_EQ(png.substr(0, 8), std::string("\x89PNG\r\n\x1A\n", 8));
  EXPECT_EQ(png.substr(12, 4), "IHDR");
  EXPECT_EQ(BigEndian32(png, 16), 3u);
  EXPECT_EQ(BigEndian32(png, 20), 2u);
  // The IHDR chunk's CRC covers its type and data.
  EXPECT_EQ(BigEndian32(png, 29), crc32(0, reinterpret_cast<const Bytef*>(png.data() + 12), 17));

  const size_t idat = png.find("IDAT");
  ASSERT_NE(idat, std::string::npos);
  const uint32_t length = BigEndian32(png, idat - 4);
  std::string raw(2 * (1 + 9), '\0');
  uLongf rawSize = raw.size();
  ASSERT_EQ(uncompress(reinterpret_cast<Bytef*>(raw.data()), &rawSize,
                       reinterpret_cast<const Bytef*>(png.data() + idat + 4), length),
            Z_OK);
  EXPECT_EQ(raw, std::string("\0\xFF\0\0\0\0\0\0\0\0"
                             "\0\0\0\0\0\0\0\x01\x02\x03",
                             20));
  EXPECT_NE(png.find("IEND"), std::string::npos);
}

// With an opacity per pixel: colour type 6 and four bytes a pixel.
TEST(PngFile, EncodesTheOpacityAsTheFourthByteOfEachPixel) {
  Surface surface(2, 1, 0);
  surface.Set(1, 0, Rgb(10, 20, 30));
  const std::string png = EncodePngWithAlpha(surface, {0, 200});
  EXPECT_EQ(png[25], 6) << "colour type";
  const size_t idat = png.find("IDAT");
  ASSERT_NE(idat, std::string::npos);
  std::string raw(1 + 8, '\0');
  uLongf rawSize = raw.size();
  ASSERT_EQ(
      uncompress(reinterpret_cast<Bytef*>(raw.data()), &rawSize,
                 reinterpret_cast<const Bytef*>(png.data() + idat + 4), BigEndian32(png, idat - 4)),
      Z_OK);
  EXPECT_EQ(raw, std::string("\0\0\0\0\0\x0A\x14\x1E\xC8", 9));
}

}  // namespace
}  // namespace dovetail
