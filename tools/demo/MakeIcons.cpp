// dovetail-make-icons: writes the program's icon at the sizes of the desktop's
// icon theme, as OUT_DIR/NxN/apps/NAME.png.
#include <filesystem>
#include <iostream>

#include "base/Files.h"
#include "demo/AppIcon.h"

int main(int argc, char** argv) {
  if (argc != 3) {
    std::cerr << "usage: dovetail-make-icons OUT_DIR NAME\n";
    return 2;
  }
  for (const int size : {16, 22, 24, 32, 48, 64, 128, 256}) {
    const std::string square = std::to_string(size) + "x" + std::to_string(size);
    const std::filesystem::path folder = std::filesystem::path(argv[1]) / square / "apps";
    std::error_code ec;
    std::filesystem::create_directories(folder, ec);
    const auto path = folder / (std::string(argv[2]) + ".png");
    if (auto written = dovetail::ReplaceFileAtomically(path, dovetail::tools::AppIconPng(size));
        !written.ok()) {
      std::cerr << "dovetail-make-icons: " << written.error().message << "\n";
      return 1;
    }
  }
  return 0;
}
