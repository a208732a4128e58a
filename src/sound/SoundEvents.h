#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace dovetail {

// What the music did to a piece.
enum class BgmAction { Open, Play, Stop, Rewind };
struct BgmEvent {
  BgmAction action = BgmAction::Open;
  std::string file;  // the piece's path as the program named it
};

// A sound effect started.
struct WaveEvent {
  int32_t id = 0;
};

// The master volume was set.
struct VolumeEvent {
  uint32_t value = 0;
};

// The word the log uses for a music action.
constexpr std::string_view BgmActionName(BgmAction action) {
  switch (action) {
    case BgmAction::Open:
      return "open";
    case BgmAction::Play:
      return "play";
    case BgmAction::Stop:
      return "stop";
    case BgmAction::Rewind:
      return "rewind";
  }
  return "";
}

// Where the sound reports (the run's events, GameEvents).
class SoundEvents {
 public:
  virtual void Report(const BgmEvent& event) = 0;
  virtual void Report(const WaveEvent& event) = 0;
  virtual void Report(const VolumeEvent& event) = 0;

 protected:
  ~SoundEvents() = default;
};

}  // namespace dovetail
