#include "storage/DataFolder.h"

#include <cctype>
#include <system_error>

#include "base/Files.h"
#include "base/FolderAccess.h"
#include "graphics/BitmapFile.h"
#include "storage/PictureDisguise.h"

namespace dovetail {

namespace fs = std::filesystem;

namespace {

bool SameNameIgnoringCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (std::tolower(static_cast<unsigned char>(a[i])) !=
        std::tolower(static_cast<unsigned char>(b[i]))) {
      return false;
    }
  }
  return true;
}

// The files the program replaces through a temporary file, and the decoded
// script copies earlier versions wrote during start-up.
constexpr std::array<std::string_view, 8> kReplacedFiles = {
    kSettingsFile,     kRankingFile, kSaveFile, kSaveBackupFile,
    kSystemReportFile, "51.cod",     "52.cod",  kResultLogFile};

// Names are compared as the data files are found, whatever their case: the
// temporary file of a "20.DAT" is ".20.DAT.XXXXXX".
bool IsLeftover(std::string_view name) {
  std::string lower(name);
  for (char& c : lower)
    c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  if (lower == "51.cod" || lower == "52.cod") return true;
  for (const std::string_view target : kReplacedFiles) {
    if (IsTemporaryFileOf(lower, target)) return true;
  }
  return false;
}

}  // namespace

fs::path DataFile(const fs::path& dataPath, std::string_view name) {
  fs::path exact = dataPath / fs::path(std::string(name));
  std::error_code ec;
  // A link counts as present even when it leads nowhere: the reader then
  // names it in its error.
  if (fs::exists(fs::symlink_status(exact, ec))) return exact;
  for (const auto& entry : fs::directory_iterator(dataPath, ec)) {
    if (SameNameIgnoringCase(entry.path().filename().string(), name)) return entry.path();
  }
  return exact;
}

std::string InvertBytes(std::string_view bytes) {
  std::string out(bytes);
  for (char& c : out)
    c = static_cast<char>(~static_cast<unsigned char>(c));
  return out;
}

Result<DecodedScripts> DecodeScripts(const fs::path& dataPath) {
  auto script = ReadWholeFile(DataFile(dataPath, kScriptFile), kMaxScriptFileBytes);
  if (!script.ok()) return script.error();
  auto choices = ReadWholeFile(DataFile(dataPath, kChoiceFile), kMaxChoiceFileBytes);
  if (!choices.ok()) return choices.error();
  return DecodedScripts{InvertBytes(*script), InvertBytes(*choices)};
}

Status RestoreHeader(const fs::path& path, char kind) {
  if (kind != 'B' && kind != 'b') return {};
  return SwapSignatureInPlace(path, kDisguisedSignature, kBitmapSignature);
}

Status HideHeader(const fs::path& path) {
  return SwapSignatureInPlace(path, kBitmapSignature, kDisguisedSignature);
}

void RemoveLeftovers(const fs::path& dataPath) {
  std::error_code ec;
  for (const auto& entry : fs::directory_iterator(dataPath, ec)) {
    if (!IsLeftover(entry.path().filename().string())) continue;
    std::error_code kind;
    const fs::file_status status = entry.symlink_status(kind);
    if (!kind && (fs::is_regular_file(status) || fs::is_symlink(status))) {
      fs::remove(entry.path(), kind);
    }
  }
}

Status PrepareAssets(const GamePaths& paths, const ProgressReport& progress) {
  if (paths.SeparatePlayerFolder()) RemoveLeftovers(paths.playerPath);
  if (paths.writesDataFolder) RemoveLeftovers(paths.DataPath);
  for (const char* name : kPictureFiles) {
    const fs::path picture = DataFile(paths.DataPath, name);
    Status status = paths.writesDataFolder ? RestoreHeader(picture, 'B') : CheckReadable(picture);
    if (!status) return status;
  }
  if (progress) progress(50);
  return {};
}

Result<Surface> LoadPicture(const fs::path& dataPath, std::string_view name) {
  const fs::path path = DataFile(dataPath, name);
  auto bytes = ReadWholeFile(path, kMaxBitmapFileBytes);
  if (!bytes.ok()) return bytes.error();
  if (IsDisguisedPicture(name) && bytes->starts_with(kDisguisedSignature))
    *bytes = Undisguised(std::move(*bytes));
  return DecodeBitmap(*bytes, path.string());
}

Status LoadScript(const fs::path& dataPath, ScriptTables& tables, const ProgressReport& progress) {
  auto decoded = DecodeScripts(dataPath);
  if (!decoded.ok()) return decoded.error();
  if (auto status = LoadScriptTables(decoded->script, decoded->choices, tables, progress); !status)
    return status;
  if (progress) progress(95);
  return {};
}

}  // namespace dovetail
