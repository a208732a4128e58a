#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "minigame/StageEffects.h"

namespace dovetail::cafe {

// A stage clock whose tick count and time of day the test sets.
class FixedStageClock : public StageClock {
 public:
  uint32_t TickCount() override { return tick; }
  double SecondsSinceMidnight() override { return timeOfDay; }

  uint32_t tick = 0;
  double timeOfDay = 36000.0;
};

// Records what the stage's rules show and play as readable lines, e.g.
// "DrawCustomer 2 look 1 Angry", and lets a test act where events would run.
class StageRecorder : public StageEffects {
 public:
  void ProcessEvents() override {
    Note("ProcessEvents");
    if (onEvents) onEvents();
  }
  void DrawCustomer(int16_t seat, int16_t look, Expression expression, bool refresh) override {
    static const char* const kNames[] = {"Normal", "Pleased", "Angry"};
    Note("DrawCustomer " + std::to_string(seat) + " look " + std::to_string(look) + " " +
         kNames[static_cast<int>(expression)] + (refresh ? "" : " unrefreshed"));
    if (onDrawCustomer) onDrawCustomer(seat);
  }
  void ShowCustomer(int16_t seat) override { Note("ShowCustomer " + std::to_string(seat)); }
  void DisableCustomer(int16_t seat) override { Note("DisableCustomer " + std::to_string(seat)); }
  void HideCustomer(int16_t seat) override { Note("HideCustomer " + std::to_string(seat)); }
  void ShowOrder(int16_t seat, const DishSlots& order) override {
    Note("ShowOrder " + std::to_string(seat) + Codes(order));
    if (onShowOrder) onShowOrder(seat);
  }
  void ShowBalloonText(int16_t seat, int16_t line, const std::string& text) override {
    Note("ShowBalloonText " + std::to_string(seat) + " " + std::to_string(line) + " \"" + text +
         "\"");
    if (onBalloonText) onBalloonText(seat);
  }
  void HideBalloon(int16_t seat) override { Note("HideBalloon " + std::to_string(seat)); }
  void PlayWave(int16_t sound) override { Note("PlayWave " + std::to_string(sound)); }
  void RestoreCancelButton() override { Note("RestoreCancelButton"); }
  void EmptyPlatePicture() override { Note("EmptyPlatePicture"); }
  void CustomerWaiting(int16_t seat, int16_t look, const DishSlots& order) override {
    Note("CustomerWaiting " + std::to_string(seat) + " look " + std::to_string(look) +
         Codes(order));
    if (onWaiting) onWaiting(seat);
  }
  void CustomerServed(int16_t seat, bool correct, uint32_t elapsedMs) override {
    Note("CustomerServed " + std::to_string(seat) + (correct ? " correct " : " wrong ") +
         std::to_string(elapsedMs));
  }
  void CustomerGaveUp(int16_t seat) override { Note("CustomerGaveUp " + std::to_string(seat)); }

  // The lines recorded so far that start with `prefix`.
  std::vector<std::string> Lines(const std::string& prefix) const {
    std::vector<std::string> found;
    for (const auto& line : lines) {
      if (line.rfind(prefix, 0) == 0) found.push_back(line);
    }
    return found;
  }

  std::vector<std::string> lines;
  std::function<void()> onEvents;
  std::function<void(int16_t seat)> onDrawCustomer;
  std::function<void(int16_t seat)> onShowOrder;
  std::function<void(int16_t seat)> onBalloonText;
  std::function<void(int16_t seat)> onWaiting;

 private:
  void Note(std::string line) { lines.push_back(std::move(line)); }
  static std::string Codes(const DishSlots& order) {
    std::string text;
    for (int k = 1; k <= 3; ++k)
      text += " " + std::to_string(order[k]);
    return text;
  }
};

}  // namespace dovetail::cafe
