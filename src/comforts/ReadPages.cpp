#include "comforts/ReadPages.h"

#include <charconv>
#include <sstream>

#include "base/Utf8.h"

namespace dovetail {

namespace {

constexpr std::string_view kHeader = "dovetail read pages 1";

bool ParseRecord(std::string_view text, int32_t& out) {
  const char* end = text.data() + text.size();
  auto [ptr, ec] = std::from_chars(text.data(), end, out);
  return ec == std::errc() && ptr == end && out >= 0 && out < ReadPages::kMaxRecords;
}

}  // namespace

ReadPages ReadPages::Parse(std::string_view text) {
  ReadPages pages;
  std::istringstream lines{std::string(text)};
  std::string line;
  if (!std::getline(lines, line) || TrimBlanks(line) != kHeader) return {};
  while (std::getline(lines, line)) {
    const std::string_view range = TrimBlanks(line);
    if (range.empty()) continue;
    const size_t dash = range.find('-');
    int32_t first = 0;
    int32_t last = 0;
    const bool ok = dash == std::string_view::npos
                        ? ParseRecord(range, first) && ParseRecord(range, last)
                        : ParseRecord(range.substr(0, dash), first) &&
                              ParseRecord(range.substr(dash + 1), last) && first <= last;
    if (!ok) return {};
    for (int32_t position = first; position <= last; ++position)
      pages.Mark(position);
  }
  pages.unsaved_ = false;
  return pages;
}

std::string ReadPages::Format() const {
  std::string text(kHeader);
  text += '\n';
  const auto count = static_cast<int32_t>(read_.size());
  for (int32_t first = 0; first < count; ++first) {
    if (!read_[first]) continue;
    int32_t last = first;
    while (last + 1 < count && read_[last + 1])
      ++last;
    text += std::to_string(first);
    if (last != first) text += "-" + std::to_string(last);
    text += '\n';
    first = last;
  }
  return text;
}

bool ReadPages::WasRead(int32_t position) const {
  return position >= 0 && static_cast<size_t>(position) < read_.size() && read_[position];
}

bool ReadPages::Mark(int32_t position) {
  if (position < 0 || position >= kMaxRecords || WasRead(position)) return false;
  if (static_cast<size_t>(position) >= read_.size()) read_.resize(position + 1, false);
  read_[position] = true;
  unsaved_ = true;
  return true;
}

}  // namespace dovetail
