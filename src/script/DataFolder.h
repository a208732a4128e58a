#pragma once

#include <array>
#include <filesystem>
#include <string>
#include <string_view>

#include "base/Result.h"
#include "script/ScriptLoader.h"
#include "script/ScriptTables.h"

namespace dovetail {

// The twelve picture files whose first two bytes are "JF" instead of "BM"
// while the program is not running.
constexpr std::array<const char*, 12> kPictureFiles = {"11.dat",  "21.dat",  "31.dat",  "41.dat",
                                                       "90.dat",  "91.dat",  "92.dat",  "p04.dat",
                                                       "p05.dat", "p06.dat", "p07.dat", "p08.dat"};

// The path of a data file. The original ran on a case-insensitive file system,
// so when the exact name is absent a file whose name differs only in case is
// used ("P99.dat" finds "p99.dat"). When neither exists, the exact path.
std::filesystem::path DataFile(const std::filesystem::path& dataPath, std::string_view name);

// Every byte complemented (the script files' disguise; applying it twice gives
// the bytes back).
std::string InvertBytes(std::string_view bytes);

// Writes the decoded copies 51.cod and 52.cod of 51.dat and 52.dat.
Status DecodeScripts(const std::filesystem::path& dataPath);

// Writes "B", "M" (kind 'B' or 'b') into the first two bytes of the file;
// nothing else changes.
Status RestoreHeader(const std::filesystem::path& path, char kind);
// Writes "J", "F" into the first two bytes of the file.
Status HideHeader(const std::filesystem::path& path);

// Decodes the scripts and restores the twelve picture headers; reports 50.
Status PrepareAssets(const std::filesystem::path& dataPath, const ProgressReport& progress);

// Reads 51.cod and 52.cod into the tables and deletes both files, also when
// loading fails; reports 70, 80, 90 and 95.
Status LoadScript(const std::filesystem::path& dataPath, ScriptTables& tables,
                  const ProgressReport& progress);

}  // namespace dovetail
