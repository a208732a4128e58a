#pragma once

#include <cstdint>
#include <functional>

#include "story/Interpreter.h"

namespace dovetail::testing {

// Story seams for interpreter tests: each runs the function a test gave it;
// one not given does nothing and leaves the step's result as it is.
class StubStoryHandlers final : public StoryHandlers {
 public:
  explicit StubStoryHandlers(StoryState& state) : state_(state) {}

  std::function<int32_t()> showBackground, placeCharacter, changeFace, cmdTextMode, showChoices,
      cmdCount, cmdIf, cmdCompare, cmdReserved;
  std::function<void()> showMessage, mesClear, keys, playEnding, saveGame, playCafeStage,
      openNameEntry, cmdAudio, quit;

  int32_t ShowBackground() override { return Result(showBackground); }
  int32_t PlaceCharacter() override { return Result(placeCharacter); }
  int32_t ChangeFace() override { return Result(changeFace); }
  void ShowMessage() override { Run(showMessage); }
  void MesClear() override { Run(mesClear); }
  int32_t CmdTextMode() override { return Result(cmdTextMode); }
  void Keys() override { Run(keys); }
  int32_t ShowChoices() override { return Result(showChoices); }
  int32_t CmdCount() override { return Result(cmdCount); }
  int32_t CmdIf() override { return Result(cmdIf); }
  int32_t CmdCompare() override { return Result(cmdCompare); }
  int32_t CmdReserved() override { return Result(cmdReserved); }
  void PlayEnding() override { Run(playEnding); }
  void SaveGame() override { Run(saveGame); }
  void PlayCafeStage() override { Run(playCafeStage); }
  void OpenNameEntry() override { Run(openNameEntry); }
  void CmdAudio() override { Run(cmdAudio); }
  void Quit() override { Run(quit); }

 private:
  int32_t Result(const std::function<int32_t()>& handler) {
    return handler ? handler() : state_.StepResult;
  }
  static void Run(const std::function<void()>& handler) {
    if (handler) handler();
  }

  StoryState& state_;
};

}  // namespace dovetail::testing
