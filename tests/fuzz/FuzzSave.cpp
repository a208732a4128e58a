// The save file 40.dat, read into a story as loading does.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "saves/SaveFile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const auto story = std::make_unique<dovetail::StoryState>();
  bool stagesDisagree = false;
  (void)dovetail::ReadSave(std::string(reinterpret_cast<const char*>(data), size), *story, "40.dat",
                           stagesDisagree);
  return 0;
}
