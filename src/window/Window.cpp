#include "window/Window.h"

#include <algorithm>
#include <cassert>
#include <utility>

#include "host/Host.h"

namespace dovetail {

Window::Window(Host& host, std::string caption, int32_t clientWidth, int32_t clientHeight)
    : host_(host),
      caption_(std::move(caption)),
      clientWidth_(clientWidth),
      clientHeight_(clientHeight) {
  host_.AttachWindow(this);
}

Window::~Window() {
  host_.AttachWindow(nullptr);
}

void Window::SetCaption(std::string caption) {
  caption_ = std::move(caption);
  MenuChanged();
}

void Window::SetPicture(Surface picture) {
  picture_ = std::move(picture);
  Invalidate();
}

void Window::ClearPicture() {
  picture_.reset();
  Invalidate();
}

Shape& Window::AddShape() {
  shapes_.push_back(std::make_unique<Shape>());
  return *shapes_.back();
}

PictureBox& Window::AddPictureBox(std::string name) {
  boxes_.push_back(std::make_unique<PictureBox>(*this, std::move(name)));
  zOrder_.push_back(boxes_.back().get());
  return *boxes_.back();
}

void Window::RemoveFromZOrder(PictureBox& box) {
  zOrder_.erase(std::remove(zOrder_.begin(), zOrder_.end(), &box), zOrder_.end());
}

void Window::BringToFront(PictureBox& box) {
  RemoveFromZOrder(box);
  zOrder_.push_back(&box);
  Invalidate();
}

Timer& Window::AddTimer(std::string name, uint32_t interval) {
  timers_.push_back(std::make_unique<Timer>(*this, std::move(name), interval));
  return *timers_.back();
}

MenuItem& Window::AddMenuItem(std::string name, std::string caption) {
  menuItems_.push_back(std::make_unique<MenuItem>(*this, std::move(name), std::move(caption)));
  MenuChanged();
  return *menuItems_.back();
}

MenuItem* Window::FindMenuItem(const std::string& name) const {
  for (const auto& item : menuItems_) {
    if (item->Name() == name) return item.get();
  }
  return nullptr;
}

void Window::Compose(Surface& frame) const {
  ComposeArea(frame, 0, 0, clientWidth_, clientHeight_);
}

void Window::ComposeArea(Surface& patch, int32_t x, int32_t y, int32_t width,
                         int32_t height) const {
  if (patch.Width() != width || patch.Height() != height) patch = Surface(width, height);
  // Everything is drawn shifted by (-x, -y); the surface clips what lies outside.
  patch.Fill(backColor);
  if (picture_) BitBlt(patch, -x, -y, picture_->Width(), picture_->Height(), *picture_, 0, 0);
  for (const auto& shape : shapes_)
    shape->DrawOn(patch, -x, -y);
  for (const PictureBox* box : zOrder_) {
    if (!box->Visible()) continue;
    const int32_t left = box->Left() - x;
    const int32_t top = box->Top() - y;
    if (left >= width || top >= height || left + box->Width() <= 0 || top + box->Height() <= 0) {
      continue;
    }
    BitBlt(patch, left, top, box->Width(), box->Height(), box->Image(), 0, 0);
    for (const auto& shape : box->Shapes())
      shape->DrawOn(patch, left, top);
  }
}

void Window::InvalidateArea(int32_t x, int32_t y, int32_t width, int32_t height) {
  const Area area{std::max(x, 0), std::max(y, 0), std::min(x + width, clientWidth_),
                  std::min(y + height, clientHeight_)};
  if (area.left >= area.right || area.top >= area.bottom) return;
  if (!area_) {
    area_ = area;
    return;
  }
  area_ = Area{std::min(area_->left, area.left), std::min(area_->top, area.top),
               std::max(area_->right, area.right), std::max(area_->bottom, area.bottom)};
}

void Window::Refresh() {
  invalid_ = false;
  area_.reset();
  if (!host_.WantsFrames()) {
    frameCurrent_ = false;
    host_.FrameSkipped();
    return;
  }
  Compose(frame_);
  frameCurrent_ = true;
  host_.Present(frame_);
}

void Window::RefreshArea(const Area& area) {
  // Without a current frame to patch, the whole frame is composed.
  if (!frameCurrent_ || !host_.WantsFrames()) {
    Refresh();
    return;
  }
  area_.reset();
  const int32_t width = area.right - area.left;
  const int32_t height = area.bottom - area.top;
  ComposeArea(patch_, area.left, area.top, width, height);
  BitBlt(frame_, area.left, area.top, width, height, patch_, 0, 0);
  host_.PresentArea(frame_, area.left, area.top, width, height);
}

void Window::RepaintIfNeeded() {
  if (invalid_) {
    Refresh();
  } else if (area_) {
    RefreshArea(*area_);
  }
}

PictureBox* Window::BoxAt(int32_t x, int32_t y) const {
  for (auto it = zOrder_.rbegin(); it != zOrder_.rend(); ++it) {
    if ((*it)->Visible() && !(*it)->letsMouseThrough && (*it)->Contains(x, y)) return *it;
  }
  return nullptr;
}

std::shared_ptr<const Cursor> Window::CursorAt(int32_t x, int32_t y) const {
  const PictureBox* box = BoxAt(x, y);
  return box ? box->mouseIcon : nullptr;
}

bool Window::Receives(const PictureBox* box) const {
  return enabled_ && box != nullptr && box->Enabled() && box->Visible();
}

namespace {
MouseEvent LocalEvent(const PictureBox& box, int32_t x, int32_t y, MouseButton button,
                      int16_t shift) {
  return MouseEvent{button, shift, x - box.Left(), y - box.Top()};
}
}  // namespace

void Window::Deliver(const InputEvent& input) {
  switch (input.kind) {
    case InputEvent::Kind::MouseDown:
      DeliverMouseDown(input.x, input.y, input.button, input.shift);
      break;
    case InputEvent::Kind::DoubleClick:
      DeliverDoubleClick(input.x, input.y, input.button, input.shift);
      break;
    case InputEvent::Kind::MouseUp:
      DeliverMouseUp(input.x, input.y, input.button, input.shift);
      break;
    case InputEvent::Kind::MouseMove:
      DeliverMouseMove(input.x, input.y, input.button, input.shift);
      break;
    case InputEvent::Kind::KeyDown:
      DeliverKeyDown(input.keyCode, input.shift);
      break;
    case InputEvent::Kind::KeyUp:
      DeliverKeyUp(input.keyCode, input.shift);
      break;
    case InputEvent::Kind::Wheel:
      DeliverWheel(input.wheel);
      break;
    case InputEvent::Kind::MenuClick:
      DeliverMenuClick(input.name);
      break;
    case InputEvent::Kind::CloseRequest:
      DeliverCloseRequest();
      break;
    default:
      assert(!input.ForDialog() && "dialog input goes to Dialog::Deliver");
      break;
  }
}

void Window::DeliverMouseDown(int32_t x, int32_t y, MouseButton button, int16_t shift) {
  if (!enabled_) return;
  // A box that was hidden or disabled while it held the mouse lets it go.
  if (capture_ != nullptr && !Receives(capture_)) capture_ = nullptr;
  PictureBox* box = capture_ ? capture_ : BoxAt(x, y);
  if (!Receives(box)) return;
  capture_ = box;
  focus_ = box;
  doubleClickHeld_ = false;
  Invalidate();
  if (box->onMouseDown) box->onMouseDown(LocalEvent(*box, x, y, button, shift));
}

void Window::DeliverDoubleClick(int32_t x, int32_t y, MouseButton, int16_t) {
  if (!enabled_) return;
  if (capture_ != nullptr && !Receives(capture_)) capture_ = nullptr;
  PictureBox* box = capture_ ? capture_ : BoxAt(x, y);
  if (!Receives(box)) return;
  capture_ = box;
  focus_ = box;
  doubleClickHeld_ = true;
}

void Window::DeliverMouseUp(int32_t x, int32_t y, MouseButton button, int16_t shift) {
  PictureBox* box = capture_;
  capture_ = nullptr;
  const bool afterDoubleClick = std::exchange(doubleClickHeld_, false);
  if (!enabled_ || !Receives(box)) return;
  Invalidate();
  if (box->onMouseUp) box->onMouseUp(LocalEvent(*box, x, y, button, shift));
  // A click is a left press and release on the same box.
  if (button == MouseButton::Left && !afterDoubleClick && box->onClick && BoxAt(x, y) == box &&
      Receives(box)) {
    box->onClick();
  }
}

void Window::DeliverMouseMove(int32_t x, int32_t y, MouseButton buttons, int16_t shift) {
  if (!enabled_) return;
  PictureBox* box = capture_ ? capture_ : BoxAt(x, y);
  if (box == nullptr) {
    if (onMouseMove) onMouseMove(MouseEvent{buttons, shift, x, y});
    return;
  }
  if (!Receives(box) || !box->onMouseMove) return;
  Invalidate();
  box->onMouseMove(LocalEvent(*box, x, y, buttons, shift));
}

void Window::DeliverKeyDown(int16_t keyCode, int16_t shift) {
  if (!enabled_) return;
  Invalidate();
  const KeyEvent event{keyCode, shift};
  if (keyPreview && keyPreview(event)) return;
  if (Receives(focus_) && focus_->onKeyDown) {
    focus_->onKeyDown(event);
  } else if (!Receives(focus_) && onKeyDown) {
    onKeyDown(event);
  }
}

void Window::DeliverKeyUp(int16_t keyCode, int16_t shift) {
  if (enabled_ && onKeyUp) onKeyUp(KeyEvent{keyCode, shift});
}

void Window::DeliverWheel(int32_t steps) {
  if (enabled_ && steps != 0 && onWheel) onWheel(steps);
}

void Window::DeliverMenuClick(const std::string& name) {
  MenuItem* item = FindMenuItem(name);
  if (!enabled_ || item == nullptr || !item->Enabled() || !item->onClick) return;
  Invalidate();
  item->onClick();
}

void Window::DeliverCloseRequest() {
  if (onCloseRequest) onCloseRequest();
}

void Window::RunDueTimers(uint32_t now) {
  // A handler may add timers; index instead of iterating.
  for (size_t i = 0; i < timers_.size(); ++i)
    timers_[i]->FireIfDue(now);
}

std::optional<uint32_t> Window::MsUntilNextTimer(uint32_t now) const {
  std::optional<uint32_t> next;
  for (const auto& timer : timers_) {
    const std::optional<uint32_t> due = timer->MsUntilDue(now);
    if (due && (!next || *due < *next)) next = due;
  }
  return next;
}

}  // namespace dovetail
