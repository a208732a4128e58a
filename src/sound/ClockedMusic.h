#pragma once

#include <cstdint>
#include <optional>

#include "host/Host.h"
#include "sound/MusicSequencer.h"

namespace dovetail {

// A piece played by the host's clock rather than by a sound device: whenever
// asked, the sequencer moves on by the time passed, sending the messages due
// to the sink (nowhere for the silent output, the page's synthesizer in a
// browser). Positions are whole milliseconds.
class ClockedMusic {
 public:
  ClockedMusic(Host& host, MidiSink& sink) : host_(host), sink_(sink) {}

  // Starts `piece` from the host's present moment (what the piece before
  // still had due is dropped with it).
  void Start(const MidiPiece& piece, std::optional<MusicLoop> loop);
  void Stop();
  uint32_t PositionMs();
  bool Finished();
  // Brings the piece up to the host's clock.
  void CatchUp();

 private:
  Host& host_;
  MidiSink& sink_;
  MusicSequencer sequencer_{1000};  // one frame a millisecond
  uint32_t heardUntil_ = 0;
};

}  // namespace dovetail
