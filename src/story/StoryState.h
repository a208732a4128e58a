#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "story/ScriptTables.h"

namespace dovetail {

// Result codes of a script step's handlers.
enum StepResultCode : int32_t {
  kShowText = 0,  // show the record's text, then advance
  kJumped = 1,    // ScriptPos was set by a jump: continue there without advancing
  kAdvance = 2,   // advance without showing text
};

// What a record's picture fields make of its step before its command runs
// (the game's handlers and the route walker both return these): a background
// or a character placed shows no text of the record, a face change does.
inline constexpr int32_t kAfterBackground = kAdvance;
inline constexpr int32_t kAfterCharacter = kAdvance;
inline constexpr int32_t kAfterFace = kShowText;

// The story counters the script raises and tests. All but kaiMon and hap are
// saved; all but hap start at 0 in a new story.
struct StoryCounters {
  int16_t kaiMon = 0;
  int16_t kaiAwa = 0;
  int16_t kaiTer = 0;
  int16_t kaiUmi = 0;
  int16_t kaiRoi = 0;
  int16_t set = 0;
  int16_t sai = 0;
  int16_t izu = 0;
  int16_t zou = 0;
  int16_t cof = 0;
  int16_t coc = 0;
  int16_t nom = 0;
  int16_t jou = 0;
  int16_t sak = 0;
  int16_t nam = 0;
  int16_t cre = 0;
  int16_t kya = 0;
  int16_t HappyCount = 0;
};

// Rows and columns of the café logs kept with a story.
constexpr int kLogRows = 51;
constexpr int kLogColumns = 15;

// The café results a story carries: saved and loaded with it.
struct CafeRecord {
  int16_t SuccessCount = 0;
  int16_t FailCount = 0;
  int32_t TotalScore = 0;
  std::array<std::array<int32_t, kLogColumns>, kLogRows> ServeLog{};
  std::array<std::array<int16_t, kLogColumns>, kLogRows> DishLog{};
};

// One row of the ranking; entry 0 is the current player.
struct RankEntry {
  std::string Name;
  int32_t Score = 0;
  std::string Grade;
};

// How messages are shown and waited for; shared by the message window, the
// player's input, the choices, the options and the story start.
struct MessageState {
  int16_t BaseFontSize = 12;  // the message font's size in points
  int16_t MessageMode = 1;    // 0 skip to the next choice, 1 line at a time, 3 character at a time
  bool ClickWait = true;      // wait for a click after each message
  int16_t NextFontSize = 0;   // font size of the next message only; 0 = the base size
  int16_t NoWaitOnce = 0;     // nonzero: no click-wait after the next message
  bool WaitFlag = false;      // true while the click-wait runs; input clears it
  bool InKeys = false;        // the click-wait is running (WaitFlag can be set outside it)
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

  MessageState message;
  StoryCounters counters;
  CafeRecord cafe;
  std::array<RankEntry, 6> Ranking;
};

}  // namespace dovetail
