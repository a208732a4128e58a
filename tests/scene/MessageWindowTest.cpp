#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "backends/audio/silent/NullAudioOutput.h"
#include "backends/hosts/headless/HeadlessHost.h"
#include "graphics/TextRenderer.h"
#include "scene/MessageWindow.h"
#include "shell/Game.h"
#include "support/SceneParts.h"
#include "support/TestDataFolder.h"
#include "support/WholeGame.h"

namespace dovetail {
namespace {

const FontSpec kPageFont{"ＭＳ Ｐゴシック", 12.0f, true, false};
constexpr Pixel kNarration = FromColorRef(0xA6ACED);

// Text drawn straight into a blank page, to compare the window's drawing with.
struct Drawn {
  int32_t x;
  int32_t y;
  std::string text;
  Pixel colour;
  float size = 12.0f;
};

Surface Drawing(TextRenderer& renderer, const std::vector<Drawn>& items) {
  Surface page(640, 80, kBlack);
  for (const Drawn& item : items) {
    FontSpec font = kPageFont;
    font.size = item.size;
    renderer.DrawText(page, item.x, item.y, item.text, font, item.colour);
  }
  return page;
}

// The page as it was when a click-wait began.
struct Wait {
  uint32_t at;
  Surface page;
};

class MessageWindowTest : public ::testing::Test, protected testing::SceneParts {
 protected:
  MessageWindowTest() : window(scene, events) {
    PictureBox& box = *form.MesBox[0];
    box.font = kPageFont;
    box.SetForeColor(kWhite);
    box.Move(0, 400, 640, 80);
    box.SetBackColor(kBlack);
    form.MesBox[1]->Move(0, 0, 640, 20);
    form.MesBox[1]->SetBackColor(kBlack);
    story.Names[1] = "ほのか";
    story.Names[8] = "店長";
    // The player clicks at once whenever a click-wait begins.
    host.onDoEvents = [this] {
      if (!story.message.WaitFlag) return;
      waits.push_back({host.TickCount(), form.MesBox[0]->Image()});
      story.message.WaitFlag = false;
    };
    events.onEvent = [this](const GameEvent& event) {
      if (const auto* shown = std::get_if<TextEvent>(&event)) texts.push_back(shown->text);
    };
  }

  void Show(int16_t speaker, const std::string& message) {
    story.CurSpeaker = speaker;
    story.CurText = message;
    window.ShowMessage();
  }

  void TextMode(const std::string& command, const std::string& param = "") {
    story.CurCommand = command;
    story.CurParam1 = param;
    EXPECT_EQ(window.CmdTextMode(), kShowText);
  }

  Surface Expected(const std::vector<Drawn>& items) { return Drawing(*text, items); }
  const Surface& Page() const { return form.MesBox[0]->Image(); }

  MessageWindow window;
  std::vector<Wait> waits;
  std::vector<std::string> texts;
};

TEST_F(MessageWindowTest, EmptyTextDrawsNothingAndDoesNotWait) {
  Show(0, "");
  EXPECT_FALSE(form.MesBox[0]->Visible());
  EXPECT_TRUE(waits.empty());
  EXPECT_TRUE(texts.empty());
  EXPECT_EQ(Page(), Expected({}));
}

TEST_F(MessageWindowTest, AMessageOpensTheHiddenWindow) {
  form.speedup.SetEnabled(false);
  Show(0, "はじめ");
  EXPECT_TRUE(form.MesBox[0]->Visible());
  EXPECT_TRUE(form.MesBox[1]->Visible());
  EXPECT_TRUE(form.speedup.Enabled());
  EXPECT_EQ(texts, std::vector<std::string>{"はじめ"});
}

TEST_F(MessageWindowTest, TwoNarrationRecordsShareAPageAndTheThirdStartsANewOne) {
  Show(0, "一行目です。");
  Show(0, "二行目です。");
  Show(0, "三行目です。");
  ASSERT_EQ(waits.size(), 3u);
  EXPECT_EQ(waits[0].page, Expected({{120, 20, "一行目です。", kNarration}}));
  EXPECT_EQ(waits[1].page, Expected({{120, 20, "一行目です。", kNarration},
                                     {120, 40, "二行目です。", kNarration}}));
  EXPECT_EQ(waits[2].page, Expected({{120, 20, "三行目です。", kNarration}}));
  EXPECT_EQ(page.LineNo, 1);
}

TEST_F(MessageWindowTest, ASpeakerChangeClearsThePageAndDrawsTheTagBesideTheText) {
  Show(0, "地の文。");
  Show(1, "こんにちは。");
  Show(8, "いらっしゃい。");
  ASSERT_EQ(waits.size(), 3u);
  EXPECT_EQ(waits[1].page,
            Expected({{20, 20, "【ほのか】", kWhite}, {120, 20, "こんにちは。", kWhite}}));
  EXPECT_EQ(waits[2].page,
            Expected({{20, 20, "【店長】", kWhite}, {120, 20, "いらっしゃい。", kWhite}}));
}

TEST_F(MessageWindowTest, SpeakersOutsideTheNameTableHaveNoTagAndWhiteText) {
  struct Case {
    int16_t speaker;
    std::string tag;
    Pixel colour;
  };
  for (const Case& c : std::vector<Case>{{0, "", kNarration},
                                         {1, "【ほのか】", kWhite},
                                         {8, "【店長】", kWhite},
                                         {9, "", kWhite},
                                         {10, "", kWhite},
                                         {-1, "", kWhite}}) {
    EXPECT_EQ(window.SpeakerTag(c.speaker), c.tag) << c.speaker;
    EXPECT_EQ(MessageWindow::SpeakerColour(c.speaker), c.colour) << c.speaker;
  }
  Show(12, "誰か");
  ASSERT_EQ(waits.size(), 1u);
  EXPECT_EQ(waits[0].page, Expected({{120, 20, "誰か", kWhite}}));
}

TEST_F(MessageWindowTest, LinesHoldSixtyFourBytesAndACutNeverSplitsACharacter) {
  const std::string a63(63, 'a');
  const std::string a64(64, 'a');
  std::string wide32;
  for (int i = 0; i < 32; ++i)
    wide32 += "あ";
  std::string kana64;
  for (int i = 0; i < 64; ++i)
    kana64 += "ｱ";
  struct Case {
    std::string text;
    std::vector<std::string> pieces;
  };
  const std::vector<Case> cases = {
      {"", {""}},
      {a64, {a64}},
      {wide32, {wide32}},
      {a64 + "b", {a64, "b"}},
      {a63 + "あb", {a63, "あb"}},    // the two-byte character goes to the next line
      {a64 + a64, {a64, a64, ""}},    // a whole number of lines ends with an empty piece
      {kana64 + "ｱ", {kana64, "ｱ"}},  // half-width katakana is one byte
  };
  for (const Case& c : cases)
    EXPECT_EQ(MessageWindow::LinePieces(c.text), c.pieces) << c.text;
}

TEST_F(MessageWindowTest, SixtyFiveBytesTakeTwoLinesAndFillThePage) {
  const std::string a64(64, 'a');
  Show(0, a64);
  EXPECT_EQ(page.LineNo, 1);
  Show(0, "x");  // the second line of the page
  EXPECT_EQ(page.LineNo, 0);

  Show(0, a64 + "b");
  ASSERT_EQ(waits.size(), 3u);
  EXPECT_EQ(waits[2].page, Expected({{120, 20, a64, kNarration}, {120, 40, "b", kNarration}}));
  // The page is full after it: cleared before the next message.
  EXPECT_EQ(page.LineNo, 0);
  EXPECT_EQ(Page(), Expected({}));
}

TEST_F(MessageWindowTest, CharacterModeNarrowsTheStepAfterAHalfWidthCharacter) {
  story.message.MessageMode = 3;
  Show(1, "AB漢字");
  ASSERT_EQ(waits.size(), 1u);
  // Adv = 14: from 122 a full-width character steps 16, after a half-width
  // one the step is 14 - 7 + 2 = 9.
  EXPECT_EQ(waits[0].page, Expected({{20, 20, "【ほのか】", kWhite},
                                     {122, 20, "A", kWhite},
                                     {131, 20, "B", kWhite},
                                     {140, 20, "漢", kWhite},
                                     {156, 20, "字", kWhite}}));
}

TEST_F(MessageWindowTest, CharactersAreRevealedAtTheirDelayInVirtualTime) {
  struct Case {
    bool noClickWait;  // t0
    uint32_t delay;
  };
  for (const Case& c : {Case{false, 40}, Case{true, 60}}) {
    story.message.MessageMode = 3;
    if (c.noClickWait) TextMode("t0");
    std::vector<uint32_t> shown;
    host.onPresent = [&](const Surface&) {
      if (window.Printing) shown.push_back(host.TickCount());
    };
    waits.clear();
    Show(0, "いろはにほ");
    ASSERT_EQ(shown.size(), 5u);
    for (size_t i = 1; i < shown.size(); ++i)
      EXPECT_EQ(shown[i] - shown[i - 1], c.delay) << i;
    // t0 shows its message without a click-wait and re-arms it afterwards.
    EXPECT_EQ(waits.size(), c.noClickWait ? 0u : 1u);
    EXPECT_TRUE(story.message.ClickWait);
    EXPECT_EQ(story.message.MessageMode, 3);
  }
}

TEST_F(MessageWindowTest, SkipModeNeverWaitsButStillClearsFullPages) {
  story.message.MessageMode = 0;
  Show(0, "一");
  Show(0, "二");
  EXPECT_EQ(page.LineNo, 0);
  Show(0, "三");
  EXPECT_TRUE(waits.empty());
  EXPECT_EQ(texts.size(), 3u);
  EXPECT_EQ(page.LineNo, 1);
  EXPECT_EQ(Page(), Expected({{120, 20, "三", kNarration}}));
}

TEST_F(MessageWindowTest, TpShowsItsTextWithoutAWaitOnce) {
  TextMode("tp", "x");  // not a number: nothing changes
  EXPECT_EQ(story.message.NoWaitOnce, 0);
  TextMode("tp", "1");
  EXPECT_EQ(story.message.NoWaitOnce, 1);
  Show(0, "すぐ次へ");
  EXPECT_TRUE(waits.empty());
  EXPECT_EQ(story.message.NoWaitOnce, 0);
  Show(0, "ここで待つ");
  EXPECT_EQ(waits.size(), 1u);
}

TEST_F(MessageWindowTest, APageFilledWithoutAWaitStartsAFreshPage) {
  TextMode("tp", "1");
  Show(0, std::string(130, 'a'));  // three line pieces, no wait after them
  EXPECT_EQ(page.LineNo, 3);
  Show(0, "b");
  ASSERT_EQ(waits.size(), 1u);
  EXPECT_EQ(waits[0].page, Expected({{120, 20, "b", kNarration}}));
}

TEST_F(MessageWindowTest, ATwoLineMessageWithoutAWaitStaysWhileTheNextOneIsRead) {
  TextMode("tp", "1");
  const std::string a64(64, 'a');
  Show(0, a64 + "b");  // two line pieces, no wait after them: the page is exactly full
  EXPECT_EQ(page.LineNo, 2);
  Show(0, "c");
  ASSERT_EQ(waits.size(), 1u);
  EXPECT_EQ(waits[0].page, Expected({{120, 20, a64, kNarration},
                                     {120, 40, "b", kNarration},
                                     {120, 60, "c", kNarration}}));
  EXPECT_EQ(page.LineNo, 0);  // cleared after the wait
}

TEST_F(MessageWindowTest, TsEnlargesTheNextMessageWhichTakesTwoLines) {
  TextMode("ts", "abc");
  TextMode("ts", "-3");
  EXPECT_EQ(story.message.NextFontSize, 0);
  TextMode("ts", "16");
  EXPECT_EQ(story.message.NextFontSize, 16);

  story.message.MessageMode = 3;
  Show(1, "大字");
  ASSERT_EQ(waits.size(), 1u);
  // Read back 15.75 points: Adv = 21, the second character 23 pixels on.
  EXPECT_EQ(waits[0].page, Expected({{20, 20, "【ほのか】", kWhite},
                                     {122, 20, "大", kWhite, 16.0f},
                                     {145, 20, "字", kWhite, 16.0f}}));
  EXPECT_EQ(form.MesBox[0]->font, kPageFont);
  EXPECT_EQ(story.message.NextFontSize, 0);
  EXPECT_EQ(page.LineNo, 0);  // two slots used: the page was full

  // The base size itself takes one slot.
  TextMode("ts", "12");
  Show(1, "普通");
  EXPECT_EQ(page.LineNo, 1);
}

TEST_F(MessageWindowTest, ANestedPrintReturnsAtOnce) {
  window.Printing = true;
  window.MesPrint("", "入れ子", kWhite);
  EXPECT_TRUE(waits.empty());
  EXPECT_TRUE(texts.empty());
  EXPECT_EQ(page.LineNo, 0);
  EXPECT_EQ(Page(), Expected({}));
}

// The message window driven by the interpreter of a running story.
class MessageWindowStoryTest : public testing::WholeGame {
 protected:
  void Start(const std::string& script) {
    folder.SetScript(script);
    MakeGame();
    game->Start();
    events.onEvent = [this](const GameEvent& event) {
      if (const auto* shown = std::get_if<TextEvent>(&event)) texts.push_back(shown->text);
    };
  }

  std::vector<std::string> texts;
};

TEST_F(MessageWindowStoryTest, AFrameAfterATextRecordShowsTheTagAndText) {
  Start(
      "1000,,,,,,,1,こんにちは。,,,,\r\n1000,t0,,,,,,1,ゆっくり,,,,\r\n"
      "1000,,,,,,,1,次の頁,,,,\r\n1001,,,,,,,,end,,,,\r\n");
  std::vector<Surface> frames;
  std::vector<std::string> name;
  host.onDoEvents = [&] {
    if (!game->story.message.WaitFlag) return;
    Surface frame;
    game->form.window.Compose(frame);
    frames.push_back(frame);
    name.push_back(game->story.Names[1]);
    game->story.message.WaitFlag = false;
  };
  game->story.message.MessageMode = 1;
  game->title.Tmenu_MouseDown(1);

  EXPECT_EQ(texts, (std::vector<std::string>{"こんにちは。", "ゆっくり", "次の頁"}));
  // t0 continues without a wait; its line fills the page.
  ASSERT_EQ(frames.size(), 2u);
  const Surface expected =
      Drawing(*text, {{20, 20, "【" + name[0] + "】", kWhite}, {120, 20, "こんにちは。", kWhite}});
  // The page sits at the bottom of the stage (the blinker at its right end
  // left out); the top strip is black.
  for (int32_t y = 0; y < 80; ++y) {
    for (int32_t x = 0; x < 590; ++x)
      ASSERT_EQ(frames[0].At(x, 400 + y), expected.At(x, y)) << x << "," << y;
  }
  for (int32_t x = 0; x < 640; x += 7)
    EXPECT_EQ(frames[0].At(x, 10), kBlack) << x;
  // The next page holds only the third text, still one character at a time.
  const Surface third = Drawing(*text, {{20, 20, "【" + name[1] + "】", kWhite},
                                        {122, 20, "次", kWhite},
                                        {138, 20, "の", kWhite},
                                        {154, 20, "頁", kWhite}});
  for (int32_t y = 0; y < 80; ++y) {
    for (int32_t x = 0; x < 590; ++x)
      ASSERT_EQ(frames[1].At(x, 400 + y), third.At(x, y)) << x << "," << y;
  }
}

}  // namespace
}  // namespace dovetail
