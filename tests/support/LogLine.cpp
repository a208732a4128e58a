#include "support/LogLine.h"

#include <cstdlib>

#include "base/Utf8.h"

namespace dovetail::testing {

namespace {

// Reads JSON from `text` at `at`, moving `at` past what it read.
class Reader {
 public:
  explicit Reader(std::string_view text) : text_(text) {}

  bool AtEnd() {
    SkipBlanks();
    return at_ >= text_.size();
  }
  bool Take(char c) {
    SkipBlanks();
    if (at_ >= text_.size() || text_[at_] != c) return false;
    ++at_;
    return true;
  }
  bool Peek(char c) {
    SkipBlanks();
    return at_ < text_.size() && text_[at_] == c;
  }
  std::optional<std::string> String() {
    if (!Take('"')) return std::nullopt;
    std::string out;
    while (at_ < text_.size() && text_[at_] != '"') {
      char c = text_[at_++];
      if (c != '\\') {
        out += c;
        continue;
      }
      if (at_ >= text_.size()) return std::nullopt;
      c = text_[at_++];
      switch (c) {
        case 'n':
          out += '\n';
          break;
        case 'r':
          out += '\r';
          break;
        case 't':
          out += '\t';
          break;
        case 'u': {
          if (at_ + 4 > text_.size()) return std::nullopt;
          AppendUtf8(out, static_cast<char32_t>(std::strtoul(
                              std::string(text_.substr(at_, 4)).c_str(), nullptr, 16)));
          at_ += 4;
          break;
        }
        default:
          out += c;
      }
    }
    if (!Take('"')) return std::nullopt;
    return out;
  }
  // A number or a boolean, as written.
  std::optional<std::string> Bare() {
    SkipBlanks();
    const size_t start = at_;
    while (at_ < text_.size() && text_[at_] != ',' && text_[at_] != '}' && text_[at_] != ']')
      ++at_;
    if (at_ == start) return std::nullopt;
    return std::string(TrimBlanks(text_.substr(start, at_ - start)));
  }

 private:
  void SkipBlanks() {
    while (at_ < text_.size() && (text_[at_] == ' ' || text_[at_] == '\t'))
      ++at_;
  }
  std::string_view text_;
  size_t at_ = 0;
};

}  // namespace

std::optional<LogLine> LogLine::Parse(std::string_view json) {
  Reader reader(json);
  LogLine line;
  if (!reader.Take('{')) return std::nullopt;
  while (!reader.Take('}')) {
    auto key = reader.String();
    if (!key || !reader.Take(':')) return std::nullopt;
    Value value;
    if (reader.Take('[')) {
      while (!reader.Take(']')) {
        auto item = reader.Peek('"') ? reader.String() : reader.Bare();
        if (!item) return std::nullopt;
        value.items.push_back(*item);
        reader.Take(',');
      }
    } else if (reader.Peek('"')) {
      auto text = reader.String();
      if (!text) return std::nullopt;
      value.text = *text;
      value.isString = true;
    } else {
      auto text = reader.Bare();
      if (!text) return std::nullopt;
      value.text = *text;
    }
    line.fields_[*key] = std::move(value);
    reader.Take(',');
  }
  if (!reader.AtEnd()) return std::nullopt;
  line.raw_ = std::string(json);
  return line;
}

const std::string& LogLine::Str(const std::string& key) const {
  static const std::string kNone;
  const auto found = fields_.find(key);
  return found == fields_.end() ? kNone : found->second.text;
}

int64_t LogLine::Num(const std::string& key) const {
  const auto found = fields_.find(key);
  return found == fields_.end() ? 0 : std::strtoll(found->second.text.c_str(), nullptr, 10);
}

bool LogLine::Bool(const std::string& key) const {
  const auto found = fields_.find(key);
  return found != fields_.end() && found->second.text == "true";
}

std::vector<std::string> LogLine::Items(const std::string& key) const {
  const auto found = fields_.find(key);
  return found == fields_.end() ? std::vector<std::string>{} : found->second.items;
}

std::vector<LogLine> ParseLog(const std::vector<std::string>& lines) {
  std::vector<LogLine> parsed;
  for (const std::string& text : lines) {
    if (auto line = LogLine::Parse(text)) parsed.push_back(std::move(*line));
  }
  return parsed;
}

bool Logged(const std::vector<std::string>& lines, const std::string& event,
            const std::string& field, const std::string& value) {
  for (const LogLine& line : EventsNamed(lines, event)) {
    if (field.empty() || line.Str(field) == value) return true;
  }
  return false;
}

std::vector<LogLine> EventsNamed(const std::vector<std::string>& lines, const std::string& event) {
  std::vector<LogLine> found;
  for (LogLine& line : ParseLog(lines)) {
    if (line.Event() == event) found.push_back(std::move(line));
  }
  return found;
}

}  // namespace dovetail::testing
