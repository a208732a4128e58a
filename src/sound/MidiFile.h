#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "base/Result.h"

namespace dovetail {

// Music time of the looping player: 768 units per quarter note, whatever the
// file's own resolution.
inline constexpr int32_t kMusicTimePerQuarter = 768;

// A tempo in force from a tick on.
struct TempoChange {
  uint32_t tick = 0;
  uint32_t microsecondsPerQuarter = 500000;
};

// One channel message (note, controller, program, pressure, pitch bend) of a
// piece, placed on the piece's time line.
struct MidiEvent {
  uint32_t tick = 0;
  double ms = 0;  // from the piece's start, through the tempo map
  uint8_t status = 0;
  uint8_t data1 = 0;
  uint8_t data2 = 0;
};

// A Standard MIDI File read far enough to time and play it: its resolution,
// its tempo map, its length and its channel messages.
struct MidiPiece {
  std::string name;                 // the file, as errors and logs name it
  uint16_t format = 0;              // 0 or 1
  uint16_t ticksPerQuarter = 96;    // the file's resolution
  uint32_t lengthTicks = 0;         // the end of the longest track
  std::vector<TempoChange> tempos;  // sorted by tick; the first is at tick 0
  uint32_t lengthMs = 0;            // playing time, rounded down
  int32_t lengthMusicTime = 0;      // lengthTicks in music time
  // The channel messages of all tracks in time order; at the same tick, the
  // earlier track first and each track's own order kept. System exclusive and
  // meta events are not kept: the synthesizer starts every piece reset.
  std::vector<MidiEvent> events;

  // Milliseconds from the start to a tick, through the tempo changes.
  double MsAtTick(uint32_t tick) const;
  // Milliseconds from the start to a point in music time.
  double MsAtMusicTime(int32_t musicTime) const;
};

// Reads a format 0 or 1 file held in memory; `name` names it in errors.
Result<MidiPiece> ParseMidi(std::string bytes, std::string name);

// The largest MIDI file read. The game's pieces are a few tens of kilobytes;
// a file at the cap still decodes into well under 100 MB of events.
inline constexpr uint64_t kMaxMidiFileBytes = uint64_t{4} << 20;

// Reads a MIDI file (at most kMaxMidiFileBytes); errors name the file.
Result<MidiPiece> ReadMidiFile(const std::filesystem::path& path);

}  // namespace dovetail
