#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <memory>

#include "backends/audio/silent/NullAudioOutput.h"
#include "backends/hosts/headless/HeadlessHost.h"
#include "base/Cp932.h"
#include "base/Files.h"
#include "graphics/BitmapFile.h"
#include "graphics/TextRenderer.h"
#include "minigame/CafeBoard.h"
#include "minigame/CafeGame.h"
#include "minigame/ScoreLayout.h"
#include "minigame/StageCalendar.h"
#include "minigame/StageLog.h"
#include "shell/Game.h"
#include "storage/DataFolder.h"
#include "support/RecordedEvents.h"
#include "support/TestDataFolder.h"
#include "support/WholeGame.h"

namespace dovetail::cafe {
namespace {

namespace fs = std::filesystem;
using dovetail::testing::TestDataFolder;

// A sheet whose sprites have transparent (black) pixels scattered through
// them, so that every picture below shows whether the mask let the board
// through at exactly those pixels.
Pixel SheetPixel(int32_t x, int32_t y) {
  if ((x * 3 + y * 5) % 11 == 0) return kBlack;
  return Rgb(50 + x % 200, 60 + y % 190, 150);
}

Surface MakeSheet(int32_t width, int32_t height) {
  Surface s(width, height);
  for (int32_t y = 0; y < height; ++y)
    for (int32_t x = 0; x < width; ++x)
      s.Set(x, y, SheetPixel(x, y));
  return s;
}

// The board: never black.
Surface MakeBoard() {
  Surface s(640, 480);
  for (int32_t y = 0; y < 480; ++y)
    for (int32_t x = 0; x < 640; ++x)
      s.Set(x, y, Rgb(30 + x % 220, 20 + y % 230, 70 + (x + y) % 150));
  return s;
}

Surface Crop(const Surface& from, int32_t x, int32_t y, int32_t w, int32_t h) {
  Surface part(w, h);
  BitBlt(part, 0, 0, w, h, from, x, y);
  return part;
}

// A sprite over a background: the background where the sheet is black, the
// sheet elsewhere.
Surface Sprite(const Surface& background, const Surface& sheet, int32_t sheetX, int32_t sheetY) {
  Surface out = background;
  for (int32_t y = 0; y < out.Height(); ++y) {
    for (int32_t x = 0; x < out.Width(); ++x) {
      const Pixel p = sheet.At(sheetX + x, sheetY + y);
      if (p != kBlack) out.Set(x, y, p);
    }
  }
  return out;
}

Surface Darkened(const Surface& picture) {
  Surface out = picture;
  for (Pixel& p : out.Pixels()) {
    auto down = [](uint32_t c) { return c > 100 ? c - 100 : 0u; };
    p = Rgb(down(RedOf(p)), down(GreenOf(p)), down(BlueOf(p)));
  }
  return out;
}

class CafeBoardTest : public testing::WholeGame {
 protected:
  CafeBoardTest() {
    MakeGame();
    game->Start();
    EXPECT_TRUE(SaveBitmapFile(folder.data / "p04.dat", board).ok());
    EXPECT_TRUE(SaveBitmapFile(folder.data / "92.dat", people).ok());
    game->form.GItems.SetPicture(sheet);
  }

  CafeBoard& Board() { return game->cafe.board; }

  void Setup(int16_t stageNo) {
    game->story.StageNo = stageNo;
    Board().SetupGameScreen(stageNo);
  }

  // A stage on the board, for the handlers that change the plate.
  void AttachStage() {
    stage = std::make_unique<CafeStage>(3, game->story.cafe, Board(), clock, random);
    Board().Attach(stage.get());
  }

  size_t Waves(int32_t id) const {
    const auto waves = events.All<WaveEvent>();
    return std::count_if(waves.begin(), waves.end(),
                         [id](const WaveEvent& w) { return w.id == id; });
  }

  const Surface board = MakeBoard();
  const Surface sheet = MakeSheet(700, 560);
  const Surface people = MakeSheet(450, 700);
  CafeClock clock{host};
  CafeRandom random{7};
  std::unique_ptr<CafeStage> stage;
};

TEST_F(CafeBoardTest, TheBoardShowsTheDayCaptionDarkenedThenTheStageLabelAtFullBrightness) {
  const struct {
    int16_t stageNo;
    const char* caption;
    int32_t labelRow;  // -1: no label
  } cases[] = {{2, "１日目　ＰＭ", -1}, {3, "２日目　ＡＭ", 0}, {14, "７日目　ＰＭ", 5}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.stageNo);
    std::optional<Surface> captioned;
    events.onEvent = [&](const GameEvent& event) {
      const auto* effect = std::get_if<EffectEvent>(&event);
      if (effect != nullptr && effect->code == "BC") captioned = game->form.PicMain.Image();
    };
    Setup(c.stageNo);
    events.onEvent = nullptr;

    EXPECT_EQ(DayText(c.stageNo), c.caption);
    Surface expectedCaption = Darkened(board);
    text->DrawText(expectedCaption, 250, 190, c.caption, FontSpec{"ＭＳ Ｐゴシック", 14.0f},
                   kWhite);
    ASSERT_TRUE(captioned.has_value());
    EXPECT_TRUE(*captioned == expectedCaption);

    Surface expectedBoard = board;
    if (c.labelRow >= 0) BitBlt(expectedBoard, 476, 6, 158, 30, sheet, 306, 30 * c.labelRow);
    EXPECT_TRUE(game->form.PicMain.Image() == expectedBoard);
    EXPECT_TRUE(game->form.PicMainBak.Image() == expectedBoard);
  }
  for (int16_t i = 1; i <= 4; ++i) {
    const Rect& r = kStaffFaces[i - 1];
    EXPECT_TRUE(Board().MFace[i]->Visible());
    EXPECT_TRUE(Board().MFace[i]->Image() == Crop(board, r.x, r.y, r.w, r.h));
  }
  EXPECT_FALSE(Board().MItem[1]->Visible());
  EXPECT_TRUE(Board().MPlate.Visible());
  EXPECT_FALSE(game->form.speedup.Enabled());
}

TEST_F(CafeBoardTest, ACustomerIsDrawnByMaskAndXorOverTheBoard) {
  Setup(3);
  Board().DrawCustomer(2, 1, Expression::Angry, true);
  Board().ShowCustomer(2);
  const Rect seat = Seat(2);
  EXPECT_EQ(seat.x, 160);
  const Surface expected = Sprite(Crop(board, seat.x, 100, 150, 175), people, 300, 175);
  EXPECT_TRUE(Board().MPerson[2]->Image() == expected);
  Surface frame;
  game->form.window.Compose(frame);
  EXPECT_TRUE(Crop(frame, seat.x, seat.y, 150, 175) == expected);
}

TEST_F(CafeBoardTest, AnOrderBalloonShowsTheDishNamesOnePerLine) {
  game->settings.cafe.MenuTable[1][1].Name = "珈琲";
  game->settings.cafe.MenuTable[2][3].Name = "苺のケーキ";
  Setup(3);
  Board().ShowOrder(1, DishSlots{0, 101, 203, 0});
  const Rect r = SeatBalloon(1);
  Surface expected = Sprite(Crop(board, r.x, r.y, 124, 82), sheet, 306, 210);
  const FontSpec font{"ＭＳ ゴシック", 9.75f};
  text->DrawText(expected, 5, 14, "珈琲", font, kBlack);
  text->DrawText(expected, 5, 28, "苺のケーキ", font, kBlack);
  EXPECT_TRUE(Board().PStatus[1]->Visible());
  EXPECT_TRUE(Board().PStatus[1]->Image() == expected);
}

TEST_F(CafeBoardTest, DishesLandOnThePlateAtTheirPlacesAndAFourthDishDoesNothing) {
  auto& plate = game->settings.cafe.PlateLayout[2];
  plate[1] = {515, 60, 50, 30};
  plate[2] = {560, 110, 50, 30};
  plate[3] = {520, 170, 60, 40};
  Setup(3);
  AttachStage();
  Board().MFace_MouseMove(2);
  const MenuItem& m = game->settings.cafe.MenuTable[2][3];
  // The dish buttons show the category's dishes over the board.
  EXPECT_TRUE(Board().MItem[3]->Visible());
  EXPECT_TRUE(
      Board().MItem[3]->Image() ==
      Sprite(Crop(board, m.ButtonX, m.ButtonY, m.ButtonW, m.ButtonH), sheet, m.SheetX, m.SheetY));

  for (int click = 0; click < 4; ++click)
    Board().MItem_MouseDown(3);
  EXPECT_EQ(stage->State().PlateCount, 3);
  EXPECT_EQ(stage->State().Plate, (DishSlots{0, 203, 203, 203}));
  EXPECT_EQ(Waves(105), 3u);

  Surface expected = Crop(board, 510, 54, 120, 200);
  for (int slot = 1; slot <= 3; ++slot) {
    const PlateSpot& p = plate[slot];
    Surface spot = Sprite(Crop(expected, p.X - 510, p.Y - 54, p.W, p.H), sheet, m.SheetX, m.SheetY);
    BitBlt(expected, p.X - 510, p.Y - 54, p.W, p.H, spot, 0, 0);
  }
  EXPECT_TRUE(Board().MPlate.Image() == expected);

  Board().CancelPic_Click();
  EXPECT_EQ(stage->State().PlateCount, 0);
  EXPECT_TRUE(Board().MPlate.Image() == Crop(board, 510, 54, 120, 200));
  Board().Attach(nullptr);
}

TEST_F(CafeBoardTest, TheHoverFrameFollowsTheDishAndStaysWhenTheSameFaceIsHovered) {
  Setup(3);
  Board().MFace_MouseMove(1);
  Board().MItem_MouseMove(2);
  Board().MFace_MouseMove(1);  // the same category: nothing changes
  EXPECT_EQ(Board().HoverItem, 2);
  EXPECT_TRUE(Board().MItemShape[2]->visible);
  const MenuItem& m = game->settings.cafe.MenuTable[1][2];
  Surface frame;
  game->form.window.Compose(frame);
  EXPECT_EQ(frame.At(m.ButtonX, m.ButtonY), kHoverFrameColor);
  EXPECT_EQ(frame.At(m.ButtonX + 1, m.ButtonY + m.ButtonH - 2), kHoverFrameColor);

  Board().MItem_MouseMove(4);
  EXPECT_FALSE(Board().MItemShape[2]->visible);
  Board().MFace_MouseMove(2);  // another category: no frame
  EXPECT_EQ(Board().HoverItem, 0);
  EXPECT_FALSE(Board().MItemShape[4]->visible);
}

// A score over `field`: the digits right-aligned in cells of 11 pixels, the
// minus one font size (15) to their left, each as a black shadow two pixels
// down and right under the white.
void DrawExpectedScore(TextRenderer& text, Surface& field, const std::string& digits,
                       int32_t digitsX, int32_t minusX) {
  const FontSpec font{"ＭＳ Ｐゴシック", 15.0f, true, true};
  auto shadowed = [&](int32_t x, const std::string& s) {
    text.DrawText(field, x + 2, 2, s, font, kBlack);
    text.DrawText(field, x, 0, s, font, kWhite);
  };
  for (size_t i = 0; i < digits.size(); ++i)
    shadowed(digitsX + 11 * static_cast<int32_t>(i), digits.substr(i, 1));
  if (minusX >= 0) shadowed(minusX, "-");
}

TEST_F(CafeBoardTest, AScoreOfMinus45IsRightAlignedWithTheMinusBeforeIt) {
  const Pixel ground = Rgb(90, 40, 20);
  game->form.PicMain.Move(0, 0, 640, 480);
  game->form.PicMain.Image().Fill(ground);
  game->cafe.ShowScore(215, 0, -45);
  Surface field(80, 20, ground);
  DrawExpectedScore(*text, field, "45", 53, 38);
  EXPECT_TRUE(Crop(game->form.PicMain.Image(), 215, 96, 80, 20) == field);
  EXPECT_FALSE(game->cafe.SScore.Visible());
  EXPECT_EQ(Waves(107), 1u);
}

TEST_F(CafeBoardTest, TheDailyPanelShowsTheThreeScoresAndTheGradeGlyph) {
  // Day 2: two correct servings (1 s and 2 s), a wrong one and a give-up,
  // PatienceStart 20: avg = (3000 + 20000) / 2 = 11500, s1 = (22000 − 11500)
  // / 10 = 1050, s2 = 2 / 4 = 500, s3 = (2 − 2 × 2) × 50 = −100; 1450 is
  // grade 1.
  CafeRecord& cafe = game->story.cafe;
  cafe.ServeLog[0][3] = 1000;
  cafe.ServeLog[1][3] = 2000;
  cafe.ServeLog[2][3] = kEndOfStage;
  cafe.ServeLog[0][4] = kWrongServing;
  cafe.ServeLog[1][4] = kGaveUp;
  cafe.ServeLog[2][4] = kEndOfStage;
  Setup(4);
  game->cafe.StageScore();

  const auto days = events.All<DayEvent>();
  ASSERT_EQ(days.size(), 1u);
  EXPECT_EQ(days[0].s1, 1050);
  EXPECT_EQ(days[0].s2, 500);
  EXPECT_EQ(days[0].s3, -100);
  EXPECT_EQ(days[0].grade, 1);
  EXPECT_EQ(game->story.Ranking[0].Score, 1450);

  const Surface& shown = game->form.PicMain.Image();
  const Surface panel = Crop(sheet, 0, 325, 270, 190);
  // The panel, away from the score fields and the glyph.
  EXPECT_TRUE(Crop(shown, 92, 51, 270, 40) == Crop(panel, 0, 0, 270, 40));
  EXPECT_TRUE(Crop(shown, 92, 51, 120, 190) == Crop(panel, 0, 0, 120, 190));
  EXPECT_TRUE(Crop(shown, 256, 196, 26, 32) == Crop(sheet, 534 - 26, 260, 26, 32));
  // The third score over the panel: "100" at 75 − 3 × 11 = 42, the minus at 27.
  Surface field = Crop(panel, 215 - 92, 166 - 51, 80, 20);
  DrawExpectedScore(*text, field, "100", 42, 27);
  EXPECT_TRUE(Crop(shown, 215, 166, 80, 20) == field);
  EXPECT_EQ(Waves(103), 1u);

  const auto rank = ReadWholeFile(folder.data / "rank.txt");
  ASSERT_TRUE(rank.ok());
  EXPECT_TRUE(rank->ends_with(" s1:1050 s2:500 s3:-100 s4:1\r\n")) << *rank;
}

TEST_F(CafeBoardTest, AResultFileThatCannotBeWrittenIsReportedOnceAndTheGameGoesOn) {
  fs::create_directories(folder.data / "rank.txt");
  Setup(4);
  game->cafe.StageScore();
  game->cafe.StageScore();
  EXPECT_EQ(events.All<DayEvent>().size(), 2u);
  ASSERT_EQ(host.MessageBoxes().size(), 1u);
  EXPECT_NE(host.MessageBoxes()[0].request.text.find("rank.txt"), std::string::npos)
      << host.MessageBoxes()[0].request.text;
}

TEST_F(CafeBoardTest, AfterTheFirstStageAbove2TheClearMarkerIsAppendedOnce) {
  const std::string before = *ReadWholeFile(folder.data / "20.dat");
  for (int16_t stageNo : {2, 3, 4}) {
    game->story.StageNo = stageNo;
    game->cafe.GameEnd();
  }
  EXPECT_TRUE(game->settings.Cleared);
  EXPECT_EQ(*ReadWholeFile(folder.data / "20.dat"), before + "0200-0000\r\n");
}

TEST_F(CafeBoardTest, ASettingsFileThatCannotTakeTheMarkerIsReportedAndTheStoryGoesOn) {
  fs::remove(folder.data / "20.dat");
  fs::create_directories(folder.data / "20.dat");
  game->story.StageNo = 3;
  game->cafe.GameEnd();
  ASSERT_EQ(host.MessageBoxes().size(), 1u);
  EXPECT_NE(host.MessageBoxes()[0].request.text.find("20.dat"), std::string::npos);
  const auto bgm = events.All<BgmEvent>();
  ASSERT_FALSE(bgm.empty());
  EXPECT_EQ(fs::path(bgm.back().file).filename(), "03.mid");  // after a morning
}

}  // namespace
}  // namespace dovetail::cafe
