#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace dovetail::testing {

// One line of a run's JSON Lines log, read back: an object of strings,
// numbers, booleans and arrays of them, as the runner writes it. Tests check
// fields by name instead of searching the line's text.
class LogLine {
 public:
  // The object of one line; nothing when the line is no such object.
  static std::optional<LogLine> Parse(std::string_view json);

  const std::string& Event() const { return Str("event"); }
  bool Has(const std::string& key) const { return fields_.count(key) != 0; }
  // A string field ("" when absent), a number field (0), a boolean (false).
  const std::string& Str(const std::string& key) const;
  int64_t Num(const std::string& key) const;
  bool Bool(const std::string& key) const;
  // An array field's items as written: strings unquoted, numbers as digits.
  std::vector<std::string> Items(const std::string& key) const;

 private:
  struct Value {
    std::string text;  // a string unescaped, or a number or boolean as written
    bool isString = false;
    std::vector<std::string> items;
  };
  std::map<std::string, Value> fields_;
};

// Every line of `lines` that parses, in order.
std::vector<LogLine> ParseLog(const std::vector<std::string>& lines);

// The lines of one event, in order.
std::vector<LogLine> EventsNamed(const std::vector<std::string>& lines, const std::string& event);

}  // namespace dovetail::testing
