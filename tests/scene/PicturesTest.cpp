#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "backends/hosts/headless/HeadlessHost.h"
#include "base/Files.h"
#include "base/ProgramExit.h"
#include "graphics/BitmapFile.h"
#include "scene/Pictures.h"
#include "support/SceneParts.h"
#include "support/TestDataFolder.h"

namespace dovetail {
namespace {

using testing::TestDataFolder;

// A picture of distinct colours, none of them black unless `transparentEvery`
// asks for black pixels (a sprite's transparent colour) on a diagonal pattern.
Surface Pattern(int32_t width, int32_t height, uint32_t seed, int transparentEvery = 0) {
  Surface s(width, height);
  for (int32_t y = 0; y < height; ++y) {
    for (int32_t x = 0; x < width; ++x) {
      const bool transparent = transparentEvery > 0 && (x * 7 + y * 3) % transparentEvery == 0;
      s.Set(x, y, transparent ? kBlack : Rgb(x + seed, y * 3 + seed, 40 + seed));
    }
  }
  return s;
}

// Where a sprite is drawn: the background shows through its black pixels.
Surface Composed(const Surface& background, int32_t left, int32_t top, const Surface& body) {
  Surface out(body.Width(), body.Height());
  for (int32_t y = 0; y < body.Height(); ++y) {
    for (int32_t x = 0; x < body.Width(); ++x) {
      const Pixel p = body.At(x, y);
      out.Set(x, y, p == kBlack ? background.At(left + x, top + y) : p);
    }
  }
  return out;
}

Surface Crop(const Surface& s, int32_t left, int32_t top, int32_t width, int32_t height) {
  Surface out(width, height);
  BitBlt(out, 0, 0, width, height, s, left, top);
  return out;
}

class PicturesTest : public ::testing::Test, protected testing::SceneParts {
 protected:
  PicturesTest()
      : folder(::testing::UnitTest::GetInstance()->current_test_info()->name()), pictures(scene) {
    paths = GamePaths{folder.root, folder.data, folder.data};
    form.PicMain.Move(0, 0, 640, 480);
    form.PicMain.SetVisible(true);
    stage = Pattern(640, 480, 5);
    BitBlt(form.PicMain.Image(), 0, 0, 640, 480, stage, 0, 0);
    body11 = Pattern(220, 160, 30, 5);
    body12 = Pattern(40, 60, 90, 3);
    Write("11.dat", body11);
    Write("12.dat", body12);
    Write("21.dat", Pattern(100, 200, 60, 4));
    pictures.StoryInit();
    events.onEvent = [this](const GameEvent& event) {
      if (const auto* effect = std::get_if<EffectEvent>(&event)) {
        codes.push_back(effect->code);
        outgoing = form.PicMain.Image();
      }
    };
  }

  void Write(const std::string& name, const Surface& picture) {
    ASSERT_TRUE(ReplaceFileAtomically(folder.data / name, EncodeBitmap24(picture)).ok());
  }

  void Place(int character, int pose, const std::string& where) {
    story.CharNo = static_cast<uint8_t>(character);
    story.CharPose = static_cast<uint8_t>(pose);
    story.CurText = where;
    EXPECT_EQ(pictures.PlaceCharacter(), kAdvance);
  }

  int32_t Background(int16_t number, const std::string& effect) {
    story.BgNo = number;
    story.CurText = effect;
    return pictures.ShowBackground();
  }

  // The window as the player sees it.
  Surface Frame() {
    Surface frame;
    form.window.Compose(frame);
    return frame;
  }

  TestDataFolder folder;
  Pictures pictures;
  Surface stage, body11, body12;
  std::vector<std::string> codes;
  Surface outgoing;
};

TEST_F(PicturesTest, BackgroundLoadsItsFileClearsThePageAndNamesTheTransition) {
  const Surface p07 = Pattern(640, 480, 70);
  Write("p07.dat", p07);
  const Surface p12 = Pattern(640, 480, 120);
  Write("p12.dat", p12);
  page.LastSpeaker = 3;
  page.LineNo = 2;
  PictureBox& messages = *form.MesBox[0];
  messages.Move(0, 400, 640, 80);
  messages.SetBackColor(kBlack);
  messages.Image().FillRect(0, 0, 50, 50, kWhite);  // text on the page

  const uint32_t start = host.TickCount();
  EXPECT_EQ(Background(7, "D"), kAdvance);  // one character: a one-character code, a cut
  EXPECT_EQ(codes, std::vector<std::string>{"D"});
  EXPECT_EQ(host.TickCount(), start);
  EXPECT_EQ(form.PicMain.Image(), p07);
  EXPECT_EQ(page.LastSpeaker, -1);
  EXPECT_EQ(page.LineNo, 0);
  EXPECT_EQ(messages.Image().At(5, 5), kBlack);

  // The first two characters, counted as characters, not bytes.
  struct Case {
    int16_t number;
    std::string text;
    std::string code;
  };
  for (const Case& c :
       {Case{12, "MS dissolve", "MS"}, Case{7, "雨の朝", "雨の"}, Case{12, "", ""}}) {
    codes.clear();
    Background(c.number, c.text);
    EXPECT_EQ(codes, std::vector<std::string>{c.code}) << c.text;
    EXPECT_EQ(effects.EffectCode, c.code);
    EXPECT_EQ(form.PicMain.Image(), c.number == 7 ? p07 : p12) << c.text;
  }
}

TEST_F(PicturesTest, ASpriteIsTheBackgroundMaskedAndXoredWithItsPicture) {
  Place(1, 1, "R");
  PictureBox& sprite = *form.Doll_Disp[1];
  ASSERT_TRUE(sprite.Visible());
  EXPECT_EQ(pictures.DollShown[0], (std::array<int16_t, 3>{0, 1, 0}));
  EXPECT_EQ(pictures.DollX[1], 320);
  EXPECT_EQ(pictures.DollY[1], 480 - 160);
  EXPECT_EQ(pictures.DollW[1], 220);
  EXPECT_EQ(pictures.DollH[1], 160);
  EXPECT_EQ(sprite.Left(), 320);
  EXPECT_EQ(sprite.Top(), 320);

  const Surface expected = Composed(stage, 320, 320, body11);
  EXPECT_EQ(sprite.Image(), expected);
  // On the screen the sprite stands over the stage; around it the stage shows.
  const Surface frame = Frame();
  EXPECT_EQ(Crop(frame, 320, 320, 220, 160), expected);
  EXPECT_EQ(Crop(frame, 0, 0, 320, 480), Crop(stage, 0, 0, 320, 480));
}

TEST_F(PicturesTest, ABackgroundChangeTakesShownSpritesAlongAndHidesThem) {
  const Surface p05 = Pattern(640, 480, 50);
  Write("p05.dat", p05);
  Place(1, 1, "L");
  Place(2, 1, "R");
  const Surface before = Frame();

  Background(5, "HB");
  EXPECT_EQ(outgoing, before);  // the outgoing picture carries both sprites
  EXPECT_FALSE(form.Doll_Disp[0]->Visible());
  EXPECT_FALSE(form.Doll_Disp[1]->Visible());
  for (const auto& positions : pictures.DollShown)
    EXPECT_EQ(positions, (std::array<int16_t, 3>{}));
  EXPECT_EQ(Frame(), p05);
}

TEST_F(PicturesTest, TheSamePoseAgainDoesNothingAnotherPoseIsWipedAndRedrawn) {
  Place(1, 1, "L");
  PictureBox& sprite = *form.Doll_Disp[0];
  sprite.Image().Set(0, 0, Rgb(1, 2, 3));  // a mark that a redraw would cover
  const uint32_t start = host.TickCount();
  Place(1, 1, "L");
  EXPECT_EQ(host.TickCount(), start);
  EXPECT_EQ(sprite.Image().At(0, 0), Rgb(1, 2, 3));

  Place(1, 2, "L");
  EXPECT_GE(host.TickCount() - start, 56u * 4);  // the old pose was comb-wiped
  EXPECT_EQ(pictures.DollShown[0], (std::array<int16_t, 3>{2, 0, 0}));
  EXPECT_TRUE(sprite.Visible());
  EXPECT_EQ(sprite.Image(), Composed(stage, 0, 420, body12));

  // A text that names no position changes nothing.
  Place(1, 1, "X");
  EXPECT_EQ(pictures.DollShown[0], (std::array<int16_t, 3>{2, 0, 0}));
}

TEST_F(PicturesTest, MovingACharacterWipesItFromTheOldSideFirst) {
  Place(1, 1, "L");
  // A click during the wipe looks at the stage while it runs.
  bool oldShownDuringWipe = false;
  bool newShownDuringWipe = true;
  form.PicMain.onMouseDown = [&](const MouseEvent&) {
    oldShownDuringWipe = form.Doll_Disp[0]->Visible();
    newShownDuringWipe = form.Doll_Disp[1]->Visible();
  };
  host.Post({host.TickCount() + 20,
             InputEvent::Mouse(InputEvent::Kind::MouseDown, 630, 10, MouseButton::Left)});

  Place(1, 1, "R");
  EXPECT_TRUE(oldShownDuringWipe);
  EXPECT_FALSE(newShownDuringWipe);
  EXPECT_FALSE(form.Doll_Disp[0]->Visible());
  EXPECT_TRUE(form.Doll_Disp[1]->Visible());
  EXPECT_EQ(pictures.DollShown[0], (std::array<int16_t, 3>{0, 1, 0}));
  EXPECT_EQ(Frame(), [&] {
    Surface expected = stage;
    BitBlt(expected, 320, 320, 220, 160, Composed(stage, 320, 320, body11), 0, 0);
    return expected;
  }());
}

TEST_F(PicturesTest, RemovalWithDhIsImmediateOtherwiseCombWiped) {
  Place(1, 2, "L");  // 40 pixels wide: CInt(20) = 20, steps e = 0, 2, … 20
  Place(2, 1, "R");

  uint32_t start = host.TickCount();
  Place(1, 0, "DH");
  EXPECT_EQ(host.TickCount(), start);
  EXPECT_FALSE(form.Doll_Disp[0]->Visible());
  EXPECT_EQ(pictures.DollShown[0], (std::array<int16_t, 3>{}));

  // Removing a character that is not shown changes nothing, not even the code.
  Place(3, 0, "VB");
  EXPECT_EQ(effects.EffectCode, "DH");

  start = host.TickCount();
  Place(1, 1, "L");  // the wipe of nothing shown costs nothing
  EXPECT_EQ(host.TickCount(), start);
  Place(1, 0, "");
  const uint32_t wipe = host.TickCount() - start;
  constexpr uint32_t kSteps = 56;  // 220 pixels: e = 0, 2, … 110
  EXPECT_GE(wipe, kSteps * 4);
  EXPECT_LE(wipe, kSteps * 5);  // 4 ms a step plus the 1 ms events take here
  EXPECT_FALSE(form.Doll_Disp[0]->Visible());
  EXPECT_TRUE(form.Doll_Disp[1]->Visible());
}

TEST_F(PicturesTest, TheCentreBorrowsAFreeSlotAndOddCharacterNumbersAreIgnored) {
  Place(1, 1, "L");
  Place(2, 1, "C");
  EXPECT_EQ(pictures.DollShown[1], (std::array<int16_t, 3>{0, 0, 1}));
  ASSERT_TRUE(form.Doll_Disp[1]->Visible());
  EXPECT_EQ(form.Doll_Disp[1]->Left(), 130);
  EXPECT_TRUE(form.Doll_Disp[0]->Visible());  // the left character still stands

  Place(2, 0, "DH");
  EXPECT_FALSE(form.Doll_Disp[1]->Visible());
  EXPECT_TRUE(form.Doll_Disp[0]->Visible());

  for (int character : {0, 5, 9}) {
    Place(character, 1, "R");
    Place(character, 0, "DH");
  }
  EXPECT_FALSE(form.Doll_Disp[1]->Visible());
  EXPECT_TRUE(form.Doll_Disp[0]->Visible());
}

class FaceTest : public PicturesTest {
 protected:
  FaceTest() {
    // Two faces of 88 × 104 in character 1's column, with transparent pixels.
    sheet = Pattern(352, 208, 150, 4);
    Write("91.dat", sheet);
    EXPECT_TRUE(pictures.LoadFaceTable().ok());
    Place(1, 1, "L");
    story.CurLabel = 321;
  }

  // Face `face` of character 1 drawn over the sprite as it is now.
  Surface ExpectedSprite(int face) {
    Surface expected = form.Doll_Disp[0]->Image();
    for (int32_t v = 0; v < 104; ++v) {
      for (int32_t u = 0; u < 88; ++u) {
        const Pixel p = sheet.At(u, (face - 1) * 104 + v);
        if (p != kBlack) expected.Set(118 + u, 34 + v, p);
      }
    }
    return expected;
  }

  int32_t Face(int character, int pose, int face) {
    story.CharNo = static_cast<uint8_t>(character);
    story.CharPose = static_cast<uint8_t>(pose);
    story.FaceNo = static_cast<uint8_t>(face);
    return pictures.ChangeFace();
  }

  Surface sheet;
};

TEST_F(FaceTest, TheTableAndTheMaskAreLoaded) {
  const auto& row = pictures.FaceTable[2];
  EXPECT_EQ((std::array<int16_t, 7>{row.X1, row.Y1, row.X2, row.Y2, row.W, row.H, row.SheetX}),
            (std::array<int16_t, 7>{105, 90, 193, 153, 88, 63, 176}));
  EXPECT_EQ(pictures.FaceTable[3].W, 76);
  EXPECT_EQ(pictures.FaceTable[12].H, 0);
  EXPECT_EQ(form.Face_Mask.Image().At(0, 0), kWhite);  // (0, 0) is transparent in the sheet
  EXPECT_EQ(form.Face_Mask.Image().At(1, 0), kBlack);
}

TEST_F(FaceTest, AFaceDissolvesInNineStepsAndEndsExact) {
  const Surface expected = ExpectedSprite(2);
  ASSERT_NE(expected, form.Doll_Disp[0]->Image());
  const uint32_t start = host.TickCount();
  EXPECT_EQ(Face(1, 1, 2), kShowText);
  const uint32_t took = host.TickCount() - start;
  EXPECT_GE(took, 9u * 40);
  EXPECT_LE(took, 9u * 41 + 1);  // the 1 ms each round of events takes here
  EXPECT_EQ(form.Doll_Disp[0]->Image(), expected);
}

TEST_F(FaceTest, InSkipModeTheFaceChangesAtOnce) {
  story.message.MessageMode = 0;
  const Surface expected = ExpectedSprite(1);
  const uint32_t start = host.TickCount();
  EXPECT_EQ(Face(1, 1, 1), kShowText);
  EXPECT_LE(host.TickCount() - start, 1u);
  EXPECT_EQ(form.Doll_Disp[0]->Image(), expected);
}

TEST_F(FaceTest, AFaceChangeWithPoseZeroNamesNoSpriteAndDoesNothing) {
  // A record that removes character 1 and names a face: the removal happens,
  // the face change finds no sprite of pose 0 to change and the story goes on.
  const size_t boxes = host.MessageBoxes().size();
  Place(1, 0, "DH");
  ASSERT_FALSE(form.Doll_Disp[0]->Visible());
  const Surface before = form.Doll_Disp[0]->Image();
  EXPECT_EQ(Face(1, 0, 2), kShowText);
  EXPECT_EQ(Face(2, 0, 1), kShowText);  // a character never shown
  EXPECT_EQ(host.MessageBoxes().size(), boxes);
  EXPECT_EQ(form.Doll_Disp[0]->Image(), before);
}

TEST_F(FaceTest, AFaceForACharacterNotShownEndsTheProgram) {
  const std::string message = "ﾃﾞｰﾀｴﾗｰ?\r\n人がいないので表情の変化ができません:321";
  // Character 2 is absent; character 1 stands in pose 1, not 2.
  for (auto [character, pose] : {std::pair{2, 1}, std::pair{1, 2}}) {
    try {
      Face(character, pose, 1);
      FAIL() << "the program went on";
    } catch (const GameFailure& failure) {
      EXPECT_EQ(failure.message, message);
    }
  }
}

TEST_F(PicturesTest, AMissingPictureEndsTheProgramNamingTheFile) {
  const std::pair<std::function<void()>, const char*> cases[] = {
      {[this] { Background(9, ""); }, "p09.dat"},
      {[this] { Place(4, 7, "L"); }, "47.dat"},
  };
  for (const auto& [show, file] : cases) {
    try {
      show();
      FAIL() << "the program went on";
    } catch (const GameFailure& failure) {
      EXPECT_NE(failure.message.find(file), std::string::npos) << failure.message;
    }
  }
}

}  // namespace
}  // namespace dovetail
