#include "programs/common/EventLog.h"

namespace dovetail {

LogEvent::LogEvent(uint32_t time, std::string_view name) {
  json_.BeginObject().Key("t").Number(time).Key("event").String(name);
}

std::string LogEvent::Json() const {
  JsonWriter closed = json_;
  return closed.EndObject().Text();
}

LogEvent& LogEvent::Str(std::string_view key, std::string_view value) {
  json_.Key(key).String(value);
  return *this;
}

LogEvent& LogEvent::Num(std::string_view key, int64_t value) {
  json_.Key(key).Number(value);
  return *this;
}

LogEvent& LogEvent::Bool(std::string_view key, bool value) {
  json_.Key(key).Bool(value);
  return *this;
}

LogEvent& LogEvent::Strings(std::string_view key, const std::vector<std::string>& values) {
  json_.Key(key).BeginArray();
  for (const std::string& value : values)
    json_.String(value);
  json_.EndArray();
  return *this;
}

LogEvent& LogEvent::Numbers(std::string_view key, const std::vector<int64_t>& values) {
  json_.Key(key).BeginArray();
  for (int64_t value : values)
    json_.Number(value);
  json_.EndArray();
  return *this;
}

void EventLog::Write(const LogEvent& event) {
  lines_.push_back(event.Json());
  if (out_ != nullptr) *out_ << lines_.back() << '\n' << std::flush;
}

}  // namespace dovetail
