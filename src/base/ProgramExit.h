#pragma once

namespace dovetail {

// Thrown to end the program: unwinds from wherever the program decides to end
// (the window's unload, a save file whose stages disagree, a missing character)
// back to main(), which returns `code`. Nothing else ends the process, so a test
// can run a path that ends the program and look at what happened.
struct ProgramExit {
  int code = 0;
};

}  // namespace dovetail
