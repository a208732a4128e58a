#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <optional>

#include "host/Host.h"
#include "sound/AudioOutput.h"
#include "sound/ClockedMusic.h"
#include "sound/MusicSequencer.h"

namespace dovetail {

// The output of the headless host: nothing is heard, but the music runs
// through the same sequencer as on the desktop, at one frame a millisecond of
// the host's tick count, so it ends, loops and is rewound in virtual time just
// as it would be heard; effects last their lengths the same way.
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
  Host& host_;
  std::map<int32_t, uint32_t> effectLengths_;
  uint16_t volume_;
  bool deviceAvailable_ = true;
  bool open_ = false;
  SilentSink sink_;
  ClockedMusic music_{host_, sink_};
  std::optional<int32_t> effect_;
  uint32_t effectStartedAt_ = 0;
};

// The silent output with the built-in effects' lengths: what a run without a
// sound device (the headless runner, tests) plays through.
std::unique_ptr<NullAudioOutput> MakeSilentAudio(Host& host);

}  // namespace dovetail
