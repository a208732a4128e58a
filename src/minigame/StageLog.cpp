#include "minigame/StageLog.h"

#include <cassert>
#include <limits>

namespace dovetail::cafe {

int32_t CorrectServingEntry(uint32_t elapsedMs) {
  const uint32_t largest = static_cast<uint32_t>(std::numeric_limits<int32_t>::max());
  int32_t entry = static_cast<int32_t>(elapsedMs > largest ? largest : elapsedMs);
  if (entry < 1) entry = 1;
  if (entry == kEndOfStage || entry == kGaveUp) entry += 1;
  return entry;
}

StageLog::StageLog(CafeRecord& record, int16_t stageNo) : record_(record), stageNo_(stageNo) {
  assert(stageNo >= 0 && stageNo < kLogColumns);
}

void StageLog::Reset() {
  serveLogCount_ = 0;
  dishLogCount_ = 0;
}

bool StageLog::LogServe(int32_t entry) {
  if (serveLogCount_ >= kServeLogCapacity) return false;
  record_.ServeLog[serveLogCount_][stageNo_] = entry;
  ++serveLogCount_;
  return true;
}

void StageLog::LogDish(int16_t code) {
  record_.DishLog[dishLogCount_][stageNo_] = code;
  if (dishLogCount_ < kLastDishLogIndex) ++dishLogCount_;
}

void StageLog::EndStage() {
  record_.ServeLog[serveLogCount_][stageNo_] = kEndOfStage;
}

std::vector<int32_t> StageEntries(const CafeRecord& record, int16_t stageNo) {
  assert(stageNo >= 0 && stageNo < kLogColumns);
  std::vector<int32_t> entries;
  for (const auto& row : record.ServeLog) {
    if (row[stageNo] == kEndOfStage) break;
    entries.push_back(row[stageNo]);
  }
  return entries;
}

}  // namespace dovetail::cafe
