#pragma once

#include <cstdint>

#include "host/Host.h"

namespace dovetail {

// The general pause: ms \ 50 rounds of letting events run and sleeping 50 ms.
// Pauses below 50 ms do not wait at all.
inline void WaitMs(Host& host, int16_t ms) {
  for (int32_t round = 0; round < ms / 50; ++round) {
    host.DoEvents();
    host.Sleep(50);
  }
}

}  // namespace dovetail
