#include <gtest/gtest.h>

#include <cstddef>
#include <sstream>
#include <string>
#include <type_traits>
#include <utility>
#include <variant>
#include <vector>

#include "backends/hosts/headless/HeadlessHost.h"
#include "programs/common/LoggedEvents.h"

namespace dovetail {
namespace {

// Each form one kind of event takes, with the log line the README documents
// for it (written at virtual time 7).
using Lines = std::vector<std::pair<GameEvent, std::string>>;
template <typename Kind>
using Of = std::type_identity<Kind>;

Lines DocumentedLines(Of<StepEvent>) {
  return {{StepEvent{12, 1020, "g3"},
           R"({"t":7,"event":"step","position":12,"label":1020,"command":"g3"})"}};
}
Lines DocumentedLines(Of<TextEvent>) {
  return {{TextEvent{1, "【ほのか】", "こんにちは"},
           R"({"t":7,"event":"text","speaker":1,"tag":"【ほのか】","text":"こんにちは"})"}};
}
Lines DocumentedLines(Of<ChoiceEvent>) {
  return {{ChoiceEvent{{"はい", "いいえ"}, 1},
           R"({"t":7,"event":"choice","texts":["はい","いいえ"],"chosen":1})"}};
}
Lines DocumentedLines(Of<EffectEvent>) {
  return {{EffectEvent{"BI"}, R"({"t":7,"event":"effect","code":"BI"})"}};
}
Lines DocumentedLines(Of<BgmEvent>) {
  // The piece by its file name alone.
  return {{BgmEvent{BgmAction::Rewind, "/games/demo/data/01.mid"},
           R"({"t":7,"event":"bgm","what":"rewind","file":"01.mid"})"}};
}
Lines DocumentedLines(Of<WaveEvent>) {
  return {{WaveEvent{105}, R"({"t":7,"event":"wave","id":105})"}};
}
Lines DocumentedLines(Of<VolumeEvent>) {
  return {{VolumeEvent{65535}, R"({"t":7,"event":"volume","value":65535})"}};
}
Lines DocumentedLines(Of<StageEvent>) {
  return {{StageEvent{4, false}, R"({"t":7,"event":"stage","stage":4,"what":"end"})"}};
}
Lines DocumentedLines(Of<CustomerEvent>) {
  return {{CustomerEvent{2, 1, {101, 203}},
           R"({"t":7,"event":"customer","seat":2,"look":1,"order":[101,203]})"}};
}
Lines DocumentedLines(Of<ServeEvent>) {
  return {
      {ServeEvent{2, true, 3120}, R"({"t":7,"event":"serve","seat":2,"correct":true,"ms":3120})"}};
}
Lines DocumentedLines(Of<GiveUpEvent>) {
  return {{GiveUpEvent{1}, R"({"t":7,"event":"giveup","seat":1})"}};
}
Lines DocumentedLines(Of<DayEvent>) {
  return {{DayEvent{2150, 1000, 1000, 4150, 4},
           R"({"t":7,"event":"day","s1":2150,"s2":1000,"s3":1000,"day":4150,"grade":4})"}};
}
Lines DocumentedLines(Of<FinalEvent>) {
  return {{FinalEvent{25200, 11320, 36520, "A"},
           R"({"t":7,"event":"final","total":25200,"bonus":11320,"score":36520,"grade":"A"})"}};
}
Lines DocumentedLines(Of<DialogEvent>) {
  return {{DialogEvent{"frmAbout", DialogAction::Close},
           R"({"t":7,"event":"dialog","name":"frmAbout","what":"close"})"}};
}
Lines DocumentedLines(Of<EndingEvent>) {
  return {{EndingEvent{true}, R"({"t":7,"event":"ending","staffroll":true})"}};
}
Lines DocumentedLines(Of<RankingEvent>) {
  // The rows as parallel arrays, names quoted as JSON strings.
  return {{RankingEvent{1, 2, true, {{1, "Ann", 9000, "A"}, {2, "Bo, \"B\"", 8000, "B"}}},
           R"({"t":7,"event":"ranking","mode":1,"pos":2,"shown":true,"ranks":[1,2],)"
           R"("names":["Ann","Bo, \"B\""],"scores":[9000,8000],"grades":["A","B"]})"}};
}
Lines DocumentedLines(Of<HistoryEvent>) {
  return {{HistoryEvent{true, 12}, R"({"t":7,"event":"history","what":"open","pages":12})"},
          {HistoryEvent{false, 12}, R"({"t":7,"event":"history","what":"close","pages":12})"}};
}
Lines DocumentedLines(Of<AutoEvent>) {
  return {{AutoEvent{true}, R"({"t":7,"event":"auto","what":"on"})"},
          {AutoEvent{false}, R"({"t":7,"event":"auto","what":"off"})"}};
}
Lines DocumentedLines(Of<SkipEvent>) {
  // The reason only when the skip ends; the record only at an unread page.
  return {{SkipEvent{true}, R"({"t":7,"event":"skip","what":"read"})"},
          {SkipEvent{false, SkipStop::Unread, 345},
           R"({"t":7,"event":"skip","what":"off","why":"unread","at":345})"},
          {SkipEvent{false, SkipStop::Choice},
           R"({"t":7,"event":"skip","what":"off","why":"choice"})"}};
}
Lines DocumentedLines(Of<ScreenshotEvent>) {
  // The file by its name alone; the error only when there is one.
  return {{ScreenshotEvent{"/home/p/Pictures/Dovetail/shot.png", ""},
           R"({"t":7,"event":"screenshot","file":"shot.png"})"},
          {ScreenshotEvent{"/readonly/shot.png", "cannot be written"},
           R"({"t":7,"event":"screenshot","file":"shot.png","error":"cannot be written"})"}};
}
Lines DocumentedLines(Of<QuitAskEvent>) {
  return {{QuitAskEvent{true}, R"({"t":7,"event":"quit-ask","answer":"ok"})"},
          {QuitAskEvent{false}, R"({"t":7,"event":"quit-ask","answer":"cancel"})"}};
}

// The documented lines of every kind of GameEvent, in the variant's order. A
// kind added to GameEvent without its DocumentedLines above does not compile.
template <size_t... Kind>
std::vector<Lines> EveryKindsLines(std::index_sequence<Kind...>) {
  return {DocumentedLines(Of<std::variant_alternative_t<Kind, GameEvent>>{})...};
}

TEST(LoggedEvents, EveryEventHasItsDocumentedLine) {
  const std::vector<Lines> kinds =
      EveryKindsLines(std::make_index_sequence<std::variant_size_v<GameEvent>>{});
  HeadlessHost host(7);
  for (size_t kind = 0; kind < kinds.size(); ++kind) {
    ASSERT_FALSE(kinds[kind].empty()) << "kind " << kind;
    for (const auto& [event, line] : kinds[kind]) {
      ASSERT_EQ(event.index(), kind) << "a line of kind " << kind << " reports another kind";
      std::ostringstream out;
      EventLog log(&out);
      LoggedEvents events(host, log);
      events.Record(event);
      EXPECT_EQ(out.str(), line + "\n");
    }
  }
}

}  // namespace
}  // namespace dovetail
