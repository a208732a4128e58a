#include "sound/ClockedMusic.h"

namespace dovetail {

void ClockedMusic::CatchUp() {
  const uint32_t now = host_.TickCount();
  sequencer_.Advance(sink_, now - heardUntil_);
  heardUntil_ = now;
}

void ClockedMusic::Start(const MidiPiece& piece, std::optional<MusicLoop> loop) {
  sequencer_.Start(piece, loop, sink_);
  heardUntil_ = host_.TickCount();
}

void ClockedMusic::Stop() {
  sequencer_.Stop(sink_);
}

uint32_t ClockedMusic::PositionMs() {
  CatchUp();
  return sequencer_.PositionMs();
}

bool ClockedMusic::Finished() {
  CatchUp();
  return sequencer_.Finished();
}

}  // namespace dovetail
