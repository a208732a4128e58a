// The script and choice tables: the input is the decoded script, then a NUL
// byte, then the decoded choice table.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string_view>

#include "story/ScriptLoader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const auto tables = std::make_unique<dovetail::ScriptTables>();
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  const size_t split = bytes.find('\0');
  const std::string_view script = bytes.substr(0, split);
  const std::string_view choices =
      split == std::string_view::npos ? std::string_view() : bytes.substr(split + 1);
  (void)dovetail::LoadScriptTables(script, choices, *tables, {});
  return 0;
}
