#include "backends/audio/synthesizer/SharedLibrary.h"

#include <dlfcn.h>

namespace dovetail {

Result<SharedLibrary> SharedLibrary::Open(const std::string& soname) {
  // Already loaded by an earlier call: the same handle comes back.
  void* handle = dlopen(soname.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (handle == nullptr) {
    const char* why = dlerror();
    return Error{soname + ": cannot be loaded (" + (why != nullptr ? why : "unknown reason") + ")"};
  }
  return SharedLibrary(handle, soname);
}

void* SharedLibrary::Symbol(const char* name) const {
  return dlsym(handle_, name);
}

}  // namespace dovetail
