#pragma once

#include <array>
#include <bitset>
#include <cstdint>
#include <optional>
#include <vector>

#include "sound/AudioOutput.h"
#include "sound/MidiFile.h"

namespace dovetail {

// Where the sequencer sends what it plays: a synthesizer, or a recorder in tests.
class MidiSink {
 public:
  virtual ~MidiSink() = default;
  // Puts every channel back to its power-on state and silences it at once.
  virtual void Reset() = 0;
  // One channel message.
  virtual void Send(uint8_t status, uint8_t data1, uint8_t data2) = 0;
  // Renders `frames` frames of sound into the two buffers (overwriting them).
  virtual void Render(float* left, float* right, uint32_t frames) = 0;
};

// A sink nobody listens to: the messages go nowhere.
class SilentSink : public MidiSink {
 public:
  void Reset() override {}
  void Send(uint8_t, uint8_t, uint8_t) override {}
  void Render(float*, float*, uint32_t) override {}
};

// Plays one piece into a sink, sample-accurately: each channel message is sent
// at the frame its time falls on, and the sound between two messages is
// rendered in one piece. A loop jumps from its end back to its start in the
// middle of a buffer, so looping is seamless. The playing position counts the
// frames rendered, so a piece ends when its last tick has been heard, not when
// the synthesizer's last note has died away.
//
// Not thread-safe: the output that owns it serialises the calls.
class MusicSequencer {
 public:
  explicit MusicSequencer(uint32_t sampleRate);

  // Starts `piece` from its beginning (resetting the sink). With a loop, the
  // piece plays to the loop's end and then repeats the loop for ever; a loop
  // that is empty or starts past its end is ignored and the piece plays once.
  void Start(const MidiPiece& piece, std::optional<MusicLoop> loop, MidiSink& sink);
  // Stops the piece: every note still held is released.
  void Stop(MidiSink& sink);
  // Renders the next `frames` frames, sending the messages they hold.
  void Render(MidiSink& sink, float* left, float* right, uint32_t frames);
  // Moves on by `frames` frames, sending the messages they hold, without
  // rendering any sound (an output nobody hears).
  void Advance(MidiSink& sink, uint64_t frames);

  bool Playing() const { return playing_; }
  // The position in the piece, in ms (a looping piece's position wraps).
  uint32_t PositionMs() const;
  // A piece without a loop whose position has reached its end.
  bool Finished() const { return playing_ && !loop_ && position_ >= endFrame_; }

 private:
  struct TimedEvent {
    uint64_t frame = 0;
    uint8_t status = 0;
    uint8_t data1 = 0;
    uint8_t data2 = 0;
  };
  struct FrameLoop {
    uint64_t start = 0;
    uint64_t end = 0;
  };

  uint64_t FrameAt(double ms) const;
  void Dispatch(MidiSink& sink, const TimedEvent& event);
  void ReleaseHeldNotes(MidiSink& sink);
  void JumpToLoopStart(MidiSink& sink);
  // Plays `frames` frames: sends each message at its frame and hands the
  // stretches between them to `renderChunk(offset, count)`.
  template <typename RenderChunk>
  void Play(MidiSink& sink, uint64_t frames, RenderChunk renderChunk);

  uint32_t sampleRate_;
  std::vector<TimedEvent> events_;
  size_t next_ = 0;
  uint64_t position_ = 0;
  uint64_t endFrame_ = 0;
  std::optional<FrameLoop> loop_;
  bool playing_ = false;
  std::array<std::bitset<128>, 16> heldNotes_;
};

}  // namespace dovetail
