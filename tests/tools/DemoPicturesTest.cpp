#include <gtest/gtest.h>

#include <string>

#include "demo/Canvas.h"
#include "demo/DemoFigures.h"
#include "demo/DemoScenes.h"
#include "demo/DemoUi.h"
#include "screen/PictureRegions.h"

namespace dovetail::tools {
namespace {

int CountBlack(const Surface& s, const Rect& r) {
  int black = 0;
  for (int y = r.y; y < r.Bottom(); ++y) {
    for (int x = r.x; x < r.Right(); ++x)
      black += s.At(x, y) == kBlack;
  }
  return black;
}

bool SameArea(const Surface& picture, const Rect& r, const Surface& part) {
  return Crop(picture, r) == part;
}

// A sprite is laid over the scene through a mask of its black pixels and
// stands on the bottom edge of the screen.
TEST(DemoFigures, CharactersStandOnTheBottomEdgeOnTransparentBlack) {
  for (int character = 1; character <= 4; ++character) {
    for (int pose = 1; pose <= 2; ++pose) {
      const Surface picture = CharacterPicture(character, pose, Expression::Neutral);
      const std::string which = std::to_string(character) + std::to_string(pose);
      ASSERT_EQ(picture.Width(), kCharacterWidth) << which;
      ASSERT_EQ(picture.Height(), kCharacterHeight) << which;
      EXPECT_EQ(CountBlack(picture, {0, 0, kCharacterWidth, 1}), kCharacterWidth)
          << which << ": the top of the head is cut off";
      EXPECT_EQ(CountBlack(picture, {0, 0, 1, kCharacterHeight}), kCharacterHeight) << which;
      EXPECT_EQ(CountBlack(picture, {kCharacterWidth - 1, 0, 1, kCharacterHeight}),
                kCharacterHeight)
          << which;
      EXPECT_LT(CountBlack(picture, {0, kCharacterHeight - 1, kCharacterWidth, 1}),
                kCharacterWidth - 100)
          << which << ": the figure does not reach the bottom edge";
    }
  }
}

// The game changes a face by copying the face rectangle of the sprite,
// masking out the sheet's non-black pixels and XOR-ing the sheet's face in.
// Done with every face of the sheet, in either outfit, that must give exactly
// the picture of the character with that expression.
TEST(DemoFigures, TheFaceSheetReproducesEachExpressionInBothPoses) {
  const Surface sheet = FaceSheet();
  for (int character = 1; character <= 4; ++character) {
    const FaceRow& row = kFaceRows[static_cast<size_t>(character - 1)];
    ASSERT_LE(row.x2, kCharacterWidth);
    ASSERT_LE(row.y2, kCharacterHeight);
    ASSERT_LE(row.sheetX + row.W(), sheet.Width());
    ASSERT_LE(kFacesPerCharacter * row.H(), sheet.Height());
    for (int pose = 1; pose <= 2; ++pose) {
      const Surface base = CharacterPicture(character, pose, Expression::Neutral);
      for (int n = 1; n <= kFacesPerCharacter; ++n) {
        const Rect cell{row.sheetX, (n - 1) * row.H(), row.W(), row.H()};
        Surface face = Crop(sheet, cell);
        Surface mask(row.W(), row.H());
        for (int y = 0; y < row.H(); ++y) {
          for (int x = 0; x < row.W(); ++x)
            mask.Set(x, y, face.At(x, y) == kBlack ? kWhite : kBlack);
        }
        Surface changed = base;
        BitBlt(changed, row.x1, row.y1, row.W(), row.H(), mask, 0, 0, RasterOp::SrcAnd);
        BitBlt(changed, row.x1, row.y1, row.W(), row.H(), face, 0, 0, RasterOp::SrcInvert);
        EXPECT_TRUE(changed == CharacterPicture(character, pose, kSheetFaces[n - 1]))
            << "character " << character << ", pose " << pose << ", face " << n;
      }
    }
  }
}

TEST(DemoFigures, CustomersStayInsideTheirCellsAboveTheCounter) {
  const Surface sheet = CustomerSheet();
  ASSERT_EQ(sheet.Width(), kCustomerSheetWidth);
  ASSERT_EQ(sheet.Height(), kCustomerSheetHeight);
  for (int look = 0; look < 4; ++look) {
    for (int face = 0; face < 3; ++face) {
      const Rect cell{face * kCustomerWidth, look * kCustomerHeight, kCustomerWidth,
                      kCustomerHeight};
      const int area = cell.w * cell.h;
      EXPECT_LT(CountBlack(sheet, cell), area - 4000) << "look " << look << ", face " << face;
      // The cell's frame is transparent, so that no customer runs into the
      // next seat; the counter of the board hides the lowest part.
      EXPECT_EQ(CountBlack(sheet, {cell.x, cell.y, cell.w, 1}), cell.w);
      EXPECT_EQ(CountBlack(sheet, {cell.x, cell.y, 1, cell.h}), cell.h);
      EXPECT_EQ(CountBlack(sheet, {cell.Right() - 1, cell.y, 1, cell.h}), cell.h);
      EXPECT_EQ(CountBlack(sheet, {cell.x, cell.y + 130, cell.w, cell.h - 130}),
                cell.w * (cell.h - 130));
    }
  }
}

TEST(DemoUi, DishPicturesStayInsideTheirCells) {
  const Surface sheet = UiSheet(Captions());
  std::vector<std::vector<bool>> inCell(kDishRegion.h, std::vector<bool>(kDishRegion.w, false));
  for (int category = 1; category <= 4; ++category) {
    for (int dish = 1; dish <= 5; ++dish) {
      const Rect cell = DishCell(category, dish);
      ASSERT_LE(cell.Right(), kDishRegion.w);
      ASSERT_LE(cell.Bottom(), kDishRegion.h);
      int drawn = 0;
      for (int y = cell.y; y < cell.Bottom(); ++y) {
        for (int x = cell.x; x < cell.Right(); ++x) {
          inCell[y][x] = true;
          drawn += sheet.At(x, y) != kBlack;
        }
      }
      EXPECT_GT(drawn, 600) << "dish " << dish << " of category " << category;
    }
  }
  // Between the cells the sheet is black, the colour the game masks away.
  for (int y = 0; y < kDishRegion.h; ++y) {
    for (int x = 0; x < kDishRegion.w; ++x) {
      if (!inCell[y][x]) {
        ASSERT_EQ(sheet.At(x, y), kBlack) << x << ", " << y;
      }
    }
  }
}

// The choice plate is copied whole over the scene: black there is not
// transparent, so not one pixel of it, corners included, may be black.
TEST(DemoUi, TheChoicePlateIsOpaqueToItsCorners) {
  const Surface sheet = UiSheet(Captions());
  EXPECT_EQ(CountBlack(sheet, kChoicePlate), 0);
  EXPECT_TRUE(SameArea(sheet, kChoicePlate, ChoicePlatePicture()));
}

// The order balloon is masked: black around it, white inside for the dishes.
TEST(DemoUi, TheBalloonIsMaskedAroundItsBubble) {
  const Surface sheet = UiSheet(Captions());
  const Rect b = kBalloon;
  EXPECT_EQ(sheet.At(b.x, b.y), kBlack);
  EXPECT_EQ(sheet.At(b.Right() - 1, b.Bottom() - 1), kBlack);
  EXPECT_EQ(CountBlack(sheet, {b.x + 20, b.y + 15, b.w - 40, 35}), 0);
}

// The title picture holds every menu item in its normal look, the extra story
// included: the title screen decides whether an item is offered, not the
// picture. The highlighted looks in the sheet differ from the normal ones.
TEST(DemoScenes, TheTitleShowsEveryItemInItsNormalLook) {
  const Captions captions;
  const Surface title = TitleScreen(captions);
  const Surface sheet = UiSheet(captions);
  for (int i = 1; i <= kTitleItems; ++i) {
    const Surface normal = TitleItemPicture(i, false, captions);
    EXPECT_TRUE(SameArea(title, TitleItem(i), normal)) << "item " << i;
    EXPECT_TRUE(SameArea(sheet, TitleHighlight(i), TitleItemPicture(i, true, captions)))
        << "item " << i;
    EXPECT_FALSE(SameArea(sheet, TitleHighlight(i), normal)) << "item " << i;
  }
  // Item 3 is painted like its neighbours: its plate colour is theirs.
  const Rect third = TitleItem(3);
  const Rect second = TitleItem(2);
  EXPECT_EQ(title.At(third.x + 10, third.y + 13), title.At(second.x + 10, second.y + 13));
}

// Buttons whose normal look is part of a screen picture and whose hover look
// lies in the sheet are drawn by one function.
TEST(DemoScenes, ButtonsInTheScreensMatchTheirHoverLooksInPlaceAndSize) {
  const Captions captions;
  const Surface board = CafeBoard(captions);
  const Surface ranking = RankingScreen(captions);
  const Surface sheet = UiSheet(captions);
  EXPECT_TRUE(SameArea(board, kCancelButton, CancelButtonPicture(false, captions)));
  EXPECT_TRUE(SameArea(sheet, kCancelHover, CancelButtonPicture(true, captions)));
  EXPECT_TRUE(SameArea(ranking, kRankingExit, ExitButtonPicture(false, captions)));
  EXPECT_TRUE(SameArea(sheet, kRankingExitHover, ExitButtonPicture(true, captions)));
  // The staff faces are shown as the board's own pixels: opaque portraits.
  for (const Rect& face : kStaffFaces)
    EXPECT_EQ(CountBlack(board, face), 0);
}

TEST(DemoScenes, ScreenPicturesHaveTheScreensSize) {
  const Captions captions;
  const Surface pictures[] = {CafeFrontByDay(captions),
                              CafeInsideByDay(),
                              TitleScreen(captions),
                              CafeBoard(captions),
                              EndingSunset(captions),
                              EndingNight(),
                              RankingScreen(captions),
                              RiversideByDay(),
                              CafeFrontInTheEvening(captions),
                              CafeInsideAtNight(),
                              ShoppingStreetInTheMorning(captions),
                              HerosRoomAtNight(),
                              RiversideAtSunset(),
                              SummerFestival(captions),
                              CafeKitchen(),
                              RainyStreet()};
  int n = 0;
  for (const Surface& p : pictures) {
    ++n;
    EXPECT_EQ(p.Width(), kScreenWidth) << "picture " << n;
    EXPECT_EQ(p.Height(), kScreenHeight) << "picture " << n;
  }
  const Surface splash = Splash(captions);
  EXPECT_EQ(splash.Width(), 400);
  EXPECT_EQ(splash.Height(), 200);
}

TEST(Canvas, SmoothEdgesOnPicturesAndHardOnesAroundFigures) {
  Sketch s(20, 20);
  FillEllipse(s, 10, 10, 6.3, 6.3, Rgb(200, 100, 50));
  const Surface smooth = s.Resolve();
  const Surface figure = s.ResolveFigure();
  bool blended = false;
  for (int y = 0; y < 20; ++y) {
    for (int x = 0; x < 20; ++x) {
      const Pixel p = smooth.At(x, y);
      blended = blended || (p != kBlack && p != Rgb(200, 100, 50));
      const Pixel f = figure.At(x, y);
      EXPECT_TRUE(f == kBlack || f == Rgb(200, 100, 50)) << x << ", " << y;
    }
  }
  EXPECT_TRUE(blended);
  // Paint that is not fully opaque only tints what is already painted.
  Sketch t(4, 4);
  FillRect(t, 0, 0, 2, 4, Rgb(200, 200, 200));
  FillRect(t, 0, 0, 4, 4, Glaze(Rgb(0, 0, 200), 0.5));
  const Surface tinted = t.ResolveFigure();
  EXPECT_EQ(tinted.At(0, 0), Rgb(100, 100, 200));
  EXPECT_EQ(tinted.At(3, 0), kBlack);
}

}  // namespace
}  // namespace dovetail::tools
