#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <ostream>
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
  // The line as written, for messages.
  const std::string& Raw() const { return raw_; }
  // Two lines are equal when they were written the same.
  bool operator==(const LogLine& other) const { return raw_ == other.raw_; }
  friend std::ostream& operator<<(std::ostream& out, const LogLine& line) {
    return out << line.raw_;
  }

 private:
  struct Value {
    std::string text;  // a string unescaped, or a number or boolean as written
    bool isString = false;
    std::vector<std::string> items;
  };
  std::map<std::string, Value> fields_;
  std::string raw_;
};

// Every line of `lines` that parses, in order.
std::vector<LogLine> ParseLog(const std::vector<std::string>& lines);

// Whether a line of the event `event` holds `field` equal to `value` (a
// string, or a number or boolean as written); with no field, any line of the
// event.
bool Logged(const std::vector<std::string>& lines, const std::string& event,
            const std::string& field = "", const std::string& value = "");

// The lines of one event, in order.
std::vector<LogLine> EventsNamed(const std::vector<std::string>& lines, const std::string& event);

}  // namespace dovetail::testing
