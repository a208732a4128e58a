#include "backends/hosts/qt/CursorCache.h"

#include <QImage>
#include <QPixmap>
#include <algorithm>

namespace dovetail {

QCursor ToQCursor(const Cursor& cursor, int scale) {
  if (cursor.width <= 0 || cursor.height <= 0 ||
      cursor.argb.size() < static_cast<size_t>(cursor.width) * cursor.height) {
    return QCursor(Qt::ArrowCursor);
  }
  scale = std::max(scale, 1);
  QImage image(cursor.width, cursor.height, QImage::Format_ARGB32);
  for (int32_t y = 0; y < cursor.height; ++y) {
    auto* row = reinterpret_cast<uint32_t*>(image.scanLine(y));
    std::copy_n(cursor.argb.data() + static_cast<size_t>(y) * cursor.width, cursor.width, row);
  }
  if (scale > 1) {
    // Nearest neighbour, like the picture itself.
    image = image.scaled(cursor.width * scale, cursor.height * scale, Qt::IgnoreAspectRatio,
                         Qt::FastTransformation);
  }
  return QCursor(QPixmap::fromImage(image), cursor.hotX * scale, cursor.hotY * scale);
}

QCursor CursorCache::Get(const std::shared_ptr<const Cursor>& cursor, int scale) {
  if (!cursor) return QCursor(Qt::ArrowCursor);
  for (const Entry& entry : entries_) {
    if (entry.cursor == cursor && entry.scale == scale) return entry.converted;
  }
  entries_.push_back({cursor, scale, ToQCursor(*cursor, scale)});
  return entries_.back().converted;
}

}  // namespace dovetail
