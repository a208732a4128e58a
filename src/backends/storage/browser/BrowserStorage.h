#pragma once

#include <filesystem>

#include "base/Result.h"

namespace dovetail {

// Makes a player's file last in the browser. The page keeps the player's
// folder in the browser's storage (IndexedDB), where the file system the
// program writes lives in memory and is gone with the page; this hands the
// file just written to the page and waits, the program suspended, until the
// browser's storage holds it (with the folders that hold it). An error names
// the file and the browser's reason (its storage full, or cleared): the
// write then counts as failed, though the file stays in memory for the run.
// Meant as the durability of the player's files (FolderPlayerFiles).
Status KeepInBrowserStorage(const std::filesystem::path& file);

}  // namespace dovetail
