#include "story/Interpreter.h"

#include <cassert>

#include "base/Numbers.h"
#include "base/Utf8.h"

namespace dovetail {

Interpreter::Interpreter(StoryState& state, Host& host, StoryHandlers& handlers, StepEvents& events)
    : state_(state), host_(host), handlers_(handlers), events_(events) {}

void Interpreter::ContentError(const std::string& what) {
  host_.MessageBox({"Script error at label " + std::to_string(state_.CurLabel) + ": " + what,
                    kAppTitle, MessageBoxButtons::Ok});
}

void Interpreter::RunScript() {
  while (Step()) {
  }
}

bool Interpreter::Step() {
  const ScriptTables& tables = state_.tables;
  if (state_.StepResult != kJumped && state_.ScriptPos >= tables.LastRecord) return false;
  if (state_.ScriptPos < 0 || state_.ScriptPos >= kScriptCapacity) {
    ContentError("the script position " + std::to_string(state_.ScriptPos) +
                 " is outside the script");
    state_.StepResult = kShowText;
    return false;
  }

  jumpFailed_ = false;
  CopyRecord();
  events_.Report(StepEvent{state_.ScriptPos, state_.CurLabel, state_.CurCommand});

  state_.StepResult = kShowText;
  if (state_.BgPending) state_.StepResult = handlers_.ShowBackground();
  if (state_.CharPending) state_.StepResult = handlers_.PlaceCharacter();
  if (state_.FacePending) state_.StepResult = handlers_.ChangeFace();

  // A command the table does not know is no command: the record's text shows.
  if (const CommandRule* rule = FindCommandRule(state_.CurCommand)) {
    if (rule->kind == CommandKind::Ending) {
      handlers_.PlayEnding();
      return false;
    }
    if (rule->kind == CommandKind::Quit) {
      handlers_.Quit();
      return false;
    }
    state_.StepResult = Dispatch(*rule);
  }

  // A jump to a label that does not exist has been reported; going on with
  // the next record keeps the story from reporting the same jump for ever.
  if (jumpFailed_ && state_.StepResult == kJumped) state_.StepResult = kAdvance;

  switch (state_.StepResult) {
    case kShowText:
      handlers_.ShowMessage();
      ++state_.ScriptPos;
      break;
    case kJumped:
      break;
    default:
      assert(state_.StepResult == kAdvance);
      ++state_.ScriptPos;
      break;
  }
  return true;
}

void Interpreter::CopyRecord() {
  StoryState& s = state_;
  const ScriptRecord& record = s.tables.Script[s.ScriptPos];
  s.BgPending = false;
  s.CharPending = false;
  s.FacePending = false;
  s.CurSpeaker = 0;

  s.CurLabel = record.Label;
  s.CurCommand = std::string(TrimBlanks(record.Command));
  s.CurJump = record.Jump;
  const std::string background(TrimBlanks(record.Background));
  const std::string character(TrimBlanks(record.Character));
  const std::string face(TrimBlanks(record.Face));
  const std::string speaker(TrimBlanks(record.Speaker));
  s.CurText = std::string(TrimBlanks(record.Text));
  s.CurParam1 = std::string(TrimBlanks(record.Param1));
  s.CurParam2 = std::string(TrimBlanks(record.Param2));
  s.CurSubst = std::string(TrimBlanks(record.Subst));

  if (!speaker.empty()) {
    auto value = ToInt16(speaker);
    if (value.ok()) {
      s.CurSpeaker = *value;
    } else {
      ContentError("the speaker " + value.error().message);
    }
  }
  if (!background.empty()) {
    auto value = ToInt16(background);
    if (value.ok()) {
      s.BgNo = *value;
      s.BgPending = true;
      s.CharNo = 0;
    } else {
      ContentError("the background " + value.error().message);
    }
  }
  if (!character.empty()) {
    auto number = ToInt16(Left(character, 1));
    auto pose = ToInt16(Right(character, 1));
    if (number.ok() && pose.ok() && *number >= 0 && *pose >= 0) {
      s.CharNo = static_cast<uint8_t>(*number);
      s.CharPose = static_cast<uint8_t>(*pose);
      s.CharPending = true;
    } else {
      ContentError("the character code \"" + character + "\" is not two digits");
    }
  }
  if (!face.empty()) {
    auto value = ToInt16("0" + face);
    if (value.ok() && *value >= 0 && *value <= 255) {
      s.FaceNo = static_cast<uint8_t>(*value);
      s.FacePending = true;
    } else {
      ContentError("the face number \"" + face + "\" is not a number from 0 to 255");
    }
  }
  if (s.CurSubst == "1") SubstituteNames();
}

void Interpreter::SubstituteNames() {
  // Each placeholder is replaced once, left to right; a name that itself holds
  // "&" is not substituted again (searching from the start again, as the
  // original did, would never end for such a name).
  std::string& text = state_.CurText;
  size_t from = 0;
  while (true) {
    const size_t at = text.find('&', from);
    if (at == std::string::npos) return;
    const char digit = at + 1 < text.size() ? text[at + 1] : '\0';
    if (digit < '0' || digit > '9') {
      ContentError("\"&\" in the text is not followed by a name number (0 to 9)");
      return;
    }
    const std::string& name = state_.Names[digit - '0'];
    text.replace(at, 2, name);
    from = at + name.size();
  }
}

int32_t Interpreter::Dispatch(const CommandRule& rule) {
  StoryState& s = state_;
  switch (rule.kind) {
    case CommandKind::Game:
      return CmdGame();
    case CommandKind::Sound:
      handlers_.CmdAudio();
      return kAdvance;
    case CommandKind::Choices:
      return handlers_.ShowChoices();
    case CommandKind::Count:
      handlers_.CmdCount();
      return kAdvance;
    case CommandKind::Test:
      return handlers_.CmdIf();
    case CommandKind::Compare:
      return handlers_.CmdCompare();
    case CommandKind::Reserved:
      return handlers_.CmdReserved();
    case CommandKind::TextMode: {
      const int32_t result = handlers_.CmdTextMode();
      // A text mode change in click-wait mode starts a fresh page.
      if (s.message.ClickWait) handlers_.MesClear();
      return result;
    }
    case CommandKind::PageBreak:
      handlers_.MesClear();
      return kShowText;
    case CommandKind::Wait:
      return CmdWait();
    case CommandKind::Ending:
    case CommandKind::Quit:
      break;  // the story ends in Step
  }
  return s.StepResult;
}

bool Interpreter::FindLabel(int16_t label) {
  const ScriptTables& tables = state_.tables;
  int32_t low = 0;
  int32_t high = tables.LabelCount - 1;
  while (low <= high) {
    const auto middle = static_cast<int32_t>(RoundHalfEven((low + high) / 2.0));
    const int16_t found = tables.Labels[middle].Label;
    if (found == label) {
      state_.ScriptPos = tables.Labels[middle].Index;
      return true;
    }
    if (found < label) {
      low = middle + 1;
    } else {
      high = middle - 1;
    }
  }
  jumpFailed_ = true;
  host_.MessageBox({"Not found NUM:" + std::to_string(state_.CurLabel) + " to SEQ", kAppTitle,
                    MessageBoxButtons::Ok});
  return false;
}

bool Interpreter::FindChoices(int16_t label) {
  const ScriptTables& tables = state_.tables;
  for (int32_t i = 0; i <= tables.LastChoice; ++i) {
    if (tables.ChoiceTable[i].Owner == label) {
      state_.ChoiceBase = i;
      return true;
    }
  }
  host_.MessageBox(
      {"SCT:" + std::to_string(label) + " not found.", kAppTitle, MessageBoxButtons::Ok});
  return false;
}

int32_t Interpreter::CmdWait() {
  int32_t duration = 1000;
  if (!state_.CurText.empty()) {
    auto value = ToInt16(state_.CurText);
    if (value.ok()) {
      duration = *value;
    } else {
      ContentError("the wait time " + value.error().message);
    }
  }
  const uint32_t start = host_.TickCount();
  while (static_cast<int64_t>(host_.TickCount() - start) <= duration) {
    host_.DoEvents();
    host_.Sleep(50);
  }
  return kAdvance;
}

int32_t Interpreter::CmdGame() {
  StoryState& s = state_;
  const std::string& command = s.CurCommand;
  if (command == "g0") {
    JumpToTarget();
    return kJumped;
  }
  if (command == "g1") {
    s.StageNo = SaturatingAdd16(s.StageNo, 1);
  } else if (command == "g2") {
    handlers_.SaveGame();
  } else if (command == "g3") {
    handlers_.PlayCafeStage();
  } else if (command == "g4") {
    if (!s.NameEntered) {
      handlers_.OpenNameEntry();
      s.NameEntered = true;
      handlers_.Keys();
    }
  }
  return kAdvance;
}

}  // namespace dovetail
