// The ranking file 30.dat.

#include <cstddef>
#include <cstdint>
#include <string>

#include "minigame/RankingFile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  dovetail::RankingTable ranking;
  (void)dovetail::ParseRanking(std::string(reinterpret_cast<const char*>(data), size), "30.dat",
                               ranking);
  return 0;
}
