#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "sound/MidiFile.h"
#include "support/Bytes.h"
#include "support/MidiFixture.h"

namespace dovetail {
namespace {

using testing::BigEndian;
using testing::ByteString;
using testing::MidiChunk;
using testing::MidiHeader;

const std::string kEndOfTrack = ByteString({0x00, 0xFF, 0x2F, 0x00});

// Format 1, 96 ticks per quarter. The tempo track holds 120 bpm, then 240 bpm
// from tick 192; the note track runs to tick 480 with running status, a system
// exclusive message and a text event on the way.
std::string TwoTrackPiece() {
  const std::string tempoTrack =
      ByteString({0x00, 0xFF, 0x51, 0x03, 0x07, 0xA1, 0x20,           // 500000 us
                  0x81, 0x40, 0xFF, 0x51, 0x03, 0x03, 0xD0, 0x90}) +  // +192: 250000 us
      kEndOfTrack;
  const std::string noteTrack = ByteString({0x00, 0xF0, 0x03, 0x7E, 0x09, 0xF7,  // sysex
                                            0x00, 0xFF, 0x01, 0x02, 'h',  'i',   // text
                                            0x00, 0x90, 60,   100,               // note on
                                            0x60, 64,   100,      // +96, running status
                                            0x82, 0x40, 60,   0,  // +320 -> tick 416
                                            0x40, 0xC0, 5}) +     // +64 -> 480, program
                                kEndOfTrack;
  return MidiHeader(1, 2, 96) + MidiChunk("MTrk", tempoTrack) + MidiChunk("XTra", "skip") +
         MidiChunk("MTrk", noteTrack);
}

TEST(MidiFile, TimesAFormatOnePieceThroughItsTempoChanges) {
  Result<MidiPiece> piece = ParseMidi(TwoTrackPiece(), "two.mid");
  ASSERT_TRUE(piece) << piece.error().message;
  EXPECT_EQ(piece->lengthTicks, 480u);
  // 192 ticks at 500 ms a quarter, then 288 ticks at 250 ms a quarter.
  EXPECT_EQ(piece->lengthMs, 1000u + 750u);
  EXPECT_EQ(piece->lengthMusicTime, 480 * 768 / 96);
  EXPECT_NEAR(piece->MsAtMusicTime(1000), 1000.0 / 768 * 500, 1e-6);
  EXPECT_NEAR(piece->MsAtTick(288), 1000.0 + 250.0, 1e-6);

  // The channel messages, running status expanded, meta and system exclusive left out.
  ASSERT_EQ(piece->events.size(), 4u);
  const MidiEvent expected[] = {{0, 0.0, 0x90, 60, 100},
                                {96, 500.0, 0x90, 64, 100},
                                {416, 1000.0 + 224 * 250.0 / 96, 0x90, 60, 0},
                                {480, 1750.0, 0xC0, 5, 0}};
  for (size_t i = 0; i < 4; ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(piece->events[i].tick, expected[i].tick);
    EXPECT_NEAR(piece->events[i].ms, expected[i].ms, 1e-6);
    EXPECT_EQ(piece->events[i].status, expected[i].status);
    EXPECT_EQ(piece->events[i].data1, expected[i].data1);
    EXPECT_EQ(piece->events[i].data2, expected[i].data2);
  }
}

TEST(MidiFile, TracksAreMergedInTimeOrderWithTheEarlierTrackFirstAtATie) {
  const std::string first = ByteString({0x00, 0xB0, 7, 90, 0x60, 0x90, 60, 1}) + kEndOfTrack;
  const std::string second = ByteString({0x30, 0x91, 62, 2, 0x30, 0x91, 64, 3}) + kEndOfTrack;
  Result<MidiPiece> piece = ParseMidi(
      MidiHeader(1, 2, 96) + MidiChunk("MTrk", first) + MidiChunk("MTrk", second), "two.mid");
  ASSERT_TRUE(piece) << piece.error().message;
  std::vector<std::pair<uint32_t, int>> order;
  for (const MidiEvent& event : piece->events)
    order.emplace_back(event.tick, event.data1);
  EXPECT_EQ(order, (std::vector<std::pair<uint32_t, int>>{{0, 7}, {48, 62}, {96, 60}, {96, 64}}));
}

TEST(MidiFile, AFormatZeroPieceWithoutTempoPlaysAtOneHundredTwentyBeats) {
  const std::string track =
      ByteString({0x00, 0x90, 60, 100, 0x83, 0x00, 0x80, 60, 0}) + kEndOfTrack;  // 384 ticks
  Result<MidiPiece> piece = ParseMidi(MidiHeader(0, 1, 192) + MidiChunk("MTrk", track), "one.mid");
  ASSERT_TRUE(piece) << piece.error().message;
  EXPECT_EQ(piece->lengthMs, 1000u);
  EXPECT_EQ(piece->lengthMusicTime, 2 * 768);
}

TEST(MidiFile, CorruptFilesGiveErrorsNamingTheFile) {
  const std::string goodTrack = MidiChunk("MTrk", kEndOfTrack);
  const std::pair<const char*, std::string> cases[] = {
      {"empty", ""},
      {"not midi", "RIFF0000WAVE"},
      {"header only", "MThd"},
      {"short header", MidiChunk("MThd", BigEndian(0, 2) + BigEndian(1, 2))},
      {"format 2", MidiHeader(2, 1, 96) + goodTrack},
      {"format 0 with two tracks", MidiHeader(0, 2, 96) + goodTrack + goodTrack},
      {"no tracks", MidiHeader(1, 0, 96)},
      {"SMPTE division", MidiHeader(0, 1, 0xE728) + goodTrack},
      {"zero division", MidiHeader(0, 1, 0) + goodTrack},
      {"missing track", MidiHeader(1, 2, 96) + goodTrack},
      {"chunk longer than file", MidiHeader(0, 1, 96) + "MTrk" + BigEndian(100, 4) + kEndOfTrack},
      {"data without status",
       MidiHeader(0, 1, 96) + MidiChunk("MTrk", ByteString({0x00, 60, 100}) + kEndOfTrack)},
      {"cut channel event", MidiHeader(0, 1, 96) + MidiChunk("MTrk", ByteString({0x00, 0x90, 60}))},
      {"cut meta event",
       MidiHeader(0, 1, 96) + MidiChunk("MTrk", ByteString({0x00, 0xFF, 0x01, 0x05, 'a'}))},
      {"cut sysex", MidiHeader(0, 1, 96) + MidiChunk("MTrk", ByteString({0x00, 0xF0, 0x7F}))},
      {"bad tempo length",
       MidiHeader(0, 1, 96) + MidiChunk("MTrk", ByteString({0x00, 0xFF, 0x51, 0x02, 0x01, 0x02}))},
      {"zero tempo",
       MidiHeader(0, 1, 96) +
           MidiChunk("MTrk", ByteString({0x00, 0xFF, 0x51, 0x03, 0, 0, 0}) + kEndOfTrack)},
      {"five-byte delta",
       MidiHeader(0, 1, 96) +
           MidiChunk("MTrk", ByteString({0x81, 0x81, 0x81, 0x81, 0x01}) + kEndOfTrack)},
      {"system common byte",
       MidiHeader(0, 1, 96) + MidiChunk("MTrk", ByteString({0x00, 0xF2, 0x00, 0x00}))},
      // One quarter a tick at the slowest tempo (16.8 s): 300000 ticks last
      // 58 days, more milliseconds than 32 bits hold.
      {"length past 32 bits of milliseconds",
       MidiHeader(0, 1, 1) + MidiChunk("MTrk", ByteString({0x00, 0xFF, 0x51, 0x03, 0xFF, 0xFF, 0xFF,
                                                           0x92, 0xA7, 0x60, 0xFF, 0x2F, 0x00}))},
  };
  for (const auto& [what, bytes] : cases) {
    Result<MidiPiece> piece = ParseMidi(bytes, "bad.mid");
    ASSERT_FALSE(piece) << what;
    EXPECT_EQ(piece.error().message.rfind("bad.mid: ", 0), 0u)
        << what << ": " << piece.error().message;
  }
}

TEST(MidiFile, AMissingFileNamesThePath) {
  const std::filesystem::path path =
      std::filesystem::temp_directory_path() / "dovetail-no-such-piece.mid";
  Result<MidiPiece> piece = ReadMidiFile(path);
  ASSERT_FALSE(piece);
  EXPECT_NE(piece.error().message.find("dovetail-no-such-piece.mid"), std::string::npos);
}

}  // namespace
}  // namespace dovetail
