#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "host/Input.h"
#include "host/Surface.h"
#include "window/Cursor.h"
#include "window/Font.h"
#include "window/Shape.h"

namespace dovetail {

class Window;

// A picture box of the main window with a persistent image: whatever is drawn
// into `Image()` stays until it is cleared, and is shown when the box is
// refreshed or the window repaints.
//
// The box has a background picture (`SetPicture`) and an image: clearing the
// box (`Cls`) fills the image with the back colour and puts the picture back.
// Drawing attributes follow the device context of the original: `textColor`
// and `bkColor` are what text and monochrome conversions use; setting the fore
// or back colour sets them too.
class PictureBox {
 public:
  PictureBox(Window& owner, std::string name);

  const std::string& Name() const { return name_; }
  Window& Owner() const { return owner_; }

  // Geometry in pixels of the window's client area.
  int32_t Left() const { return left_; }
  int32_t Top() const { return top_; }
  int32_t Width() const { return image_.Width(); }
  int32_t Height() const { return image_.Height(); }
  // Moves and sizes the box; a size change keeps the image's pixels at the
  // top-left and fills new area with the back colour.
  void Move(int32_t left, int32_t top, int32_t width, int32_t height);
  void Move(int32_t left, int32_t top);
  void SetSize(int32_t width, int32_t height);

  bool Visible() const { return visible_; }
  void SetVisible(bool visible);
  bool Enabled() const { return enabled_; }
  void SetEnabled(bool enabled) { enabled_ = enabled; }

  // The persistent image. Drawing into it shows on the next refresh.
  Surface& Image() { return image_; }
  const Surface& Image() const { return image_; }

  // Sets the background picture and shows it in a freshly cleared image. With
  // auto-size on, the box takes the picture's size.
  void SetPicture(Surface picture);
  // Removes the background picture and clears the image to the back colour.
  void ClearPicture();
  // Clears the drawing: back colour, then the background picture.
  void Cls();

  void SetAutoSize(bool autoSize) { autoSize_ = autoSize; }

  Pixel ForeColor() const { return foreColor_; }
  void SetForeColor(Pixel color);
  Pixel BackColor() const { return backColor_; }
  // Changing the back colour clears the drawing, as in the original.
  void SetBackColor(Pixel color);

  // Device-context attributes.
  Pixel textColor = kBlack;
  Pixel bkColor = kWhite;
  FontSpec font;

  // A box the mouse passes through to whatever lies beneath (a note shown
  // over the picture): it is never hit.
  bool letsMouseThrough = false;

  // Cursor shown while the mouse is over the box; none = the window's default.
  std::shared_ptr<const Cursor> mouseIcon;

  // Shapes drawn over this box at composition, in order.
  Shape& AddShape();
  const std::vector<std::unique_ptr<Shape>>& Shapes() const { return shapes_; }

  // Shows the box's current image at once.
  void Refresh();
  // Marks the window for a repaint the next time events run (after drawing
  // into the image without a refresh).
  void Invalidate();
  // Marks only the area of one of the box's shapes (shown, hidden or moved
  // within it), so that the next repaint composes no more than that.
  void InvalidateShape(const Shape& shape);

  // Event handlers; empty ones are skipped. Coordinates are box-relative.
  std::function<void(const MouseEvent&)> onMouseDown;
  std::function<void(const MouseEvent&)> onMouseUp;
  std::function<void(const MouseEvent&)> onMouseMove;
  std::function<void()> onClick;
  std::function<void(const KeyEvent&)> onKeyDown;

  bool Contains(int32_t x, int32_t y) const {
    return x >= left_ && y >= top_ && x < left_ + Width() && y < top_ + Height();
  }

 private:
  Window& owner_;
  std::string name_;
  int32_t left_ = 0;
  int32_t top_ = 0;
  bool visible_ = false;
  bool enabled_ = true;
  bool autoSize_ = false;
  Pixel foreColor_ = kBlack;
  Pixel backColor_ = kWhite;
  Surface image_;
  std::optional<Surface> picture_;
  std::vector<std::unique_ptr<Shape>> shapes_;
};

}  // namespace dovetail
