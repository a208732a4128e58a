#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

#include "base/Result.h"
#include "host/Surface.h"
#include "storage/GamePaths.h"
#include "story/ScriptLoader.h"
#include "story/ScriptTables.h"

namespace dovetail {

// The data folder's files the program names (the player's files are named
// in GamePaths.h). Each is found through DataFile, whatever its case.
inline constexpr std::string_view kScriptFile = "51.dat";
inline constexpr std::string_view kChoiceFile = "52.dat";
inline constexpr std::string_view kSplashPicture = "P99.dat";
inline constexpr std::string_view kTitlePicture = "p03.dat";
inline constexpr std::string_view kInterfaceSheet = "90.dat";
inline constexpr std::string_view kFaceSheet = "91.dat";
inline constexpr std::string_view kChoiceCursor = "select.cur";
// The title's music, the café stage's, and the story's after a morning stage.
inline constexpr std::string_view kTitleMusic = "01.mid";
inline constexpr std::string_view kStageMusic = "02.mid";
inline constexpr std::string_view kMorningMusic = "03.mid";

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

// The largest script and choice files read: 5001 rows of 13 fields, and 201
// rows of 3, stay far below these.
inline constexpr uint64_t kMaxScriptFileBytes = uint64_t{8} << 20;
inline constexpr uint64_t kMaxChoiceFileBytes = uint64_t{1} << 20;

// The decoded texts of the script 51.dat and the choice table 52.dat.
struct DecodedScripts {
  std::string script;
  std::string choices;
};

// Reads 51.dat and 52.dat and decodes them in memory. The clear text never
// lies on disk, so neither a kill nor a failure can leave it there (the
// decoded copies 51.cod and 52.cod of earlier versions are not written).
Result<DecodedScripts> DecodeScripts(const std::filesystem::path& dataPath);

// Puts "B", "M" (kind 'B' or 'b') in place of the disguise "J", "F" at the
// start of the file; nothing else changes. Only ever swaps those two
// signatures, and refuses a symbolic link or a file with other hard links
// (SwapSignatureInPlace).
Status RestoreHeader(const std::filesystem::path& path, char kind);
// Puts the disguise "J", "F" back in place of "B", "M", with the same care.
Status HideHeader(const std::filesystem::path& path);

// Removes what an interrupted run can leave in the data folder: decoded
// script copies (51.cod, 52.cod) and the hidden temporary files of the files
// the program replaces (".40.dat.XXXXXX" and the like). Only regular files
// and links are removed, never a folder.
void RemoveLeftovers(const std::filesystem::path& dataPath);

// Repairs the folders after an interrupted run (RemoveLeftovers) and, when the
// data folder is written, restores the twelve picture headers; a data folder
// that is only read is left as it is, its pictures only checked to be there
// and readable. Reports 50.
Status PrepareAssets(const GamePaths& paths, const ProgressReport& progress);

// Loads a picture of the data folder. A disguised picture ("JF" where "BM"
// belongs) is read with its signature put right in memory, so a data folder
// that is never written shows the same pictures as one whose headers start-up
// restored. Errors name the file.
Result<Surface> LoadPicture(const std::filesystem::path& dataPath, std::string_view name);

// Decodes 51.dat and 52.dat in memory into the tables; reports 70, 80, 90 and
// 95.
Status LoadScript(const std::filesystem::path& dataPath, ScriptTables& tables,
                  const ProgressReport& progress);

}  // namespace dovetail
