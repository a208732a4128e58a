#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <random>
#include <string>

#include "graphics/Effects.h"
#include "platform/Dialog.h"
#include "platform/Host.h"
#include "scene/Choices.h"
#include "scene/MessagePage.h"
#include "scene/MessageWindow.h"
#include "scene/Pictures.h"
#include "script/Interpreter.h"
#include "script/MainForm.h"
#include "script/StoryState.h"
#include "shell/Settings.h"
#include "sound/AudioOutput.h"
#include "sound/Mci.h"

namespace dovetail {

class TextRenderer;

// Everything one run of the program owns: the main window and its controls,
// the story, the interpreter and its handlers, the transitions, the sound
// and the settings. Tests create as many as they like; nothing is global.
class Game {
  // The silent output used when the caller gives none (declared first: the
  // sound members below are built on it).
  std::unique_ptr<AudioOutput> ownAudio_;

 public:
  // `programFolder` is the folder the data folder is looked for in (the
  // program's own folder, or the one given on the command line). `audio` is
  // the sound device's output; without one, a silent output keeps the music's
  // and the effects' timing on the host's clock.
  Game(Host& host, TextRenderer& text, std::filesystem::path programFolder,
       AudioOutput* audio = nullptr);
  Game(const Game&) = delete;
  Game& operator=(const Game&) = delete;

  // Start-up, from the window's creation to the title screen. Ends the program
  // (throws ProgramExit) when the data folder is not usable.
  void Form_Load();
  // Shutdown: stops the music, disguises the picture files again and ends the
  // program (throws ProgramExit with code 0).
  [[noreturn]] void Form_Unload();

  // Puts the data folder back as it is while the program is not running
  // (picture headers disguised, no decoded script copies), without ending the
  // program: for a headless run that stops before the program ends.
  void PutDataFolderAtRest();

  // Draws the "Loading now" bar at `percent`.
  void ShowProgress(int16_t percent);

  // The title screen and its menu.
  void ShowTitle();
  void Tmenu_MouseMove(int index);
  void Tmenu_MouseDown(int index);
  // Prepares the story screen before the interpreter runs.
  void StoryInit();

  // What the program is waiting for, for drivers of headless runs: "title",
  // "click-wait", "dialog", or empty while it is busy.
  std::string WaitState() const;

  // The hero-name dialog of the script command "g4".
  void OpenNameEntry();
  bool NameEntryOpen() const { return nameEntryOpen_; }
  Dialog& NameEnt() { return nameEnt_; }

  Host& host;
  TextRenderer& text;
  MainForm form;
  StoryState story;
  StoryHandlers handlers;
  Interpreter interpreter;
  Effects effects;
  Settings settings;
  MessagePage page;
  MessageWindow messages;
  Pictures pictures;
  Choices choices;
  AudioOutput& audio;
  Mci mci;

  std::filesystem::path BasePath;
  std::filesystem::path DataPath;
  int16_t BaseFontSize = 12;
  // The ranking screen (mode 0 from the title, 1 after the ending).
  std::function<void(int16_t mode)> dispRanking;
  int16_t CurCategory = 0;
  bool RankingShown = false;
  // Seconds left in a café stage; while above 0 the picture ignores the mouse.
  int16_t TimeLeft = 0;
  // The program's random numbers (the café game's customers); seeded by the
  // caller so that a headless run can be repeated exactly.
  std::mt19937 random;

 private:
  void WireEvents();
  void ChooseDataFolder();
  // Shows the message, puts the data folder back at rest and ends the program.
  [[noreturn]] void FatalError(const std::string& message);
  void LoadPictureInto(PictureBox& box, const char* name);
  void ShowTitleItems();
  AudioOutput& SilentAudio();
  void CloseNameEntry(bool accept);

  std::filesystem::path programFolder_;
  bool headersRestored_ = false;
  bool unloading_ = false;
  Dialog nameEnt_;
  bool nameEntryOpen_ = false;
};

}  // namespace dovetail
