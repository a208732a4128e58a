#include "demo/CursorArt.h"

#include <cassert>

#include "demo/Canvas.h"
#include "screen/PictureRegions.h"

namespace dovetail::tools {

namespace {

// Appends the low `bytes` (1 to 4) bytes of `value`, least significant first.
void PutLittleEndian(std::string& out, uint32_t value, int bytes) {
  assert(bytes >= 1 && bytes <= 4);
  for (int i = 0; i < bytes; ++i)
    out.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
}

}  // namespace

std::string EncodeCursor(const Surface& image, int32_t hotX, int32_t hotY) {
  assert(!image.Empty() && image.Width() <= 256 && image.Height() <= 256);
  const int32_t w = image.Width();
  const int32_t h = image.Height();
  const uint32_t maskStride = static_cast<uint32_t>((w + 31) / 32 * 4);
  std::string dib;
  // Info header: the height counts the colour rows and the mask rows.
  PutLittleEndian(dib, 40, 4);
  PutLittleEndian(dib, static_cast<uint32_t>(w), 4);
  PutLittleEndian(dib, static_cast<uint32_t>(2 * h), 4);
  PutLittleEndian(dib, 1, 2);
  PutLittleEndian(dib, 32, 2);
  PutLittleEndian(dib, 0, 4);
  PutLittleEndian(dib, static_cast<uint32_t>(w * h * 4) + maskStride * static_cast<uint32_t>(h), 4);
  for (int i = 0; i < 4; ++i)
    PutLittleEndian(dib, 0, 4);  // resolution, colours used and important
  for (int32_t y = h - 1; y >= 0; --y) {
    for (int32_t x = 0; x < w; ++x) {
      const Pixel p = image.At(x, y);
      dib.push_back(static_cast<char>(BlueOf(p)));
      dib.push_back(static_cast<char>(GreenOf(p)));
      dib.push_back(static_cast<char>(RedOf(p)));
      dib.push_back(static_cast<char>(p == kBlack ? 0 : 0xFF));
    }
  }
  for (int32_t y = h - 1; y >= 0; --y) {
    std::string row(maskStride, '\0');
    for (int32_t x = 0; x < w; ++x) {
      if (image.At(x, y) == kBlack)
        row[static_cast<size_t>(x / 8)] |= static_cast<char>(0x80 >> (x % 8));
    }
    dib += row;
  }
  std::string file;
  PutLittleEndian(file, 0, 2);  // reserved
  PutLittleEndian(file, 2, 2);  // type 2: cursor
  PutLittleEndian(file, 1, 2);  // one image
  file.push_back(static_cast<char>(w == 256 ? 0 : w));
  file.push_back(static_cast<char>(h == 256 ? 0 : h));
  PutLittleEndian(file, 0, 2);  // colour count, reserved
  PutLittleEndian(file, static_cast<uint32_t>(hotX), 2);
  PutLittleEndian(file, static_cast<uint32_t>(hotY), 2);
  PutLittleEndian(file, static_cast<uint32_t>(dib.size()), 4);
  PutLittleEndian(file, 22, 4);  // the image follows the 6 + 16 bytes of directory
  return file + dib;
}

Surface PointingHand() {
  Sketch s(32, 32);
  const Pixel skin = Rgb(255, 246, 232);
  // Each shape is drawn twice: once a pixel larger in ink for the outline,
  // then in the hand's colour.
  for (int pass = 0; pass < 2; ++pass) {
    const Pixel c = pass == 0 ? kInk : skin;
    const int g = pass == 0 ? 1 : 0;
    FillRoundRect(s, {9 - g, 0 - g + 1, 6 + 2 * g, 17 + 2 * g}, 3, c);  // index finger
    FillRoundRect(s, {14 - g, 10 - g, 5 + 2 * g, 10 + 2 * g}, 2.5, c);  // middle finger
    FillRoundRect(s, {18 - g, 11 - g, 5 + 2 * g, 10 + 2 * g}, 2.5, c);  // ring finger
    FillRoundRect(s, {22 - g, 13 - g, 4 + 2 * g, 9 + 2 * g}, 2, c);     // little finger
    FillRoundRect(s, {8 - g, 15 - g, 18 + 2 * g, 14 + 2 * g}, 5, c);    // palm
    DrawLine(s, {3, 15}, {9, 22}, 5 + 2 * g, c);                        // thumb
  }
  for (double x : {14.5, 18.5, 22.5})
    DrawLine(s, {x, 15}, {x, 19}, 1, Rgb(190, 170, 160));
  return s.ResolveFigure();
}

}  // namespace dovetail::tools
