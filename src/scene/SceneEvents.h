#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace dovetail {

// A message was drawn: the speaker's number, the tag shown before the text and
// the text itself.
struct TextEvent {
  int16_t speaker = 0;
  std::string tag;
  std::string text;
};

// The player chose entry `chosen` (from 0) of the captions offered.
struct ChoiceEvent {
  std::vector<std::string> texts;
  int chosen = 0;
};

// The story's ending starts, with the staff roll or without it.
struct EndingEvent {
  bool staffroll = false;
};

// Where the message window, the choices and the ending report (the run's events, GameEvents).
class SceneEvents {
 public:
  virtual void Report(const TextEvent& event) = 0;
  virtual void Report(const ChoiceEvent& event) = 0;
  virtual void Report(const EndingEvent& event) = 0;

 protected:
  ~SceneEvents() = default;
};

}  // namespace dovetail
