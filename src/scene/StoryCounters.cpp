#include "scene/StoryCounters.h"

#include <cassert>
#include <string>

#include "base/Numbers.h"
#include "base/Utf8.h"
#include "story/Commands.h"

namespace dovetail {

namespace {

// The command's variant: its last character.
char Variant(const StoryState& story) {
  return story.CurCommand.empty() ? '\0' : story.CurCommand.back();
}

// The command's error text for a variant it does not know, followed by the
// record's label number.
int32_t ReportVariant(const StoryState& story, Host& host) {
  const CommandRule* rule = FindCommandRule(story.CurCommand);
  assert(rule != nullptr && rule->errorLetter != 0);
  host.MessageBox({UnknownVariantText(*rule) + std::to_string(story.CurLabel), kAppTitle,
                   MessageBoxButtons::Ok});
  return kAdvance;
}

// Whether the command's variant is one the table says it acts on; the
// commands below act on exactly those.
bool Known(const StoryState& story) {
  const CommandRule* rule = FindCommandRule(story.CurCommand);
  return rule != nullptr && KnownVariant(*rule, story.CurCommand);
}

// A field that should hold a number does not.
int32_t ReportValue(const StoryState& story, Host& host, const std::string& what) {
  host.MessageBox({"Script error at label " + std::to_string(story.CurLabel) + ": " + what,
                   kAppTitle, MessageBoxButtons::Ok});
  return kAdvance;
}

int32_t Jump(Interpreter& interpreter) {
  interpreter.JumpToTarget();
  return kJumped;
}

}  // namespace

int16_t* CounterFor(StoryCounters& c, std::string_view text, bool withHappy) {
  const std::string_view trimmed = TrimBlanks(text);
  const std::string code = Left(trimmed, 3);
  if (code == "kai") {
    const std::string refinement = Right(trimmed, 3);
    if (refinement == "mon") return &c.kaiMon;
    if (refinement == "roi") return &c.kaiRoi;
    if (refinement == "umi") return &c.kaiUmi;
    if (refinement == "awa") return &c.kaiAwa;
    if (refinement == "ter") return &c.kaiTer;
    return nullptr;
  }
  if (code == "set") return &c.set;
  if (code == "sai") return &c.sai;
  if (code == "zou") return &c.zou;
  if (code == "cof") return &c.cof;
  if (code == "coc") return &c.coc;
  if (code == "nom") return &c.nom;
  if (code == "jou") return &c.jou;
  if (code == "sak") return &c.sak;
  if (code == "nam") return &c.nam;
  if (code == "izu") return &c.izu;
  if (code == "cre") return &c.cre;
  if (code == "kya") return &c.kya;
  if (code == "hap" && withHappy) return &c.HappyCount;
  return nullptr;
}

int32_t CmdCount(StoryState& story, Host& host) {
  if (!Known(story)) return ReportVariant(story, host);
  switch (Variant(story)) {
    case '1':
      if (int16_t* counter = CounterFor(story.counters, story.CurText, true)) {
        *counter = SaturatingAdd16(*counter, 1);
      }
      return kAdvance;
    case '2': {
      if (Left(TrimBlanks(story.CurText), 3) != "set") return kAdvance;
      const auto amount = ToInt16(story.CurParam1);
      if (!amount.ok()) return ReportValue(story, host, "the amount " + amount.error().message);
      story.counters.set = SaturatingAdd16(story.counters.set, *amount);
      return kAdvance;
    }
    default:  // 0, 7, 8, 9: nothing
      return kAdvance;
  }
}

int32_t CmdIf(StoryState& story, Interpreter& interpreter, Host& host) {
  if (!Known(story)) return ReportVariant(story, host);
  switch (Variant(story)) {
    case '0': {
      const std::string& grade = story.Ranking[0].Grade;
      return grade == "A" || grade == "B" ? Jump(interpreter) : kAdvance;
    }
    case '1': {
      const int16_t* counter = CounterFor(story.counters, story.CurText, false);
      if (counter == nullptr) return kAdvance;
      const auto value = ToSingle(story.CurParam1);
      if (!value.ok()) return ReportValue(story, host, "the value " + value.error().message);
      return static_cast<float>(*counter) == *value ? Jump(interpreter) : kAdvance;
    }
    default:  // 2: nothing
      return kAdvance;
  }
}

int32_t CmdCompare(StoryState& story, Interpreter& interpreter, Host& host) {
  if (!Known(story)) return ReportVariant(story, host);
  const char variant = Variant(story);
  const auto v = ToInt16(story.CurText);
  if (!v.ok()) return ReportValue(story, host, "the stage " + v.error().message);
  const int16_t s = story.StageNo;
  bool jump = false;
  switch (variant) {
    case '0':
      jump = s == *v;
      break;
    case '1':
      jump = s > *v;
      break;
    case '2':
      jump = s >= *v;
      break;
    case '3':
      jump = s < *v;
      break;
    case '4':
      jump = s <= *v;
      break;
    default: {
      const auto e = ToInt16(story.CurParam1);
      if (!e.ok()) return ReportValue(story, host, "the stage " + e.error().message);
      jump = s >= *v && s >= *e;
      break;
    }
  }
  return jump ? Jump(interpreter) : kAdvance;
}

int32_t CmdReserved(StoryState& story, Host& host) {
  return Known(story) ? kAdvance : ReportVariant(story, host);
}

}  // namespace dovetail
