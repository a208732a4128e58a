#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/Result.h"

namespace dovetail {

// What is under a name in a store of files.
struct FileState {
  // Something is there, a dangling link included.
  bool present = false;
  // Something is there once links are followed (not a dangling link).
  bool exists = false;
  // A regular file, or a link to one.
  bool regular = false;
  // A symbolic link, whatever it points to.
  bool link = false;
};

// A player's files, by name: the game's own files (settings, ranking, save,
// the day's results, the system report), our own files (comfort settings,
// pages read) or the screenshots. Callers never see paths: where the files
// are (the data folder, a folder of the player's own, the browser's storage)
// and how they are made to last are the store's business. Every write is
// whole or not at all, and every error names the file and the reason.
class PlayerFiles {
 public:
  virtual ~PlayerFiles() = default;

  // Makes a new text out of the file's current bytes (nothing when there is
  // no file yet), or refuses with an error.
  using Change = std::function<Result<std::string>(std::optional<std::string> current)>;

  // False for a store that keeps nothing beyond the run: reads find nothing,
  // writes fail.
  virtual bool Keeps() const = 0;
  // What a read of `name` finds.
  virtual FileState State(std::string_view name) const = 0;
  // The whole file; a link to a regular file is followed, anything else is
  // refused, as is a file of more than `maxBytes`.
  virtual Result<std::string> Read(std::string_view name, uint64_t maxBytes) const = 0;
  // Replaces the file whole (a link there is replaced, never written
  // through).
  virtual Status Replace(std::string_view name, std::string_view bytes) = 0;
  // Reads the file as it stands (a link is refused, not followed), hands it
  // to `change` and replaces it with the result.
  virtual Status Update(std::string_view name, uint64_t maxBytes, const Change& change) = 0;
  // Writes a new file, never replacing anything under the name.
  virtual Status Create(std::string_view name, std::string_view bytes) = 0;
  // The names of the files there, sorted.
  virtual std::vector<std::string> List() const = 0;

  // Adds `bytes` at the end of the file (made when there is none).
  Status Append(std::string_view name, std::string_view bytes, uint64_t maxBytes);
  // The whole file, or nothing when there is none to read (for files whose
  // loss only resets what they remember).
  std::string ReadOrNothing(std::string_view name, uint64_t maxBytes) const;
};

}  // namespace dovetail
