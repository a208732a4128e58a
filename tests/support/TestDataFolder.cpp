#include "support/TestDataFolder.h"

#include <unistd.h>

#include <cassert>

#include "base/Cp932.h"
#include "base/Files.h"
#include "graphics/BitmapFile.h"
#include "storage/DataFolder.h"
#include "storage/PictureDisguise.h"
#include "support/Bytes.h"
#include "support/MidiFixture.h"

namespace dovetail::testing {

namespace fs = std::filesystem;

namespace {

void Write(const fs::path& path, const std::string& bytes) {
  const Status status = ReplaceFileAtomically(path, bytes);
  assert(status.ok());
  (void)status;
}

// A picture with a gradient, so that copies and effects are visible in tests.
Surface Gradient(int32_t width, int32_t height, Pixel tint) {
  Surface s(width, height);
  for (int32_t y = 0; y < height; ++y) {
    for (int32_t x = 0; x < width; ++x) {
      s.Set(x, y,
            Rgb((x * 255 / std::max(width - 1, 1)) ^ RedOf(tint),
                (y * 255 / std::max(height - 1, 1)) ^ GreenOf(tint), BlueOf(tint)));
    }
  }
  return s;
}

// A 32 × 32 cursor: a white square with a black border, hot spot (1, 1).
std::string CursorFile() {
  Bytes cur;
  cur.U16(0).U16(2).U16(1);                     // icon directory: one cursor
  cur.U8(32).U8(32).U8(0).U8(0).U16(1).U16(1);  // 32 × 32, hot spot (1, 1)
  cur.U32(40 + 32 * 32 * 4 + 32 * 4).U32(22);   // image size and offset
  cur.U32(40).U32(32).U32(64).U16(1).U16(32);   // info header: 32 bits
  for (int i = 0; i < 6; ++i)
    cur.U32(0);
  for (int y = 0; y < 32; ++y) {
    for (int x = 0; x < 32; ++x) {
      const bool border = x == 0 || y == 0 || x == 31 || y == 31;
      cur.U32(border ? 0xFF000000u : 0xFFFFFFFFu);
    }
  }
  cur.Raw(std::string(32 * 4, '\0'));  // AND mask: all opaque
  return cur.Text();
}

std::string SettingsText(const std::string& flags, bool cleared) {
  std::string text = flags + "\r\n";
  for (int stage = 1; stage <= 14; ++stage)
    text += "2,0.1,1,0.05,20,0.2,60\r\n";
  for (int dish = 0; dish < 20; ++dish) {
    text += std::to_string(100 + dish % 5 * 70) + "," + std::to_string(300 + dish / 5 * 40) +
            ",60,30," + std::to_string(dish % 5 * 60) + "," + std::to_string(dish / 5 * 80) +
            ",料理\r\n";
  }
  for (int spot = 0; spot < 12; ++spot)
    text += "520,60,60,60\r\n";
  if (cleared) text += "0200-0000\r\n";
  return *Utf8ToCp932(text);
}

}  // namespace

TestDataFolder::TestDataFolder(const std::string& name) {
  // The process id keeps runs of the same test in parallel builds apart.
  root = fs::temp_directory_path() / ("dovetail-test-" + name + "-" + std::to_string(::getpid()));
  fs::remove_all(root);
  data = root / "data";
  fs::create_directories(data);

  SetSettings("1100", false);
  Write(data / "30.dat", *Utf8ToCp932("名人,A,9000\r\n達人,B,8000\r\n,,0\r\n,,0\r\n,,0\r\n"));
  SetScript("1000,,,,,,,,はじめ,,,,\r\n1001,,,,,,,,おわり,,,,\r\n");

  auto picture = [&](const char* file, Surface surface, bool disguised) {
    std::string bytes = EncodeBitmap24(surface);
    if (disguised) bytes = Disguised(std::move(bytes));
    Write(data / file, bytes);
  };
  for (const char* file : kPictureFiles)
    picture(file, Gradient(40, 30, 0x203040), true);
  picture("90.dat", Gradient(700, 560, 0x00FF00), true);
  // The ending pictures and the ranking screen fill the window.
  picture("p05.dat", Gradient(640, 480, 0xC08040), true);
  picture("p06.dat", Gradient(640, 480, 0x40C080), true);
  picture("p07.dat", Gradient(640, 480, 0x404080), true);
  picture("p03.dat", Gradient(640, 480, 0x0000FF), false);
  picture("p01.dat", Gradient(640, 480, 0xFF0000), false);
  picture("P99.dat", Gradient(320, 200, 0x808080), false);
  Write(data / "01.mid", MidiOfQuarters(6));
  Write(data / "02.mid", MidiOfQuarters(8));
  Write(data / "03.mid", MidiOfQuarters(4));
  Write(data / "select.cur", CursorFile());
}

TestDataFolder::~TestDataFolder() {
  std::error_code ec;
  fs::remove_all(root, ec);
}

void TestDataFolder::SetScript(const std::string& scriptRows, const std::string& choiceRows) {
  Write(data / "51.dat", InvertBytes(*Utf8ToCp932(scriptRows)));
  Write(data / "52.dat", InvertBytes(*Utf8ToCp932(choiceRows)));
}

void TestDataFolder::SetSettings(const std::string& flags, bool cleared) {
  Write(data / "20.dat", SettingsText(flags, cleared));
}

std::string HeaderOf(const fs::path& path) {
  return ReadWholeFile(path)->substr(0, 2);
}

}  // namespace dovetail::testing
