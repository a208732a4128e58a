#include "content/TextLines.h"

#include "base/FieldReader.h"

namespace dovetail::tools {

std::vector<TextLine> SplitLines(std::string_view text) {
  std::vector<TextLine> lines;
  size_t start = 0;
  int number = 1;
  while (start < text.size()) {
    size_t end = start;
    while (end < text.size() && text[end] != '\r' && text[end] != '\n')
      ++end;
    size_t endingLength = 0;
    if (end < text.size()) {
      endingLength = (text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n') ? 2 : 1;
    }
    lines.push_back({number++, text.substr(start, end - start), text.substr(end, endingLength)});
    start = end + endingLength;
  }
  return lines;
}

bool IsBlankLine(std::string_view content) {
  return content.find_first_not_of(" \t") == std::string_view::npos;
}

std::vector<std::string> LineFields(std::string_view content) {
  // The line end makes the reader see a final empty field after a trailing
  // comma, as it does inside the stream.
  FieldReader reader(std::string(content) + "\n", "line");
  std::vector<std::string> fields;
  while (!reader.AtEnd()) {
    auto field = reader.Next();
    if (!field.ok()) break;
    fields.push_back(std::move(*field));
  }
  return fields;
}

std::string WithCrLf(std::string_view text) {
  std::string out;
  out.reserve(text.size() + text.size() / 16);
  for (const TextLine& line : SplitLines(text)) {
    out.append(line.content);
    if (!line.ending.empty()) out.append("\r\n");
  }
  return out;
}

}  // namespace dovetail::tools
