#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "sound/MusicSequencer.h"

namespace dovetail {
namespace {

// Records each message with the frame it was sent at, and renders the frame
// number as the sample so that the stream's continuity can be checked.
class RecordingSink : public MidiSink {
 public:
  struct Sent {
    uint64_t frame;
    uint8_t status;
    uint8_t note;
    bool operator==(const Sent&) const = default;
  };

  void Reset() override { ++resets; }
  void Send(uint8_t status, uint8_t data1, uint8_t) override {
    sent.push_back({rendered, status, data1});
  }
  void Render(float* left, float* right, uint32_t frames) override {
    for (uint32_t i = 0; i < frames; ++i) {
      left[i] = right[i] = static_cast<float>(rendered + i);
    }
    rendered += frames;
  }

  uint64_t rendered = 0;
  int resets = 0;
  std::vector<Sent> sent;
};

// 96 ticks a quarter at 120 bpm: one tick is 500 / 96 ms.
MidiPiece PieceOf(std::vector<MidiEvent> events, uint32_t lengthTicks) {
  MidiPiece piece;
  piece.name = "piece.mid";
  piece.ticksPerQuarter = 96;
  piece.tempos = {TempoChange{}};
  piece.lengthTicks = lengthTicks;
  piece.lengthMs = static_cast<uint32_t>(piece.MsAtTick(lengthTicks));
  piece.lengthMusicTime = static_cast<int32_t>(lengthTicks * kMusicTimePerQuarter / 96);
  for (MidiEvent& event : events)
    event.ms = piece.MsAtTick(event.tick);
  piece.events = std::move(events);
  return piece;
}

// Four quarters (2000 ms): a note from the start to the second quarter, one
// over the third quarter, and one held to the very end.
MidiPiece FourQuarters() {
  return PieceOf({{0, 0, 0x90, 60, 100},
                  {96, 0, 0x80, 60, 0},
                  {192, 0, 0x91, 64, 90},
                  {288, 0, 0x91, 64, 0},
                  {288, 0, 0x92, 67, 80},
                  {384, 0, 0x82, 67, 0}},
                 384);
}

// At 1000 frames a second one frame is one millisecond.
constexpr uint32_t kRate = 1000;

void RenderInBuffers(MusicSequencer& sequencer, RecordingSink& sink, uint32_t frames,
                     uint32_t buffer) {
  std::vector<float> left(buffer), right(buffer);
  for (uint32_t done = 0; done < frames; done += buffer) {
    const uint32_t count = std::min(buffer, frames - done);
    sequencer.Render(sink, left.data(), right.data(), count);
    for (uint32_t i = 0; i < count; ++i)
      ASSERT_EQ(left[i], static_cast<float>(sink.rendered - count + i)) << "frame lost or doubled";
  }
}

TEST(MusicSequencer, SendsEachMessageAtItsFrameWhateverTheBufferSize) {
  for (uint32_t buffer : {1u, 7u, 256u, 4096u}) {
    SCOPED_TRACE(buffer);
    MusicSequencer sequencer(kRate);
    RecordingSink sink;
    sequencer.Start(FourQuarters(), std::nullopt, sink);
    EXPECT_EQ(sink.resets, 1);
    RenderInBuffers(sequencer, sink, 1999, buffer);
    EXPECT_FALSE(sequencer.Finished());
    EXPECT_EQ(sequencer.PositionMs(), 1999u);
    RenderInBuffers(sequencer, sink, 500, buffer);
    using S = RecordingSink::Sent;
    EXPECT_EQ(sink.sent, (std::vector<S>{{0, 0x90, 60},
                                         {500, 0x80, 60},
                                         {1000, 0x91, 64},
                                         {1500, 0x91, 64},
                                         {1500, 0x92, 67},
                                         {2000, 0x82, 67}}));
    // Finished by its position, however long the last note would ring.
    EXPECT_TRUE(sequencer.Finished());
    EXPECT_EQ(sequencer.PositionMs(), 2000u);
  }
}

TEST(MusicSequencer, ALoopRepeatsFromItsStartSeamlesslyAndReleasesHeldNotes) {
  MusicSequencer sequencer(kRate);
  RecordingSink sink;
  // Music time 1000 of 768 a quarter is 651 ms; the loop runs to the end (2000 ms).
  sequencer.Start(FourQuarters(), MusicLoop{1000, 4 * 768}, sink);
  RenderInBuffers(sequencer, sink, 2000 + 1349 + 600, 333);
  using S = RecordingSink::Sent;
  EXPECT_EQ(sink.sent, (std::vector<S>{{0, 0x90, 60},
                                       {500, 0x80, 60},
                                       {1000, 0x91, 64},
                                       {1500, 0x91, 64},
                                       {1500, 0x92, 67},
                                       // the loop's end: the held note is released
                                       {2000, 0x82, 67},
                                       // back at 651 ms: what lies after it plays again
                                       {2349, 0x91, 64},
                                       {2849, 0x91, 64},
                                       {2849, 0x92, 67},
                                       {3349, 0x82, 67},
                                       {3698, 0x91, 64}}));
  EXPECT_FALSE(sequencer.Finished());
  EXPECT_EQ(sequencer.PositionMs(), 651u + 600u);
}

TEST(MusicSequencer, AnEmptyLoopPlaysThePieceOnce) {
  MusicSequencer sequencer(kRate);
  RecordingSink sink;
  // A piece shorter than the loop's start.
  sequencer.Start(PieceOf({{0, 0, 0x90, 60, 100}, {96, 0, 0x80, 60, 0}}, 96), MusicLoop{1000, 768},
                  sink);
  RenderInBuffers(sequencer, sink, 1000, 100);
  EXPECT_TRUE(sequencer.Finished());
  EXPECT_EQ(sink.sent.size(), 2u);
}

TEST(MusicSequencer, StopReleasesHeldNotesAndSendsNothingMore) {
  MusicSequencer sequencer(kRate);
  RecordingSink sink;
  sequencer.Start(FourQuarters(), std::nullopt, sink);
  RenderInBuffers(sequencer, sink, 1600, 100);
  sequencer.Stop(sink);
  EXPECT_EQ(sink.sent.back(), (RecordingSink::Sent{1600, 0x82, 67}));
  const size_t sent = sink.sent.size();
  RenderInBuffers(sequencer, sink, 1000, 100);
  EXPECT_EQ(sink.sent.size(), sent);
  EXPECT_FALSE(sequencer.Playing());
  EXPECT_FALSE(sequencer.Finished());
  EXPECT_EQ(sequencer.PositionMs(), 0u);
}

}  // namespace
}  // namespace dovetail
