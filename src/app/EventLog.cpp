#include "app/EventLog.h"

#include "base/JsonText.h"

namespace dovetail {

LogEvent::LogEvent(uint32_t time, std::string_view name) {
  json_ = "{\"t\":" + std::to_string(time);
  Str("event", name);
}

void LogEvent::Key(std::string_view key) {
  json_.push_back(',');
  AppendJsonString(json_, key);
  json_.push_back(':');
}

LogEvent& LogEvent::Str(std::string_view key, std::string_view value) {
  Key(key);
  AppendJsonString(json_, value);
  return *this;
}

LogEvent& LogEvent::Num(std::string_view key, int64_t value) {
  Key(key);
  json_ += std::to_string(value);
  return *this;
}

LogEvent& LogEvent::Bool(std::string_view key, bool value) {
  Key(key);
  json_ += value ? "true" : "false";
  return *this;
}

LogEvent& LogEvent::Strings(std::string_view key, const std::vector<std::string>& values) {
  Key(key);
  json_.push_back('[');
  for (size_t i = 0; i < values.size(); ++i) {
    if (i > 0) json_.push_back(',');
    AppendJsonString(json_, values[i]);
  }
  json_.push_back(']');
  return *this;
}

LogEvent& LogEvent::Numbers(std::string_view key, const std::vector<int64_t>& values) {
  Key(key);
  json_.push_back('[');
  for (size_t i = 0; i < values.size(); ++i) {
    if (i > 0) json_.push_back(',');
    json_ += std::to_string(values[i]);
  }
  json_.push_back(']');
  return *this;
}

void EventLog::Write(const LogEvent& event) {
  lines_.push_back(event.Json());
  if (out_ != nullptr) *out_ << lines_.back() << '\n' << std::flush;
}

}  // namespace dovetail
