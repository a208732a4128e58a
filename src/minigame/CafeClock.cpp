#include "minigame/CafeClock.h"

#include <cstdio>

namespace dovetail::cafe {

namespace {

// Until the host tells the local time, the café counts it from a fixed
// morning by the host's tick count: the same on every run of the headless
// host, moving with its virtual clock.
constexpr uint32_t kMorningSeconds = 10 * 3600;
constexpr uint32_t kDaySeconds = 24 * 3600;

}  // namespace

double CafeClock::SecondsSinceMidnight() {
  const uint32_t ms = host_.TickCount();
  return (kMorningSeconds + ms / 1000 % kDaySeconds) % kDaySeconds + (ms % 1000) / 1000.0;
}

std::string CafeClock::DateTimeText() {
  const auto seconds = static_cast<uint32_t>(SecondsSinceMidnight());
  char text[32];
  std::snprintf(text, sizeof text, "2026/01/01 %u:%02u:%02u", seconds / 3600, seconds / 60 % 60,
                seconds % 60);
  return text;
}

}  // namespace dovetail::cafe
