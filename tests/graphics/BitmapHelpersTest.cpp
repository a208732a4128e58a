#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>
#include <string>
#include <vector>

#include "backends/hosts/headless/HeadlessHost.h"
#include "base/Numbers.h"
#include "graphics/BitmapHelpers.h"
#include "window/Window.h"

namespace dovetail {
namespace {

// A picture whose every pixel differs from its neighbours and from its mirror
// images, so a flipped or shifted copy shows.
Surface VariedPicture(int32_t width, int32_t height) {
  Surface picture(width, height);
  for (int32_t y = 0; y < height; ++y) {
    for (int32_t x = 0; x < width; ++x)
      picture.Set(x, y, Rgb(x * 3 + y, y * 5 + 7, (x * y) ^ (x + 2 * y)));
  }
  return picture;
}

class BitmapHelpersTest : public ::testing::Test {
 protected:
  BitmapHelpersTest() : window(host, "Dovetail") {}

  PictureBox& Box(const std::string& name, int32_t width, int32_t height) {
    PictureBox& box = window.AddPictureBox(name);
    box.SetSize(width, height);
    return box;
  }

  HeadlessHost host;
  Window window;
};

TEST_F(BitmapHelpersTest, PixelArrayRowsRunBottomUpWithOneSpareEntry) {
  PictureBox& pic = Box("PicMain", 640, 480);
  pic.Image() = VariedPicture(640, 480);
  PixelArray pixels;
  ASSERT_EQ(GetPixels(pic, pixels), 307200);
  ASSERT_EQ(pixels.size(), 307201u);
  EXPECT_EQ(static_cast<Pixel>(pixels[306560]), pic.Image().At(0, 0));
  EXPECT_EQ(static_cast<Pixel>(pixels[306560 + 639]), pic.Image().At(639, 0));
  EXPECT_EQ(static_cast<Pixel>(pixels[0]), pic.Image().At(0, 479));
  EXPECT_EQ(static_cast<Pixel>(pixels[640 + 5]), pic.Image().At(5, 478));
  EXPECT_EQ(pixels[307200], 0);
}

TEST_F(BitmapHelpersTest, ReadingAndWritingBackLeavesThePictureUnchanged) {
  PictureBox& pic = Box("PicMain", 640, 480);
  pic.Image() = VariedPicture(640, 480);
  const Surface before = pic.Image();
  PixelArray pixels;
  ASSERT_EQ(GetPixels(pic, pixels), 307200);
  const uint64_t presents = host.PresentCount();
  EXPECT_EQ(SetPixels(pic, pixels), 0);
  EXPECT_EQ(pic.Image(), before);
  EXPECT_EQ(host.PresentCount(), presents + 1) << "SetPixels shows the change";

  // An array written into another picture of the same size copies it exactly.
  PictureBox& other = Box("PicMainBak", 640, 480);
  EXPECT_EQ(SetPixels(other, pixels), 0);
  EXPECT_EQ(other.Image(), before);
}

TEST_F(BitmapHelpersTest, PixelArraysOfEmptyOrLargerPicturesFail) {
  PictureBox& empty = window.AddPictureBox("Empty");
  PixelArray pixels{1, 2, 3};
  EXPECT_EQ(GetPixels(empty, pixels), -1);
  EXPECT_EQ(pixels, PixelArray{0});
  EXPECT_EQ(SetPixels(empty, pixels), -1);

  // An array read from a smaller picture is not written into a larger one.
  PictureBox& small = Box("Small", 4, 3);
  small.Image() = VariedPicture(4, 3);
  ASSERT_EQ(GetPixels(small, pixels), 12);
  PictureBox& large = Box("Large", 8, 3);
  large.Image().Fill(0x123456);
  EXPECT_EQ(SetPixels(large, pixels), -1);
  EXPECT_EQ(large.Image(), Surface(8, 3, 0x123456));
}

struct BlendCase {
  float ratio;
  uint32_t dest;
  uint32_t src;
  uint32_t expected;
};

TEST_F(BitmapHelpersTest, BlendRectMixesEachChannelHalvesToEven) {
  // The ratio is single precision: 0.1f is a little above 0.1, so the step of
  // a cross-fade leaves no exact halves (0 towards 5 gives 1, not 0).
  const BlendCase cases[] = {
      {0.5f, 0, 1, 0},       {0.5f, 1, 2, 2},      {0.5f, 2, 3, 2},    {0.5f, 254, 255, 254},
      {0.0f, 10, 200, 10},   {1.0f, 10, 200, 200}, {0.1f, 0, 255, 26}, {0.1f, 255, 0, 229},
      {0.1f, 100, 105, 101}, {0.1f, 100, 95, 99},  {0.1f, 0, 5, 1},
  };
  PictureBox& dest = Box("Dest", 8, 4);
  PictureBox& src = Box("Src", 8, 4);
  BlendArea blend;
  blend.BlendBegin(8, 4);
  for (const BlendCase& c : cases) {
    SCOPED_TRACE(std::to_string(c.ratio) + " " + std::to_string(c.dest) + " " +
                 std::to_string(c.src));
    dest.Image().Fill(Rgb(c.dest, c.dest, c.dest));
    src.Image().Fill(Rgb(c.src, 0, 255 - c.src));
    blend.BlendRect(dest, 0, 0, 8, 4, src, 0, 0, c.ratio);
    const auto mix = [&c](uint32_t a, uint32_t b) {
      return static_cast<uint32_t>(std::nearbyint(b * double{c.ratio} + a * (1.0 - c.ratio)));
    };
    EXPECT_EQ(dest.Image(),
              Surface(8, 4, Rgb(c.expected, mix(c.dest, 0), mix(c.dest, 255 - c.src))));
  }
  blend.BlendEnd();
}

// Every byte pair (a, b): red mixes a towards b, green b towards a, blue a
// towards 255 − b; compared with the formula in double precision, halves to
// even. The cross-fade's ratio 0.1f comes first, then ratios with exact halves
// (which take the looked-up path), the ends, tiny ratios and a sweep.
TEST_F(BitmapHelpersTest, BlendRectGivesTheFormulaForEveryBytePairAndRatio) {
  std::vector<float> ratios = {0.1f,
                               0.5f,
                               0.25f,
                               0.75f,
                               0.0f,
                               1.0f,
                               0.2f,
                               0.3f,
                               0.9f,
                               1.0f / 3.0f,
                               0.999f,
                               0.123456f,
                               1e-3f,
                               0x1p-9f,
                               0x1p-10f,
                               0x1.000002p-9f,
                               1e-30f,
                               std::numeric_limits<float>::denorm_min(),
                               std::nextafter(1.0f, 0.0f),
                               0.1f};
  for (int k = 1; k < 40; ++k)
    ratios.push_back(static_cast<float>(k) / 40.0f + 1e-4f * static_cast<float>(k % 7));
  PictureBox& dest = Box("Dest", 256, 256);
  PictureBox& src = Box("Src", 256, 256);
  BlendArea blend;
  blend.BlendBegin(256, 256);
  for (const float ratio : ratios) {
    SCOPED_TRACE(ratio);
    for (int32_t a = 0; a < 256; ++a) {
      for (int32_t b = 0; b < 256; ++b) {
        dest.Image().Set(b, a, Rgb(a, b, a));
        src.Image().Set(b, a, Rgb(b, a, 255 - b));
      }
    }
    blend.BlendRect(dest, 0, 0, 256, 256, src, 0, 0, ratio);
    const double r = ratio;
    const auto mix = [r](int32_t a, int32_t b) {
      return static_cast<uint32_t>(RoundHalfEven(b * r + a * (1.0 - r)));
    };
    int wrong = 0;
    for (int32_t a = 0; a < 256; ++a) {
      for (int32_t b = 0; b < 256; ++b) {
        const Pixel expected = Rgb(mix(a, b), mix(b, a), mix(a, 255 - b));
        if (dest.Image().At(b, a) != expected && ++wrong <= 3) {
          ADD_FAILURE() << "a=" << a << " b=" << b << " gives " << std::hex << dest.Image().At(b, a)
                        << ", formula " << expected;
        }
      }
    }
  }
  blend.BlendEnd();
}

TEST_F(BitmapHelpersTest, BlendRectSkipsPixelsOutsideEitherPicture) {
  PictureBox& dest = Box("Dest", 30, 20);
  PictureBox& src = Box("Src", 25, 18);
  dest.Image() = VariedPicture(30, 20);
  src.Image() = VariedPicture(25, 18);
  for (Pixel& p : src.Image().Pixels())
    p ^= 0xFFFFFF;
  const Surface before = dest.Image();
  BlendArea blend;
  blend.BlendBegin(12, 10);
  // The rectangle starts left of and above the destination and ends below
  // the source's last row.
  blend.BlendRect(dest, -3, -2, 12, 10, src, 4, 10, 0.5f);
  blend.BlendEnd();
  const auto mix = [](uint32_t a, uint32_t b) {
    return static_cast<uint32_t>(RoundHalfEven(b * 0.5 + a * 0.5));
  };
  for (int32_t y = 0; y < 20; ++y) {
    for (int32_t x = 0; x < 30; ++x) {
      const int32_t sx = x + 3 + 4;
      const int32_t sy = y + 2 + 10;
      const bool blended = x < 9 && y < 8 && src.Image().Contains(sx, sy);
      const Pixel a = before.At(x, y);
      Pixel expected = a;
      if (blended) {
        const Pixel b = src.Image().At(sx, sy);
        expected =
            Rgb(mix(RedOf(a), RedOf(b)), mix(GreenOf(a), GreenOf(b)), mix(BlueOf(a), BlueOf(b)));
      }
      ASSERT_EQ(dest.Image().At(x, y), expected) << x << "," << y;
    }
  }
}

TEST_F(BitmapHelpersTest, BlendRectWithinOnePictureReadsTheSourceBeforeWriting) {
  PictureBox& pic = Box("Pic", 20, 16);
  pic.Image() = VariedPicture(20, 16);
  PictureBox& copy = Box("Copy", 20, 16);
  copy.Image() = pic.Image();
  PictureBox& expected = Box("Expected", 20, 16);
  expected.Image() = pic.Image();
  BlendArea blend;
  blend.BlendBegin(12, 10);
  // Overlapping rectangles, the source one row and two columns before the target.
  blend.BlendRect(pic, 3, 4, 12, 10, pic, 1, 3, 0.1f);
  blend.BlendRect(expected, 3, 4, 12, 10, copy, 1, 3, 0.1f);
  blend.BlendEnd();
  EXPECT_EQ(pic.Image(), expected.Image());
  EXPECT_NE(pic.Image(), copy.Image());
}

TEST_F(BitmapHelpersTest, BlendRectOutsideZeroToOneDrawsNothing) {
  PictureBox& dest = Box("Dest", 8, 4);
  PictureBox& src = Box("Src", 8, 4);
  dest.Image() = VariedPicture(8, 4);
  const Surface before = dest.Image();
  BlendArea blend;
  blend.BlendBegin(8, 4);
  for (float ratio : {1.5f, -0.1f, 1.0001f, std::numeric_limits<float>::quiet_NaN()}) {
    blend.BlendRect(dest, 0, 0, 8, 4, src, 0, 0, ratio);
    EXPECT_EQ(dest.Image(), before) << ratio;
  }
  blend.BlendEnd();
}

TEST_F(BitmapHelpersTest, BlendRectCopiesTheRightRectanglesAtRatioOne) {
  PictureBox& dest = Box("Dest", 40, 30);
  PictureBox& src = Box("Src", 40, 30);
  dest.Image().Fill(0x101010);
  src.Image() = VariedPicture(40, 30);
  BlendArea blend;
  blend.BlendBegin(12, 7);
  blend.BlendRect(dest, 10, 20, 12, 7, src, 3, 4, 1.0f);
  blend.BlendEnd();
  for (int32_t y = 0; y < 30; ++y) {
    for (int32_t x = 0; x < 40; ++x) {
      const bool inside = x >= 10 && x < 22 && y >= 20 && y < 27;
      ASSERT_EQ(dest.Image().At(x, y),
                inside ? src.Image().At(x - 10 + 3, y - 20 + 4) : Pixel{0x101010})
          << x << "," << y;
    }
  }
}

TEST_F(BitmapHelpersTest, MakeMaskTurnsBlackWhiteAndEverythingElseBlack) {
  PictureBox& sheet = Box("Sheet", 20, 10);
  sheet.Image().Fill(kBlack);
  sheet.Image().Set(7, 5, Rgb(255, 0, 0));
  sheet.bkColor = kWhite;
  PictureBox& mask = Box("Mask", 6, 4);
  mask.bkColor = kWhite;
  mask.textColor = kBlack;

  MakeMask(mask, sheet, 4, 3, 6, 4);
  Surface expected(6, 4, kWhite);
  expected.Set(3, 2, kBlack);
  EXPECT_EQ(mask.Image(), expected);
  EXPECT_EQ(sheet.bkColor, kBlack);

  // Other attribute colours go through as they are; a near-black pixel is not black.
  mask.bkColor = Rgb(1, 2, 3);
  mask.textColor = Rgb(200, 100, 50);
  sheet.Image().Set(7, 5, Rgb(0, 0, 1));
  MakeMask(mask, sheet, 4, 3, 6, 4);
  expected.Fill(Rgb(1, 2, 3));
  expected.Set(3, 2, Rgb(200, 100, 50));
  EXPECT_EQ(mask.Image(), expected);
}

struct ClientSizeCase {
  int32_t twipsPerPixel;
  int32_t frameX;  // pixels the frame adds
  int32_t frameY;
};

TEST(SetClientSizeTest, TheInnerAreaGetsTheExactPixelSize) {
  for (const ClientSizeCase c : {ClientSizeCase{15, 16, 35}, ClientSizeCase{12, 8, 50}}) {
    SCOPED_TRACE(c.twipsPerPixel);
    FormFrame frm;
    frm.twipsPerPixelX = c.twipsPerPixel;
    frm.twipsPerPixelY = c.twipsPerPixel;
    frm.scaleWidth = 300;
    frm.scaleHeight = 200;
    frm.width = (300 + c.frameX) * c.twipsPerPixel;
    frm.height = (200 + c.frameY) * c.twipsPerPixel;
    SetClientSize(frm, 640, 480);
    EXPECT_EQ(frm.width, (640 + c.frameX) * c.twipsPerPixel);
    EXPECT_EQ(frm.height, (480 + c.frameY) * c.twipsPerPixel);
    EXPECT_EQ(frm.scaleWidth, 640);
    EXPECT_EQ(frm.scaleHeight, 480);
  }
  FormFrame frm{.width = 656 * 15 - 15 * 40,
                .height = 515 * 15 - 15 * 80,
                .scaleWidth = 600,
                .scaleHeight = 400};
  SetClientSize(frm, 640, 480);
  EXPECT_EQ(frm.width, 9840);   // 656 pixels
  EXPECT_EQ(frm.height, 7725);  // 515 pixels
}

}  // namespace
}  // namespace dovetail
