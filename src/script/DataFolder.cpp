#include "script/DataFolder.h"

#include <cctype>
#include <cerrno>
#include <cstring>
#include <fstream>
#include <system_error>

#include "base/Files.h"
#include "script/PictureDisguise.h"

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

Status WriteHeader(const fs::path& path, const char header[2]) {
  std::error_code ec;
  if (!fs::is_regular_file(path, ec)) return Error{path.string() + ": the file does not exist"};
  if (fs::file_size(path, ec) < 2) return Error{path.string() + ": the file is too short"};
  std::fstream file(path, std::ios::in | std::ios::out | std::ios::binary);
  if (!file)
    return Error{path.string() + ": cannot be opened for writing (" + std::strerror(errno) + ")"};
  file.seekp(0);
  file.write(header, 2);
  file.flush();
  if (!file) return Error{path.string() + ": cannot be written"};
  return {};
}

// Deletes the decoded script copies when it goes out of scope.
struct DecodedCopies {
  fs::path script;
  fs::path choices;
  ~DecodedCopies() {
    std::error_code ec;
    fs::remove(script, ec);
    fs::remove(choices, ec);
  }
};

}  // namespace

fs::path DataFile(const fs::path& dataPath, std::string_view name) {
  fs::path exact = dataPath / fs::path(std::string(name));
  std::error_code ec;
  if (fs::exists(exact, ec)) return exact;
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

Status DecodeScripts(const fs::path& dataPath) {
  for (const char* n : {"51", "52"}) {
    auto coded = ReadWholeFile(DataFile(dataPath, std::string(n) + ".dat"));
    Status status = coded.ok() ? ReplaceFileAtomically(dataPath / (std::string(n) + ".cod"),
                                                       InvertBytes(*coded))
                               : Status(coded.error());
    if (!status) {
      // Leave no decoded copy behind when the other one cannot be made.
      DecodedCopies cleanup{dataPath / "51.cod", dataPath / "52.cod"};
      return status;
    }
  }
  return {};
}

Status RestoreHeader(const fs::path& path, char kind) {
  if (kind != 'B' && kind != 'b') return {};
  return WriteHeader(path, kBitmapSignature.data());
}

Status HideHeader(const fs::path& path) {
  return WriteHeader(path, kDisguisedSignature.data());
}

Status PrepareAssets(const fs::path& dataPath, const ProgressReport& progress) {
  if (auto status = DecodeScripts(dataPath); !status) return status;
  for (const char* name : kPictureFiles) {
    if (auto status = RestoreHeader(DataFile(dataPath, name), 'B'); !status) return status;
  }
  if (progress) progress(50);
  return {};
}

Status LoadScript(const fs::path& dataPath, ScriptTables& tables, const ProgressReport& progress) {
  DecodedCopies copies{dataPath / "51.cod", dataPath / "52.cod"};
  auto script = ReadWholeFile(copies.script);
  if (!script.ok()) return script.error();
  auto choices = ReadWholeFile(copies.choices);
  if (!choices.ok()) return choices.error();
  if (auto status = LoadScriptTables(*script, *choices, tables, progress); !status) return status;
  std::error_code ec;
  fs::remove(copies.script, ec);
  fs::remove(copies.choices, ec);
  if (progress) progress(95);
  return {};
}

}  // namespace dovetail
