#include <gtest/gtest.h>

#include <sstream>

#include "host/Input.h"
#include "programs/common/EventLog.h"
#include "programs/runner/PlayFile.h"
#include "support/LogLine.h"

namespace dovetail {
namespace {

TEST(PlayFile, ParsesEveryCommand) {
  const char* text =
      "# start\r\n"
      "until title\r\n"
      "\r\n"
      "move 410 240\n"
      "click 410 240\n"
      "rclick 5 6\n"
      "wait 1500\n"
      "key space\n"
      "key Enter\n"
      "menu speedup\n"
      "until message-box\n"
      "answer cancel\n"
      "type 山田　花子\n"
      "press Command1\n"
      "close\n"
      "snap title screen\n";
  auto commands = ParsePlayFile(text, "play.txt");
  ASSERT_TRUE(commands.ok()) << commands.error().message;
  ASSERT_EQ(commands->size(), 14u);
  const auto& c = *commands;
  EXPECT_EQ(c[0].kind, PlayCommand::Kind::Until);
  EXPECT_EQ(c[0].argument, "title");
  EXPECT_EQ(c[0].line, 2);
  EXPECT_EQ(c[2].kind, PlayCommand::Kind::Click);
  EXPECT_EQ(c[2].x, 410);
  EXPECT_EQ(c[2].y, 240);
  EXPECT_EQ(c[4].ms, 1500);
  EXPECT_EQ(c[5].keyCode, 32);
  EXPECT_EQ(c[6].keyCode, 13);
  EXPECT_EQ(c[9].argument, "cancel");
  EXPECT_EQ(c[10].argument, "山田　花子");
  EXPECT_EQ(c[13].argument, "title screen");
}

// The comforts' input: the wheel, the keys that open and move the history,
// F12, and Ctrl held and let go.
TEST(PlayFile, ParsesTheComfortsInput) {
  auto commands = ParsePlayFile(
      "wheel up\nwheel down\nkey pageup\nkey pagedown\nkey a\nkey f12\n"
      "key ctrl-down\nkey ctrl-up\n",
      "play.txt");
  ASSERT_TRUE(commands.ok()) << commands.error().message;
  const auto& c = *commands;
  ASSERT_EQ(c.size(), 8u);
  EXPECT_EQ(c[0].kind, PlayCommand::Kind::Wheel);
  EXPECT_EQ(c[0].wheel, 1);
  EXPECT_EQ(c[1].wheel, -1);
  const int16_t keys[] = {kKeyPageUp, kKeyPageDown, kKeyA, kKeyF12, kKeyControl};
  for (size_t i = 0; i < std::size(keys); ++i) {
    EXPECT_EQ(c[2 + i].kind, PlayCommand::Kind::Key) << i;
    EXPECT_EQ(c[2 + i].keyCode, keys[i]) << i;
  }
  EXPECT_EQ(c[7].kind, PlayCommand::Kind::KeyUp);
  EXPECT_EQ(c[7].keyCode, kKeyControl);
}

TEST(PlayFile, ErrorsNameTheLine) {
  const std::pair<const char*, const char*> cases[] = {
      {"jump 1", "line 1: unknown command"},
      {"wait soon", "milliseconds"},
      {"until lunch", "until needs"},
      {"click 10", "click needs X and Y"},
      {"\n\nkey hyper", "line 3: unknown key"},
      {"answer maybe", "ok or cancel"},
      {"snap", "snap needs a name"},
      {"wheel left", "wheel needs up or down"},
  };
  for (auto [text, expected] : cases) {
    auto commands = ParsePlayFile(text, "p.txt");
    ASSERT_FALSE(commands.ok()) << text;
    EXPECT_NE(commands.error().message.find(expected), std::string::npos)
        << commands.error().message;
  }
}

TEST(EventLog, WritesOneJsonObjectPerLine) {
  std::ostringstream out;
  EventLog log(&out);
  log.Write(LogEvent(1234, "msgbox").Str("text", "ロード\"に\"\r\n失敗").Str("answer", "ok"));
  log.Write(LogEvent(5, "choice")
                .Strings("texts", {"行く", "戻る"})
                .Num("chosen", 1)
                .Bool("skip", false));
  EXPECT_EQ(out.str(),
            "{\"t\":1234,\"event\":\"msgbox\",\"text\":\"ロード\\\"に\\\"\\r\\n失敗\","
            "\"answer\":\"ok\"}\n"
            "{\"t\":5,\"event\":\"choice\",\"texts\":[\"行く\",\"戻る\"],\"chosen\":1,"
            "\"skip\":false}\n");

  // The tests read the lines back field by field.
  const std::vector<std::string> lines = log.Lines();
  const auto box = testing::LogLine::Parse(lines.at(0));
  ASSERT_TRUE(box.has_value());
  EXPECT_EQ(box->Event(), "msgbox");
  EXPECT_EQ(box->Num("t"), 1234);
  EXPECT_EQ(box->Str("text"), "ロード\"に\"\r\n失敗");
  const auto choice = testing::LogLine::Parse(lines.at(1));
  ASSERT_TRUE(choice.has_value());
  EXPECT_EQ(choice->Items("texts"), (std::vector<std::string>{"行く", "戻る"}));
  EXPECT_EQ(choice->Num("chosen"), 1);
  EXPECT_FALSE(choice->Bool("skip"));
  EXPECT_FALSE(testing::LogLine::Parse("not json").has_value());
}

}  // namespace
}  // namespace dovetail
