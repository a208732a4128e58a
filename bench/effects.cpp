// Times the screen transitions on a 640 × 480 frame: one step or pass of each
// effect, and the per-pixel loop of each colour effect on every pixel path,
// set against one plain copy of the frame. The effects run on the headless
// host, whose sleeps cost nothing, so the figures hold only the work.
//
// `effects --runs N` times each figure over N runs instead of the default
// medians; `--runs 1` suits an instruction count under callgrind.

#include "graphics/Effects.h"

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "backends/hosts/headless/HeadlessHost.h"
#include "shell/GameEvents.h"
#include "window/Window.h"

namespace {

using namespace dovetail;

constexpr int32_t kW = 640;
constexpr int32_t kH = 480;
// Runs per figure: the whole effects, the per-pixel loops and the memcpy.
struct Runs {
  int effects = 15;
  int loops = 101;
  int copy = 201;
};

// Keeps the compiler from dropping work whose result is not read.
void Touch(const void* p) {
  asm volatile("" : : "r"(p) : "memory");
}

// Wall times of `runs` calls of `work`, in microseconds; `setup` runs before
// each call and is not timed. On a shared machine the best run is the steadier
// figure (other work only ever adds time); the median shows the usual case.
struct Timing {
  double median = 0;
  double best = 0;
};

Timing TimeMicros(const std::function<void()>& setup, const std::function<void()>& work, int runs) {
  std::vector<double> times;
  for (int i = 0; i < runs; ++i) {
    setup();
    const auto start = std::chrono::steady_clock::now();
    work();
    const auto end = std::chrono::steady_clock::now();
    times.push_back(std::chrono::duration<double, std::micro>(end - start).count());
  }
  std::sort(times.begin(), times.end());
  return {times[times.size() / 2], times.front()};
}

Surface VariedPicture() {
  Surface picture(kW, kH);
  for (int32_t y = 0; y < kH; ++y) {
    for (int32_t x = 0; x < kW; ++x)
      picture.Set(x, y, Rgb(x * 7 + y * 3, (x ^ y) * 5 + 1, x * y + 11 * y + 29));
  }
  return picture;
}

struct EffectSteps {
  const char* code;
  int steps;  // steps or passes the effect makes
};

// A per-pixel loop's line: its median and best times, and its best against
// the best frame copy.
void PrintLoopHeader() {
  std::printf("%-6s %-9s %10s %10s %10s\n", "code", "path", "median us", "best us", "x memcpy");
}

void PrintLoop(const char* code, const char* path, Timing loop, Timing copy) {
  std::printf("%-6s %-9s %10.1f %10.1f %10.1f\n", code, path, loop.median, loop.best,
              loop.best / copy.best);
}

Runs ParseRuns(int argc, char** argv) {
  Runs runs;
  if (argc == 3 && std::strcmp(argv[1], "--runs") == 0) {
    const int n = std::max(1, std::atoi(argv[2]));
    runs = {n, n, n};
  } else if (argc != 1) {
    std::fprintf(stderr, "usage: effects [--runs N]\n");
    std::exit(2);
  }
  return runs;
}

}  // namespace

int main(int argc, char** argv) {
  const Runs runs = ParseRuns(argc, argv);
  const Surface picture = VariedPicture();
  Surface other = picture;
  for (Pixel& p : other.Pixels())
    p ^= 0xFFFFFF;

  // One copy of the frame's pixels.
  std::vector<Pixel> copy(picture.Pixels().size());
  const Timing memcpyMicros =
      TimeMicros([] {},
                 [&] {
                   std::memcpy(copy.data(), picture.Pixels().data(), copy.size() * sizeof(Pixel));
                   Touch(copy.data());
                 },
                 runs.copy);
  std::printf("frame memcpy (640x480x4 bytes): median %.1f us, best %.1f us\n\n",
              memcpyMicros.median, memcpyMicros.best);

  HeadlessHost host;
  Window window(host, "Dovetail");
  PictureBox& picMain = window.AddPictureBox("PicMain");
  PictureBox& picMainBak = window.AddPictureBox("PicMainBak");
  PictureBox& mesh1 = window.AddPictureBox("Mesh1");
  PictureBox& mesh2 = window.AddPictureBox("Mesh2");
  picMain.Move(0, 0, kW, kH);
  picMain.SetVisible(true);
  picMainBak.Move(0, 0, kW, kH);
  IgnoredEvents ignored;
  Effects effects(mesh1, mesh2, ignored);

  const EffectSteps table[] = {
      {"DI", 50}, {"VB", 161}, {"HB", 121}, {"HC", 43}, {"BC", 10}, {"IC", 2},
      {"DK", 1},  {"DK2", 1},  {"MS", 9},   {"BI", 20}, {"SP", 1},  {"SO", 4},
      {"MC", 1},  {"MO", 7},   {"MI", 8},   {"", 1},
  };
  std::printf("whole effect on the headless host (each refresh composes the frame), path %s\n",
              PixelPathName(effects.pixelPath));
  std::printf("%-6s %6s %12s %14s\n", "code", "steps", "total us", "per step us");
  for (const EffectSteps& e : table) {
    effects.EffectCode = e.code;
    const double total = TimeMicros(
                             [&] {
                               picMain.Image() = other;
                               picMainBak.Image() = picture;
                             },
                             [&] { effects.RunEffect(picMain, picMainBak); }, runs.effects)
                             .median;
    std::printf("%-6s %6d %12.1f %14.1f\n", e.code[0] ? e.code : "cut", e.steps, total,
                total / e.steps);
  }

  // The per-pixel loop alone, over the pixel array of the frame.
  picMainBak.Image() = picture;
  PixelArray source;
  const int32_t count = GetPixels(picMainBak, source);
  PixelArray pixels;
  struct Loop {
    const char* name;
    std::function<void(PixelArray&, PixelPath)> run;
  };
  const Loop loops[] = {
      {"DK", [count](PixelArray& px, PixelPath path) { DarkenPixels(px, count, 100, path); }},
      {"SP", [count](PixelArray& px, PixelPath path) { SepiaPixels(px, count, path); }},
      {"MC", [count](PixelArray& px, PixelPath path) { GreyPixels(px, count, path); }},
      {"SO",
       [count](PixelArray& px, PixelPath path) {
         TonePixels(px, count, 0.1 + 0.1 + 0.1, ToneKind::Warm, path);
       }},
      {"MO/MI",
       [count](PixelArray& px, PixelPath path) {
         TonePixels(px, count, 0.1 + 0.1 + 0.1, ToneKind::Desaturate, path);
       }},
  };
  std::printf("\nper-pixel colour pass over 640x480 (loop only)\n");
  PrintLoopHeader();
  for (const Loop& loop : loops) {
    for (PixelPath path : SupportedPixelPaths()) {
      const Timing micros = TimeMicros([&] { pixels = source; },
                                       [&] {
                                         loop.run(pixels, path);
                                         Touch(pixels.data());
                                       },
                                       runs.loops);
      PrintLoop(loop.name, PixelPathName(path), micros, memcpyMicros);
    }
  }

  // One step of the cross-fade alone: a whole frame moved 10 % towards another.
  BlendArea blend;
  blend.BlendBegin(kW, kH);
  const Timing blendMicros =
      TimeMicros([&] { picMain.Image() = other; },
                 [&] {
                   blend.BlendRect(picMain, 0, 0, kW, kH, picMainBak, 0, 0, 0.1f);
                   Touch(picMain.Image().Pixels().data());
                 },
                 runs.loops);
  blend.BlendEnd();
  std::printf("\ncross-fade step over 640x480 (BlendRect only)\n");
  PrintLoopHeader();
  PrintLoop("BI", "-", blendMicros, memcpyMicros);
  return 0;
}
