#pragma once

#include <string>

namespace dovetail {

// How a run of one of the programs (the game on the desktop, the headless
// runner, the game in a web browser) ended: its exit status.
enum class ExitCode : int {
  // The player quit, or the run did all it was asked.
  Done = 0,
  // A failure the program told the player (a damaged file, a missing picture).
  Failed = 1,
  // The command line, a play file or a soundfont could not be used.
  BadUsage = 2,
  // The runner: the virtual time ran past its limit before the play was done.
  TimeRanOut = 3,
  // The runner: the story ran on without ever waiting, or the auto-player's
  // route could not go on.
  Stalled = 4,
};

constexpr int ExitStatus(ExitCode code) {
  return static_cast<int>(code);
}

// Thrown to end the program: unwinds from wherever the program decides to end
// (the window's unload, a failure told) back to main(), which returns its
// status. Nothing else ends the process, so a test can run a path that ends
// the program and look at what happened.
struct ProgramExit {
  ExitCode code = ExitCode::Done;
};

// A failure the program cannot go on from (a picture that cannot be read, a
// face for a character not on the stage, a save whose stage numbers
// disagree), thrown where it is found with the message the player is shown.
// The game catches it in one place (Game::Guarded): it tells the message,
// puts the data folder at rest and ends the run with ExitCode::Failed.
struct GameFailure {
  std::string message;
};

}  // namespace dovetail
