// The comma-separated field reader over CP932 text, and the conversions of
// its fields to numbers and label numbers.

#include <cstddef>
#include <cstdint>
#include <string>

#include "base/Cp932.h"
#include "base/FieldReader.h"
#include "base/Numbers.h"
#include "story/ScriptLoader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace dovetail;
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  auto text = Cp932ToUtf8(bytes);
  if (text.ok()) (void)Utf8ToCp932(*text);
  FieldReader reader(text.ok() ? *text : bytes, "fields");
  while (!reader.AtEnd()) {
    auto field = reader.Next();
    if (!field.ok()) break;
    (void)ToInt16(*field);
    (void)ToInt32(*field);
    (void)ToSingle(*field);
    (void)DecodeLabel(*field);
  }
  return 0;
}
