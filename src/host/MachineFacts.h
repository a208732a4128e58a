#pragma once

#include <cstdint>
#include <string>

namespace dovetail {

// What the program may ask about the machine it runs on, answered by the host
// (the core never reads the system itself): the about box's checks and system
// report, and the date stamp of the café's result lines.

// The local date and time in the Japanese short date form and long time form
// ("2026/12/10" and "13:05:09"), as the game's users write them.
struct LocalDateTime {
  std::string date;
  std::string time;
};

// The screen the window is on.
struct ScreenFacts {
  int32_t width = 0;
  int32_t height = 0;
  int32_t bitsPerPixel = 0;
};

// Memory figures in bytes, and how much of the physical memory is in use in
// percent (0 to 100). The page file is the swap space; the virtual figures are
// the address space open to the program and what of it is still unused.
struct MemoryFacts {
  uint64_t totalPhysical = 0;
  uint64_t availablePhysical = 0;
  uint64_t totalPageFile = 0;
  uint64_t availablePageFile = 0;
  uint64_t totalVirtual = 0;
  uint64_t availableVirtual = 0;
  uint32_t loadPercent = 0;
};

// The operating system: its name as it calls itself, its version text, and
// the leading numbers of that version (0 where the text has none).
struct SystemFacts {
  std::string name;
  std::string version;
  int32_t majorVersion = 0;
  int32_t minorVersion = 0;
  int32_t buildNumber = 0;
};

// The processor: the machine's architecture as the system names it
// ("x86_64", "aarch64"), the family, model and stepping of the first
// processor (0 where the system does not give them) and how many processors
// are online.
struct ProcessorFacts {
  std::string architecture;
  int32_t family = 0;
  int32_t model = 0;
  int32_t stepping = 0;
  int32_t count = 0;
};

}  // namespace dovetail
