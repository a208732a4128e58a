#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace dovetail {

// Writes text as a JSON string (quotes included); UTF-8 passes through.
void AppendJsonString(std::string& out, std::string_view text);

// Writes one JSON value, compactly (no spaces, no line ends), with the
// commas between members and items put in by the writer. Members keep the
// order written. The caller keeps the shape: a Key before every member's
// value, every Begin ended; the writer does not check it.
class JsonWriter {
 public:
  JsonWriter& BeginObject();
  JsonWriter& EndObject();
  JsonWriter& BeginArray();
  JsonWriter& EndArray();
  // The name of the next member of the object open last.
  JsonWriter& Key(std::string_view key);
  JsonWriter& String(std::string_view value);
  JsonWriter& Number(int64_t value);
  JsonWriter& Bool(bool value);

  // What was written so far.
  const std::string& Text() const { return out_; }

 private:
  // Before a key, or a value that is not a member's: the comma after the
  // container's previous entry.
  void Separate();
  void Open(char bracket);
  void Close(char bracket);

  std::string out_;
  // For every open object and array: whether it has an entry yet.
  std::vector<bool> hasEntry_;
  bool afterKey_ = false;
};

}  // namespace dovetail
