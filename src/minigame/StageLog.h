#pragma once

#include <cstdint>
#include <vector>

#include "story/StoryState.h"

namespace dovetail::cafe {

// Entries of a stage's serve log besides the serving times.
constexpr int32_t kEndOfStage = 9999;  // ends a stage's list
constexpr int32_t kGaveUp = 30000;     // a customer who gave up
constexpr int32_t kWrongServing = 0;

// Finished customers one stage's serve log holds; its last row (index 50) is
// kept for the end marker.
constexpr int16_t kServeLogCapacity = kLogRows - 1;
// Highest index of the dish log; later dishes overwrite it.
constexpr int16_t kLastDishLogIndex = kLogRows - 1;

// The serve log entry of a correct serving that took `elapsedMs`. It is the
// time itself, kept off the values that mean something else in the log: at
// least 1 ms (0 is a wrong serving), and 9999 / 30000 move up by one (they
// would end the stage's list or count as a give-up).
int32_t CorrectServingEntry(uint32_t elapsedMs);

// Writes one stage's results into the story's café record (`ServeLog` and
// `DishLog`, whose second index is the stage). The counts start at 0 with each
// stage.
//
// At most 50 finished customers are logged per stage: later ones are not
// written (the end marker always fits), so the day's scores see the first 50,
// and the save file holds them; `SuccessCount` and `FailCount`, kept by the
// caller, still count every customer.
class StageLog {
 public:
  StageLog(CafeRecord& record, int16_t stageNo);

  // Starts the stage's lists afresh (the entries themselves are overwritten
  // as customers finish).
  void Reset();

  // Logs a finished customer: a serving time, kWrongServing or kGaveUp.
  // Returns false when the stage's log is full and the entry was not kept.
  bool LogServe(int32_t entry);
  // Logs a dish that matched an ordered dish; beyond the last index the last
  // entry is overwritten.
  void LogDish(int16_t code);
  // Writes the end marker after the last logged customer.
  void EndStage();

  int16_t ServeLogCount() const { return serveLogCount_; }
  int16_t DishLogCount() const { return dishLogCount_; }

 private:
  CafeRecord& record_;
  int16_t stageNo_;
  int16_t serveLogCount_ = 0;
  int16_t dishLogCount_ = 0;
};

// The serve log entries of one stage: those before its first end marker, all
// 51 when it has none.
std::vector<int32_t> StageEntries(const CafeRecord& record, int16_t stageNo);

}  // namespace dovetail::cafe
