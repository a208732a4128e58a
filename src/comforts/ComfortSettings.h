#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace dovetail {

// How fast auto-advance turns the page.
enum class AutoSpeed : int16_t { Slow = 0, Normal = 1, Fast = 2 };

// What the player chose for the comforts beyond the original, remembered
// between runs in a small text file of our own ("key=value" lines), never in
// the game's settings file. A missing file, an unknown key or a value out of
// range leaves that choice at its default.
struct ComfortSettings {
  // The desktop window's zoom (0: none remembered, the host chooses) and
  // full screen.
  int16_t zoom = 0;
  bool fullScreen = false;
  bool autoAdvance = false;
  AutoSpeed autoSpeed = AutoSpeed::Normal;
  bool skipRead = false;

  static ComfortSettings Parse(std::string_view text);
  std::string Format() const;

  bool operator==(const ComfortSettings&) const = default;
};

// The file's name in the player's folder.
inline constexpr std::string_view kComfortSettingsFile = "comforts.ini";

}  // namespace dovetail
