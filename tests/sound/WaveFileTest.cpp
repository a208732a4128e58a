#include <gtest/gtest.h>

#include <span>
#include <string>
#include <vector>

#include "sound/WaveFile.h"
#include "support/Bytes.h"

namespace dovetail {
namespace {

using testing::Bytes;

std::span<const uint8_t> Span(const std::string& text) {
  return {reinterpret_cast<const uint8_t*>(text.data()), text.size()};
}

// A chunk with its id, size and body, padded to an even length.
std::string Chunk(const std::string& id, const std::string& body) {
  Bytes out;
  out.Raw(id).U32(static_cast<uint32_t>(body.size())).Raw(body);
  if (body.size() % 2 == 1) out.U8(0);
  return out.Text();
}

std::string Fmt(uint16_t format, uint16_t channels, uint32_t rate, uint16_t bits) {
  const uint32_t frameBytes = channels * bits / 8;
  return Chunk("fmt ", Bytes()
                           .U16(format)
                           .U16(channels)
                           .U32(rate)
                           .U32(rate * frameBytes)
                           .U16(frameBytes)
                           .U16(bits)
                           .Text());
}

std::string Riff(const std::string& chunks) {
  return Bytes().Raw("RIFF").U32(static_cast<uint32_t>(4 + chunks.size())).Raw("WAVE").Text() +
         chunks;
}

std::string Samples16(const std::vector<int16_t>& samples) {
  Bytes out;
  for (int16_t s : samples)
    out.U16(static_cast<uint16_t>(s));
  return out.Text();
}

// WAVE_FORMAT_EXTENSIBLE with the given sub-format tag (1 = PCM, 3 = float).
std::string ExtensibleFmt(uint16_t subFormat, uint16_t channels, uint32_t rate, uint16_t bits) {
  const uint32_t frameBytes = channels * bits / 8;
  return Chunk("fmt ",
               Bytes()
                   .U16(0xFFFE)
                   .U16(channels)
                   .U32(rate)
                   .U32(rate * frameBytes)
                   .U16(frameBytes)
                   .U16(bits)
                   .U16(22)    // extra bytes
                   .U16(bits)  // valid bits
                   .U32(3)     // front left and right
                   .U16(subFormat)
                   .Raw(std::string("\x00\x00\x00\x00\x10\x00\x80\x00\x00\xAA\x00\x38\x9B\x71", 14))
                   .Text());
}

TEST(WaveFile, DecodesSixteenBitStereo) {
  const std::vector<int16_t> samples = {0, -1, 32767, -32768, 1234, -4321};
  const std::string file = Riff(Fmt(1, 2, 44100, 16) + Chunk("data", Samples16(samples)));
  Result<WaveSound> sound = DecodeWave(Span(file), "s.wav");
  ASSERT_TRUE(sound) << sound.error().message;
  EXPECT_EQ(sound->sampleRate, 44100u);
  EXPECT_EQ(sound->channels, 2);
  EXPECT_EQ(sound->samples, samples);
}

TEST(WaveFile, DecodesEightBitMonoAroundTheMidpoint) {
  const std::string file =
      Riff(Fmt(1, 1, 8000, 8) + Chunk("data", Bytes().U8(0).U8(128).U8(255).U8(64).Text()));
  Result<WaveSound> sound = DecodeWave(Span(file), "m.wav");
  ASSERT_TRUE(sound) << sound.error().message;
  EXPECT_EQ(sound->channels, 1);
  EXPECT_EQ(sound->samples, (std::vector<int16_t>{-32768, 0, 32512, -16384}));
}

TEST(WaveFile, SkipsUnknownChunksAndTheirPadByte) {
  // Odd-sized chunks before and after fmt: reading without the pad byte would
  // land one byte off and never find the next chunk.
  const std::string file = Riff(Chunk("LIST", "abc") + Fmt(1, 1, 22050, 16) + Chunk("fact", "x") +
                                Chunk("data", Samples16({7, -7})));
  Result<WaveSound> sound = DecodeWave(Span(file), "p.wav");
  ASSERT_TRUE(sound) << sound.error().message;
  EXPECT_EQ(sound->samples, (std::vector<int16_t>{7, -7}));
}

TEST(WaveFile, AcceptsExtensiblePcmAndRejectsOtherSubFormats) {
  const std::string data = Chunk("data", Samples16({1, 2, 3, 4}));
  Result<WaveSound> pcm = DecodeWave(Span(Riff(ExtensibleFmt(1, 2, 48000, 16) + data)), "x.wav");
  ASSERT_TRUE(pcm) << pcm.error().message;
  EXPECT_EQ(pcm->channels, 2);
  EXPECT_EQ(pcm->samples, (std::vector<int16_t>{1, 2, 3, 4}));

  Result<WaveSound> floats = DecodeWave(Span(Riff(ExtensibleFmt(3, 2, 48000, 32) + data)), "f.wav");
  ASSERT_FALSE(floats);
  EXPECT_EQ(floats.error().message, "f.wav: unsupported format 3");
}

TEST(WaveFile, DataChunkCutShortKeepsTheWholeFramesPresent) {
  // Claims 8 stereo frames; holds 2 and half of a third.
  const std::string body = Samples16({10, 11, 20, 21, 30});
  const std::string file = Riff(Fmt(1, 2, 22050, 16)) + Bytes().Raw("data").U32(32).Text() + body;
  Result<WaveSound> sound = DecodeWave(Span(file), "cut.wav");
  ASSERT_TRUE(sound) << sound.error().message;
  EXPECT_EQ(sound->samples, (std::vector<int16_t>{10, 11, 20, 21}));
}

TEST(WaveFile, LengthIsInWholeMilliseconds) {
  WaveSound sound{22050, 2, std::vector<int16_t>(2 * 33)};
  EXPECT_EQ(sound.LengthMs(), 1u);  // 33 frames = 1.497 ms
  sound.samples.resize(2 * 22050 * 3 / 2);
  EXPECT_EQ(sound.LengthMs(), 1500u);
  EXPECT_EQ(WaveSound{}.LengthMs(), 0u);
}

struct BadWave {
  const char* what;
  std::string bytes;
  std::string message;
};

TEST(WaveFile, RejectsBrokenFilesNamingThemAndTheFault) {
  const std::string data = Chunk("data", Samples16({1, 2}));
  const std::vector<BadWave> cases = {
      {"empty", "", "not a WAVE file (no RIFF header)"},
      {"not RIFF", "RIFX" + Riff(Fmt(1, 1, 8000, 16) + data).substr(4),
       "not a WAVE file (no RIFF header)"},
      {"not WAVE", Bytes().Raw("RIFF").U32(4).Raw("AVI ").Text(),
       "not a WAVE file (RIFF form is not WAVE)"},
      {"compressed", Riff(Fmt(2, 1, 8000, 4) + data), "unsupported format 2"},
      {"float", Riff(Fmt(3, 1, 8000, 32) + data), "unsupported format 3"},
      {"no fmt", Riff(Chunk("LIST", "ab") + data), "no fmt chunk"},
      {"no data", Riff(Fmt(1, 1, 8000, 16) + Chunk("LIST", "ab")), "no data chunk"},
      {"zero channels", Riff(Fmt(1, 0, 8000, 16) + data), "no channels"},
      {"six channels", Riff(Fmt(1, 6, 8000, 16) + data), "unsupported channel count 6"},
      {"zero rate", Riff(Fmt(1, 1, 0, 16) + data), "unsupported sample rate 0"},
      {"rate too high", Riff(Fmt(1, 1, 384000, 16) + data), "unsupported sample rate 384000"},
      {"24 bits", Riff(Fmt(1, 1, 8000, 24) + data), "unsupported 24 bits per sample"},
      {"short fmt", Riff(Chunk("fmt ", Bytes().U16(1).U16(1).U32(8000).Text()) + data),
       "fmt chunk too short (8 bytes)"},
      {"fmt cut off", Riff(Fmt(1, 1, 8000, 16)).substr(0, 12 + 8 + 10), "truncated fmt chunk"},
      {"data without a whole frame",
       Riff(Fmt(1, 2, 8000, 16)) + Bytes().Raw("data").U32(400).U16(5).Text(),
       "truncated data chunk (no whole frame)"},
  };
  for (const BadWave& c : cases) {
    SCOPED_TRACE(c.what);
    Result<WaveSound> sound = DecodeWave(Span(c.bytes), "bad.wav");
    ASSERT_FALSE(sound);
    EXPECT_EQ(sound.error().message, "bad.wav: " + c.message);
  }
}

TEST(WaveFile, EmptyDataChunkIsASilentSound) {
  Result<WaveSound> sound = DecodeWave(Span(Riff(Fmt(1, 1, 8000, 16) + Chunk("data", ""))), "e");
  ASSERT_TRUE(sound) << sound.error().message;
  EXPECT_TRUE(sound->samples.empty());
  EXPECT_TRUE(ToStereo(*sound, 44100).empty());
}

TEST(WaveToStereo, SameRateCopiesExactly) {
  const WaveSound stereo{22050, 2, {16384, -16384, -32768, 8192}};
  EXPECT_EQ(ToStereo(stereo, 22050), (std::vector<float>{0.5f, -0.5f, -1.0f, 0.25f}));
  const WaveSound mono{22050, 1, {16384, -8192}};
  EXPECT_EQ(ToStereo(mono, 22050), (std::vector<float>{0.5f, 0.5f, -0.25f, -0.25f}));
}

TEST(WaveToStereo, DoubledRateInterpolatesAndHoldsTheLastFrame) {
  const WaveSound mono{11025, 1, {0, 16384, -16384}};
  EXPECT_EQ(ToStereo(mono, 22050),
            (std::vector<float>{0, 0, 0.25f, 0.25f, 0.5f, 0.5f, 0, 0, -0.5f, -0.5f, -0.5f, -0.5f}));
}

TEST(WaveToStereo, HalvedRateTakesEveryOtherFrameKeepingSides) {
  const WaveSound stereo{44100, 2, {8192, -8192, 0, 0, 16384, -16384, 0, 0, 4096, -4096}};
  EXPECT_EQ(ToStereo(stereo, 22050),
            (std::vector<float>{0.25f, -0.25f, 0.5f, -0.5f, 0.125f, -0.125f}));
}

}  // namespace
}  // namespace dovetail
