#pragma once

#include <QCursor>
#include <memory>
#include <vector>

#include "window/Cursor.h"

namespace dovetail {

// The Qt cursor of a program cursor, enlarged by the window's zoom so that it
// keeps its size relative to the picture. The hot spot scales with it.
QCursor ToQCursor(const Cursor& cursor, int scale);

// Converts each program cursor once per scale. Entries hold their cursor, so a
// cursor's address is never reused by another while it is cached.
class CursorCache {
 public:
  // The Qt cursor for `cursor`; the default arrow for none or an empty one.
  QCursor Get(const std::shared_ptr<const Cursor>& cursor, int scale);
  void Clear() { entries_.clear(); }

 private:
  struct Entry {
    std::shared_ptr<const Cursor> cursor;
    int scale = 1;
    QCursor converted;
  };
  std::vector<Entry> entries_;
};

}  // namespace dovetail
