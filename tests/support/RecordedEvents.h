#pragma once

#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "shell/GameEvents.h"

namespace dovetail::testing {

// A sink that keeps every event, for tests that look at what a run reported.
class RecordedEvents final : public GameEvents {
 public:
  void Record(const GameEvent& event) override {
    events.push_back(event);
    if (onEvent) onEvent(event);
  }

  // The events of one type, in the order reported.
  template <typename Event>
  std::vector<Event> All() const {
    std::vector<Event> found;
    for (const GameEvent& event : events) {
      if (const Event* e = std::get_if<Event>(&event)) found.push_back(*e);
    }
    return found;
  }

  std::vector<GameEvent> events;
  // Runs for each event as it is reported (to look at the program's state
  // at that moment).
  std::function<void(const GameEvent&)> onEvent;
};

// A sound event in words: "open 01.mid", "play 01.mid", "wave 105",
// "volume 800"; nothing for other events.
inline std::optional<std::string> DescribeSound(const GameEvent& event) {
  if (const auto* bgm = std::get_if<BgmEvent>(&event)) {
    return std::string(BgmActionName(bgm->action)) + " " +
           std::filesystem::path(bgm->file).filename().string();
  }
  if (const auto* wave = std::get_if<WaveEvent>(&event)) return "wave " + std::to_string(wave->id);
  if (const auto* volume = std::get_if<VolumeEvent>(&event)) {
    return "volume " + std::to_string(volume->value);
  }
  return std::nullopt;
}

}  // namespace dovetail::testing
