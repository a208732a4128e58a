#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

#include "base/Result.h"

namespace dovetail {

// The cap of a read that names no cap of its own (play files, the content
// tools' sources). Every file the engine reads passes the cap of its kind.
inline constexpr uint64_t kMaxAnyFileBytes = uint64_t{64} << 20;

// Reads a whole file as bytes. Only a regular file is read (a link is
// followed, and what it points to must be a regular file): a directory, a
// FIFO, a device or a socket is refused before a byte is read, so an endless
// or blocking source can never hang or fill memory. A file of more than
// `maxBytes` is refused without being read. Every error names the file and
// the reason.
Result<std::string> ReadWholeFile(const std::filesystem::path& path,
                                  uint64_t maxBytes = kMaxAnyFileBytes);

// Overwrites `bytes.size()` bytes at `offset` of an existing regular file in
// place; its length and every other byte stay. A symbolic link is refused,
// never written through, and so is anything but a regular file or a file too
// short to hold the bytes.
Status OverwriteBytesInPlace(const std::filesystem::path& path, uint64_t offset,
                             std::string_view bytes);

// Replaces `path` with `bytes` so that a failure never leaves a half-written
// file: the bytes go to a temporary file in the same folder, which is flushed,
// synced to disk and then renamed over `path`. On failure the old file is left
// as it was and the temporary file is removed. A symbolic link at `path` is
// replaced by the regular file, never written through.
Status ReplaceFileAtomically(const std::filesystem::path& path, std::string_view bytes);

// True when `name` is the name of a temporary file ReplaceFileAtomically
// makes for `target`: "." + target + "." + six characters. A kill between its
// creation and its rename leaves such a file behind.
bool IsTemporaryFileOf(std::string_view name, std::string_view target);

}  // namespace dovetail
