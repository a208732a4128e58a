#include "base/FieldReader.h"

#include <utility>

#include "base/Utf8.h"

namespace dovetail {

FieldReader::FieldReader(std::string text, std::string source)
    : text_(std::move(text)), source_(std::move(source)) {}

bool FieldReader::OnlyBlankLinesLeft() const {
  for (size_t i = pos_; i < text_.size(); ++i) {
    const char c = text_[i];
    if (c != ' ' && c != '\t' && c != '\r' && c != '\n') return false;
  }
  return true;
}

void FieldReader::SkipBlanks() {
  while (pos_ < text_.size() && (text_[pos_] == ' ' || text_[pos_] == '\t'))
    ++pos_;
}

bool FieldReader::AtLineEnd() const {
  return pos_ < text_.size() && (text_[pos_] == '\r' || text_[pos_] == '\n');
}

void FieldReader::ConsumeLineEnd() {
  if (text_[pos_] == '\r' && pos_ + 1 < text_.size() && text_[pos_ + 1] == '\n') ++pos_;
  ++pos_;
  ++line_;
}

void FieldReader::ConsumeDelimiter() {
  if (pos_ >= text_.size()) return;
  if (text_[pos_] == ',') {
    ++pos_;
  } else if (AtLineEnd()) {
    ConsumeLineEnd();
  }
}

Result<std::string> FieldReader::Next() {
  if (AtEnd()) {
    return Error{source_ + ": the file ends before all of its fields were read (line " +
                 std::to_string(line_) + ")"};
  }
  SkipBlanks();
  std::string field;
  if (pos_ < text_.size() && text_[pos_] == '"') {
    ++pos_;
    while (pos_ < text_.size() && !AtLineEnd()) {
      if (text_[pos_] == '"') {
        // A doubled quote inside quotes stands for one quote.
        if (pos_ + 1 < text_.size() && text_[pos_ + 1] == '"') {
          field.push_back('"');
          pos_ += 2;
          continue;
        }
        ++pos_;
        break;
      }
      field.push_back(text_[pos_++]);
    }
    while (pos_ < text_.size() && text_[pos_] != ',' && !AtLineEnd())
      ++pos_;
  } else {
    while (pos_ < text_.size() && text_[pos_] != ',' && !AtLineEnd())
      field.push_back(text_[pos_++]);
    while (!field.empty() && (field.back() == ' ' || field.back() == '\t'))
      field.pop_back();
  }
  ConsumeDelimiter();
  return field;
}

std::string FieldText(std::string_view value) {
  const bool plain = value.find(',') == std::string_view::npos &&
                     (value.empty() || value[0] != '"') && TrimBlanks(value).size() == value.size();
  if (plain) return std::string(value);
  std::string quoted = "\"";
  for (char c : value) {
    quoted += c;
    if (c == '"') quoted += '"';
  }
  return quoted + "\"";
}

}  // namespace dovetail
