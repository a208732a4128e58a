#include "comforts/Screenshot.h"

#include <cstdio>

#include "graphics/PngFile.h"

namespace dovetail {

namespace {

// Screenshots of one second beyond this many are refused rather than
// searched for without end.
constexpr int kMaxSameSecond = 99;

std::string DigitsOf(const std::string& text) {
  std::string digits;
  for (char c : text)
    if (c >= '0' && c <= '9') digits += c;
  return digits;
}

}  // namespace

std::string ScreenshotName(const LocalDateTime& now, int number) {
  int hour = 0;
  int minute = 0;
  int second = 0;
  std::sscanf(now.time.c_str(), "%d:%d:%d", &hour, &minute, &second);
  char time[16];
  std::snprintf(time, sizeof time, "%02d%02d%02d", hour, minute, second);
  std::string name = "dovetail-" + DigitsOf(now.date) + "-" + time;
  if (number > 1) name += "-" + std::to_string(number);
  return name + ".png";
}

Result<std::filesystem::path> SaveScreenshot(const Surface& frame, FolderPlayerFiles& folder,
                                             const LocalDateTime& now) {
  const std::string png = EncodePng(frame);
  for (int number = 1; number <= kMaxSameSecond; ++number) {
    const std::string name = ScreenshotName(now, number);
    if (folder.State(name).present) continue;
    const Status made = folder.Create(name, png);
    if (made) return folder.FolderPath() / name;
    // Another screenshot may have taken the name meanwhile: try the next.
    if (!folder.State(name).present) return made.error();
  }
  return Error{folder.FolderPath().string() + ": " + std::to_string(kMaxSameSecond) +
               " screenshots were already taken this second"};
}

}  // namespace dovetail
