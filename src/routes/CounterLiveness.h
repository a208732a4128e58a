#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "story/ScriptTables.h"
#include "story/StoryState.h"

namespace dovetail {

// The story counters by number: bit k of a liveness mask is entry k.
std::array<int16_t*, 18> CounterFields(StoryCounters& counters);

// Which story counters the story may still read or change from each record
// on. Two states that differ only in counters nothing reads or changes any
// more lead on the same way, so they are one state for the routes (a counter
// raised early and tested once does not split every later choice).
//
// A record reads or changes: "i1" and "p1" the counter their text names,
// "p2" the set counter, the ending HappyCount. From a record the story can
// go on to the next one, a jump target or a choice's targets; nowhere after
// the ending or the quit command.
class CounterLiveness {
 public:
  explicit CounterLiveness(const ScriptTables& tables);

  // The counters that matter from position `pos` on (all, outside the
  // script).
  uint32_t At(int32_t pos) const;

 private:
  std::vector<uint32_t> live_;
};

}  // namespace dovetail
