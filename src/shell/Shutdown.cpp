#include "shell/Shutdown.h"

#include <filesystem>
#include <system_error>

#include "base/ProgramExit.h"
#include "graphics/BitmapFile.h"
#include "script/DataFolder.h"
#include "script/Interpreter.h"

namespace dovetail {

namespace fs = std::filesystem;

namespace {

constexpr int kStartUpFailedExit = 1;

// Disguises every picture file again and removes leftovers of ours (decoded
// script copies, stale temporary files).
// Goes on past a picture that cannot be disguised and returns the first such
// failure.
Status RestoreDataFolderAtRest(const fs::path& dataPath) {
  Status result;
  for (const char* name : kPictureFiles) {
    const fs::path path = DataFile(dataPath, name);
    std::error_code ec;
    if (!fs::exists(path, ec)) continue;
    if (Status hidden = HideHeader(path); !hidden && result) result = hidden;
  }
  RemoveLeftovers(dataPath);
  return result;
}

}  // namespace

Shutdown::Shutdown(Host& host, Mci& mci, const GamePaths& paths)
    : host_(host), mci_(mci), paths_(paths) {}

void Shutdown::FatalError(const std::string& message) {
  unloading_ = true;
  host_.MessageBox({message, kAppTitle, MessageBoxButtons::Ok});
  if (headersRestored_) ReportIfFailed(RestoreDataFolderAtRest(paths_.DataPath));
  throw ProgramExit{kStartUpFailedExit};
}

Status Shutdown::PutDataFolderAtRest() {
  if (paths_.DataPath.empty()) return {};
  return RestoreDataFolderAtRest(paths_.DataPath);
}

void Shutdown::ReportIfFailed(const Status& status) {
  if (!status) host_.MessageBox({status.error().message, kAppTitle, MessageBoxButtons::Ok});
}

void Shutdown::Form_Unload() {
  unloading_ = true;
  mci_.ShutDown();
  ReportIfFailed(PutDataFolderAtRest());
  host_.DoEvents();
  throw ProgramExit{0};
}

}  // namespace dovetail
