#include <gtest/gtest.h>
#include <unistd.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "backends/audio/synthesizer/SynthAudioOutput.h"

namespace dovetail {
namespace {

constexpr uint32_t kRate = SynthAudioOutput::kSampleRate;

struct Block {
  std::vector<float> left, right;
  explicit Block(uint32_t frames) : left(frames), right(frames) {}
  double Rms() const {
    double sum = 0;
    for (size_t i = 0; i < left.size(); ++i)
      sum += left[i] * left[i] + right[i] * right[i];
    return std::sqrt(sum / (2.0 * left.size()));
  }
};

Block RenderFrames(SynthAudioOutput& output, uint32_t frames) {
  Block block(frames);
  output.Render(block.left.data(), block.right.data(), frames);
  return block;
}

// A constant stereo sound of `frames` frames.
std::vector<float> Constant(float left, float right, size_t frames) {
  std::vector<float> samples;
  for (size_t i = 0; i < frames; ++i) {
    samples.push_back(left);
    samples.push_back(right);
  }
  return samples;
}

// The soundfont loads on a worker thread: a piece asked for while it loads is
// kept and, once the soundfont is there, plays from its beginning to its end.
TEST(SynthAudioOutput, PlaysTheTitleMusicThroughTheSoundFontUntilItsPositionReachesTheEnd) {
  const std::optional<std::filesystem::path> soundFont = FindSoundFont();
  if (!soundFont) GTEST_SKIP() << "no General MIDI soundfont installed";
  auto output = SynthAudioOutput::Create(soundFont, {});
  ASSERT_TRUE(output) << output.error().message;
  Result<MidiPiece> piece = ReadMidiFile(std::filesystem::path(DOVETAIL_BUILD_DIR) / "data/01.mid");
  ASSERT_TRUE(piece) << piece.error().message;
  ASSERT_TRUE((*output)->StartMusic(*piece, std::nullopt));
  EXPECT_FALSE((*output)->MusicFinished());
  ASSERT_TRUE((*output)->WaitUntilLoaded());
  EXPECT_EQ((*output)->MusicPositionMs(), 0u) << "the piece starts from its beginning";

  double loudest = 0;
  uint32_t rendered = 0;
  while (!(*output)->MusicFinished()) {
    ASSERT_LT(rendered, (piece->lengthMs + 1000) * kRate / 1000) << "never finished";
    loudest = std::max(loudest, RenderFrames(**output, 512).Rms());
    rendered += 512;
  }
  EXPECT_GT(loudest, 0.01) << "the music is silent";
  EXPECT_NEAR(rendered * 1000.0 / kRate, piece->lengthMs, 12.0);
  EXPECT_EQ((*output)->MusicPositionMs(), piece->lengthMs);
}

// The check before any window opens reads only the header; a file that
// passes it but breaks later is told through the callback, and music is
// refused from then on (effects still play). The libraries say nothing on
// standard error meanwhile: the program tells the failure itself.
TEST(SynthAudioOutput, RefusesWhatIsNoSoundFontAndTellsALoadThatFailsLater) {
  const std::filesystem::path folder =
      std::filesystem::temp_directory_path() / ("dovetail-soundfont-" + std::to_string(::getpid()));
  std::filesystem::create_directories(folder);
  const std::filesystem::path text = folder / "notes.sf2";
  std::ofstream(text) << "not a soundfont at all";
  // The header of a soundfont, and nothing of what should follow it.
  const std::filesystem::path broken = folder / "broken.sf2";
  std::ofstream(broken, std::ios::binary).write("RIFF\x04\x00\x00\x00sfbk", 12);

  for (const std::filesystem::path& refused : {folder / "missing.sf2", text, folder}) {
    auto made = SynthAudioOutput::Create(refused, {});
    ASSERT_FALSE(made.ok()) << refused;
    EXPECT_NE(made.error().message.find(refused.string()), std::string::npos);
  }

  std::optional<Error> told;
  auto made = SynthAudioOutput::Create(broken, {{101, Constant(0.5f, 0.5f, 100)}},
                                       [&](const Error& error) { told = error; });
  ASSERT_TRUE(made.ok()) << made.error().message;
  testing::internal::CaptureStderr();
  EXPECT_FALSE((*made)->WaitUntilLoaded());
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
  ASSERT_TRUE(told.has_value());
  EXPECT_NE(told->message.find(broken.string()), std::string::npos);
  MidiPiece piece;
  piece.name = "01.mid";
  EXPECT_FALSE((*made)->StartMusic(piece, std::nullopt).ok());
  ASSERT_TRUE((*made)->PlayEffect(101));
  EXPECT_FLOAT_EQ(RenderFrames(**made, 10).left[5], 0.5f);
  std::filesystem::remove_all(folder);
}

TEST(SynthAudioOutput, EffectsMixOnTopAndANewOneCutsOffTheOneStillPlaying) {
  auto made = SynthAudioOutput::Create(
      std::nullopt, {{101, Constant(0.25f, -0.25f, 1000)}, {102, Constant(0.5f, 0.5f, 441)}});
  ASSERT_TRUE(made) << made.error().message;
  SynthAudioOutput& output = **made;
  EXPECT_EQ(output.EffectLengthMs(102), 10u);
  EXPECT_EQ(output.EffectLengthMs(103), std::nullopt);
  EXPECT_FALSE(output.PlayEffect(103));

  // Without a soundfont there is no music, but effects still play.
  MidiPiece piece;
  piece.name = "01.mid";
  const Status music = output.StartMusic(piece, std::nullopt);
  ASSERT_FALSE(music.ok());
  EXPECT_NE(music.error().message.find("01.mid"), std::string::npos);

  ASSERT_TRUE(output.PlayEffect(101));
  Block first = RenderFrames(output, 600);
  EXPECT_FLOAT_EQ(first.left[599], 0.25f);
  EXPECT_FLOAT_EQ(first.right[0], -0.25f);
  ASSERT_TRUE(output.PlayEffect(102));
  Block second = RenderFrames(output, 600);
  // The one cut off falls silent over 5 ms (220 frames) instead of stopping dead.
  EXPECT_NEAR(second.left[0], 0.5f + 0.25f, 0.01f);
  for (size_t i = 1; i < 220; ++i)
    ASSERT_LT(second.left[i], second.left[i - 1]) << i;
  EXPECT_FLOAT_EQ(second.left[220], 0.5f);
  EXPECT_FLOAT_EQ(second.left[440], 0.5f);
  EXPECT_NEAR(second.left[441], 0.0f, 1e-6f) << "the first effect must not come back";
}

TEST(SynthAudioOutput, TheMasterVolumeScalesTheMixWithoutJumps) {
  auto made = SynthAudioOutput::Create(std::nullopt, {{101, Constant(0.5f, 0.5f, 10000)}});
  ASSERT_TRUE(made);
  SynthAudioOutput& output = **made;
  output.PlayEffect(101);
  output.SetMasterVolume(0);
  EXPECT_EQ(output.MasterVolume(), 0);
  Block ramp = RenderFrames(output, 100);
  for (size_t i = 1; i < ramp.left.size(); ++i)
    EXPECT_LE(ramp.left[i], ramp.left[i - 1]);
  EXPECT_GT(ramp.left[0], 0.45f);
  EXPECT_EQ(ramp.left[99], 0.0f);
  EXPECT_EQ(RenderFrames(output, 100).Rms(), 0.0);

  // Half the setting is a quarter of the level.
  output.SetMasterVolume(32768);
  RenderFrames(output, 100);
  EXPECT_NEAR(RenderFrames(output, 100).left[50], 0.5f * 0.25f, 0.001f);
}

}  // namespace
}  // namespace dovetail
