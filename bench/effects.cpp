// Times the screen transitions on a 640 × 480 frame: one step or pass of each
// effect, and the per-pixel loop of each colour effect on every pixel path,
// set against one plain copy of the frame. The effects run on the headless
// host, whose sleeps cost nothing, so the figures hold only the work.

#include "graphics/Effects.h"

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "platform/HeadlessHost.h"
#include "platform/Window.h"

namespace {

using namespace dovetail;

constexpr int32_t kW = 640;
constexpr int32_t kH = 480;
constexpr int kRuns = 15;

// Keeps the compiler from dropping work whose result is not read.
void Touch(const void* p) {
  asm volatile("" : : "r"(p) : "memory");
}

// Median wall time of `runs` calls of `work`, in microseconds; `setup` runs
// before each call and is not timed.
double MedianMicros(const std::function<void()>& setup, const std::function<void()>& work,
                    int runs = kRuns) {
  std::vector<double> times;
  for (int i = 0; i < runs; ++i) {
    setup();
    const auto start = std::chrono::steady_clock::now();
    work();
    const auto end = std::chrono::steady_clock::now();
    times.push_back(std::chrono::duration<double, std::micro>(end - start).count());
  }
  std::sort(times.begin(), times.end());
  return times[times.size() / 2];
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

}  // namespace

int main() {
  const Surface picture = VariedPicture();
  Surface other = picture;
  for (Pixel& p : other.Pixels())
    p ^= 0xFFFFFF;

  // One copy of the frame's pixels.
  std::vector<Pixel> copy(picture.Pixels().size());
  const double memcpyMicros =
      MedianMicros([] {},
                   [&] {
                     std::memcpy(copy.data(), picture.Pixels().data(), copy.size() * sizeof(Pixel));
                     Touch(copy.data());
                   },
                   201);
  std::printf("frame memcpy (640x480x4 bytes): %.1f us\n\n", memcpyMicros);

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
    const double total = MedianMicros(
        [&] {
          picMain.Image() = other;
          picMainBak.Image() = picture;
        },
        [&] { effects.RunEffect(picMain, picMainBak); });
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
  std::printf("%-6s %-9s %10s %10s\n", "code", "path", "us", "x memcpy");
  for (const Loop& loop : loops) {
    for (PixelPath path : SupportedPixelPaths()) {
      const double micros = MedianMicros([&] { pixels = source; },
                                         [&] {
                                           loop.run(pixels, path);
                                           Touch(pixels.data());
                                         },
                                         51);
      std::printf("%-6s %-9s %10.1f %10.1f\n", loop.name, PixelPathName(path), micros,
                  micros / memcpyMicros);
    }
  }
  return 0;
}
