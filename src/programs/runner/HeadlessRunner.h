#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "backends/audio/silent/NullAudioOutput.h"
#include "backends/hosts/headless/HeadlessHost.h"
#include "programs/common/CafeGestures.h"
#include "programs/common/EventLog.h"
#include "programs/common/LoggedEvents.h"
#include "programs/runner/AutoPlayer.h"
#include "programs/runner/PlayFile.h"
#include "storage/GamePaths.h"

namespace dovetail {

class Game;
class TextRenderer;

struct RunnerOptions {
  std::filesystem::path gameFolder;
  // Where the player's files go (the programs give it); without it they are
  // kept in the data folder, which is written, as the game always did.
  std::optional<PlayerFolderChoice> playerFolder;
  std::vector<PlayCommand> play;
  std::filesystem::path snapDir = ".";
  uint32_t seed = 1;
  uint32_t maxMs = 3'600'000;  // an hour of virtual time
  // A snapshot every this many ms of virtual time, named by the moment
  // ("at-0012000"), to look at a whole run; 0: none.
  uint32_t snapEvery = 0;
  // How the café is played when the play file has no café commands.
  CafePolicy cafe = CafePolicy::Idle;
  // Plays a route by itself instead of the play file.
  std::optional<AutoOptions> autoPlay;
};

// Runs the game on the headless host, feeding it the play file's input when
// the program is ready for it, and logs what happens. The run ends when the
// program ends, when the play file is done and the program waits again, or
// when the virtual time runs past `maxMs`. A play file without café commands
// leaves the café stages to the run's policy: a customer waiting then does not
// count as the program waiting for the play file. With `autoPlay` the
// auto-player gives the input instead, and the run ends when its route is
// done (0) or cannot go on (4).
class HeadlessRunner {
 public:
  HeadlessRunner(RunnerOptions options, TextRenderer& text, std::ostream* log);
  ~HeadlessRunner();

  // Returns the exit code: the program's own, 0 when the play file is done,
  // 3 when the time ran out, 4 when the story runs 200000 records without
  // letting events run (an endless loop) or the route cannot go on.
  // `Failure()` then says why.
  int Run();
  const std::string& Failure() const { return failure_; }

  HeadlessHost& Host() { return host_; }
  Game& GetGame() { return *game_; }
  EventLog& Log() { return log_; }

 private:
  struct Stop {
    ExitCode code;
    std::string reason;
  };

  void Tick();
  // Runs play commands until one has to wait; false when none is left.
  bool Advance();
  // The program waits for input the play file has to give.
  bool WaitsForPlayFile() const;
  // Serves the customer who has waited longest, by mouse.
  void Serve(bool correct);
  std::optional<MessageBoxAnswer> OnMessageBox(const MessageBoxRequest& request);
  void Snap(const std::string& name);
  // A press names a control of the dialog open last; else the run stops
  // with an error naming it.
  void CheckPressable(const std::string& control);
  uint32_t Elapsed() { return host_.TickCount() - start_; }

  RunnerOptions options_;
  HeadlessHost host_;
  EventLog log_;
  LoggedEvents events_;
  std::unique_ptr<NullAudioOutput> audio_;
  std::unique_ptr<Game> game_;
  size_t next_ = 0;
  std::optional<uint32_t> waitUntil_;
  uint32_t nextTimedSnap_ = 0;
  std::optional<MessageBoxAnswer> pendingAnswer_;
  uint32_t start_ = 0;
  std::string failure_;
  bool playsCafe_ = false;
  std::unique_ptr<AutoPlayer> autoPlayer_;
  uint32_t recordsSinceEvents_ = 0;
};

}  // namespace dovetail
