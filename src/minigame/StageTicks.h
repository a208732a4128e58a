#pragma once

#include <cstdint>

#include "host/Host.h"
#include "minigame/CafeStage.h"

namespace dovetail::cafe {

// Length of one tick of a stage.
constexpr uint32_t kTickMs = 1000;
// The pacing's step: events are let run, then the program sleeps this long.
constexpr uint32_t kPacingSleepMs = 10;

// The stage's tick loop: ticks until the stage time is over (at least once),
// each paced to one second from its own start. Input handlers run inside the
// tick's event processing and inside the pacing's waits.
void PlayStageTicks(Host& host, CafeStage& stage);

// The rest of a tick that started at `tickStart`: while less than a second
// has passed, let events run and sleep 10 ms. A tick that took longer is not
// shortened later: the next one starts its own second.
void PaceTick(Host& host, uint32_t tickStart);

}  // namespace dovetail::cafe
