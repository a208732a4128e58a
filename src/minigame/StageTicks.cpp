#include "minigame/StageTicks.h"

namespace dovetail::cafe {

void PlayStageTicks(Host& host, CafeStage& stage) {
  do {
    const uint32_t tickStart = host.TickCount();
    stage.Tick();
    PaceTick(host, tickStart);
  } while (stage.CountDown());
}

void PaceTick(Host& host, uint32_t tickStart) {
  // Unsigned difference: right across the tick count's wrap.
  while (host.TickCount() - tickStart < kTickMs) {
    host.DoEvents();
    host.Sleep(kPacingSleepMs);
  }
}

}  // namespace dovetail::cafe
