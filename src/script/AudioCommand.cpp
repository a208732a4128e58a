#include "script/AudioCommand.h"

namespace dovetail {

namespace {

// Reads the volume into SavedVolume and fades out from it. A failed read leaves
// SavedVolume as it was and counts as a volume of 0: no fade.
void SaveVolumeAndFadeOut(Mci& mci) {
  uint32_t volume = 0;
  if (mci.MixerGetVolume(volume)) mci.SavedVolume = volume;
  if (volume != 0) mci.FadeOut(mci.SavedVolume);
}

}  // namespace

void CmdAudio(Mci& mci, const std::string& command) {
  if (!mci.Flags().BgmEnabled && !mci.Flags().SeEnabled) return;
  if (command.empty()) return;
  const char last = command.back();
  if (last == '0') {
    SaveVolumeAndFadeOut(mci);
    mci.StopBgm();
    mci.MixerSetVolume(mci.SavedVolume);
  } else if (last >= '1' && last <= '9') {
    mci.PlayWave(99 + (last - '0'));
  } else if (last == 'J' || last == 'j') {
    SaveVolumeAndFadeOut(mci);
  } else if (last == 'K' || last == 'k') {
    if (mci.SavedVolume != 0) mci.FadeIn(mci.SavedVolume);
  }
}

}  // namespace dovetail
