#include <gtest/gtest.h>

#include <vector>

#include "sound/EffectMixer.h"

namespace dovetail {
namespace {

constexpr uint32_t kRate = 44100;
// The fade of a sound cut off: 5 ms.
constexpr uint32_t kCutOff = kRate / 200;

// A constant stereo sound of `frames` frames.
std::vector<float> Constant(float level, size_t frames) {
  return std::vector<float>(2 * frames, level);
}

struct Buffers {
  std::vector<float> left, right;
  explicit Buffers(uint32_t frames, float level = 0.0f)
      : left(frames, level), right(frames, level) {}
};

uint32_t Mix(EffectMixer& mixer, Buffers& buffers) {
  return mixer.Mix(buffers.left.data(), buffers.right.data(),
                   static_cast<uint32_t>(buffers.left.size()));
}

// What Mix reports is how far the effect stream must go on: the frames that
// hold a sound, the fading one included, so that neither a short new sound
// cuts the fade short nor a fade keeps the stream past what sounds.
TEST(EffectMixer, TellsHowManyFramesHoldASoundTheFadingOneIncluded) {
  struct Case {
    const char* what;
    size_t cutOffLeft;  // frames the first sound still has when cut off; 0: none cut off
    size_t newFrames;
    uint32_t expected;
  };
  const Case cases[] = {
      {"one sound ending within the buffer", 0, 100, 100},
      {"a short sound after a long one: the fade lasts longer", 5000, 50, kCutOff},
      {"a long sound after a long one", 5000, 300, 300},
      {"the one cut off ends before its fade would", 30, 10, 30},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    EffectMixer mixer({{1, Constant(0.25f, 1000 + c.cutOffLeft)}, {2, Constant(0.5f, c.newFrames)}},
                      kRate);
    if (c.cutOffLeft > 0) {
      ASSERT_TRUE(mixer.Play(1));
      Buffers played(1000);
      ASSERT_EQ(Mix(mixer, played), 1000u);
    }
    ASSERT_TRUE(mixer.Play(2));
    Buffers buffers(512);
    EXPECT_EQ(Mix(mixer, buffers), c.expected);
    Buffers after(512);
    EXPECT_EQ(Mix(mixer, after), 0u) << "every sound has ended";
    EXPECT_EQ(after.left, std::vector<float>(512, 0.0f));
  }
}

// A fade spread over several buffers goes on where the last one left off.
TEST(EffectMixer, AFadeGoesOnAcrossBuffersAndTheSoundsAddToWhatIsThere) {
  EffectMixer mixer({{1, Constant(1.0f, 10000)}, {2, Constant(0.0f, 10000)}}, kRate);
  ASSERT_TRUE(mixer.Play(1));
  ASSERT_TRUE(mixer.Play(2));
  Buffers first(100, 0.5f);
  Buffers second(kCutOff, 0.5f);
  ASSERT_EQ(Mix(mixer, first), 100u);
  ASSERT_EQ(Mix(mixer, second), kCutOff);
  std::vector<float> levels = first.left;
  levels.insert(levels.end(), second.left.begin(), second.left.end());
  EXPECT_FLOAT_EQ(levels[0], 1.5f);
  for (size_t i = 1; i < kCutOff; ++i)
    ASSERT_LT(levels[i], levels[i - 1]) << i;
  EXPECT_NEAR(levels[kCutOff - 1], 0.5f + 1.0f / kCutOff, 1e-4f);
  EXPECT_FLOAT_EQ(levels[kCutOff], 0.5f) << "the fade has ended";
}

TEST(EffectMixer, LengthsRoundDownAndAnUnknownSoundCutsNothingOff) {
  EffectMixer mixer({{1, Constant(0.25f, 441)}, {2, Constant(0.25f, 440)}}, kRate);
  EXPECT_EQ(mixer.LengthMs(1), 10u);
  EXPECT_EQ(mixer.LengthMs(2), 9u);
  EXPECT_EQ(mixer.LengthMs(3), std::nullopt);
  ASSERT_TRUE(mixer.Play(1));
  EXPECT_FALSE(mixer.Play(3));
  Buffers buffers(500);
  EXPECT_EQ(Mix(mixer, buffers), 441u) << "the sound playing goes on whole";
  EXPECT_FLOAT_EQ(buffers.left[440], 0.25f);
}

}  // namespace
}  // namespace dovetail
