#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "platform/Host.h"
#include "script/StoryState.h"

namespace dovetail {

// The handlers the interpreter calls for picture fields and commands that
// belong to the presentation, the café game, saving and the shell. Each is
// optional: one that is not set does nothing and leaves the step's result as
// it was, like a command letter the dispatch does not know.
struct StoryHandlers {
  // Picture fields: background, character, face.
  std::function<int32_t()> ShowBackground;
  std::function<int32_t()> PlaceCharacter;
  std::function<int32_t()> ChangeFace;
  // Message window.
  std::function<void()> ShowMessage;
  std::function<void()> MesClear;
  std::function<int32_t()> CmdTextMode;
  std::function<bool()> ClickWait;
  // The click-wait: returns when the player (or a dialog) releases it.
  std::function<void()> Keys;
  // Choices, counters and conditions.
  std::function<int32_t()> ShowChoices;
  std::function<int32_t()> CmdCount;
  std::function<int32_t()> CmdIf;
  std::function<int32_t()> CmdCompare;
  std::function<int32_t()> CmdReserved;
  // The ending, saving, one café stage, the hero-name dialog, sound, quitting.
  std::function<void()> PlayEnding;
  std::function<void()> SaveGame;
  std::function<void()> PlayCafeStage;
  std::function<void()> OpenNameEntry;
  std::function<void()> CmdAudio;
  std::function<void()> Quit;
  // Called after each record has been copied, before its fields act.
  std::function<void()> onStep;
};

// The title of every message box the program shows.
inline constexpr const char* kAppTitle = "Dovetail";

// Executes script records from StoryState::ScriptPos.
class Interpreter {
 public:
  Interpreter(StoryState& state, Host& host, StoryHandlers& handlers);

  // Runs records until the end of the script, the ending command, or (never
  // returning) the quit command.
  void RunScript();

  // Sets ScriptPos to the first record of `label`; shows "Not found NUM:…"
  // and returns false when the label has no entry.
  bool FindLabel(int16_t label);
  bool JumpToTarget() { return FindLabel(state_.CurJump); }
  // Sets ChoiceBase to the first choice entry owned by `label`; shows
  // "SCT:… not found." and returns false when there is none.
  bool FindChoices(int16_t label);

  int32_t CmdWait();
  int32_t CmdGame();

  // Replaces each "&" + digit in CurText by that entry of Names.
  void SubstituteNames();

 private:
  // One step; false when the script has ended.
  bool Step();
  void CopyRecord();
  int32_t Dispatch();
  void ContentError(const std::string& what);

  StoryState& state_;
  Host& host_;
  StoryHandlers& handlers_;
  bool jumpFailed_ = false;
};

}  // namespace dovetail
