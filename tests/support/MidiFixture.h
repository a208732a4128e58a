#pragma once

#include <cstdint>
#include <string>

namespace dovetail::testing {

// Builders of Standard MIDI File fixtures (all numbers big-endian).

inline std::string BigEndian(uint32_t value, int bytes) {
  std::string out;
  for (int i = bytes - 1; i >= 0; --i)
    out += static_cast<char>((value >> (8 * i)) & 0xFF);
  return out;
}

inline std::string MidiChunk(const std::string& tag, const std::string& body) {
  return tag + BigEndian(static_cast<uint32_t>(body.size()), 4) + body;
}

inline std::string MidiHeader(uint16_t format, uint16_t tracks, uint16_t division) {
  return MidiChunk("MThd", BigEndian(format, 2) + BigEndian(tracks, 2) + BigEndian(division, 2));
}

// A format 0 file of `quarters` quarter notes at 120 bpm (500 ms each, 96
// ticks a quarter): one note held from the start to the end.
inline std::string MidiOfQuarters(int quarters) {
  const uint32_t ticks = static_cast<uint32_t>(quarters) * 96;
  // The delta time as a variable-length quantity, most significant group first.
  std::string delta(1, static_cast<char>(ticks & 0x7F));
  for (uint32_t rest = ticks >> 7; rest != 0; rest >>= 7)
    delta.insert(0, 1, static_cast<char>(0x80 | (rest & 0x7F)));
  const std::string track = std::string{0x00, static_cast<char>(0x90), 60, 100} + delta +
                            std::string{static_cast<char>(0x80), 60, 0} +
                            std::string{0x00, static_cast<char>(0xFF), 0x2F, 0x00};
  return MidiHeader(0, 1, 96) + MidiChunk("MTrk", track);
}

}  // namespace dovetail::testing
