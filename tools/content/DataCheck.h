#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "content/Finding.h"

namespace dovetail::tools {

// Checks a game's data folder and returns one finding per fault, in file
// order. Errors are faults the game stumbles over (a missing or undecodable
// file, a script the game cannot load or cannot run as written); warnings are
// things that work but are probably not meant (a picture left with its
// header restored, a picture smaller than the parts the game reads from it).
//
// What is checked:
// - the file set: 20.dat, 30.dat (a warning only: the game starts with an
//   empty ranking), 51.dat, 52.dat, the twelve disguised pictures, p03.dat,
//   P99.dat, 01.mid to 03.mid and select.cur; names are matched without
//   regard to case, as the game finds them;
// - 20.dat reads as the game reads it, with plausible café tables;
// - 30.dat holds five rows of name, grade and score;
// - the disguised pictures carry "JF" at rest ("BM" is a warning: the
//   program was not shut down cleanly) and decode with "BM" put back; every
//   other picture is a plain bitmap; sheets are large enough for the parts
//   the game cuts out of them;
// - every background and character picture the script names exists and
//   decodes, and every face change lies inside the face sheet;
// - the script and choice table (see CheckScriptTexts);
// - the music files are Standard MIDI files and the cursor decodes;
// - every label is reached by some route from the title (a warning names
//   each label none reaches) and no route meets a content error or a loop
//   (the routes are walked by the game's own interpreter, see MapRoutes);
// - every message line fits the message window (a warning with its row for
//   a line that reaches past its right edge, shown whole or one character at
//   a time, measured with the game's own text renderer in the message font,
//   the default names standing for the hero's);
// - every picture and piece of music in the folder is used by a script
//   record or a screen of the game (a warning for each that is not).
std::vector<Finding> CheckDataFolder(const std::filesystem::path& dataDir);

}  // namespace dovetail::tools
