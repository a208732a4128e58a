#pragma once

#include <string>

#include "base/Result.h"
#include "host/Host.h"
#include "sound/Sound.h"
#include "storage/GamePaths.h"

namespace dovetail {

// How a run ends: the normal exit (Form_Unload) and the fatal error of a
// start-up or a scene that cannot go on. Both put the data folder back as it
// rests while the program is not running (picture headers disguised, no
// decoded script copies) once start-up has restored it, and end the program
// by throwing ProgramExit.
class Shutdown {
 public:
  Shutdown(Host& host, Sound& sound, const GamePaths& paths);
  Shutdown(const Shutdown&) = delete;
  Shutdown& operator=(const Shutdown&) = delete;

  // Stops the music, disguises the picture files again and ends the program
  // (ProgramExit with ExitCode::Done).
  [[noreturn]] void Form_Unload();
  // Shows the message, puts the data folder back at rest when start-up had
  // restored it, and ends the program (ProgramExit with ExitCode::Failed).
  [[noreturn]] void FatalError(const std::string& message);
  // Start-up is about to restore the picture headers: from now on an ending
  // puts them back.
  void HeadersRestored() { headersRestored_ = true; }
  // Puts the data folder back at rest without ending the program: for a
  // headless run that stops before the program ends. Returns the first
  // picture that could not be disguised again.
  Status PutDataFolderAtRest();
  // True once the program is ending: nothing waits for the player any more.
  bool Unloading() const { return unloading_; }

 private:
  // A picture left undisguised is told, naming it, so that the player knows
  // why the next start may find the folder changed.
  void ReportIfFailed(const Status& status);

  Host& host_;
  Sound& sound_;
  const GamePaths& paths_;
  bool headersRestored_ = false;
  bool unloading_ = false;
};

}  // namespace dovetail
