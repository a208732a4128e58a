#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>

#include "base/Result.h"
#include "host/Host.h"
#include "storage/GamePaths.h"
#include "storage/PlayerFiles.h"

namespace dovetail {

// The system report of the about box: one line each for the date and time,
// the processor, the screen, the system, the system's two folders, the
// program and data folders, and seven lines of memory figures, every line
// ending in CR LF. Besides the text it gives the figures the about box warns
// about.
struct SysReport {
  std::string text;  // UTF-8
  int16_t ScreenBits = 0;
  int16_t MemoryLoad = 0;
  bool OldWindows = false;
};

// How the report names a Windows system (platform 0 Win32s, 1 the 9x line,
// 2 NT) and whether it is one of the old ones the about box warns about.
// Other systems, and NT versions other than 4 and 5, get an empty name and
// `old` is not set: the caller's value stays.
struct SystemName {
  std::string name;
  std::optional<bool> old;
};
SystemName NameOfSystem(int32_t platformId, int32_t major, int32_t minor);

// The platform number of a system that is none of the Windows ones.
inline constexpr int32_t kOtherPlatform = -1;

// The processor type of the report's CPU line: 100 × family + 86 for the
// x86 families (386, 486, 586, 686, …), 0 for other architectures.
int32_t ProcessorType(const ProcessorFacts& processor);

// Builds the report from the host's facts about the machine and the game's
// folders. The system this program runs on is not a Windows one, so the
// system's name stays empty and the system folders are empty.
SysReport BuildSysReport(Host& host, const GamePaths& paths);

// Writes the report to "syslog.dat" among the player's files: the text and one more
// line end, in CP932 (a character it cannot hold becomes "?"), replacing any
// earlier report atomically. The error names the file.
Status WriteSysLog(PlayerFiles& files, const SysReport& report);

}  // namespace dovetail
