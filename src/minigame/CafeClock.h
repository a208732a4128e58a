#pragma once

#include <cstdint>
#include <string>

#include "host/Host.h"
#include "minigame/StageEffects.h"

namespace dovetail::cafe {

// The café's times from the machine: the host's tick count, and the local
// date and time of day (the order draws' seed, the date of a result line).
class CafeClock : public StageClock {
 public:
  explicit CafeClock(Host& host) : host_(host) {}

  uint32_t TickCount() override { return host_.TickCount(); }
  double SecondsSinceMidnight() override;
  // The local date and time as "yyyy/MM/dd H:mm:ss".
  std::string DateTimeText();

 private:
  Host& host_;
};

}  // namespace dovetail::cafe
