#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace dovetail {

// The pages the player has read on any play of the game: the script records
// whose messages were shown. Kept in a text file of our own: a first line
// naming the format, then one range of records a line ("120-245", or "300"
// alone). A file that is missing or not in this form means nothing was read.
class ReadPages {
 public:
  // Records beyond this are never marked (no script holds so many).
  static constexpr int32_t kMaxRecords = 1 << 20;

  ReadPages() = default;
  // The pages a file's text names; nothing when it is damaged.
  static ReadPages Parse(std::string_view text);
  // The file's text.
  std::string Format() const;

  bool WasRead(int32_t position) const;
  // Marks the record's page read; true when it was not before.
  bool Mark(int32_t position);
  // Pages marked since the last Format (what a write would add).
  bool Unsaved() const { return unsaved_; }
  void Saved() { unsaved_ = false; }

 private:
  std::vector<bool> read_;
  bool unsaved_ = false;
};

}  // namespace dovetail
