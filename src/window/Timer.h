#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

namespace dovetail {

class Window;

// A window timer: fires its handler when its interval has passed, but only
// while events are let run (inside Host::DoEvents), as window timers do. When
// several intervals pass without events running it fires once, and the next
// interval counts from that firing.
class Timer {
 public:
  Timer(Window& owner, std::string name, uint32_t interval);

  const std::string& Name() const { return name_; }
  uint32_t Interval() const { return interval_; }
  void SetInterval(uint32_t ms);
  bool Enabled() const { return enabled_; }
  // Enabling (re)starts the interval from now.
  void SetEnabled(bool enabled);

  std::function<void()> onTimer;

  // Called by the window with the current tick count; true when it fired.
  bool FireIfDue(uint32_t now);
  // Milliseconds from `now` until the timer is due (0 when it is); nothing
  // while it cannot fire (disabled, no interval, or its handler is running).
  std::optional<uint32_t> MsUntilDue(uint32_t now) const;

 private:
  Window& owner_;
  std::string name_;
  uint32_t interval_;
  bool enabled_ = false;
  bool firing_ = false;
  uint32_t startedAt_ = 0;
};

}  // namespace dovetail
