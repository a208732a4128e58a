#pragma once

#include <cstdint>
#include <map>
#include <optional>

#include "platform/Host.h"
#include "sound/AudioOutput.h"

namespace dovetail {

// The output of the headless host: nothing is heard, but every position and
// duration runs on the host's tick count, so music ends, loops and is rewound in
// virtual time just as it would be heard.
class NullAudioOutput : public AudioOutput {
 public:
  // `effectLengths` maps each built-in effect identifier to its length in ms.
  NullAudioOutput(Host& host, std::map<int32_t, uint32_t> effectLengths,
                  uint16_t initialVolume = 65535);

  // Makes Open fail, as on a machine without a sound device.
  void SetDeviceAvailable(bool available) { deviceAvailable_ = available; }

  bool Open() override;
  bool IsOpen() const override { return open_; }
  Status StartMusic(const MidiPiece& piece, std::optional<MusicLoop> loop) override;
  void StopMusic() override;
  uint32_t MusicPositionMs() override;
  bool MusicFinished() override;
  bool PlayEffect(int32_t id) override;
  std::optional<uint32_t> EffectLengthMs(int32_t id) const override;
  void SetMasterVolume(uint16_t volume) override { volume_ = volume; }
  uint16_t MasterVolume() const override { return volume_; }

  // The effect sounding now, if any.
  std::optional<int32_t> PlayingEffect();

 private:
  struct Music {
    uint32_t lengthMs = 0;
    std::optional<uint32_t> loopStartMs;
    uint32_t loopEndMs = 0;
    uint32_t startedAt = 0;
  };

  Host& host_;
  std::map<int32_t, uint32_t> effectLengths_;
  uint16_t volume_;
  bool deviceAvailable_ = true;
  bool open_ = false;
  std::optional<Music> music_;
  std::optional<int32_t> effect_;
  uint32_t effectStartedAt_ = 0;
};

}  // namespace dovetail
