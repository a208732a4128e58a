#pragma once

#include <QImage>
#include <QPoint>
#include <QRect>
#include <QSize>
#include <QWidget>
#include <functional>
#include <memory>
#include <optional>

#include "backends/hosts/qt/CursorCache.h"
#include "host/InputEvent.h"
#include "host/ScreenSize.h"
#include "host/Surface.h"
#include "window/Cursor.h"

namespace dovetail {

// The client area of the main window: shows the last presented frame enlarged
// by the zoom with nearest-neighbour sampling (whole pixels, no blur), centred
// with black bars when the widget is larger than the picture (full screen).
// Mouse and key events are translated into client coordinates and virtual key
// codes and handed to `onInput`; nothing of the program runs in here.
class CanvasWidget : public QWidget {
  Q_OBJECT

 public:
  explicit CanvasWidget(QWidget* parent = nullptr);

  // Receives the translated input, in the order Qt delivered it.
  std::function<void(InputEvent)> onInput;

  // The size of the program's client area (640 × 480 for the main window).
  QSize ClientSize() const { return clientSize_; }
  void SetClientSize(QSize size);

  // Windowed: the widget is exactly the client area times `zoom`.
  int Zoom() const { return zoom_; }
  void SetZoom(int zoom);

  // Full screen: the widget takes whatever size its window gives it and the
  // picture is scaled to fit (see PictureRect).
  void SetFitsWidget(bool fit);

  // Copies the frame; shown by the next paint. Callers repaint() to show it at once.
  void SetFrame(const Surface& frame);
  // Copies only the area `area` (client pixels) of a frame the size of the
  // last one; returns the widget rectangle that shows it, for repaint().
  QRect SetFrameArea(const Surface& frame, QRect area);
  const QImage& Frame() const { return frame_; }

  // The widget rectangle the picture occupies now. Fitted, it is centred on
  // the widget together with whatever stands above it in the window (the
  // menu bar shown over a full-screen picture), so that it does not move when
  // that comes and goes.
  QRect PictureRect() const;

  // Where a client area of `client` pixels goes in a widget of `widget` pixels:
  // windowed, enlarged by `zoom`; fitted, by the largest whole factor that fits
  // (or, on a screen smaller than the picture, the largest fraction), centred.
  static QRect PictureRect(QSize widget, QSize client, int zoom, bool fit);

  // The client pixel under a widget position of a picture shown in `picture`,
  // or nothing outside it. With `clamp`, a position outside is moved onto the
  // nearest edge pixel instead.
  static std::optional<QPoint> MapToClient(QPointF position, QRect picture, QSize client,
                                           bool clamp);

  // How many screen pixels a picture pixel takes now, in whole pixels (at
  // least 1): the zoom, or in full screen the fitted scale.
  int PictureScale() const;

  // Shows the program's cursor for the pointer's place (null: the arrow).
  void SetProgramCursor(const std::shared_ptr<const Cursor>& cursor);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  // Only Ctrl's release matters to the program (the skip of read text
  // lasts while it is held).
  void keyReleaseEvent(QKeyEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;
  bool focusNextPrevChild(bool next) override;

 private:
  void Post(InputEvent input);
  // Posts a press (`kind` MouseDown or DoubleClick) inside the client area.
  void PostPress(QMouseEvent* event, InputEvent::Kind kind);
  void ApplyFixedSize();

  QSize clientSize_{kScreenWidth, kScreenHeight};
  int zoom_ = 1;
  bool fit_ = false;
  QImage frame_;
  CursorCache cursors_;
  std::shared_ptr<const Cursor> cursorShown_;
  // Wheel turns not yet a whole notch.
  int wheelEighths_ = 0;
};

}  // namespace dovetail
