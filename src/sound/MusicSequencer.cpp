#include "sound/MusicSequencer.h"

#include <algorithm>
#include <cassert>
#include <cmath>

namespace dovetail {

namespace {

constexpr uint8_t kNoteOff = 0x80;
constexpr uint8_t kNoteOn = 0x90;

}  // namespace

MusicSequencer::MusicSequencer(uint32_t sampleRate) : sampleRate_(sampleRate) {
  assert(sampleRate > 0);
}

uint64_t MusicSequencer::FrameAt(double ms) const {
  return static_cast<uint64_t>(std::llround(ms * sampleRate_ / 1000.0));
}

void MusicSequencer::Start(const MidiPiece& piece, std::optional<MusicLoop> loop, MidiSink& sink) {
  sink.Reset();
  events_.clear();
  events_.reserve(piece.events.size());
  for (const MidiEvent& event : piece.events)
    events_.push_back({FrameAt(event.ms), event.status, event.data1, event.data2});
  endFrame_ = FrameAt(piece.MsAtTick(piece.lengthTicks));
  loop_.reset();
  if (loop) {
    const uint64_t start = FrameAt(piece.MsAtMusicTime(loop->startMusicTime));
    const uint64_t end = std::min(endFrame_, FrameAt(piece.MsAtMusicTime(loop->endMusicTime)));
    if (end > start) loop_ = FrameLoop{start, end};
  }
  next_ = 0;
  position_ = 0;
  for (auto& notes : heldNotes_)
    notes.reset();
  playing_ = true;
}

void MusicSequencer::Stop(MidiSink& sink) {
  if (!playing_) return;
  ReleaseHeldNotes(sink);
  events_.clear();
  next_ = 0;
  position_ = 0;
  loop_.reset();
  playing_ = false;
}

void MusicSequencer::Dispatch(MidiSink& sink, const TimedEvent& event) {
  const uint8_t kind = event.status & 0xF0;
  const size_t channel = event.status & 0x0F;
  if (kind == kNoteOn && event.data2 > 0) {
    heldNotes_[channel].set(event.data1);
  } else if (kind == kNoteOff || kind == kNoteOn) {
    heldNotes_[channel].reset(event.data1);
  }
  sink.Send(event.status, event.data1, event.data2);
}

void MusicSequencer::ReleaseHeldNotes(MidiSink& sink) {
  for (size_t channel = 0; channel < heldNotes_.size(); ++channel) {
    for (size_t note = 0; note < 128; ++note) {
      if (!heldNotes_[channel].test(note)) continue;
      sink.Send(static_cast<uint8_t>(kNoteOff | channel), static_cast<uint8_t>(note), 0);
    }
    heldNotes_[channel].reset();
  }
}

// Notes still held at the loop's end are released (their note-offs at the very
// end belong to this pass), and the messages from the loop's start on play again.
void MusicSequencer::JumpToLoopStart(MidiSink& sink) {
  ReleaseHeldNotes(sink);
  position_ = loop_->start;
  next_ = static_cast<size_t>(std::lower_bound(events_.begin(), events_.end(), loop_->start,
                                               [](const TimedEvent& event, uint64_t frame) {
                                                 return event.frame < frame;
                                               }) -
                              events_.begin());
}

template <typename RenderChunk>
void MusicSequencer::Play(MidiSink& sink, uint64_t frames, RenderChunk renderChunk) {
  uint64_t done = 0;
  while (done < frames) {
    if (playing_) {
      if (loop_ && position_ >= loop_->end) JumpToLoopStart(sink);
      const uint64_t stopAt = loop_ ? loop_->end : UINT64_MAX;
      while (next_ < events_.size() && events_[next_].frame <= position_ &&
             events_[next_].frame < stopAt) {
        Dispatch(sink, events_[next_++]);
      }
    }
    // Render up to the next message, the loop's end or the buffer's end.
    uint64_t until = position_ + (frames - done);
    if (playing_) {
      if (next_ < events_.size()) until = std::min(until, events_[next_].frame);
      if (loop_) until = std::min(until, loop_->end);
    }
    const uint64_t chunk = std::min(std::max<uint64_t>(until - position_, 1), frames - done);
    renderChunk(done, chunk);
    done += chunk;
    if (playing_) position_ += chunk;
  }
}

void MusicSequencer::Render(MidiSink& sink, float* left, float* right, uint32_t frames) {
  Play(sink, frames, [&](uint64_t offset, uint64_t count) {
    sink.Render(left + offset, right + offset, static_cast<uint32_t>(count));
  });
}

void MusicSequencer::Advance(MidiSink& sink, uint64_t frames) {
  Play(sink, frames, [](uint64_t, uint64_t) {});
}

uint32_t MusicSequencer::PositionMs() const {
  if (!playing_) return 0;
  const uint64_t frame = loop_ ? position_ : std::min(position_, endFrame_);
  return static_cast<uint32_t>(frame * 1000 / sampleRate_);
}

}  // namespace dovetail
