#pragma once

#include <cstdint>
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
//   pickup 1                         the first bar is a pickup of 1 beat
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
//
// The looping player loops from music time 1000 (625 ticks, about 1.3
// beats) to the end, so a piece whose first bar starts at tick 0 would come
// back a third of a beat into its second beat. With "pickup BEATS" the first
// bar of every part is a pickup of that many beats (at most the 625 ticks)
// and the piece starts with the rest that makes the pickup end, and the first
// full bar begin, exactly at the loop point: the loop then returns to the
// downbeat of the first full bar, and the pickup is heard only once.

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
  double pickupBeats = 0;  // 0: no pickup, the first bar is a full one
  std::vector<MusicPart> parts;
};

// Reads a recipe; errors name `source` and the line.
Result<MusicRecipe> ParseMusicRecipe(std::string_view text, const std::string& source);

// The tick, at 480 a beat, where the looping player loops back to.
uint32_t LoopPointTicks();

// A format-0 Standard MIDI file of the recipe, 480 ticks a beat: tempo, time
// signature, each part's program, then the notes (each released a little
// before its full length), ending exactly at the end of the last bar. With a
// pickup the notes start late by the rest that puts the first full bar at
// LoopPointTicks().
std::string EncodeMidi(const MusicRecipe& recipe);

}  // namespace dovetail::tools
