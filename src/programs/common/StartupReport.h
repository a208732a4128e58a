#pragma once

#include <chrono>
#include <cstdio>

namespace dovetail {

// Writes the moments of start-up to the standard error stream, one line each
// ("dovetail: startup NAME MS", milliseconds since the program's main began),
// for the start-up benchmark, which notes when each line arrives. Writes
// nothing unless switched on.
class StartupReport {
 public:
  explicit StartupReport(bool on) : on_(on) {}

  void Moment(const char* name) const {
    if (!on_) return;
    const double ms =
        std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start_)
            .count();
    std::fprintf(stderr, "dovetail: startup %s %.1f\n", name, ms);
    std::fflush(stderr);
  }

  // Where the window's client area is on the screen and how much it is
  // enlarged, so that a benchmark can click into it.
  void Place(int x, int y, int zoom) const {
    if (!on_) return;
    std::fprintf(stderr, "dovetail: startup canvas %d %d %d\n", x, y, zoom);
    std::fflush(stderr);
  }

 private:
  bool on_;
  std::chrono::steady_clock::time_point start_ = std::chrono::steady_clock::now();
};

}  // namespace dovetail
