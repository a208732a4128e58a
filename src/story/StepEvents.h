#pragma once

#include <cstdint>
#include <string>

namespace dovetail {

// The interpreter copied record `position` (label, trimmed command) and is
// about to act on it.
struct StepEvent {
  int32_t position = 0;
  int16_t label = 0;
  std::string command;
};

// Where the interpreter reports (the run's events, GameEvents; the route
// walker).
class StepEvents {
 public:
  virtual void Report(const StepEvent& event) = 0;

 protected:
  ~StepEvents() = default;
};

}  // namespace dovetail
