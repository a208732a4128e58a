#include "story/AudioCommand.h"

namespace dovetail {

namespace {

// Reads the volume into SavedVolume and fades out from it. A failed read leaves
// SavedVolume as it was and counts as a volume of 0: no fade.
void SaveVolumeAndFadeOut(Sound& sound) {
  uint32_t volume = 0;
  if (sound.MixerGetVolume(volume)) sound.SavedVolume = volume;
  if (volume != 0) sound.FadeOut(sound.SavedVolume);
}

}  // namespace

void CmdAudio(Sound& sound, const std::string& command) {
  if (!sound.Flags().BgmEnabled && !sound.Flags().SeEnabled) return;
  if (command.empty()) return;
  const char last = command.back();
  if (last == '0') {
    SaveVolumeAndFadeOut(sound);
    sound.StopBgm();
    sound.MixerSetVolume(sound.SavedVolume);
  } else if (last >= '1' && last <= '9') {
    sound.PlayWave(99 + (last - '0'));
  } else if (last == 'J' || last == 'j') {
    SaveVolumeAndFadeOut(sound);
  } else if (last == 'K' || last == 'k') {
    if (sound.SavedVolume != 0) sound.FadeIn(sound.SavedVolume);
  }
}

}  // namespace dovetail
