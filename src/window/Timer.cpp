#include "window/Timer.h"

#include <utility>

#include "host/Host.h"
#include "window/Window.h"

namespace dovetail {

Timer::Timer(Window& owner, std::string name, uint32_t interval)
    : owner_(owner), name_(std::move(name)), interval_(interval) {}

void Timer::SetInterval(uint32_t ms) {
  interval_ = ms;
  startedAt_ = owner_.GetHost().TickCount();
}

void Timer::SetEnabled(bool enabled) {
  if (enabled && !enabled_) startedAt_ = owner_.GetHost().TickCount();
  enabled_ = enabled;
}

bool Timer::FireIfDue(uint32_t now) {
  // A handler that lets events run must not fire its own timer again.
  if (!enabled_ || firing_ || interval_ == 0) return false;
  // Unsigned difference: correct across the 32-bit wrap of the tick count.
  if (now - startedAt_ < interval_) return false;
  startedAt_ = now;
  if (!onTimer) return true;
  firing_ = true;
  struct Reset {
    bool& flag;
    ~Reset() { flag = false; }
  } reset{firing_};
  onTimer();
  return true;
}

std::optional<uint32_t> Timer::MsUntilDue(uint32_t now) const {
  if (!enabled_ || firing_ || interval_ == 0) return std::nullopt;
  const uint32_t elapsed = now - startedAt_;
  return elapsed >= interval_ ? 0 : interval_ - elapsed;
}

}  // namespace dovetail
