#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "base/Result.h"

namespace dovetail::tools {

// A short piece of music written as text, turned into a Standard MIDI file.
//
//   # a comment
//   tempo 96                         beats (quarter notes) a minute
//   meter 3                          beats a bar; bar lines are checked
//   part melody channel 0 program 73 velocity 88
//     E5:1 G5:1 C6:1 | B5:2 G5:1 | …
//   part chords channel 1 program 0 velocity 60
//     C4+E4+G4:3 | …
//
// A note is a letter A to G, an optional # or b and an octave (C4 is middle
// C, MIDI key 60), followed by ":" and its length in beats (0.5, 1, 1.5 …);
// several notes joined by "+" sound together; "R" is a rest; "|" is a bar
// line. Channel 9 is the drum channel (its notes choose the drum, e.g. C2 bass
// drum, D2 snare, F#2 closed hi-hat) and takes no program. Every part must be
// as long as the others, so the piece loops cleanly.

struct MusicNote {
  std::vector<int> keys;  // empty for a rest
  double startBeat = 0;
  double beats = 0;
};

struct MusicPart {
  std::string name;
  int channel = 0;
  int program = 0;
  int velocity = 80;
  std::vector<MusicNote> notes;
  double lengthBeats = 0;
};

struct MusicRecipe {
  double tempo = 120;
  int meter = 4;
  std::vector<MusicPart> parts;
};

// Reads a recipe; errors name `source` and the line.
Result<MusicRecipe> ParseMusicRecipe(std::string_view text, const std::string& source);

// A format-0 Standard MIDI file of the recipe, 480 ticks a beat: tempo, time
// signature, each part's program, then the notes (each released a little
// before its full length), ending exactly at the end of the last bar.
std::string EncodeMidi(const MusicRecipe& recipe);

}  // namespace dovetail::tools
