// The settings file 20.dat.

#include <cstddef>
#include <cstdint>
#include <string>

#include "shell/Settings.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  (void)dovetail::ParseSettings(std::string(reinterpret_cast<const char*>(data), size), "20.dat");
  return 0;
}
