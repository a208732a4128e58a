#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace dovetail {

// One way the desktop's mix goes out to be heard: the sound server's streams
// (PulseStreams), the synthesizer's driver (FluidSynthDriver), or nowhere
// (SilentDevice). The output opens the first of them that answers and keeps
// it (SynthAudioOutput::Open).
//
// The defaults are those of a device that pulls the whole mix through the
// output's Render as it plays it: nothing is buffered ahead, so what was
// rendered has been heard; the volume is applied in the mix; there is no
// lock of the device's own.
class SoundDevice {
 public:
  // Said by MusicFramesPlayed when all the music rendered has been heard.
  static constexpr uint64_t kAllRendered = UINT64_MAX;

  virtual ~SoundDevice() = default;

  // Which way the sound goes out, for reports.
  virtual std::string Name() const = 0;
  // True when nothing is heard through it: no device could be opened.
  virtual bool Silent() const { return false; }

  // The device's own lock (BasicLockable, for std::lock_guard), held by every
  // call below and by the device's pulls: a caller that takes a lock of its
  // own inside must take this one first.
  virtual void lock() {}
  virtual void unlock() {}

  // Drops the music not yet heard: a new piece, or the silence after a stop,
  // is heard at once, and the frames played count from here.
  virtual void RestartMusic() {}
  // An effect has just started.
  virtual void StartEffect() {}
  // The master volume as a linear amplitude 0..1, for a device that applies
  // it itself.
  virtual void SetGain(float) {}
  // Frames of music played since the last restart, kAllRendered when whatever
  // was rendered has been played, or nothing while the device has not told.
  virtual std::optional<uint64_t> MusicFramesPlayed() { return kAllRendered; }
  // True once the first frame of the effect started last has been heard.
  virtual bool EffectHeard() { return true; }
};

// No device: the mix is rendered only when asked (Render), and heard by no one.
class SilentDevice final : public SoundDevice {
 public:
  std::string Name() const override { return "none"; }
  bool Silent() const override { return true; }
};

}  // namespace dovetail
