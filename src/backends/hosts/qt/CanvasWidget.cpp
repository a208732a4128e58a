#include "backends/hosts/qt/CanvasWidget.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QRegion>
#include <QWheelEvent>
#include <algorithm>
#include <cmath>

#include "backends/hosts/qt/InputMapping.h"

namespace dovetail {

CanvasWidget::CanvasWidget(QWidget* parent) : QWidget(parent) {
  // Every paint covers the whole widget: the picture and the black bars.
  setAttribute(Qt::WA_OpaquePaintEvent);
  setMouseTracking(true);
  setFocusPolicy(Qt::StrongFocus);
  ApplyFixedSize();
}

void CanvasWidget::SetClientSize(QSize size) {
  clientSize_ = size;
  ApplyFixedSize();
  update();
}

void CanvasWidget::SetZoom(int zoom) {
  zoom_ = std::max(zoom, 1);
  ApplyFixedSize();
  // The cursor keeps its size relative to the picture.
  if (cursorShown_) setCursor(cursors_.Get(cursorShown_, PictureScale()));
  update();
}

void CanvasWidget::SetFitsWidget(bool fit) {
  fit_ = fit;
  ApplyFixedSize();
  update();
}

void CanvasWidget::ApplyFixedSize() {
  if (fit_) {
    setMinimumSize(0, 0);
    setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
  } else {
    setFixedSize(clientSize_ * zoom_);
  }
}

void CanvasWidget::SetFrame(const Surface& frame) {
  const int width = frame.Width();
  const int height = frame.Height();
  if (frame_.width() != width || frame_.height() != height) {
    frame_ = QImage(width, height, QImage::Format_RGB32);
  }
  SetFrameArea(frame, QRect(0, 0, width, height));
}

QRect CanvasWidget::SetFrameArea(const Surface& frame, QRect area) {
  area &= QRect(0, 0, std::min(frame.Width(), frame_.width()),
                std::min(frame.Height(), frame_.height()));
  // Same layout as the surface (0x00RRGGBB, top-down); the alpha byte is set
  // so that every drawing path treats the pixels as opaque.
  for (int y = area.top(); y <= area.bottom(); ++y) {
    const Pixel* source = frame.Row(y);
    auto* target = reinterpret_cast<uint32_t*>(frame_.scanLine(y));
    for (int x = area.left(); x <= area.right(); ++x)
      target[x] = source[x] | 0xFF000000u;
  }
  // The widget pixels the area covers, one more on each side for a
  // fractional scale.
  const QRect picture = PictureRect();
  if (clientSize_.isEmpty() || area.isEmpty()) return {};
  const double scaleX = static_cast<double>(picture.width()) / clientSize_.width();
  const double scaleY = static_cast<double>(picture.height()) / clientSize_.height();
  const int left = picture.x() + static_cast<int>(std::floor(area.x() * scaleX)) - 1;
  const int top = picture.y() + static_cast<int>(std::floor(area.y() * scaleY)) - 1;
  const int right = picture.x() + static_cast<int>(std::ceil((area.x() + area.width()) * scaleX));
  const int bottom = picture.y() + static_cast<int>(std::ceil((area.y() + area.height()) * scaleY));
  return QRect(QPoint(left, top), QPoint(right, bottom)) & rect();
}

QRect CanvasWidget::PictureRect() const {
  if (!fit_) return PictureRect(size(), clientSize_, zoom_, fit_);
  // Fitted, the picture is centred on the whole window: a menu bar shown
  // above the canvas for a moment (full screen) covers the top instead of
  // moving the picture.
  const int above = y();
  return PictureRect(QSize(width(), height() + above), clientSize_, zoom_, fit_)
      .translated(0, -above);
}

QRect CanvasWidget::PictureRect(QSize widget, QSize client, int zoom, bool fit) {
  if (client.isEmpty()) return {};
  double scale = std::max(zoom, 1);
  if (fit) {
    const double factor = std::min(static_cast<double>(widget.width()) / client.width(),
                                   static_cast<double>(widget.height()) / client.height());
    // Whole factors keep every picture pixel the same size on the screen.
    scale = factor >= 1.0 ? std::floor(factor) : factor;
    if (scale <= 0.0) return {};
  }
  const int width = static_cast<int>(std::lround(client.width() * scale));
  const int height = static_cast<int>(std::lround(client.height() * scale));
  return QRect((widget.width() - width) / 2, (widget.height() - height) / 2, width, height);
}

std::optional<QPoint> CanvasWidget::MapToClient(QPointF position, QRect picture, QSize client,
                                                bool clamp) {
  if (picture.isEmpty() || client.isEmpty()) return std::nullopt;
  const double scaleX = static_cast<double>(picture.width()) / client.width();
  const double scaleY = static_cast<double>(picture.height()) / client.height();
  const int x = static_cast<int>(std::floor((position.x() - picture.x()) / scaleX));
  const int y = static_cast<int>(std::floor((position.y() - picture.y()) / scaleY));
  const bool inside = x >= 0 && y >= 0 && x < client.width() && y < client.height();
  if (inside) return QPoint(x, y);
  if (!clamp) return std::nullopt;
  return QPoint(std::clamp(x, 0, client.width() - 1), std::clamp(y, 0, client.height() - 1));
}

int CanvasWidget::PictureScale() const {
  if (!fit_) return zoom_;
  const QRect picture = PictureRect();
  if (clientSize_.isEmpty()) return 1;
  return std::max(
      1, static_cast<int>(std::lround(static_cast<double>(picture.width()) / clientSize_.width())));
}

void CanvasWidget::SetProgramCursor(const std::shared_ptr<const Cursor>& cursor) {
  if (cursor == cursorShown_) return;
  cursorShown_ = cursor;
  if (cursor) {
    setCursor(cursors_.Get(cursor, PictureScale()));
  } else {
    unsetCursor();
  }
}

void CanvasWidget::paintEvent(QPaintEvent* /*event*/) {
  QPainter painter(this);
  // Nearest-neighbour enlargement: every picture pixel becomes a sharp block.
  painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
  const QRect picture = PictureRect();
  for (const QRect& bar : QRegion(rect()).subtracted(QRegion(picture)))
    painter.fillRect(bar, Qt::black);
  if (frame_.isNull()) {
    painter.fillRect(picture, Qt::black);
  } else {
    painter.drawImage(picture, frame_);
  }
}

void CanvasWidget::Post(InputEvent input) {
  if (onInput) onInput(std::move(input));
}

void CanvasWidget::PostPress(QMouseEvent* event, InputEvent::Kind kind) {
  event->accept();
  // A press makes the main window the active one, as a window manager's
  // click-to-focus does (and where there is none, as under a bare X server):
  // a dialog open over it loses the focus.
  if (!window()->isActiveWindow()) window()->activateWindow();
  const MouseButton button = ButtonFromQt(event->button());
  // A press on the black bars is outside the window's client area.
  const auto point = MapToClient(event->position(), PictureRect(), clientSize_, false);
  if (!point || button == MouseButton::None) return;
  InputEvent input;
  input.kind = kind;
  input.x = point->x();
  input.y = point->y();
  input.button = button;
  input.shift = ShiftFromQt(event->modifiers());
  Post(std::move(input));
}

void CanvasWidget::mousePressEvent(QMouseEvent* event) {
  PostPress(event, InputEvent::Kind::MouseDown);
}

void CanvasWidget::mouseDoubleClickEvent(QMouseEvent* event) {
  // The second press of a double click is no mouse-down for the program's
  // controls (the window model says why).
  PostPress(event, InputEvent::Kind::DoubleClick);
}

void CanvasWidget::mouseReleaseEvent(QMouseEvent* event) {
  event->accept();
  const MouseButton button = ButtonFromQt(event->button());
  if (button == MouseButton::None) return;
  // A release always arrives, on the nearest edge when outside, so that the
  // control that got the press is released.
  const auto point = MapToClient(event->position(), PictureRect(), clientSize_, true);
  if (!point) return;
  InputEvent input;
  input.kind = InputEvent::Kind::MouseUp;
  input.x = point->x();
  input.y = point->y();
  input.button = button;
  input.shift = ShiftFromQt(event->modifiers());
  Post(std::move(input));
}

void CanvasWidget::mouseMoveEvent(QMouseEvent* event) {
  event->accept();
  const MouseButton buttons = ButtonsFromQt(event->buttons());
  // Dragging reports positions on the edge; plain moves over the bars go nowhere.
  const auto point =
      MapToClient(event->position(), PictureRect(), clientSize_, buttons != MouseButton::None);
  if (!point) {
    SetProgramCursor(nullptr);
    return;
  }
  InputEvent input;
  input.kind = InputEvent::Kind::MouseMove;
  input.x = point->x();
  input.y = point->y();
  input.button = buttons;
  input.shift = ShiftFromQt(event->modifiers());
  Post(std::move(input));
}

void CanvasWidget::keyPressEvent(QKeyEvent* event) {
  const int key = event->key();
  const Qt::KeyboardModifiers modifiers = event->modifiers();
  // Alt+Enter belongs to the window (full screen), never to the program.
  if (modifiers.testFlag(Qt::AltModifier) && (key == Qt::Key_Return || key == Qt::Key_Enter)) {
    event->ignore();
    return;
  }
  const int16_t keyCode = VirtualKeyFromQt(key, modifiers);
  if (keyCode == 0) {
    event->ignore();
    return;
  }
  // A held Ctrl is one press, not a stream of them.
  if (key == Qt::Key_Control && event->isAutoRepeat()) {
    event->accept();
    return;
  }
  event->accept();
  InputEvent input;
  input.kind = InputEvent::Kind::KeyDown;
  input.keyCode = keyCode;
  input.shift = ShiftFromQt(modifiers);
  Post(std::move(input));
}

void CanvasWidget::keyReleaseEvent(QKeyEvent* event) {
  if (event->key() != Qt::Key_Control || event->isAutoRepeat()) {
    event->ignore();
    return;
  }
  event->accept();
  InputEvent input;
  input.kind = InputEvent::Kind::KeyUp;
  input.keyCode = kKeyControl;
  input.shift = ShiftFromQt(event->modifiers());
  Post(std::move(input));
}

void CanvasWidget::wheelEvent(QWheelEvent* event) {
  event->accept();
  // Whole notches (120 eighths of a degree each), kept across the small
  // steps of a touchpad.
  wheelEighths_ += event->angleDelta().y();
  const int steps = wheelEighths_ / 120;
  if (steps == 0) return;
  wheelEighths_ -= steps * 120;
  InputEvent input;
  input.kind = InputEvent::Kind::Wheel;
  input.wheel = steps;
  Post(std::move(input));
}

bool CanvasWidget::focusNextPrevChild(bool /*next*/) {
  // Tab is a key for the program, not a focus move.
  return false;
}

}  // namespace dovetail
