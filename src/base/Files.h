#pragma once

#include <filesystem>
#include <string>
#include <string_view>

#include "base/Result.h"

namespace dovetail {

// Reads a whole file as bytes; the error names the file and the reason.
Result<std::string> ReadWholeFile(const std::filesystem::path& path);

// Replaces `path` with `bytes` so that a failure never leaves a half-written
// file: the bytes go to a temporary file in the same folder, which is flushed,
// synced to disk and then renamed over `path`. On failure the old file is left
// as it was and the temporary file is removed.
Status ReplaceFileAtomically(const std::filesystem::path& path, std::string_view bytes);

}  // namespace dovetail
