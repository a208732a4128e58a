#pragma once

#include <filesystem>
#include <string_view>

#include "base/Result.h"

namespace dovetail {

// Whether a new file can be made in `folder`, found by trying: a temporary
// file named as ReplaceFileAtomically names one for `target` is made and
// removed at once (so a kill in between leaves only what the leftover clean-up
// of `target` removes). Permission bits alone do not tell: root ignores them,
// a read-only mount does not.
bool CanCreateFileIn(const std::filesystem::path& folder, std::string_view target);

// Whether the existing regular file can be opened for writing (a symbolic
// link is not followed). Opening changes nothing in it.
bool CanBeOpenedForWriting(const std::filesystem::path& path);

// OK when the path is a regular file that can be opened for reading; else an
// error naming it and the reason. Nothing is read.
Status CheckReadable(const std::filesystem::path& path);

// Makes the folder and any missing folders above it, each readable by its
// owner only (mode 0700), as folders of a user's private data are made. An
// existing folder is left as it is. Errors name the folder.
Status MakePrivateFolder(const std::filesystem::path& folder);

}  // namespace dovetail
