#include "window/PictureBox.h"

#include <utility>

#include "window/Window.h"

namespace dovetail {

PictureBox::PictureBox(Window& owner, std::string name) : owner_(owner), name_(std::move(name)) {}

void PictureBox::Move(int32_t left, int32_t top, int32_t width, int32_t height) {
  left_ = left;
  top_ = top;
  image_.Resize(width, height, backColor_);
  owner_.Invalidate();
}

void PictureBox::Move(int32_t left, int32_t top) {
  Move(left, top, Width(), Height());
}

void PictureBox::SetSize(int32_t width, int32_t height) {
  Move(left_, top_, width, height);
}

void PictureBox::SetVisible(bool visible) {
  if (visible_ == visible) return;
  visible_ = visible;
  owner_.Invalidate();
}

void PictureBox::SetPicture(Surface picture) {
  if (autoSize_) image_ = Surface(picture.Width(), picture.Height(), backColor_);
  picture_ = std::move(picture);
  Cls();
}

void PictureBox::ClearPicture() {
  picture_.reset();
  Cls();
}

void PictureBox::Cls() {
  image_.Fill(backColor_);
  if (picture_) BitBlt(image_, 0, 0, picture_->Width(), picture_->Height(), *picture_, 0, 0);
  owner_.Invalidate();
}

void PictureBox::SetForeColor(Pixel color) {
  foreColor_ = color;
  textColor = color;
}

void PictureBox::SetBackColor(Pixel color) {
  backColor_ = color;
  bkColor = color;
  Cls();
}

Shape& PictureBox::AddShape() {
  shapes_.push_back(std::make_unique<Shape>());
  return *shapes_.back();
}

void PictureBox::Refresh() {
  owner_.Refresh();
}

void PictureBox::Invalidate() {
  owner_.Invalidate();
}

void PictureBox::InvalidateShape(const Shape& shape) {
  owner_.InvalidateArea(left_ + shape.left, top_ + shape.top, shape.width, shape.height);
}

}  // namespace dovetail
