#include "comforts/ComfortSettings.h"

#include <charconv>
#include <sstream>

#include "base/Utf8.h"

namespace dovetail {

namespace {

bool ParseSmall(std::string_view text, int16_t low, int16_t high, int16_t& out) {
  int16_t value = 0;
  const char* end = text.data() + text.size();
  auto [ptr, ec] = std::from_chars(text.data(), end, value);
  if (ec != std::errc() || ptr != end || value < low || value > high) return false;
  out = value;
  return true;
}

void ParseFlag(std::string_view text, bool& out) {
  int16_t value = 0;
  if (ParseSmall(text, 0, 1, value)) out = value == 1;
}

}  // namespace

ComfortSettings ComfortSettings::Parse(std::string_view text) {
  ComfortSettings settings;
  std::istringstream lines{std::string(text)};
  std::string line;
  while (std::getline(lines, line)) {
    const std::string_view entry = TrimBlanks(line);
    const size_t equals = entry.find('=');
    if (entry.empty() || entry[0] == '#' || equals == std::string_view::npos) continue;
    const std::string_view key = TrimBlanks(entry.substr(0, equals));
    const std::string_view value = TrimBlanks(entry.substr(equals + 1));
    if (key == "zoom") {
      ParseSmall(value, 1, 16, settings.zoom);
    } else if (key == "fullscreen") {
      ParseFlag(value, settings.fullScreen);
    } else if (key == "auto") {
      ParseFlag(value, settings.autoAdvance);
    } else if (key == "auto-speed") {
      int16_t speed = 0;
      if (ParseSmall(value, 0, 2, speed)) settings.autoSpeed = static_cast<AutoSpeed>(speed);
    } else if (key == "skip-read") {
      ParseFlag(value, settings.skipRead);
    }
  }
  return settings;
}

std::string ComfortSettings::Format() const {
  std::string text = "# Dovetail: the player's choices beyond the game's own settings\n";
  if (zoom > 0) text += "zoom=" + std::to_string(zoom) + "\n";
  text += "fullscreen=" + std::string(fullScreen ? "1" : "0") + "\n";
  text += "auto=" + std::string(autoAdvance ? "1" : "0") + "\n";
  text += "auto-speed=" + std::to_string(static_cast<int>(autoSpeed)) + "\n";
  text += "skip-read=" + std::string(skipRead ? "1" : "0") + "\n";
  return text;
}

}  // namespace dovetail
