#pragma once

#include <cstdint>
#include <optional>

#include "base/Result.h"
#include "sound/MidiFile.h"

namespace dovetail {

// A stretch of a piece played over and over, in music time (768 per quarter).
struct MusicLoop {
  int32_t startMusicTime = 0;
  int32_t endMusicTime = 0;
};

// The one audio output of the program: one music channel, effect sounds mixed on
// top, and one master volume (0..65535) standing in for the speaker volume.
class AudioOutput {
 public:
  virtual ~AudioOutput() = default;

  // Opens the device; false when no device can be had.
  virtual bool Open() = 0;
  virtual bool IsOpen() const = 0;

  // Starts `piece` from its beginning, replacing any music playing. With a loop
  // the piece plays to the loop's end, then repeats the loop for ever. An error
  // when the output cannot play music (no instruments); nothing plays then.
  virtual Status StartMusic(const MidiPiece& piece, std::optional<MusicLoop> loop) = 0;
  virtual void StopMusic() = 0;
  // Where the music is, in milliseconds from the piece's start (0 when none).
  virtual uint32_t MusicPositionMs() = 0;
  // True when a piece was started without a loop and its playing position has
  // reached its end. A stopped or looping piece is not finished.
  virtual bool MusicFinished() = 0;

  // Plays a built-in effect sound, cutting off the one still playing; false
  // (and nothing plays) when there is no sound with that identifier.
  virtual bool PlayEffect(int32_t id) = 0;
  // The effect's length, or nothing when there is no such sound.
  virtual std::optional<uint32_t> EffectLengthMs(int32_t id) const = 0;

  virtual void SetMasterVolume(uint16_t volume) = 0;
  virtual uint16_t MasterVolume() const = 0;
};

}  // namespace dovetail
