#pragma once

#include <random>

#include "base/ProgramExit.h"
#include "comforts/Comforts.h"
#include "dialogs/AboutDialog.h"
#include "dialogs/OptionsDialog.h"
#include "graphics/Effects.h"
#include "graphics/TextRenderer.h"
#include "host/Host.h"
#include "minigame/CafeGame.h"
#include "minigame/RankingScreen.h"
#include "scene/Choices.h"
#include "scene/Ending.h"
#include "scene/MessageWindow.h"
#include "scene/Pictures.h"
#include "screen/MainForm.h"
#include "screen/MessagePage.h"
#include "screen/SceneContext.h"
#include "shell/GameEvents.h"
#include "shell/NameEntry.h"
#include "shell/Settings.h"
#include "shell/Shutdown.h"
#include "shell/Startup.h"
#include "shell/TitleScreen.h"
#include "shell/WaitState.h"
#include "sound/AudioOutput.h"
#include "sound/Sound.h"
#include "storage/FolderPlayerFiles.h"
#include "storage/GamePaths.h"
#include "story/Interpreter.h"
#include "story/StoryState.h"

namespace dovetail {

// Everything one run of the program owns, in the order it is built, and how
// the parts are wired to each other and to the story. Nothing else: each
// part's behaviour lives in its own class. Tests create as many as they like;
// nothing is global.
//
// The story's seams (StoryHandlers) are implemented here, each by handing the
// command to the part that owns it, so that the interpreter cannot meet a seam
// nobody wired.
class Game final : private StoryHandlers {
 public:
  // `gamePaths` are worked out before the run (GamePaths::ForGameFolder); `audio`
  // is the sound device's output or a silent one (MakeSilentAudio); `events`
  // hears what the run does; `durability`, where the file system alone does
  // not keep what is written (the browser's), makes each write of the
  // player's files last.
  Game(Host& host, TextRenderer& text, GamePaths gamePaths, AudioOutput& audio, GameEvents& events,
       FolderPlayerFiles::Durability durability = {});
  Game(const Game&) = delete;
  Game& operator=(const Game&) = delete;

  // Start-up to the title screen (see Startup), guarded.
  void Start();
  // Runs `work` (start-up, the host's event loop, a driver's input) so that a
  // GameFailure thrown anywhere beneath ends the run the one way: the message
  // told, the data folder put at rest once, ProgramExit with ExitCode::Failed.
  template <class Work>
  void Guarded(Work&& work) {
    try {
      work();
    } catch (const GameFailure& failure) {
      shutdown.FatalError(failure.message);
    }
  }
  // The player quits by the menu or the close box: asked first when the
  // story would lose progress (Comforts::ConfirmQuit).
  void QuitAsked();
  // The data folder put back at rest for a headless run that stops early.
  [[nodiscard]] Status PutDataFolderAtRest() { return shutdown.PutDataFolderAtRest(); }

  // What the program waits for, for drivers of headless runs.
  WaitState Waiting() const;

  const GamePaths paths;
  // The player's files: the game's (settings, ranking, save, the day's
  // results, the system report) and our own (the comforts').
  FolderPlayerFiles files;
  FolderPlayerFiles ownFiles;
  MainForm form;
  StoryState story;
  MessagePage page;
  Settings settings;
  // The program's random numbers (the café game's customers); seeded by the
  // caller so that a headless run can be repeated exactly.
  std::mt19937 random;
  Effects effects;
  // The host, text renderer and event sink of the run travel in the context.
  const SceneContext scene;
  Sound sound;
  Interpreter interpreter;
  MessageWindow messages;
  Pictures pictures;
  Choices choices;
  // The player's comforts beyond the original (history, auto-advance, skip
  // of read text, screenshots, the question before quitting).
  Comforts comforts;
  Shutdown shutdown;
  NameEntry nameEntry;
  // The menu bar's options dialog and about box.
  OptionsDialog options;
  AboutDialog about;
  TitleScreen title;
  Startup startup;
  cafe::CafeGame cafe;
  RankingScreen ranking;
  Ending ending;

 private:
  // The story's seams.
  int32_t ShowBackground() override;
  int32_t PlaceCharacter() override;
  int32_t ChangeFace() override;
  void ShowMessage() override;
  void MesClear() override;
  int32_t CmdTextMode() override;
  void Keys() override;
  int32_t ShowChoices() override;
  int32_t CmdCount() override;
  int32_t CmdIf() override;
  int32_t CmdCompare() override;
  int32_t CmdReserved() override;
  void PlayEnding() override;
  void SaveGame() override;
  void PlayCafeStage() override;
  void OpenNameEntry() override;
  void CmdAudio() override;

 public:
  // Ends the program as the script's "q" does (see Shutdown::Form_Unload).
  void Quit() override;
};

}  // namespace dovetail
