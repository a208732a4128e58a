#pragma once

#include <cstdint>

#include "scene/Pictures.h"
#include "screen/SceneContext.h"
#include "shell/Settings.h"
#include "shell/Shutdown.h"
#include "shell/TitleScreen.h"
#include "sound/Sound.h"

namespace dovetail {

// Start-up, from the window's creation to the title screen: checks the data
// folder, shows the splash picture and the "Loading now" bar, reads the
// settings, starts the sound, restores the picture headers, loads the
// user-interface sheet, the script, the face table, the choice cursor and the
// ranking, and shows the title. A data folder that is not usable ends the
// program with its message (ProgramExit).
class Startup {
 public:
  Startup(const SceneContext& scene, Settings& settings, Sound& sound, Pictures& pictures,
          Shutdown& shutdown, TitleScreen& title);
  Startup(const Startup&) = delete;
  Startup& operator=(const Startup&) = delete;

  void Form_Load();

  // Draws the "Loading now" bar at `percent`; 100 plays the start-up sound
  // and takes the bar away.
  void ShowProgress(int16_t percent);

 private:
  void LoadPictureInto(PictureBox& box, std::string_view name);

  SceneContext scene_;
  Settings& settings_;
  Sound& sound_;
  Pictures& pictures_;
  Shutdown& shutdown_;
  TitleScreen& title_;
};

}  // namespace dovetail
