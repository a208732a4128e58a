#include "window/Shape.h"

#include <algorithm>

namespace dovetail {

void Shape::DrawPicture(Surface& target, int32_t x, int32_t y) const {
  const int32_t rows = std::min(height, picture->Height());
  const int32_t columns = std::min(width, picture->Width());
  for (int32_t row = 0; row < rows; ++row) {
    for (int32_t column = 0; column < columns; ++column) {
      const Pixel p = picture->At(column, row);
      if (p != transparent && target.Contains(x + column, y + row))
        target.Set(x + column, y + row, p);
    }
  }
}

void Shape::DrawOn(Surface& target, int32_t ox, int32_t oy) const {
  if (!visible || width <= 0 || height <= 0) return;
  const int32_t x = ox + left;
  const int32_t y = oy + top;
  if (filled) target.FillRect(x, y, width, height, fillColor);
  if (picture) DrawPicture(target, x, y);
  for (int32_t i = 0; i < borderWidth && i * 2 < width && i * 2 < height; ++i) {
    target.DrawRectOutline(x + i, y + i, x + width - 1 - i, y + height - 1 - i, borderColor);
  }
}

}  // namespace dovetail
