#pragma once

#include <filesystem>
#include <vector>

#include "content/Finding.h"

namespace dovetail::tools {

// Writes the bundled demo game's data folder into `outDir` from the sources
// in `contentDir` (content/demo):
// - 20.dat from settings.csv and 30.dat from ranking.csv (UTF-8 text; lines
//   starting with "#" are comments), converted to CP932 with CR LF;
// - 51.dat and 52.dat compiled from script.csv and choices.csv;
// - 01.mid to 03.mid from the music recipes music/01.txt to 03.txt;
// - every picture of the file set, drawn in code, the twelve disguised ones
//   with "JF" in place of "BM", plus the backgrounds and character poses the
//   script names;
// - select.cur, a pointing hand.
// The finished folder is checked as `dovetail-data check` checks it; the
// result holds every finding (empty when all is well).
std::vector<Finding> MakeDemoData(const std::filesystem::path& contentDir,
                                  const std::filesystem::path& outDir);

}  // namespace dovetail::tools
