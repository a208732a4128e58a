#pragma once

#include <filesystem>
#include <string>

#include "base/Result.h"
#include "host/MachineFacts.h"
#include "host/Surface.h"
#include "storage/FolderPlayerFiles.h"

namespace dovetail {

// The file name of a screenshot taken at `now`: "dovetail-" + the date and
// time as YYYYMMDD-HHMMSS, then "-N" from the second one in the same second.
std::string ScreenshotName(const LocalDateTime& now, int number = 1);

// Saves `frame` as a PNG file in `folder` (made when missing), named for the
// moment; never replaces a file already there. Returns the file's path; an
// error names the folder or file and the reason.
Result<std::filesystem::path> SaveScreenshot(const Surface& frame, FolderPlayerFiles& folder,
                                             const LocalDateTime& now);

}  // namespace dovetail
