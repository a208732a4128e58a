#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "base/Result.h"
#include "sound/SoundDevice.h"

struct pa_threaded_mainloop;
struct pa_context;
struct pa_stream;

namespace dovetail {

struct PulseCalls;

// The program's own streams on the sound server (PulseAudio, or PipeWire
// through its PulseAudio service), in place of a synthesizer's driver that
// pulls small periods many times a second:
//
// - the music stream keeps a long buffer (half a second) filled in large
//   blocks, so the process wakes a few times a second while music plays, and
//   rests (asks for nothing) while the music is silent;
// - the effect stream has a short buffer (20 ms) and exists only while an
//   effect sounds, so an effect is heard promptly without the music paying
//   for low latency.
//
// The master volume is the streams' volume on the server, applied as the
// server mixes: a fade is heard at once, not after the music's buffer.
//
// The server's thread pulls the sound from a `Source`. Every call here needs
// the streams' lock (`lock`, the server's client loop's), which the pulls also
// hold: a caller that takes its own lock inside must take this one first.
class PulseStreams final : public SoundDevice {
 public:
  class Source {
   public:
    virtual ~Source() = default;
    // Renders up to `frames` frames of music (interleaved stereo) into `out`
    // and returns how many; 0 when the music is silent and will stay so until
    // `RestartMusic`, which lets the stream rest.
    virtual uint32_t PullMusic(float* out, uint32_t frames) = 0;
    // Renders up to `frames` frames of effects; fewer than asked when the last
    // effect has ended within them.
    virtual uint32_t PullEffects(float* out, uint32_t frames) = 0;
  };

  // Loads the sound server's client library, connects (never starting a
  // server) and opens the music stream at `gain` (linear amplitude). The
  // error says why no server could be had.
  static Result<std::unique_ptr<PulseStreams>> Connect(Source& source, uint32_t sampleRate,
                                                       float gain);
  ~PulseStreams() override;
  PulseStreams(const PulseStreams&) = delete;
  PulseStreams& operator=(const PulseStreams&) = delete;

  std::string Name() const override { return "sound server streams"; }
  // The lock may be taken again by the thread that holds it.
  void lock() override;
  void unlock() override;

  // Drops the music not yet heard and pulls anew at once: a new piece (or
  // silence after a stop) is heard without waiting for the buffer to play out.
  // A restart before the music stream could open leaves none.
  void RestartMusic() override;
  // Makes sure an effect stream is pulling, opening one when none is.
  void StartEffect() override;
  // The volume of both streams, as a linear amplitude 0..1.
  void SetGain(float gain) override;
  // Frames of music played since the last restart (the server's time,
  // interpolated), or nothing while the server has not told.
  std::optional<uint64_t> MusicFramesPlayed() override;
  // True when the first frame of the effect started last has been heard.
  bool EffectHeard() override;

 private:
  struct EffectStream {
    pa_stream* stream = nullptr;
    uint64_t framesWritten = 0;
  };

  PulseStreams(std::unique_ptr<PulseCalls> calls, Source& source, uint32_t sampleRate, float gain);
  Status ConnectContext();
  Status OpenMusicStream();
  pa_stream* NewStream(const char* name, uint32_t bufferMs, uint32_t requestMs, bool lowLatency);
  void FillMusic(size_t bytes);
  void FillEffects(pa_stream* stream, size_t bytes);
  void EndEffectStream(pa_stream* stream);
  void ApplyGain(pa_stream* stream);
  void CloseStream(pa_stream*& stream);

  static void OnContextState(pa_context* context, void* self);
  static void OnStreamState(pa_stream* stream, void* self);
  static void OnMusicRequest(pa_stream* stream, size_t bytes, void* self);
  static void OnEffectRequest(pa_stream* stream, size_t bytes, void* self);
  static void OnEffectDrained(pa_stream* stream, int success, void* self);

  std::unique_ptr<PulseCalls> calls_;
  Source& source_;
  uint32_t sampleRate_;
  float gain_;
  pa_threaded_mainloop* loop_ = nullptr;
  pa_context* context_ = nullptr;
  pa_stream* music_ = nullptr;
  EffectStream effect_;
  // The frame of the effect stream where the effect started last begins.
  uint64_t effectStartFrame_ = 0;
  // Effect streams playing out their last frames before they close.
  std::vector<pa_stream*> draining_;
};

}  // namespace dovetail
