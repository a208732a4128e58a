#include "comforts/Screenshot.h"

#include <cstdio>
#include <system_error>

#include "base/Files.h"
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

// Anything at all under the name, a dangling link included.
bool Taken(const std::filesystem::path& path) {
  std::error_code error;
  return std::filesystem::symlink_status(path, error).type() !=
         std::filesystem::file_type::not_found;
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

Result<std::filesystem::path> SaveScreenshot(const Surface& frame,
                                             const std::filesystem::path& folder,
                                             const LocalDateTime& now) {
  std::error_code error;
  std::filesystem::create_directories(folder, error);
  if (error) return Error{folder.string() + ": cannot be made (" + error.message() + ")"};
  const std::string png = EncodePng(frame);
  for (int number = 1; number <= kMaxSameSecond; ++number) {
    const std::filesystem::path path = folder / ScreenshotName(now, number);
    if (Taken(path)) continue;
    const Status made = CreateFileAtomically(path, png);
    if (made) return path;
    // Another screenshot may have taken the name meanwhile: try the next.
    if (!Taken(path)) return made.error();
  }
  return Error{folder.string() + ": " + std::to_string(kMaxSameSecond) +
               " screenshots were already taken this second"};
}

}  // namespace dovetail
