#pragma once

#include <cstdint>
#include <string>

#include "base/ProgramName.h"
#include "host/Host.h"
#include "story/Commands.h"
#include "story/StepEvents.h"
#include "story/StoryState.h"

namespace dovetail {

// The parts of the program the interpreter hands picture fields and commands
// to: the presentation, the café game, saving and the shell. Every one must be
// implemented (the program's wiring does it); one that keeps the interpreter
// going without doing anything says so by its name.
class StoryHandlers {
 public:
  // Picture fields: background, character, face. Each returns the step's
  // result (kShowText, kJumped or kAdvance).
  virtual int32_t ShowBackground() = 0;
  virtual int32_t PlaceCharacter() = 0;
  virtual int32_t ChangeFace() = 0;
  // Message window: the record's text, "r" clearing the page, the text mode
  // command "t".
  virtual void ShowMessage() = 0;
  virtual void MesClear() = 0;
  virtual int32_t CmdTextMode() = 0;
  // The click-wait: returns when the player (or a dialog) releases it.
  virtual void Keys() = 0;
  // Choices ("s"), counters ("p"), conditions ("i", "d") and the reserved
  // command "c"; each returns the step's result ("p" always advances).
  virtual int32_t ShowChoices() = 0;
  virtual int32_t CmdCount() = 0;
  virtual int32_t CmdIf() = 0;
  virtual int32_t CmdCompare() = 0;
  virtual int32_t CmdReserved() = 0;
  // "e": the ending; the script stops after it.
  virtual void PlayEnding() = 0;
  // "g2": saves the story.
  virtual void SaveGame() = 0;
  // "g3": one café stage.
  virtual void PlayCafeStage() = 0;
  // "g4": opens the hero-name dialog (the click-wait after it waits for it).
  virtual void OpenNameEntry() = 0;
  // "a": music and sound.
  virtual void CmdAudio() = 0;
  // "q": ends the program; the script stops should it return.
  virtual void Quit() = 0;

 protected:
  ~StoryHandlers() = default;
};

// Executes script records from StoryState::ScriptPos.
class Interpreter {
 public:
  // Each record copied is reported (StepEvent) before its fields act.
  Interpreter(StoryState& state, Host& host, StoryHandlers& handlers, StepEvents& events);

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

  // Shows a script content error at the current label; the story goes on.
  void ContentError(const std::string& what);

 private:
  // One step; false when the script has ended.
  bool Step();
  void CopyRecord();
  // Runs the command the table describes; returns the step result.
  int32_t Dispatch(const CommandRule& rule);

  StoryState& state_;
  Host& host_;
  StoryHandlers& handlers_;
  StepEvents& events_;
  bool jumpFailed_ = false;
};

}  // namespace dovetail
