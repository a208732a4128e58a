// The desktop program. For now it shows the desktop host at work: the main
// window with its menu bar, a test picture brought on screen by the coded
// screen transitions, one after another on a timer or a click.

#include <QApplication>
#include <array>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <iostream>
#include <numbers>
#include <optional>
#include <string>

#include "base/ProgramExit.h"
#include "graphics/Effects.h"
#include "platform/Window.h"
#include "platform/qt/QtHost.h"

namespace dovetail {
namespace {

constexpr const char* kUsage =
    "Usage: dovetail [OPTION]\n"
    "Shows the Dovetail window with a test picture and its screen transitions.\n"
    "\n"
    "  --smoke-test  end by itself (exit code 0) after the first transition\n"
    "  --help        show this help and exit\n"
    "  --version     show the version and exit\n";

// The transitions the demonstration cycles through after the opening fade.
constexpr std::array<const char*, 13> kEffectCycle = {"DI", "VB", "HB", "HC", "BC", "IC", "MS",
                                                      "BI", "SP", "MC", "SO", "MO", "MI"};
constexpr uint32_t kCycleIntervalMs = 3500;

struct Options {
  bool smokeTest = false;
};

// Parses the program's own options; Qt's options (one dash) are left to Qt.
// Returns an exit code when the program should end at once.
std::optional<int> ParseOptions(int argc, char** argv, Options& options) {
  for (int i = 1; i < argc; ++i) {
    const std::string argument = argv[i];
    if (argument == "--help") {
      std::cout << kUsage;
      return 0;
    }
    if (argument == "--version") {
      std::cout << "dovetail " << DOVETAIL_VERSION << "\n";
      return 0;
    }
    if (argument == "--smoke-test") {
      options.smokeTest = true;
    } else if (argument.rfind("--", 0) == 0) {
      std::cerr << "dovetail: unknown option " << argument << "\n"
                << "Try 'dovetail --help'.\n";
      return 2;
    }
  }
  return std::nullopt;
}

// A colourful 640 × 480 test picture: a two-colour gradient, three overlapping
// discs mixing red, green and blue, colour bars, and fine patterns (a
// one-pixel checkerboard and a line grid) that show whether the window blurs.
Surface TestPicture(int variant) {
  struct Gradient {
    Pixel top;
    Pixel bottom;
  };
  constexpr std::array<Gradient, 4> kGradients = {
      Gradient{Rgb(16, 24, 80), Rgb(230, 110, 50)}, Gradient{Rgb(10, 70, 60), Rgb(240, 220, 120)},
      Gradient{Rgb(70, 20, 90), Rgb(60, 180, 230)}, Gradient{Rgb(90, 20, 30), Rgb(250, 190, 200)}};
  const Gradient& gradient = kGradients[static_cast<size_t>(variant) % kGradients.size()];
  Surface picture(640, 480);
  auto mix = [](uint32_t a, uint32_t b, int32_t t, int32_t range) {
    return (a * static_cast<uint32_t>(range - t) + b * static_cast<uint32_t>(t)) /
           static_cast<uint32_t>(range);
  };
  // Three discs around the middle, turned a little further for each variant.
  std::array<std::array<int32_t, 2>, 3> centres{};
  for (size_t disc = 0; disc < centres.size(); ++disc) {
    const double angle =
        (static_cast<double>(disc) * 120.0 + variant * 35.0 - 90.0) * std::numbers::pi / 180.0;
    centres[disc] = {320 + static_cast<int32_t>(std::lround(70.0 * std::cos(angle))),
                     200 + static_cast<int32_t>(std::lround(70.0 * std::sin(angle)))};
  }
  for (int32_t y = 0; y < 480; ++y) {
    for (int32_t x = 0; x < 640; ++x) {
      const int32_t t = y + x / 8;
      uint32_t red = mix(RedOf(gradient.top), RedOf(gradient.bottom), t, 560);
      uint32_t green = mix(GreenOf(gradient.top), GreenOf(gradient.bottom), t, 560);
      uint32_t blue = mix(BlueOf(gradient.top), BlueOf(gradient.bottom), t, 560);
      for (size_t disc = 0; disc < centres.size(); ++disc) {
        const int32_t dx = x - centres[disc][0];
        const int32_t dy = y - centres[disc][1];
        if (dx * dx + dy * dy > 95 * 95) continue;
        if (disc == 0) red = 255;
        if (disc == 1) green = 255;
        if (disc == 2) blue = 255;
      }
      picture.Set(x, y, Rgb(red, green, blue));
    }
  }
  constexpr std::array<Pixel, 8> kBars = {
      kWhite,           Rgb(255, 255, 0), Rgb(0, 255, 255), Rgb(0, 255, 0),
      Rgb(255, 0, 255), Rgb(255, 0, 0),   Rgb(0, 0, 255),   kBlack};
  for (size_t bar = 0; bar < kBars.size(); ++bar)
    picture.FillRect(40 + static_cast<int32_t>(bar) * 70, 400, 70, 50, kBars[bar]);
  for (int32_t y = 0; y < 64; ++y) {
    for (int32_t x = 0; x < 64; ++x) {
      picture.Set(24 + x, 24 + y, ((x + y) & 1) != 0 ? kWhite : kBlack);
      picture.Set(552 + x, 24 + y, (x % 8 == 0 || y % 8 == 0) ? kWhite : Rgb(40, 40, 40));
    }
  }
  picture.DrawRectOutline(0, 0, 639, 479, kWhite);
  picture.DrawRectOutline(2, 2, 637, 477, kBlack);
  return picture;
}

// The demonstration's window: the stage and its back buffer, the dissolve
// masks, a timer that brings the next transition, and the menu.
class Demo {
 public:
  explicit Demo(QtHost& host)
      : window_(host, "Dovetail"),
        picMain_(window_.AddPictureBox("PicMain")),
        picMainBak_(window_.AddPictureBox("PicMainBak")),
        mesh1_(window_.AddPictureBox("Mesh1")),
        mesh2_(window_.AddPictureBox("Mesh2")),
        effects_(mesh1_, mesh2_),
        cycle_(window_.AddTimer("Cycle", kCycleIntervalMs)) {
    picMainBak_.Move(0, 0, 640, 480);
    picMain_.Move(0, 0, 640, 480);
    picMain_.SetBackColor(kBlack);
    picMain_.SetVisible(true);
    window_.BringToFront(picMain_);

    MenuItem& next = window_.AddMenuItem("next", "次の効果");
    next.onClick = [this] { ShowNext(); };
    MenuItem& vers = window_.AddMenuItem("vers", "バージョン");
    vers.onClick = [this] {
      window_.GetHost().MessageBox(
          {std::string("Dovetail ") + DOVETAIL_VERSION, "", MessageBoxButtons::Ok});
    };
    MenuItem& ends = window_.AddMenuItem("ends", "終了");
    ends.onClick = [] { throw ProgramExit{0}; };
    window_.onCloseRequest = [] { throw ProgramExit{0}; };

    picMain_.onClick = [this] { ShowNext(); };
    window_.onKeyDown = [this](const KeyEvent& key) {
      if (key.keyCode == kKeyReturn || key.keyCode == kKeySpace) ShowNext();
    };
    cycle_.onTimer = [this] { ShowNext(); };
  }

  // Shows the window and fades the first picture in.
  void Start() {
    window_.GetHost().DoEvents();
    Show("BI");
    cycle_.SetEnabled(true);
  }

 private:
  void ShowNext() {
    Show(kEffectCycle[next_ % kEffectCycle.size()]);
    ++next_;
  }

  // Composes the next picture in the back buffer and brings it on the stage.
  void Show(const char* code) {
    // A click while a transition lets events run waits for the next one.
    if (showing_) return;
    showing_ = true;
    struct Done {
      bool& flag;
      ~Done() { flag = false; }
    } done{showing_};
    picMainBak_.SetPicture(TestPicture(variant_++));
    effects_.EffectCode = code;
    effects_.RunEffect(picMain_, picMainBak_);
  }

  Window window_;
  PictureBox& picMain_;
  PictureBox& picMainBak_;
  PictureBox& mesh1_;
  PictureBox& mesh2_;
  Effects effects_;
  Timer& cycle_;
  size_t next_ = 0;
  int variant_ = 0;
  bool showing_ = false;
};

}  // namespace
}  // namespace dovetail

int main(int argc, char** argv) {
  dovetail::Options options;
  if (const auto exitCode = dovetail::ParseOptions(argc, argv, options)) return *exitCode;

  QApplication application(argc, argv);
  dovetail::QtHost host;
  try {
    dovetail::Demo demo(host);
    demo.Start();
    if (options.smokeTest) return 0;
    host.RunEventLoop();
  } catch (const dovetail::ProgramExit& exit) {
    return exit.code;
  }
}
