// How soon the desktop program shows something: starts `dovetail` several
// times on a fresh copy of the bundled data folder and notes when each moment
// of its start-up report arrives, counted from just before the program is
// executed: the sound checked, the toolkit, the host and the fonts set up, the
// first frame on the screen, the title shown (after the splash, the loading
// bar, the start-up sound and its pauses). Needs a window system: an X
// display (e.g. under xvfb-run) or QT_QPA_PLATFORM=offscreen.
//
// usage: startup [--runs N] [--soundfont FILE] [DATA_FOLDER]

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>
#include <vector>

#include "DesktopRun.h"

namespace {

// The report's moments, in the order they happen.
const char* const kMoments[] = {"sound-checked", "application", "host",
                                "fonts",         "first-frame", "title"};

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
  using namespace bench;
  int runs = 5;
  std::vector<std::string> extra = {"--smoke-test"};
  std::string soundFont = "(the default)";
  fs::path data = DOVETAIL_BENCH_DATA;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "--runs" && i + 1 < argc) {
      runs = std::max(1, std::atoi(argv[++i]));
    } else if (arg == "--soundfont" && i + 1 < argc) {
      soundFont = argv[++i];
      extra.push_back("--soundfont");
      extra.push_back(soundFont);
    } else {
      data = arg;
    }
  }
  if (!HasWindowSystem()) {
    std::fprintf(stderr,
                 "startup: no window system (run under xvfb-run, or set "
                 "QT_QPA_PLATFORM=offscreen)\n");
    return 1;
  }
  const fs::path program = DOVETAIL_BENCH_PROGRAM;
  if (!fs::exists(program)) {
    std::fprintf(stderr, "startup: %s is not built\n", program.c_str());
    return 1;
  }

  std::map<std::string, std::vector<double>> arrivals;
  std::map<std::string, std::vector<double>> ownClock;
  for (int run = 0; run < runs; ++run) {
    DesktopRun desktop(program, data, extra);
    const bool reachedTitle = desktop.WaitFor("title").has_value();
    const int code = desktop.Wait();
    if (!reachedTitle || code != 0) {
      std::fprintf(stderr, "startup: the program did not reach the title (exit %d)\n", code);
      for (const std::string& line : desktop.Lines())
        std::fprintf(stderr, "  %s\n", line.c_str());
      return 1;
    }
    for (const char* moment : kMoments) {
      arrivals[moment].push_back(desktop.Arrivals().at(moment));
      for (const std::string& line : desktop.Lines()) {
        const std::string prefix = std::string("dovetail: startup ") + moment + " ";
        if (line.rfind(prefix, 0) == 0)
          ownClock[moment].push_back(std::atof(line.c_str() + prefix.size()));
      }
    }
  }
  std::printf("dovetail start-up, soundfont %s, median of %d runs (ms from exec)\n",
              soundFont.c_str(), runs);
  std::printf("  %-14s %8s %8s\n", "moment", "at", "step");
  double previous = 0;
  for (const char* moment : kMoments) {
    const double at = Median(arrivals[moment]);
    std::printf("  %-14s %8.0f %8.0f\n", moment, at, at - previous);
    previous = at;
  }
  std::printf("  (exec to main: %.0f ms)\n",
              Median(arrivals["sound-checked"]) - Median(ownClock["sound-checked"]));
  return 0;
}
