#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace dovetail {

// A café stage starts or ends.
struct StageEvent {
  int16_t stage = 0;
  bool start = true;
};

// A customer sits at `seat` (1..3) with look `look` and waits with an order
// (dish codes, up to three; none for an empty order) that can be served now.
struct CustomerEvent {
  int16_t seat = 0;
  int16_t look = 0;
  std::vector<int16_t> order;
};

// The customer at `seat` was served, correctly or not, `ms` after arriving.
struct ServeEvent {
  int16_t seat = 0;
  bool correct = false;
  uint32_t ms = 0;
};

// The customer at `seat` gave up waiting and left.
struct GiveUpEvent {
  int16_t seat = 0;
};

// A day was evaluated: speed, accuracy and count scores, their sum and the
// daily grade 0..4.
struct DayEvent {
  int32_t s1 = 0;
  int32_t s2 = 0;
  int32_t s3 = 0;
  int32_t day = 0;
  int32_t grade = 0;
};

// The whole game was evaluated: the sum of the days, the bonus, the score and
// the grade letter.
struct FinalEvent {
  int32_t total = 0;
  int32_t bonus = 0;
  int32_t score = 0;
  std::string grade;
};

// One row of the ranking screen as drawn.
struct RankingRow {
  int16_t rank = 0;
  std::string name;
  int32_t score = 0;
  std::string grade;
};

// The ranking screen was asked for (mode 0 from the title, 1 after the
// ending): the rank the current result took (0: none highlighted), whether
// the screen is shown (a result that takes no rank goes straight back to the
// title) and the rows drawn, best first.
struct RankingEvent {
  int16_t mode = 0;
  int16_t pos = 0;
  bool shown = false;
  std::vector<RankingRow> rows;
};

// Where the café game and the ranking report (the run's events, GameEvents).
class CafeEvents {
 public:
  virtual void Report(const StageEvent& event) = 0;
  virtual void Report(const CustomerEvent& event) = 0;
  virtual void Report(const ServeEvent& event) = 0;
  virtual void Report(const GiveUpEvent& event) = 0;
  virtual void Report(const DayEvent& event) = 0;
  virtual void Report(const FinalEvent& event) = 0;
  virtual void Report(const RankingEvent& event) = 0;

 protected:
  ~CafeEvents() = default;
};

}  // namespace dovetail
