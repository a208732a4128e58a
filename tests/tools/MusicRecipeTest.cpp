#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "base/Files.h"
#include "demo/MusicRecipe.h"
#include "sound/MidiFile.h"
#include "sound/Sound.h"

namespace dovetail::tools {
namespace {

constexpr const char* kPickupPiece =
    "tempo 120\nmeter 2\npickup 1\n"
    "part a channel 0 program 0 velocity 90\n  G4:1 | C5:1 E5:1 | G5:2 |\n"
    "part b channel 1 program 0 velocity 60\n  R:1 | C3:2 | G3:2 |\n";

std::vector<uint32_t> NoteOnTicks(const MidiPiece& piece, uint8_t channel) {
  std::vector<uint32_t> ticks;
  for (const MidiEvent& event : piece.events) {
    if (event.status == (0x90 | channel) && event.data2 > 0) ticks.push_back(event.tick);
  }
  return ticks;
}

// The looping player returns to music time 1000: with a pickup, that is the
// downbeat of the first full bar in every part, and the loop spans whole bars.
TEST(MusicRecipe, APickupEndsExactlyWhereTheLoopReturns) {
  auto recipe = ParseMusicRecipe(kPickupPiece, "p.txt");
  ASSERT_TRUE(recipe.ok()) << recipe.error().message;
  auto piece = ParseMidi(EncodeMidi(*recipe), "p.mid");
  ASSERT_TRUE(piece.ok()) << piece.error().message;

  const uint32_t loopTick = static_cast<uint32_t>(Sound::kLoopStartMusicTime) *
                            piece->ticksPerQuarter / kMusicTimePerQuarter;
  EXPECT_EQ(loopTick, LoopPointTicks());
  // The pickup note ends the lead-in; the first full bar starts on the loop
  // point in both parts.
  EXPECT_EQ(NoteOnTicks(*piece, 0),
            (std::vector<uint32_t>{loopTick - 480, loopTick, loopTick + 480, loopTick + 960}));
  EXPECT_EQ(NoteOnTicks(*piece, 1), (std::vector<uint32_t>{loopTick, loopTick + 960}));
  EXPECT_EQ(piece->lengthTicks, loopTick + 2 * 960);
  EXPECT_DOUBLE_EQ(piece->MsAtMusicTime(Sound::kLoopStartMusicTime), piece->MsAtTick(loopTick));
}

TEST(MusicRecipe, RefusesAPickupThatDoesNotFit) {
  const std::pair<const char*, const char*> faults[] = {
      // Longer than the lead-in before the loop point.
      {"pickup 2\npart a channel 0 program 0 velocity 9\nC4:2 |\n", "line 1: \"pickup\" takes"},
      // The first bar is not as long as the pickup.
      {"meter 2\npickup 1\npart a channel 0 program 0 velocity 9\nC4:0.5 |\n",
       "line 4: the pickup of part \"a\" holds"},
      // Once parts have started, the pickup would shift only some of them.
      {"part a channel 0 program 0 velocity 9\nC4:1\npickup 1\n",
       "line 3: \"pickup\" comes before the first part"},
  };
  for (const auto& [text, words] : faults) {
    auto recipe = ParseMusicRecipe(text, "m.txt");
    ASSERT_FALSE(recipe.ok()) << text;
    EXPECT_NE(recipe.error().message.find(words), std::string::npos) << recipe.error().message;
  }
}

// The demo's pieces: every part as long as the others, whole bars after the
// pickup, so the loop from the first full bar to the end joins cleanly.
TEST(MusicRecipe, TheDemoPiecesLoopOverWholeBars) {
  for (const char* number : {"01", "02", "03"}) {
    const std::string path =
        std::string(DOVETAIL_SOURCE_DIR) + "/content/demo/music/" + number + ".txt";
    auto text = ReadWholeFile(path);
    ASSERT_TRUE(text.ok()) << path;
    auto recipe = ParseMusicRecipe(*text, path);
    ASSERT_TRUE(recipe.ok()) << recipe.error().message;
    EXPECT_GT(recipe->pickupBeats, 0) << path;
    const double loopBeats = recipe->parts[0].lengthBeats - recipe->pickupBeats;
    const double bars = loopBeats / recipe->meter;
    EXPECT_DOUBLE_EQ(bars, std::floor(bars)) << path;
    EXPECT_GE(bars, 16) << path;
    EXPECT_LE(bars, 32) << path;
  }
}

}  // namespace
}  // namespace dovetail::tools
