#include "storage/PlayerFiles.h"

namespace dovetail {

Status PlayerFiles::Append(std::string_view name, std::string_view bytes, uint64_t maxBytes) {
  return Update(name, maxBytes, [bytes](std::optional<std::string> current) -> Result<std::string> {
    std::string text = current.value_or(std::string());
    text += bytes;
    return text;
  });
}

std::string PlayerFiles::ReadOrNothing(std::string_view name, uint64_t maxBytes) const {
  auto text = Read(name, maxBytes);
  return text.ok() ? std::move(*text) : std::string();
}

}  // namespace dovetail
