#pragma once

#include <string>

namespace dovetail {

// A screen transition starts, named by its effect code.
struct EffectEvent {
  std::string code;
};

// Where the transitions report (the run's events, GameEvents).
class EffectEvents {
 public:
  virtual void Report(const EffectEvent& event) = 0;

 protected:
  ~EffectEvents() = default;
};

}  // namespace dovetail
