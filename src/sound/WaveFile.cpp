#include "sound/WaveFile.h"

#include <algorithm>
#include <array>
#include <cassert>
#include <optional>
#include <string_view>

#include "base/LittleEndian.h"

namespace dovetail {
namespace {

constexpr uint16_t kFormatPcm = 1;
constexpr uint16_t kFormatExtensible = 0xFFFE;
constexpr uint32_t kLowestRate = 4000;
constexpr uint32_t kHighestRate = 192000;
constexpr uint64_t kChunkHeaderSize = 8;
// The fmt chunk of WAVE_FORMAT_EXTENSIBLE: the 16 common bytes, a 2-byte extra
// size, valid bits, channel mask, then the 16-byte sub-format GUID.
constexpr uint64_t kExtensibleFmtSize = 40;
constexpr uint64_t kSubFormatOffset = 24;
// KSDATAFORMAT_SUBTYPE_PCM as stored: the format tag 1 in the GUID's first
// field, then the fixed tail shared by all format-tag sub-formats.
constexpr std::array<uint8_t, 14> kSubFormatTail = {0x00, 0x00, 0x00, 0x00, 0x10, 0x00, 0x80,
                                                    0x00, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71};

Error Fail(const std::string& name, const std::string& what) {
  return Error{name + ": " + what};
}

// True when the four-character chunk tag `tag` stands at `offset`.
bool TagAt(std::string_view in, uint64_t offset, std::string_view tag) {
  return Has(in, offset, tag.size()) && in.substr(offset, tag.size()) == tag;
}

struct Format {
  uint16_t channels = 0;
  uint32_t sampleRate = 0;
  uint16_t bitsPerSample = 0;
};

// Reads and checks the fmt chunk whose body starts at `offset`. The block align
// and byte rate fields are not used: the frame size follows from the channels
// and the sample size.
Result<Format> ReadFormat(std::string_view in, uint64_t offset, uint32_t size,
                          const std::string& name) {
  if (size < 16) return Fail(name, "fmt chunk too short (" + std::to_string(size) + " bytes)");
  if (!Has(in, offset, size)) return Fail(name, "truncated fmt chunk");
  uint16_t tag = U16(in, offset);
  if (tag == kFormatExtensible) {
    if (size < kExtensibleFmtSize) return Fail(name, "extensible fmt chunk too short");
    const uint64_t sub = offset + kSubFormatOffset;
    const uint16_t subTag = U16(in, sub);
    for (size_t i = 0; i < kSubFormatTail.size(); ++i) {
      if (U8(in, sub + 2 + i) != kSubFormatTail[i])
        return Fail(name, "unsupported extensible sub-format");
    }
    tag = subTag;
  }
  if (tag != kFormatPcm) return Fail(name, "unsupported format " + std::to_string(tag));

  Format format;
  format.channels = U16(in, offset + 2);
  format.sampleRate = U32(in, offset + 4);
  format.bitsPerSample = U16(in, offset + 14);
  if (format.channels == 0) return Fail(name, "no channels");
  if (format.channels > 2)
    return Fail(name, "unsupported channel count " + std::to_string(format.channels));
  if (format.sampleRate < kLowestRate || format.sampleRate > kHighestRate)
    return Fail(name, "unsupported sample rate " + std::to_string(format.sampleRate));
  if (format.bitsPerSample != 8 && format.bitsPerSample != 16)
    return Fail(name, "unsupported " + std::to_string(format.bitsPerSample) + " bits per sample");
  return format;
}

}  // namespace

uint32_t WaveSound::LengthMs() const {
  if (sampleRate == 0 || channels == 0) return 0;
  const uint64_t frames = samples.size() / channels;
  return static_cast<uint32_t>(frames * 1000 / sampleRate);
}

Result<WaveSound> DecodeWave(std::span<const uint8_t> bytes, const std::string& name) {
  const std::string_view in(reinterpret_cast<const char*>(bytes.data()), bytes.size());
  if (!TagAt(in, 0, "RIFF") || in.size() < 12)
    return Fail(name, "not a WAVE file (no RIFF header)");
  if (!TagAt(in, 8, "WAVE")) return Fail(name, "not a WAVE file (RIFF form is not WAVE)");

  // Walk the chunks to the end of the bytes (the RIFF size is not trusted: files
  // cut short or with a wrong size are common). Each chunk is padded to an even
  // length.
  std::optional<Format> format;
  uint64_t dataOffset = 0;
  uint64_t dataSize = 0;      // the bytes present
  uint32_t dataDeclared = 0;  // the bytes the chunk claims
  bool haveData = false;
  uint64_t pos = 12;
  while (Has(in, pos, kChunkHeaderSize) && !(format && haveData)) {
    const uint32_t size = U32(in, pos + 4);
    const uint64_t body = pos + kChunkHeaderSize;
    if (TagAt(in, pos, "fmt ") && !format) {
      Result<Format> read = ReadFormat(in, body, size, name);
      if (!read) return read.error();
      format = *read;
    } else if (TagAt(in, pos, "data") && !haveData) {
      haveData = true;
      dataOffset = body;
      dataDeclared = size;
      // A data chunk running past the end keeps what is there.
      dataSize = std::min<uint64_t>(size, in.size() - body);
    }
    pos = body + size + (size & 1);
  }
  if (!format) return Fail(name, "no fmt chunk");
  if (!haveData) return Fail(name, "no data chunk");

  const uint32_t sampleBytes = format->bitsPerSample / 8;
  const uint64_t frameBytes = uint64_t{sampleBytes} * format->channels;
  const uint64_t frames = dataSize / frameBytes;
  // Whole frames only: a partial frame at the end is dropped, but a chunk that
  // promises samples and holds not one frame is broken.
  if (frames == 0 && dataDeclared > 0) return Fail(name, "truncated data chunk (no whole frame)");

  WaveSound sound;
  sound.sampleRate = format->sampleRate;
  sound.channels = format->channels;
  const uint64_t count = frames * format->channels;
  sound.samples.resize(count);
  for (uint64_t i = 0; i < count; ++i) {
    if (sampleBytes == 1) {
      // 8-bit samples are unsigned around 128.
      sound.samples[i] = static_cast<int16_t>((U8(in, dataOffset + i) - 128) * 256);
    } else {
      sound.samples[i] = static_cast<int16_t>(U16(in, dataOffset + 2 * i));
    }
  }
  return sound;
}

std::vector<float> ToStereo(const WaveSound& sound, uint32_t outputRate) {
  assert(outputRate > 0);
  assert(sound.channels == 1 || sound.channels == 2);
  const uint64_t frames = sound.samples.size() / sound.channels;
  if (frames == 0) return {};
  assert(sound.sampleRate > 0);
  const uint64_t inRate = sound.sampleRate;
  const uint64_t outFrames = (frames * outputRate + inRate - 1) / inRate;

  const auto sample = [&](uint64_t frame, int side) {
    const uint64_t f = std::min(frame, frames - 1);  // past the end: hold the last frame
    const int channel = sound.channels == 1 ? 0 : side;
    return static_cast<float>(sound.samples[f * sound.channels + channel]) / 32768.0f;
  };

  std::vector<float> out;
  out.reserve(outFrames * 2);
  for (uint64_t j = 0; j < outFrames; ++j) {
    // Output frame j lies at source position j * inRate / outputRate, kept as a
    // whole frame and an exact fraction so that equal rates copy exactly.
    const uint64_t position = j * inRate;
    const uint64_t frame = position / outputRate;
    const float fraction =
        static_cast<float>(position % outputRate) / static_cast<float>(outputRate);
    for (int side = 0; side < 2; ++side) {
      const float a = sample(frame, side);
      const float b = sample(frame + 1, side);
      out.push_back(a + (b - a) * fraction);
    }
  }
  return out;
}

}  // namespace dovetail
