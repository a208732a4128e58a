#include "minigame/StageCalendar.h"

#include <cassert>

#include "base/Utf8.h"
#include "storage/DataFolder.h"

namespace dovetail::cafe {

Status CheckStageNo(int16_t stageNo) {
  if (stageNo >= kFirstStage && stageNo <= kLastStage) return {};
  return Error{"the café stage number " + std::to_string(stageNo) + " is not a stage from " +
               std::to_string(kFirstStage) + " to " + std::to_string(kLastStage)};
}

int16_t DayOfStage(int16_t stageNo) {
  return static_cast<int16_t>((static_cast<int32_t>(stageNo) + 1) / 2);
}

bool IsMorningStage(int16_t stageNo) {
  return stageNo % 2 != 0;
}

bool IsEvaluatedStage(int16_t stageNo) {
  return stageNo > 2 && !IsMorningStage(stageNo);
}

bool IsFinalStage(int16_t stageNo) {
  return IsEvaluatedStage(stageNo) && stageNo >= 13;
}

std::optional<int16_t> StageLabelRow(int16_t stageNo) {
  if (stageNo <= 2) return std::nullopt;
  return static_cast<int16_t>((stageNo - 3) / 2);
}

std::string DayText(int16_t stageNo) {
  assert(stageNo >= 0);
  std::string text;
  for (char digit : std::to_string(DayOfStage(stageNo)))
    AppendUtf8(text, U'０' + static_cast<char32_t>(digit - '0'));
  return text + (IsMorningStage(stageNo) ? "日目　ＡＭ" : "日目　ＰＭ");
}

std::string MusicAfterStage(int16_t stageNo) {
  return std::string(IsMorningStage(stageNo) ? kMorningMusic : kTitleMusic);
}

}  // namespace dovetail::cafe
