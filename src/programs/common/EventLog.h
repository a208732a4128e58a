#pragma once

#include <cstdint>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "base/JsonText.h"

namespace dovetail {

// One event of a headless run's log: a JSON object with the virtual time "t",
// the event name "event" and its fields in the order added.
class LogEvent {
 public:
  LogEvent(uint32_t time, std::string_view name);
  LogEvent& Str(std::string_view key, std::string_view value);
  LogEvent& Num(std::string_view key, int64_t value);
  LogEvent& Bool(std::string_view key, bool value);
  LogEvent& Strings(std::string_view key, const std::vector<std::string>& values);
  LogEvent& Numbers(std::string_view key, const std::vector<int64_t>& values);
  // The object as one line of JSON (no line end).
  std::string Json() const;

 private:
  // The object, still open for more fields.
  JsonWriter json_;
};

// A JSON Lines log: one event a line, flushed as written so that a run that
// stops early leaves everything so far.
class EventLog {
 public:
  explicit EventLog(std::ostream* out) : out_(out) {}
  void Write(const LogEvent& event);
  const std::vector<std::string>& Lines() const { return lines_; }

 private:
  std::ostream* out_;
  std::vector<std::string> lines_;
};

}  // namespace dovetail
