#include <gtest/gtest.h>

#include "host/Surface.h"

namespace dovetail {
namespace {

TEST(Surface, RasterOperationsCombineAsNamed) {
  struct Case {
    RasterOp op;
    Pixel expected;
  };
  const Pixel destValue = 0x00F0A05A;
  const Pixel srcValue = 0x000FFF0F;
  const Case cases[] = {
      {RasterOp::SrcCopy, srcValue},
      {RasterOp::SrcAnd, destValue & srcValue},
      {RasterOp::SrcInvert, destValue ^ srcValue},
      {RasterOp::MergePaint, (~srcValue | destValue) & 0x00FFFFFF},
  };
  for (const Case& c : cases) {
    Surface dest(2, 2, destValue);
    const Surface src(2, 2, srcValue);
    BitBlt(dest, 0, 0, 2, 2, src, 0, 0, c.op);
    EXPECT_EQ(dest.At(1, 1), c.expected) << static_cast<int>(c.op);
  }
}

TEST(Surface, CopiesAreClippedToBothSurfaces) {
  Surface src(4, 4);
  for (int y = 0; y < 4; ++y) {
    for (int x = 0; x < 4; ++x)
      src.Set(x, y, static_cast<Pixel>(y * 4 + x + 1));
  }
  Surface dest(3, 3, 0);
  // Starts left of and above the source, ends past the destination.
  BitBlt(dest, 0, 0, 10, 10, src, -1, -1);
  EXPECT_EQ(dest.At(0, 0), 0u);  // the source pixel (-1, -1) does not exist
  EXPECT_EQ(dest.At(1, 1), 1u);
  EXPECT_EQ(dest.At(2, 2), 6u);
  Surface far(3, 3, 7);
  BitBlt(far, 100, 100, 5, 5, src, 0, 0);
  BitBlt(far, -5, -5, 5, 5, src, 0, 0);
  EXPECT_EQ(far, Surface(3, 3, 7));
  BitBlt(far, 0, 0, 3, 3, src, 2, 2);  // only the 2 × 2 corner of the source exists
  EXPECT_EQ(far.At(1, 1), 16u);
  EXPECT_EQ(far.At(2, 2), 7u);
}

TEST(Surface, OverlappingCopyWithinOneSurfaceReadsTheSourceFirst) {
  Surface s(5, 1);
  for (int x = 0; x < 5; ++x)
    s.Set(x, 0, static_cast<Pixel>(x));
  BitBlt(s, 1, 0, 4, 1, s, 0, 0);
  EXPECT_EQ(s.Pixels(), (std::vector<Pixel>{0, 0, 1, 2, 3}));
}

TEST(Surface, ColorRefIsConvertedAtTheBoundary) {
  // &HA6ACED: red 237, green 172, blue 166.
  EXPECT_EQ(FromColorRef(0xA6ACED), Rgb(237, 172, 166));
  EXPECT_EQ(ToColorRef(Rgb(237, 172, 166)), 0xA6ACEDu);
}

TEST(Surface, RectangleOutlineAndFillMatchTheirCorners) {
  Surface s(200, 30, 0);
  s.DrawRectOutline(80, 3, 180, 12, 0x808080);
  EXPECT_EQ(s.At(80, 3), 0x808080u);
  EXPECT_EQ(s.At(180, 12), 0x808080u);
  EXPECT_EQ(s.At(81, 4), 0u);
  s.FillRect(81, 5, 99, 6, 0x73DCA0);
  EXPECT_EQ(s.At(179, 10), 0x73DCA0u);
  EXPECT_EQ(s.At(180, 10), 0x808080u);
  s.FillRect(190, 25, 100, 100, 1);  // clipped
  EXPECT_EQ(s.At(199, 29), 1u);
}

}  // namespace
}  // namespace dovetail
