#pragma once

#include <string>

namespace dovetail {

// Thrown to end the program: unwinds from wherever the program decides to end
// (the window's unload, a save file whose stages disagree, a missing character)
// back to main(), which returns `code`. Nothing else ends the process, so a test
// can run a path that ends the program and look at what happened.
struct ProgramExit {
  int code = 0;
};

// A failure the program cannot go on from (a picture that cannot be read, a
// face for a character not on the stage), thrown where it is found with the
// message the player is shown. The game catches it in one place
// (Game::Guarded): it tells the message, puts the data folder at rest and
// ends the run with kFailedExit.
struct GameFailure {
  std::string message;
};

// The exit status of a run that ended on a failure it told.
inline constexpr int kFailedExit = 1;

}  // namespace dovetail
