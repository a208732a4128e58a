#pragma once

#include <functional>

#include "host/Host.h"
#include "programs/common/EventLog.h"
#include "shell/GameEvents.h"

namespace dovetail {

// The run's events as lines of the headless runner's JSON Lines log, each
// stamped with the host's tick count when it is reported. The names and
// fields are the log format the README documents.
class LoggedEvents final : public GameEvents {
 public:
  LoggedEvents(Host& host, EventLog& log) : host_(host), log_(log) {}
  void Record(const GameEvent& event) override;

  // Called after each script record is logged.
  std::function<void()> onStep;

 private:
  Host& host_;
  EventLog& log_;
};

// One event as its log line, at time `t`.
LogEvent ToLogEvent(uint32_t t, const GameEvent& event);
// A message box the host showed and how it was answered, as its log line.
LogEvent MessageBoxLogEvent(uint32_t t, const MessageBoxRequest& request, MessageBoxAnswer answer);

}  // namespace dovetail
