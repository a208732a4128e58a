#include "storage/FolderPlayerFiles.h"

#include <algorithm>
#include <system_error>
#include <utility>

#include "base/Files.h"
#include "base/FolderAccess.h"
#include "storage/DataFolder.h"

namespace dovetail {

namespace fs = std::filesystem;

FolderPlayerFiles::FolderPlayerFiles(Layout layout, Durability durability)
    : folder_(std::move(layout.folder)),
      startingState_(std::move(layout.startingState)),
      gameNames_(layout.gameNames),
      privateFolder_(layout.privateFolder),
      durability_(std::move(durability)) {}

FolderPlayerFiles FolderPlayerFiles::GameFiles(const GamePaths& paths, Durability durability) {
  Layout layout;
  layout.folder = paths.playerPath;
  if (paths.SeparatePlayerFolder()) layout.startingState = paths.DataPath;
  layout.gameNames = true;
  return FolderPlayerFiles(std::move(layout), std::move(durability));
}

FolderPlayerFiles FolderPlayerFiles::OfDataFolder(const fs::path& dataPath) {
  Layout layout;
  layout.folder = dataPath;
  layout.gameNames = true;
  return FolderPlayerFiles(std::move(layout), {});
}

FolderPlayerFiles FolderPlayerFiles::OwnFiles(const GamePaths& paths, Durability durability) {
  Layout layout;
  layout.folder = paths.ownFilesPath;
  return FolderPlayerFiles(std::move(layout), std::move(durability));
}

FolderPlayerFiles FolderPlayerFiles::Folder(fs::path folder, Durability durability) {
  Layout layout;
  layout.folder = std::move(folder);
  layout.privateFolder = false;
  return FolderPlayerFiles(std::move(layout), std::move(durability));
}

fs::path FolderPlayerFiles::InFolder(std::string_view name) const {
  return gameNames_ ? DataFile(folder_, name) : folder_ / fs::path(std::string(name));
}

namespace {

bool Present(const fs::path& path) {
  std::error_code ec;
  return fs::exists(fs::symlink_status(path, ec));
}

}  // namespace

fs::path FolderPlayerFiles::ToRead(std::string_view name) const {
  const fs::path own = InFolder(name);
  if (startingState_.empty() || Present(own)) return own;
  return DataFile(startingState_, name);
}

FileState FolderPlayerFiles::State(std::string_view name) const {
  FileState state;
  if (!Keeps()) return state;
  const fs::path path = ToRead(name);
  std::error_code ec;
  const fs::file_status own = fs::symlink_status(path, ec);
  state.present = fs::exists(own);
  state.link = fs::is_symlink(own);
  const fs::file_status followed = fs::status(path, ec);
  state.exists = fs::exists(followed);
  state.regular = fs::is_regular_file(followed);
  return state;
}

Result<std::string> FolderPlayerFiles::Read(std::string_view name, uint64_t maxBytes) const {
  if (!Keeps()) return Error{std::string(name) + ": no folder keeps the player's files"};
  return ReadWholeFile(ToRead(name), maxBytes);
}

Result<fs::path> FolderPlayerFiles::ToWrite(std::string_view name) const {
  if (!Keeps()) return Error{"no folder keeps the player's own files"};
  // The data folder itself is written as the game always wrote it.
  const bool dataFolderItself = gameNames_ && startingState_.empty();
  if (!dataFolderItself) {
    if (privateFolder_) {
      if (Status made = MakePrivateFolder(folder_); !made) return made.error();
    } else {
      std::error_code error;
      fs::create_directories(folder_, error);
      if (error) return Error{folder_.string() + ": cannot be made (" + error.message() + ")"};
    }
  }
  return InFolder(name);
}

Status FolderPlayerFiles::Written(const fs::path& path, Status status) const {
  if (!status.ok() || !durability_) return status;
  return durability_(path);
}

Status FolderPlayerFiles::Replace(std::string_view name, std::string_view bytes) {
  auto path = ToWrite(name);
  if (!path.ok()) return path.error();
  return Written(*path, ReplaceFileAtomically(*path, bytes));
}

Status FolderPlayerFiles::SeedFromStartingState(std::string_view name, const fs::path& path) const {
  if (startingState_.empty() || Present(path)) return {};
  const fs::path original = DataFile(startingState_, name);
  if (!Present(original)) return {};
  auto bytes = ReadFileToChange(original);
  if (!bytes.ok()) return bytes.error();
  return Written(path, ReplaceFileAtomically(path, *bytes));
}

Status FolderPlayerFiles::Update(std::string_view name, uint64_t maxBytes, const Change& change) {
  auto path = ToWrite(name);
  if (!path.ok()) return path.error();
  if (Status seeded = SeedFromStartingState(name, *path); !seeded) return seeded;
  std::optional<std::string> current;
  std::error_code ec;
  const fs::file_status state = fs::symlink_status(*path, ec);
  if (ec && state.type() != fs::file_type::not_found)
    return Error{path->filename().string() + ": " + ec.message()};
  if (fs::exists(state)) {
    auto bytes = ReadFileToChange(*path, maxBytes);
    if (!bytes.ok()) return bytes.error();
    current = std::move(*bytes);
  }
  auto changed = change(std::move(current));
  if (!changed.ok()) return changed.error();
  return Written(*path, ReplaceFileAtomically(*path, *changed));
}

Status FolderPlayerFiles::Create(std::string_view name, std::string_view bytes) {
  auto path = ToWrite(name);
  if (!path.ok()) return path.error();
  return Written(*path, CreateFileAtomically(*path, bytes));
}

std::vector<std::string> FolderPlayerFiles::List() const {
  std::vector<std::string> names;
  if (!Keeps()) return names;
  std::error_code ec;
  for (fs::directory_iterator it(folder_, ec), end; !ec && it != end; it.increment(ec))
    names.push_back(it->path().filename().string());
  std::sort(names.begin(), names.end());
  return names;
}

}  // namespace dovetail
