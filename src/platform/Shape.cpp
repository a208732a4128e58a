#include "platform/Shape.h"

namespace dovetail {

void Shape::DrawOn(Surface& target, int32_t ox, int32_t oy) const {
  if (!visible || width <= 0 || height <= 0) return;
  const int32_t x = ox + left;
  const int32_t y = oy + top;
  if (filled) target.FillRect(x, y, width, height, fillColor);
  for (int32_t i = 0; i < borderWidth && i * 2 < width && i * 2 < height; ++i) {
    target.DrawRectOutline(x + i, y + i, x + width - 1 - i, y + height - 1 - i, borderColor);
  }
}

}  // namespace dovetail
