#include "backends/storage/browser/BrowserStorage.h"

#include <string>

#include "backends/hosts/web/PageSeam.h"

namespace dovetail {

Status KeepInBrowserStorage(const std::filesystem::path& file) {
  char reason[512] = {};
  if (dovetail_web_store_file(file.c_str(), reason, sizeof reason)) return {};
  return Error{file.string() + ": the browser did not keep it (" + std::string(reason) + ")"};
}

}  // namespace dovetail
