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

// The same for a file the program is about to replace with a changed copy (an
// append, a rewrite of part of it): a symbolic link is refused, not followed,
// so that what a link points to is never copied into the program's folder.
Result<std::string> ReadFileToChange(const std::filesystem::path& path,
                                     uint64_t maxBytes = kMaxAnyFileBytes);

// Replaces the two-byte signature at the start of an existing file in place:
// `from` becomes `to`; a file that already starts with `to` is left alone.
// Its length and every other byte stay. Refused, naming the file: a symbolic
// link (never written through), a file with more than one hard link (it is
// also a file elsewhere), anything but a regular file, and a file that starts
// with neither signature.
Status SwapSignatureInPlace(const std::filesystem::path& path, std::string_view from,
                            std::string_view to);

// Replaces `path` with `bytes` so that a failure never leaves a half-written
// file: the bytes go to a temporary file in the same folder, which is flushed,
// synced to disk and then renamed over `path`. On failure the old file is left
// as it was and the temporary file is removed. A symbolic link at `path` is
// replaced by the regular file, never written through. The new file keeps the
// permissions of the regular file it replaces; a new one gets those the
// process's umask allows. A folder that cannot be synced after the rename is
// an error too (the file was replaced, but may not survive a power cut).
Status ReplaceFileAtomically(const std::filesystem::path& path, std::string_view bytes);

// Writes `bytes` as a new file at `path`, whole or not at all, never
// replacing anything already there (an existing name fails with the
// system's reason, EEXIST). Made as ReplaceFileAtomically makes a file.
Status CreateFileAtomically(const std::filesystem::path& path, std::string_view bytes);

// True when `name` is the name of a temporary file ReplaceFileAtomically
// makes for `target`: "." + target + "." + six characters. A kill between its
// creation and its rename leaves such a file behind.
bool IsTemporaryFileOf(std::string_view name, std::string_view target);

}  // namespace dovetail
