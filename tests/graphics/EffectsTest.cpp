#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "backends/hosts/headless/HeadlessHost.h"
#include "base/Numbers.h"
#include "graphics/Effects.h"
#include "shell/GameEvents.h"
#include "window/Window.h"

// The reference formulas below must round after every operation, as the
// engine's loops do; a compiler that fused a multiply and an add would make the
// reference itself wrong.
#if defined(__clang__)
#pragma clang fp contract(off)
#elif defined(__GNUC__)
#pragma GCC optimize("fp-contract=off")
#endif

namespace dovetail {
namespace {

constexpr int32_t kW = 640;
constexpr int32_t kH = 480;

// A picture where neighbouring pixels differ in every channel and colours
// spread over the whole range.
Surface VariedPicture() {
  Surface picture(kW, kH);
  for (int32_t y = 0; y < kH; ++y) {
    for (int32_t x = 0; x < kW; ++x) {
      picture.Set(x, y, Rgb(x * 7 + y * 3, (x ^ y) * 5 + 1, x * y + 11 * y + 29));
    }
  }
  return picture;
}

// The same picture with every channel inverted: differs from it everywhere.
Surface Complement(const Surface& picture) {
  Surface result = picture;
  for (Pixel& p : result.Pixels())
    p ^= 0xFFFFFF;
  return result;
}

// The main window with the pictures the transitions work on: the visible
// PicMain over the whole client area, the hidden back buffer PicMainBak and
// the two hidden mask boxes.
class EffectsTest : public ::testing::Test {
 protected:
  EffectsTest()
      : window(host, "Dovetail"),
        picMain(AddBox("PicMain", true)),
        picMainBak(AddBox("PicMainBak", false)),
        mesh1(AddBox("Mesh1", false)),
        mesh2(AddBox("Mesh2", false)),
        effects(mesh1, mesh2, ignored) {
    window.BringToFront(picMain);
  }

  PictureBox& AddBox(const std::string& name, bool visible) {
    PictureBox& box = window.AddPictureBox(name);
    box.Move(0, 0, kW, kH);
    box.SetVisible(visible);
    return box;
  }

  // Back buffer holds the new picture, the screen its complement.
  // The screen is shown once before the effect starts.
  void Prepare() {
    source = VariedPicture();
    picMainBak.Image() = source;
    picMain.Image() = Complement(source);
    window.Refresh();
  }

  // Runs the effect and reports how much virtual time and how many DoEvents
  // calls it took.
  struct Run {
    uint32_t elapsed;
    uint64_t doEvents;
  };
  Run RunCode(const std::string& code, PictureBox& dest, PictureBox& src) {
    effects.EffectCode = code;
    const uint32_t start = host.TickCount();
    const uint64_t events = host.DoEventsCount();
    effects.RunEffect(dest, src);
    return {host.TickCount() - start, host.DoEventsCount() - events};
  }
  Run RunCode(const std::string& code) { return RunCode(code, picMain, picMainBak); }

  HeadlessHost host;
  Window window;
  PictureBox& picMain;
  PictureBox& picMainBak;
  PictureBox& mesh1;
  PictureBox& mesh2;
  IgnoredEvents ignored;
  Effects effects;
  Surface source;
};

// ---------------------------------------------------------------------------
// Dither masks

TEST(Mesh1Test, FramesGrowByTheThresholdTableAndTheUpperHalfIsTheComplement) {
  const Surface masks = BuildMesh1();
  ASSERT_EQ(masks.Width(), 320);
  ASSERT_EQ(masks.Height(), 64);
  const int expected[10] = {96, 208, 288, 416, 624, 720, 832, 928, 976, 1024};
  for (int32_t f = 0; f < 10; ++f) {
    int white = 0;
    for (int32_t v = 0; v < 32; ++v) {
      for (int32_t u = 0; u < 32; ++u) {
        const Pixel lower = masks.At(32 * f + u, 32 + v);
        const Pixel upper = masks.At(32 * f + u, v);
        ASSERT_TRUE(lower == kWhite || lower == kBlack);
        ASSERT_EQ(upper, lower ^ 0xFFFFFF) << "frame " << f << " at " << u << "," << v;
        if (lower == kWhite) ++white;
        // Each frame keeps every white pixel of the one before.
        if (f > 0 && masks.At(32 * (f - 1) + u, 32 + v) == kWhite) {
          ASSERT_EQ(lower, kWhite);
        }
      }
    }
    EXPECT_EQ(white, expected[f]) << "frame " << f;
  }
  // The pattern repeats every 8 pixels: T[0][0] = 0, T[1][0] = 6.
  EXPECT_EQ(masks.At(8, 32 + 16), kWhite);
  EXPECT_EQ(masks.At(32 * 5 + 16, 32 + 9), kBlack);
  EXPECT_EQ(masks.At(32 * 6 + 16, 32 + 9), kWhite);
}

TEST_F(EffectsTest, TheConstructorPutsTheMasksIntoMesh1) {
  EXPECT_EQ(mesh1.Image(), BuildMesh1());
  mesh1.Cls();
  EXPECT_EQ(mesh1.Image(), BuildMesh1());
}

// ---------------------------------------------------------------------------
// Copying transitions: geometry, completeness and pacing

struct CopyCase {
  const char* code;
  int steps;      // paced steps (DoEvents calls)
  uint32_t time;  // virtual milliseconds on the headless host
  // Whether the pixel shows the new picture in the first frame presented.
  std::function<bool(int32_t x, int32_t y)> newInFirstFrame;
};

bool MeshFrame0(int32_t x, int32_t y) {
  static const int kT[8][8] = {{0, 4, 1, 5, 0, 4, 1, 5}, {6, 2, 7, 3, 6, 2, 8, 4},
                               {1, 5, 0, 4, 2, 6, 1, 4}, {8, 4, 7, 3, 9, 4, 7, 3},
                               {0, 4, 1, 5, 0, 4, 1, 5}, {6, 3, 8, 4, 6, 3, 7, 3},
                               {2, 6, 1, 5, 2, 6, 0, 4}, {9, 4, 7, 3, 9, 4, 7, 3}};
  return kT[y % 8][x % 8] == 0;
}

TEST_F(EffectsTest, CopyingTransitionsEndWithTheSourceAfterTheirStepsAndPaces) {
  // Each paced step lasts its pace plus the 1 ms of the headless DoEvents.
  const std::vector<CopyCase> cases = {
      {"DI", 50, 50 * 9, [](int32_t x, int32_t) { return x % 50 == 0; }},
      {"VB", 161, 161 * 6, [](int32_t x, int32_t) { return x <= 1 || x >= 638; }},
      {"HB", 0, 0, [](int32_t, int32_t y) { return y <= 1 || y >= 478; }},
      {"HC", 43, 43 * 41, [](int32_t x, int32_t) { return x < 240 && x % 15 < 15 - x / 15; }},
      {"BC", 10, 10 * 49, [](int32_t x, int32_t y) { return x % 20 < 2 && y % 20 < 2; }},
      {"IC", 2, 100 + 2, [](int32_t x, int32_t y) { return (x % 4 < 2) == (y % 4 < 2); }},
      {"MS", 9, 9 * 73, MeshFrame0},
      {"BI", 20, 20 * 81, nullptr},
  };
  for (const CopyCase& c : cases) {
    SCOPED_TRACE(c.code);
    Prepare();
    const Surface old = picMain.Image();
    std::vector<Surface> frames;
    host.onPresent = [&frames](const Surface& frame) {
      if (frames.empty()) frames.push_back(frame);
    };
    const Run run = RunCode(c.code);
    host.onPresent = nullptr;

    EXPECT_EQ(picMain.Image(), source);
    EXPECT_EQ(picMainBak.Image(), source);
    EXPECT_EQ(run.doEvents, static_cast<uint64_t>(c.steps));
    EXPECT_EQ(run.elapsed, c.time);
    EXPECT_EQ(effects.EffectCode, c.code);

    ASSERT_FALSE(frames.empty());
    if (!c.newInFirstFrame) continue;
    int wrong = 0;
    for (int32_t y = 0; y < kH; ++y) {
      for (int32_t x = 0; x < kW; ++x) {
        const Pixel expected = c.newInFirstFrame(x, y) ? source.At(x, y) : old.At(x, y);
        if (frames[0].At(x, y) != expected && ++wrong <= 3) {
          ADD_FAILURE() << "first frame differs at " << x << "," << y;
        }
      }
    }
  }
}

TEST_F(EffectsTest, ASlowStepIsNotFollowedByASleep) {
  // Every refresh takes 12 ms: "VB" (pace 5) then lasts 12 ms a step plus
  // DoEvents, "BC" (pace 48) still 48.
  host.onPresent = [this](const Surface&) { host.Sleep(12); };
  Prepare();
  EXPECT_EQ(RunCode("VB").elapsed, 161u * 13);
  EXPECT_GE(effects.EffectElapsed, 12);
  Prepare();
  EXPECT_EQ(RunCode("BC").elapsed, 10u * 49);
  EXPECT_EQ(effects.EffectElapsed, 12);
}

TEST_F(EffectsTest, PacingSurvivesTheTickCountWrapping) {
  HeadlessHost wrapping(0xFFFFFF00u);
  Window window2(wrapping, "Dovetail");
  PictureBox& dest = window2.AddPictureBox("PicMain");
  PictureBox& src = window2.AddPictureBox("PicMainBak");
  PictureBox& m1 = window2.AddPictureBox("Mesh1");
  PictureBox& m2 = window2.AddPictureBox("Mesh2");
  dest.SetSize(kW, kH);
  src.SetSize(kW, kH);
  src.Image() = VariedPicture();
  IgnoredEvents notWatched;
  Effects wrapped(m1, m2, notWatched);
  wrapped.EffectCode = "HC";
  wrapped.RunEffect(dest, src);
  EXPECT_EQ(wrapping.TickCount() - 0xFFFFFF00u, 43u * 41);
  EXPECT_EQ(dest.Image(), src.Image());
}

TEST_F(EffectsTest, CrossFadeMovesTenPercentAStepAndCentresASmallerPicture) {
  Prepare();
  std::vector<Surface> frames;
  host.onPresent = [&frames](const Surface& frame) { frames.push_back(frame); };
  RunCode("BI");
  ASSERT_GE(frames.size(), 2u);
  // First step: round(new · 0.1 + old · 0.9) per channel, ratio in single precision.
  const double r = 0.1f;
  for (const auto& [x, y] : {std::pair{0, 0}, std::pair{319, 240}, std::pair{639, 479}}) {
    const Pixel o = Complement(source).At(x, y);
    const Pixel n = source.At(x, y);
    auto mix = [r](uint32_t a, uint32_t b) {
      return static_cast<uint32_t>(RoundHalfEven(b * r + a * (1.0 - r)));
    };
    EXPECT_EQ(frames[0].At(x, y),
              Rgb(mix(RedOf(o), RedOf(n)), mix(GreenOf(o), GreenOf(n)), mix(BlueOf(o), BlueOf(n))))
        << x << "," << y;
  }

  // A 200 × 101 picture lands at (220, 190); the rest of the screen stays.
  Prepare();
  const Surface before = picMain.Image();
  PictureBox& logo = window.AddPictureBox("Logo");
  logo.SetSize(200, 101);
  BitBlt(logo.Image(), 0, 0, 200, 101, source, 5, 7);
  RunCode("BI", picMain, logo);
  for (int32_t y = 0; y < kH; ++y) {
    for (int32_t x = 0; x < kW; ++x) {
      const bool inside = x >= 220 && x < 420 && y >= 190 && y < 291;
      ASSERT_EQ(picMain.Image().At(x, y),
                inside ? logo.Image().At(x - 220, y - 190) : before.At(x, y))
          << x << "," << y;
    }
  }
}

TEST_F(EffectsTest, UnknownCodesCutAtOnce) {
  for (const char* code : {"", "XX", "dk", "di", "D", "DK3", "MS "}) {
    SCOPED_TRACE(code);
    Prepare();
    const uint64_t presents = host.PresentCount();
    const Run run = RunCode(code);
    EXPECT_EQ(picMain.Image(), source);
    EXPECT_EQ(picMainBak.Image(), source);
    EXPECT_EQ(run.elapsed, 0u);
    EXPECT_EQ(run.doEvents, 0u);
    EXPECT_EQ(host.PresentCount() - presents, 1u);
    EXPECT_EQ(effects.EffectCode, code);
  }
}

// ---------------------------------------------------------------------------
// Colour transitions

struct PixelCase {
  const char* code;
  Pixel in;
  Pixel out;
};

TEST_F(EffectsTest, ColourEffectsGiveTheExpectedPixels) {
  const std::vector<PixelCase> cases = {
      {"DK", Rgb(30, 200, 90), Rgb(0, 100, 0)},
      {"DK2", Rgb(30, 200, 90), Rgb(0, 150, 40)},
      {"SP", Rgb(60, 90, 120), Rgb(190, 110, 90)},
      {"SP", kWhite, kWhite},
      {"SP", kBlack, Rgb(100, 20, 0)},
      {"SP", Rgb(155, 155, 155), Rgb(255, 175, 155)},
      {"SP", Rgb(156, 156, 157), Rgb(255, 176, 156)},
      {"MC", Rgb(10, 20, 31), Rgb(20, 20, 20)},
      {"MC", Rgb(0, 0, 1), Rgb(0, 0, 0)},
      {"MC", Rgb(0, 1, 1), Rgb(1, 1, 1)},
  };
  for (const PixelCase& c : cases) {
    SCOPED_TRACE(std::string(c.code) + " " + std::to_string(c.in));
    picMainBak.Image().Fill(c.in);
    picMain.Image().Fill(0x123456);
    RunCode(c.code);
    const std::string code = c.code;
    // "DK" and "DK2" darken the back buffer; "DK2" leaves the screen alone.
    // "SP" and "MC" leave the back buffer alone and colour the screen.
    const bool darkens = code == "DK" || code == "DK2";
    EXPECT_EQ(picMainBak.Image(), Surface(kW, kH, darkens ? c.out : c.in));
    EXPECT_EQ(picMain.Image(), Surface(kW, kH, code == "DK2" ? 0x123456 : c.out));
  }
}

TEST_F(EffectsTest, DarkeningTheSamePictureWorksInPlaceAtAnySize) {
  Prepare();
  const Surface screen = picMain.Image();
  RunCode("DK", picMainBak, picMainBak);
  EXPECT_EQ(picMain.Image(), screen);
  EXPECT_EQ(picMainBak.Image().At(0, 0), Rgb(std::max<int>(RedOf(source.At(0, 0)) - 100, 0),
                                             std::max<int>(GreenOf(source.At(0, 0)) - 100, 0),
                                             std::max<int>(BlueOf(source.At(0, 0)) - 100, 0)));

  // The ending darkens a smaller panel with "DK2".
  PictureBox& panel = window.AddPictureBox("StaffRoll");
  panel.SetSize(300, 37);
  panel.Image().Fill(Rgb(30, 200, 90));
  panel.Image().Set(299, 36, Rgb(255, 49, 51));
  const Run run = RunCode("DK2", panel, panel);
  Surface expected(300, 37, Rgb(0, 150, 40));
  expected.Set(299, 36, Rgb(205, 0, 1));
  EXPECT_EQ(panel.Image(), expected);
  EXPECT_EQ(picMain.Image(), screen);
  EXPECT_EQ(run.elapsed, 0u);
  EXPECT_EQ(effects.PixelCount, 300 * 37);
}

TEST_F(EffectsTest, ColourEffectsOnAnEmptyPictureChangeNothing) {
  PictureBox& empty = window.AddPictureBox("Empty");
  for (const char* code : {"DK", "DK2", "SP", "MC"}) {
    SCOPED_TRACE(code);
    RunCode(code, empty, empty);
    EXPECT_EQ(effects.PixelCount, -1);
    EXPECT_TRUE(empty.Image().Empty());
  }
}

// One channel of the tone formulas as written: c is the channel, x and y the
// other two, d its divisor.
uint32_t ReferenceToneChannel(double c, double x, double y, double t, double d) {
  const double v = (x * t + y * t) / d + c - c * t;
  return static_cast<uint32_t>(std::clamp(RoundHalfEven(v), 0.0, 255.0));
}

struct ToneDivisors {
  double red;
  double green;
  double blue;
};

ToneDivisors DivisorsOf(ToneKind kind) {
  return kind == ToneKind::Warm ? ToneDivisors{1.5, 2.0, 2.2} : ToneDivisors{2.0, 2.0, 2.0};
}

// The straightforward evaluation of the tone formulas, one pixel at a time.
Pixel ReferenceTone(Pixel p, double t, ToneKind kind) {
  const ToneDivisors d = DivisorsOf(kind);
  const double R = RedOf(p);
  const double G = GreenOf(p);
  const double B = BlueOf(p);
  return Rgb(ReferenceToneChannel(R, G, B, t, d.red), ReferenceToneChannel(G, R, B, t, d.green),
             ReferenceToneChannel(B, G, R, t, d.blue));
}

Surface ReferenceTone(Surface picture, double t, ToneKind kind) {
  for (Pixel& p : picture.Pixels())
    p = ReferenceTone(p, t, kind);
  return picture;
}

std::vector<double> Strengths(double start, double step, double limit) {
  std::vector<double> ts;
  for (double t = start; step > 0 ? t <= limit : t >= limit; t += step)
    ts.push_back(t);
  return ts;
}

TEST(StrengthsTest, TheLoopsRunFourSevenAndEightPasses) {
  EXPECT_EQ(Strengths(0.1, 0.1, 0.4).size(), 4u);
  EXPECT_EQ(Strengths(0.1, 0.1, 0.7).size(), 7u);
  const std::vector<double> back = Strengths(0.7, -0.1, 0.0);
  ASSERT_EQ(back.size(), 8u);
  EXPECT_GT(back.back(), 0.0);
  EXPECT_LT(back.back(), 1e-15);
}

TEST_F(EffectsTest, WarmToningChangesTheBackBufferPassByPass) {
  Prepare();
  std::vector<Surface> shown;
  host.onPresent = [&shown](const Surface& frame) {
    if (shown.empty() || !(shown.back() == frame)) shown.push_back(frame);
  };
  const Run run = RunCode("SO");
  EXPECT_EQ(run.doEvents, 4u);
  EXPECT_EQ(run.elapsed, 4u);
  EXPECT_EQ(effects.pixelPath, SupportedPixelPaths().back());

  // The first refresh (of the toned back buffer) still shows the old screen.
  Surface expected = source;
  std::vector<Surface> passes{Complement(source)};
  for (double t : Strengths(0.1, 0.1, 0.4)) {
    expected = ReferenceTone(expected, t, ToneKind::Warm);
    passes.push_back(expected);
  }
  EXPECT_NE(picMainBak.Image(), source);
  EXPECT_EQ(picMainBak.Image(), expected);
  EXPECT_EQ(picMain.Image(), expected);
  EXPECT_EQ(shown, passes);
}

TEST_F(EffectsTest, DesaturationChangesTheBackBufferAndColourReturnsDoesNot) {
  Prepare();
  RunCode("MO");
  Surface expected = source;
  for (double t : Strengths(0.1, 0.1, 0.7))
    expected = ReferenceTone(expected, t, ToneKind::Desaturate);
  EXPECT_EQ(picMainBak.Image(), expected);
  EXPECT_EQ(picMain.Image(), expected);

  Prepare();
  std::vector<Surface> shown;
  host.onPresent = [&shown](const Surface& frame) {
    if (shown.empty() || !(shown.back() == frame)) shown.push_back(frame);
  };
  const Run run = RunCode("MI");
  EXPECT_EQ(run.doEvents, 8u);
  EXPECT_EQ(picMainBak.Image(), source);
  EXPECT_EQ(picMain.Image(), source);
  std::vector<Surface> passes;
  for (double t : Strengths(0.7, -0.1, 0.0))
    passes.push_back(ReferenceTone(source, t, ToneKind::Desaturate));
  EXPECT_EQ(shown, passes);
}

// The strengths the passes run at, each once: "SO" (warm) and "MO" then "MI"
// (desaturating), accumulated as the effects accumulate them.
std::vector<double> StrengthsOf(ToneKind kind) {
  if (kind == ToneKind::Warm) return Strengths(0.1, 0.1, 0.4);
  std::vector<double> ts = Strengths(0.1, 0.1, 0.7);
  for (double t : Strengths(0.7, -0.1, 0.0)) {
    if (std::find(ts.begin(), ts.end(), t) == ts.end()) ts.push_back(t);
  }
  return ts;
}

// A proof over all 16.7 M colours at every strength the effects use, without
// running 16.7 M colours. A channel c with the other two x and y becomes
// round((x·t + y·t) / d + c − c·t), each operation rounded to double in that
// order, the passes as the formula; x and y reach the result only through
// u = x·t + y·t. So the colours (c, x, y) with one pair (x, y) for each distinct
// u, and every c, give every result any colour can give: when they all match
// the formula, every colour does. Each channel takes its own role, so each
// divisor is covered; the desaturating divisors are all 2, one role does.
TEST(PixelTransformsTest, EveryPathMatchesTheFormulaForEveryColourAtTheEffectsStrengths) {
  for (ToneKind kind : {ToneKind::Warm, ToneKind::Desaturate}) {
    const ToneDivisors divisors = DivisorsOf(kind);
    const int roles = kind == ToneKind::Warm ? 3 : 1;
    for (double t : StrengthsOf(kind)) {
      std::map<double, std::pair<int32_t, int32_t>> pairOfSum;
      for (int32_t x = 0; x < 256; ++x) {
        for (int32_t y = 0; y < 256; ++y)
          pairOfSum.emplace(x * t + y * t, std::pair{x, y});
      }
      PixelArray colours;
      std::vector<uint32_t> expected;
      std::vector<int> roleOf;
      for (int role = 0; role < roles; ++role) {
        const double d = role == 0 ? divisors.red : role == 1 ? divisors.green : divisors.blue;
        for (const auto& [u, xy] : pairOfSum) {
          const auto [x, y] = xy;
          for (int32_t c = 0; c < 256; ++c) {
            const Pixel p = role == 0 ? Rgb(c, x, y) : role == 1 ? Rgb(x, c, y) : Rgb(x, y, c);
            colours.push_back(static_cast<int32_t>(p));
            expected.push_back(ReferenceToneChannel(c, x, y, t, d));
            roleOf.push_back(role);
          }
        }
      }
      const auto count = static_cast<int32_t>(colours.size());
      colours.push_back(0);
      for (PixelPath path : SupportedPixelPaths()) {
        PixelArray pixels = colours;
        TonePixels(pixels, count, t, kind, path);
        int wrong = 0;
        for (int32_t i = 0; i < count; ++i) {
          const auto p = static_cast<Pixel>(pixels[i]);
          const int role = roleOf[static_cast<size_t>(i)];
          const uint32_t got = role == 0 ? RedOf(p) : role == 1 ? GreenOf(p) : BlueOf(p);
          if (got != expected[static_cast<size_t>(i)] && ++wrong <= 3) {
            ADD_FAILURE() << PixelPathName(path) << " t=" << t << " pixel " << std::hex
                          << colours[i] << " channel " << role << " gives " << std::dec << got
                          << ", formula " << expected[static_cast<size_t>(i)];
          }
        }
      }
    }
  }
}

// Every colour combination that matters: all (R, G) pairs with several B, and
// the channels in every role; the first rows add black, white and grey steps.
PixelArray ManyColours() {
  PixelArray pixels(kW * kH + 1, 0);
  for (int32_t i = 0; i < kW * kH; ++i) {
    const uint32_t a = i & 0xFF;
    const uint32_t b = (i >> 8) & 0xFF;
    const uint32_t c = (i * 131 + (i >> 16) * 71 + (i >> 11)) & 0xFF;
    switch ((i >> 16) % 3) {
      case 0:
        pixels[i] = static_cast<int32_t>(Rgb(a, b, c));
        break;
      case 1:
        pixels[i] = static_cast<int32_t>(Rgb(c, a, b));
        break;
      default:
        pixels[i] = static_cast<int32_t>(Rgb(b, c, a));
        break;
    }
  }
  for (int32_t v = 0; v < 256; ++v) {
    pixels[v] = static_cast<int32_t>(Rgb(v, v, v));
    pixels[256 + v] = static_cast<int32_t>(Rgb(255, 255, v));
  }
  return pixels;
}

TEST(PixelTransformsTest, EveryPathMatchesTheFormulasEvaluatedPixelByPixel) {
  const PixelArray colours = ManyColours();
  const int32_t count = kW * kH;
  const std::vector<PixelPath> paths = SupportedPixelPaths();
  std::vector<double> strengths = Strengths(0.1, 0.1, 0.7);
  for (double t : Strengths(0.7, -0.1, 0.0))
    strengths.push_back(t);
  // The ends of the range, and strengths outside it where results leave 0 .. 255.
  for (double t : {0.0, 1.0, 1.5, -0.25})
    strengths.push_back(t);

  for (ToneKind kind : {ToneKind::Warm, ToneKind::Desaturate}) {
    for (double t : strengths) {
      PixelArray expected = colours;
      for (int32_t i = 0; i < count; ++i)
        expected[i] = static_cast<int32_t>(ReferenceTone(static_cast<Pixel>(colours[i]), t, kind));
      for (PixelPath path : paths) {
        PixelArray pixels = colours;
        TonePixels(pixels, count, t, kind, path);
        int wrong = 0;
        for (int32_t i = 0; i <= count; ++i) {
          if (pixels[i] != expected[i] && ++wrong <= 3) {
            ADD_FAILURE() << PixelPathName(path) << " t=" << t << " pixel " << std::hex
                          << colours[i] << " gives " << pixels[i] << ", formula " << expected[i];
          }
        }
      }
    }
  }

  for (PixelPath path : paths) {
    SCOPED_TRACE(PixelPathName(path));
    PixelArray sepia = colours;
    PixelArray grey = colours;
    PixelArray dark = colours;
    SepiaPixels(sepia, count, path);
    GreyPixels(grey, count, path);
    DarkenPixels(dark, count, 100, path);
    for (int32_t i = 0; i < count; ++i) {
      const Pixel p = static_cast<Pixel>(colours[i]);
      const auto g =
          static_cast<uint32_t>(RoundHalfEven((RedOf(p) + GreenOf(p) + BlueOf(p)) / 3.0));
      ASSERT_EQ(static_cast<Pixel>(sepia[i]),
                Rgb(g <= 155 ? g + 100 : 255, g <= 235 ? g + 20 : 255, g))
          << std::hex << p;
      ASSERT_EQ(static_cast<Pixel>(grey[i]), Rgb(g, g, g)) << std::hex << p;
      auto down = [](uint32_t v) { return v >= 100 ? v - 100 : 0; };
      ASSERT_EQ(static_cast<Pixel>(dark[i]), Rgb(down(RedOf(p)), down(GreenOf(p)), down(BlueOf(p))))
          << std::hex << p;
    }

    // A failed read leaves a count of -1: the loops do nothing.
    PixelArray untouched = colours;
    TonePixels(untouched, -1, 0.5, ToneKind::Warm, path);
    DarkenPixels(untouched, -1, 100, path);
    SepiaPixels(untouched, 0, path);
    EXPECT_EQ(untouched, colours);
  }
}

}  // namespace
}  // namespace dovetail
