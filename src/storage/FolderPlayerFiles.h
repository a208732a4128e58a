#pragma once

#include <filesystem>
#include <functional>

#include "storage/GamePaths.h"
#include "storage/PlayerFiles.h"

namespace dovetail {

// Player's files kept in a folder of the file system. Each write replaces a
// file atomically (a temporary file beside it, synced, renamed over it), so a
// failure or a kill never leaves a half-written file; then `durability`, when
// given, makes the change last where the file system alone does not (the
// browser's, which lives in memory until it is stored).
class FolderPlayerFiles final : public PlayerFiles {
 public:
  // Called after each successful write with the file written; an error
  // fails the write.
  using Durability = std::function<Status(const std::filesystem::path& file)>;

  // The game's files of the player: in the data folder while the run writes
  // it, else in the player's folder, where a file the data folder holds is
  // read until the player has a copy of their own, and copied there before
  // its first change. Names are found whatever their case, like every file
  // of the game's.
  static FolderPlayerFiles GameFiles(const GamePaths& paths, Durability durability = {});
  // The game's files as a data folder holds them, for the tools that read a
  // game's folder.
  static FolderPlayerFiles OfDataFolder(const std::filesystem::path& dataPath);
  // The files of our own (comfort settings, pages read), in their folder of
  // the player's own; keeps nothing when the paths keep none.
  static FolderPlayerFiles OwnFiles(const GamePaths& paths, Durability durability = {});
  // The files of a folder of the player's choosing (screenshots), made with
  // the usual permissions when first written to.
  static FolderPlayerFiles Folder(std::filesystem::path folder, Durability durability = {});

  bool Keeps() const override { return !folder_.empty(); }
  FileState State(std::string_view name) const override;
  Result<std::string> Read(std::string_view name, uint64_t maxBytes) const override;
  Status Replace(std::string_view name, std::string_view bytes) override;
  Status Update(std::string_view name, uint64_t maxBytes, const Change& change) override;
  Status Create(std::string_view name, std::string_view bytes) override;
  std::vector<std::string> List() const override;

  const std::filesystem::path& FolderPath() const { return folder_; }

 private:
  struct Layout {
    std::filesystem::path folder;
    // Where a file is read from until the folder has its own copy; empty
    // when the folder is the only place.
    std::filesystem::path startingState;
    bool gameNames = false;
    bool privateFolder = true;
  };
  FolderPlayerFiles(Layout layout, Durability durability);

  std::filesystem::path InFolder(std::string_view name) const;
  // The file a read finds: the folder's copy, else the starting state's.
  std::filesystem::path ToRead(std::string_view name) const;
  // The folder made, the path to write `name` at.
  Result<std::filesystem::path> ToWrite(std::string_view name) const;
  // The starting state's copy put into the folder before its first change.
  Status SeedFromStartingState(std::string_view name, const std::filesystem::path& path) const;
  Status Written(const std::filesystem::path& path, Status status) const;

  std::filesystem::path folder_;
  std::filesystem::path startingState_;
  bool gameNames_ = false;
  bool privateFolder_ = true;
  Durability durability_;
};

}  // namespace dovetail
