// MIDI files: any bytes give a piece or an error; a piece's times are usable.

#include <cstddef>
#include <cstdint>
#include <string>

#include "sound/MidiFile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  auto piece =
      dovetail::ParseMidi(std::string(reinterpret_cast<const char*>(data), size), "01.mid");
  if (piece.ok()) {
    // The looping player asks for these.
    (void)piece->MsAtMusicTime(1000);
    (void)piece->MsAtMusicTime(piece->lengthMusicTime);
  }
  return 0;
}
