#include <gtest/gtest.h>

#include <sstream>

#include "backends/hosts/headless/HeadlessHost.h"
#include "programs/common/LoggedEvents.h"

namespace dovetail {
namespace {

// Each typed event becomes the log line the README documents.
TEST(LoggedEvents, EveryEventHasItsDocumentedLine) {
  const std::pair<GameEvent, std::string> cases[] = {
      {StepEvent{12, 1020, "g3"},
       R"({"t":7,"event":"step","position":12,"label":1020,"command":"g3"})"},
      {TextEvent{1, "【ほのか】", "こんにちは"},
       R"({"t":7,"event":"text","speaker":1,"tag":"【ほのか】","text":"こんにちは"})"},
      {ChoiceEvent{{"はい", "いいえ"}, 1},
       R"({"t":7,"event":"choice","texts":["はい","いいえ"],"chosen":1})"},
      {EffectEvent{"BI"}, R"({"t":7,"event":"effect","code":"BI"})"},
      {BgmEvent{BgmAction::Rewind, "/games/demo/data/01.mid"},
       R"({"t":7,"event":"bgm","what":"rewind","file":"01.mid"})"},
      {WaveEvent{105}, R"({"t":7,"event":"wave","id":105})"},
      {VolumeEvent{65535}, R"({"t":7,"event":"volume","value":65535})"},
      {StageEvent{4, false}, R"({"t":7,"event":"stage","stage":4,"what":"end"})"},
      {CustomerEvent{2, 1, {101, 203}},
       R"({"t":7,"event":"customer","seat":2,"look":1,"order":[101,203]})"},
      {ServeEvent{2, true, 3120}, R"({"t":7,"event":"serve","seat":2,"correct":true,"ms":3120})"},
      {GiveUpEvent{1}, R"({"t":7,"event":"giveup","seat":1})"},
      {DayEvent{2150, 1000, 1000, 4150, 4},
       R"({"t":7,"event":"day","s1":2150,"s2":1000,"s3":1000,"day":4150,"grade":4})"},
      {FinalEvent{25200, 11320, 36520, "A"},
       R"({"t":7,"event":"final","total":25200,"bonus":11320,"score":36520,"grade":"A"})"},
      {DialogEvent{"frmAbout", DialogAction::Close},
       R"({"t":7,"event":"dialog","name":"frmAbout","what":"close"})"},
      {EndingEvent{true}, R"({"t":7,"event":"ending","staffroll":true})"},
      {RankingEvent{1, 2, true, {{1, "Ann", 9000, "A"}, {2, "Bo, \"B\"", 8000, "B"}}},
       R"({"t":7,"event":"ranking","mode":1,"pos":2,"shown":true,"ranks":[1,2],)"
       R"("names":["Ann","Bo, \"B\""],"scores":[9000,8000],"grades":["A","B"]})"},
  };
  HeadlessHost host(7);
  std::ostringstream out;
  EventLog log(&out);
  LoggedEvents events(host, log);
  std::string expected;
  for (const auto& [event, line] : cases) {
    events.Record(event);
    expected += line + "\n";
  }
  EXPECT_EQ(out.str(), expected);
}

}  // namespace
}  // namespace dovetail
