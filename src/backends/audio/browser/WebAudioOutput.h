#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <vector>

#include "host/Host.h"
#include "sound/AudioOutput.h"
#include "sound/ClockedMusic.h"
#include "sound/EffectSounds.h"
#include "sound/MusicSequencer.h"

namespace dovetail {

// The sound of the game in a browser. The music is the engine's own
// sequencer, run on the browser's clock as the program lets events run, its
// channel messages sent to the page's synthesizer (FluidSynth compiled to
// WebAssembly, with a General MIDI soundfont); the effects are Web Audio
// buffers of the built-in sounds. The page's audio starts only with the
// player's first click or key (the browser's rule); until then the messages
// still reach the synthesizer, so the piece that should be playing is heard
// from where it stands.
//
// Messages are sent when the program lets events run (every 20 ms at most
// while it waits), so a note may start up to that much late.
class WebAudioOutput final : public AudioOutput {
 public:
  WebAudioOutput(Host& host, const EffectSounds& effects);

  bool Open() override;
  bool IsOpen() const override { return open_; }
  Status StartMusic(const MidiPiece& piece, std::optional<MusicLoop> loop) override;
  void StopMusic() override;
  uint32_t MusicPositionMs() override;
  bool MusicFinished() override;
  bool PlayEffect(int32_t id) override;
  std::optional<uint32_t> EffectLengthMs(int32_t id) const override;
  void SetMasterVolume(uint16_t volume) override;
  uint16_t MasterVolume() const override { return volume_; }

  // Sends the messages due by the browser's clock.
  void CatchUp() { music_.CatchUp(); }

  // The rate the effects are handed to the page at.
  static constexpr uint32_t kEffectRate = 44100;

 private:
  // Hands the sequencer's messages to the page's synthesizer.
  class PageSynthesizer final : public MidiSink {
   public:
    void Reset() override;
    void Send(uint8_t status, uint8_t data1, uint8_t data2) override;
    void Render(float*, float*, uint32_t) override {}
  };

  std::map<int32_t, std::vector<float>> effects_;  // stereo, interleaved
  std::map<int32_t, uint32_t> effectLengths_;
  PageSynthesizer synthesizer_;
  ClockedMusic music_;
  uint16_t volume_ = 65535;
  bool open_ = false;
};

}  // namespace dovetail
