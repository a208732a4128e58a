#include "shell/Shutdown.h"

#include <filesystem>
#include <system_error>

#include "base/ProgramExit.h"
#include "graphics/BitmapFile.h"
#include "storage/DataFolder.h"
#include "story/Interpreter.h"

namespace dovetail {

namespace fs = std::filesystem;

namespace {

// Disguises every picture file again and removes leftovers of ours (decoded
// script copies, stale temporary files) from the folders the run writes. A
// data folder that is only read is not touched.
// Goes on past a picture that cannot be disguised and returns the first such
// failure.
Status RestoreDataFolderAtRest(const GamePaths& paths) {
  Status result;
  if (paths.SeparatePlayerFolder()) RemoveLeftovers(paths.playerPath);
  if (!paths.writesDataFolder) return result;
  for (const char* name : kPictureFiles) {
    const fs::path path = DataFile(paths.DataPath, name);
    std::error_code ec;
    if (!fs::exists(path, ec)) continue;
    if (Status hidden = HideHeader(path); !hidden && result) result = hidden;
  }
  RemoveLeftovers(paths.DataPath);
  return result;
}

}  // namespace

Shutdown::Shutdown(Host& host, Sound& sound, const GamePaths& paths)
    : host_(host), sound_(sound), paths_(paths) {}

void Shutdown::FatalError(const std::string& message) {
  unloading_ = true;
  host_.MessageBox({message, kAppTitle, MessageBoxButtons::Ok});
  if (headersRestored_) {
    // The failure that ended the run is often the one that keeps a picture
    // from being disguised again: the player is told it once.
    const Status atRest = RestoreDataFolderAtRest(paths_);
    if (!atRest && atRest.error().message != message) ReportIfFailed(atRest);
  }
  throw ProgramExit{ExitCode::Failed};
}

Status Shutdown::PutDataFolderAtRest() {
  if (paths_.DataPath.empty()) return {};
  return RestoreDataFolderAtRest(paths_);
}

void Shutdown::ReportIfFailed(const Status& status) {
  if (!status) host_.MessageBox({status.error().message, kAppTitle, MessageBoxButtons::Ok});
}

void Shutdown::Form_Unload() {
  unloading_ = true;
  sound_.ShutDown();
  ReportIfFailed(PutDataFolderAtRest());
  host_.DoEvents();
  throw ProgramExit{ExitCode::Done};
}

}  // namespace dovetail
