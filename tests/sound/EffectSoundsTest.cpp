#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <map>
#include <optional>
#include <span>
#include <string>
#include <utility>
#include <vector>

#include "sound/BuiltInSoundData.h"
#include "sound/EffectSounds.h"

namespace dovetail {
namespace {

class EffectSoundsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    Result<EffectSounds> loaded = EffectSounds::LoadBuiltIn();
    ASSERT_TRUE(loaded) << loaded.error().message;
    sounds_ = std::move(*loaded);
  }

  const WaveSound& Sound(int32_t id) {
    const WaveSound* sound = sounds_->Find(id);
    EXPECT_NE(sound, nullptr) << id;
    static const WaveSound kNone;
    return sound ? *sound : kNone;
  }

  std::optional<EffectSounds> sounds_;
};

TEST_F(EffectSoundsTest, AllSevenAreCanonicalMonoWaveFiles) {
  const std::map<int32_t, uint32_t> lengths = sounds_->Lengths();
  ASSERT_EQ(lengths.size(), 7u);
  for (int32_t id = 101; id <= 107; ++id) {
    SCOPED_TRACE(id);
    const WaveSound& sound = Sound(id);
    EXPECT_EQ(sound.sampleRate, 22050u);
    EXPECT_EQ(sound.channels, 1);
    EXPECT_GT(sound.LengthMs(), 0u);
    EXPECT_EQ(lengths.at(id), sound.LengthMs());
    // The embedded file is exactly its 44-byte header and samples, with a RIFF
    // size that matches, so that any player reads it as we do.
    const std::span<const uint8_t> wave = EffectSoundWave(id);
    ASSERT_EQ(wave.size(), 44 + 2 * sound.samples.size());
    const uint32_t riffSize = wave[4] | (wave[5] << 8) | (wave[6] << 16) | (wave[7] << 24);
    EXPECT_EQ(riffSize, wave.size() - 8);
  }
}

TEST_F(EffectSoundsTest, LengthsSuitWhereTheyPlay) {
  const std::map<int32_t, uint32_t> lengths = sounds_->Lengths();
  EXPECT_LE(lengths.at(104), 1500u);  // the program waits for the start-up jingle
  EXPECT_LE(lengths.at(105), 100u);   // a click
  EXPECT_LE(lengths.at(107), 120u);   // repeats with each score step
  EXPECT_GE(lengths.at(103), 700u);   // a fanfare, about a second
  EXPECT_LE(lengths.at(103), 1300u);
}

TEST_F(EffectSoundsTest, EachIsCleanAndDistinct) {
  for (int32_t id = 101; id <= 107; ++id) {
    SCOPED_TRACE(id);
    const std::vector<int16_t>& samples = Sound(id).samples;
    ASSERT_FALSE(samples.empty());
    int peak = 0;
    for (int16_t s : samples)
      peak = std::max(peak, std::abs(int{s}));
    // Audible, but well clear of full scale so that mixing over music does not clip.
    EXPECT_GE(peak, 32767 * 3 / 10);
    EXPECT_LE(peak, 32767 * 8 / 10);
    // Starts and ends at silence: no click at either edge.
    EXPECT_EQ(samples.front(), 0);
    EXPECT_EQ(samples.back(), 0);
    for (int32_t other = id + 1; other <= 107; ++other)
      EXPECT_NE(samples, Sound(other).samples) << "same as " << other;
  }
}

TEST_F(EffectSoundsTest, IdentifiersOutsideTheSevenHaveNoSound) {
  for (int32_t id : {0, -101, 99, 100, 108, 109}) {
    SCOPED_TRACE(id);
    EXPECT_EQ(sounds_->Find(id), nullptr);
    EXPECT_TRUE(EffectSoundWave(id).empty());
  }
}

}  // namespace
}  // namespace dovetail
