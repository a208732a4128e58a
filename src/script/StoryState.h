#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "script/ScriptTables.h"

namespace dovetail {

// Result codes of a script step's handlers.
enum StepResultCode : int32_t {
  kShowText = 0,  // show the record's text, then advance
  kJumped = 1,    // ScriptPos was set by a jump: continue there without advancing
  kAdvance = 2,   // advance without showing text
};

// The script engine's state for one run: the tables, the position, the
// current record's fields and the story values the interpreter owns.
struct StoryState {
  ScriptTables tables;

  int32_t ScriptPos = 0;
  int32_t ChoiceBase = 0;
  int16_t StageNo = 2;  // 2 for a new story, +1 by "g1"

  // The current record, copied and trimmed at the start of each step.
  int16_t CurLabel = 0;
  std::string CurCommand;
  int16_t CurJump = 0;
  int16_t CurSpeaker = 0;
  std::string CurText;
  std::string CurParam1;
  std::string CurParam2;
  std::string CurSubst;

  // Picture fields of the current record.
  int16_t BgNo = 0;
  uint8_t CharNo = 0;
  uint8_t CharPose = 0;
  uint8_t FaceNo = 0;
  bool BgPending = false;
  bool CharPending = false;
  bool FacePending = false;

  int32_t StepResult = kShowText;
  bool NameEntered = false;

  // Speaker names and the hero's surname (1) and given name (2).
  std::array<std::string, 10> Names;
};

}  // namespace dovetail
