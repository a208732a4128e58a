#pragma once

#include <cstdint>
#include <string>

namespace dovetail::testing {

// A format 0 Standard MIDI File of `quarters` quarter notes at 120 bpm (500 ms
// each, 96 ticks a quarter): one note held from the start to the end.
inline std::string MidiOfQuarters(int quarters) {
  const uint32_t ticks = static_cast<uint32_t>(quarters) * 96;
  std::string track = {0x00, static_cast<char>(0x90), 60, 100};
  // The delta time as a variable-length quantity, most significant group first.
  std::string delta(1, static_cast<char>(ticks & 0x7F));
  for (uint32_t rest = ticks >> 7; rest != 0; rest >>= 7)
    delta.insert(0, 1, static_cast<char>(0x80 | (rest & 0x7F)));
  track += delta + std::string{static_cast<char>(0x80), 60, 0};
  track += std::string{0x00, static_cast<char>(0xFF), 0x2F, 0x00};
  std::string file = "MThd";
  file += std::string{0, 0, 0, 6, 0, 0, 0, 1, 0, 96};
  file += "MTrk";
  file += std::string{0, 0, static_cast<char>(track.size() >> 8),
                      static_cast<char>(track.size() & 0xFF)};
  return file + track;
}

}  // namespace dovetail::testing
