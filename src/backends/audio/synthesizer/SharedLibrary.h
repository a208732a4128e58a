#pragma once

#include <string>

#include "base/Result.h"

namespace dovetail {

// A shared library opened when it is first needed instead of when the program
// starts: the sound libraries pull in dozens of others, which the dynamic
// loader would otherwise map and relocate before the first frame. The library
// stays loaded for the rest of the run (unloading a library whose threads may
// still run is not worth the risk).
class SharedLibrary {
 public:
  // Opens `soname` (e.g. "libpulse.so.0"); the error names it and says why.
  static Result<SharedLibrary> Open(const std::string& soname);

  // Fills `entry` with the library's function of that name; false when the
  // library has none (an older version than the one built against).
  template <typename Function>
  bool Find(Function*& entry, const char* name) const {
    entry = reinterpret_cast<Function*>(Symbol(name));
    return entry != nullptr;
  }

  const std::string& Name() const { return soname_; }

 private:
  SharedLibrary(void* handle, std::string soname) : handle_(handle), soname_(std::move(soname)) {}
  void* Symbol(const char* name) const;

  void* handle_;
  std::string soname_;
};

// Loads every function of a table from `library`. `Table` lists its entries
// with DOVETAIL_LIBRARY_ENTRY, which declares a pointer of the exact type of
// the function declared in the library's header and finds it by its name.
#define DOVETAIL_LIBRARY_ENTRY(name) decltype(&::name) name = nullptr;
#define DOVETAIL_LIBRARY_FIND(name)     \
  if (!library.Find(table.name, #name)) \
    return Error{library.Name() + ": has no function " #name " (too old?)"};

}  // namespace dovetail
