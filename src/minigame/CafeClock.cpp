#include "minigame/CafeClock.h"

#include <cstdio>

namespace dovetail::cafe {

double CafeClock::SecondsSinceMidnight() {
  int h = 0;
  int m = 0;
  int s = 0;
  // The host gives the time as "H:mm:ss"; another form counts as midnight.
  if (std::sscanf(host_.LocalNow().time.c_str(), "%d:%d:%d", &h, &m, &s) != 3) return 0.0;
  // The fraction of the second from the tick count, so that two orders in
  // the same second are drawn apart.
  return h * 3600.0 + m * 60.0 + s + host_.TickCount() % 1000 / 1000.0;
}

std::string CafeClock::DateTimeText() {
  const LocalDateTime now = host_.LocalNow();
  return now.date + " " + now.time;
}

}  // namespace dovetail::cafe
