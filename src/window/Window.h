#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "host/Input.h"
#include "host/InputEvent.h"
#include "host/ScreenSize.h"
#include "host/Surface.h"
#include "window/MenuItem.h"
#include "window/PictureBox.h"
#include "window/Shape.h"
#include "window/Timer.h"

namespace dovetail {

class Host;

// The main window, toolkit-free: a client area with its own background picture,
// picture boxes in z-order, shapes, timers and menu items.
//
// Composition draws the back colour, the window's picture and the window's own
// shapes, then every visible picture box from the bottom of the z-order to the
// top, each with its shapes. Input arrives in client coordinates from the host
// and goes to the topmost visible box under the pointer; the box that got a
// mouse-down gets every mouse event until the button is released. A disabled
// box, or the whole window while disabled (a dialog is open), receives nothing.
class Window {
 public:
  Window(Host& host, std::string caption, int32_t clientWidth = kScreenWidth,
         int32_t clientHeight = kScreenHeight);
  ~Window();
  Window(const Window&) = delete;
  Window& operator=(const Window&) = delete;

  Host& GetHost() const { return host_; }

  const std::string& Caption() const { return caption_; }
  void SetCaption(std::string caption);
  int32_t ClientWidth() const { return clientWidth_; }
  int32_t ClientHeight() const { return clientHeight_; }

  bool Enabled() const { return enabled_; }
  void SetEnabled(bool enabled) { enabled_ = enabled; }

  // The window's own picture, drawn under every control.
  Pixel backColor = 0xC0C0C0;
  void SetPicture(Surface picture);
  void ClearPicture();
  const std::optional<Surface>& Picture() const { return picture_; }
  Shape& AddShape();

  // A new picture box, at the top of the z-order, hidden and empty.
  PictureBox& AddPictureBox(std::string name);
  void BringToFront(PictureBox& box);

  Timer& AddTimer(std::string name, uint32_t interval);
  MenuItem& AddMenuItem(std::string name, std::string caption);
  const std::vector<std::unique_ptr<MenuItem>>& MenuItems() const { return menuItems_; }
  MenuItem* FindMenuItem(const std::string& name) const;
  // Increases whenever a menu item changes, so a host can mirror cheaply.
  uint64_t MenuRevision() const { return menuRevision_; }
  void MenuChanged() { ++menuRevision_; }

  // Composes the client area into `frame` (resized as needed).
  void Compose(Surface& frame) const;
  // Composes the part of the client area at (x, y), `width` × `height`, into
  // `patch` (resized as needed): the same pixels Compose gives there.
  void ComposeArea(Surface& patch, int32_t x, int32_t y, int32_t width, int32_t height) const;
  // Composes and hands the frame to the host at once.
  void Refresh();
  // Marks the window for a repaint the next time events run.
  void Invalidate() { invalid_ = true; }
  // Marks only an area (client coordinates) for the next repaint: when
  // nothing else was invalidated, only that area is composed and shown.
  // Whoever draws into an image outside it must invalidate that too.
  void InvalidateArea(int32_t x, int32_t y, int32_t width, int32_t height);
  bool NeedsRepaint() const { return invalid_ || area_.has_value(); }
  // Repaints what was invalidated, if anything; hosts call this while
  // letting events run, so a round in which nothing changed costs nothing.
  void RepaintIfNeeded();
  // The last frame composed (empty until the first refresh with frames wanted;
  // stale while the host wants none).
  const Surface& LastFrame() const { return frame_; }

  // Hit testing: the topmost visible box containing the point, or null;
  // boxes that let the mouse through are passed over.
  PictureBox* BoxAt(int32_t x, int32_t y) const;
  // The cursor to show at the point: the box's own, or null for the default.
  std::shared_ptr<const Cursor> CursorAt(int32_t x, int32_t y) const;

  // The box that receives keys; set by a mouse-down on a box.
  PictureBox* Focus() const { return focus_; }
  void SetFocus(PictureBox* box) { focus_ = box; }
  // Mouse moves over no box (the window's own picture), in client coordinates.
  std::function<void(const MouseEvent&)> onMouseMove;
  // Keys when no enabled, visible box has the focus.
  std::function<void(const KeyEvent&)> onKeyDown;
  // Sees every key first, whichever box has the focus, as a form's key
  // preview does; a key it takes (returns true) goes no further. For the
  // player's comforts beyond the original.
  std::function<bool(const KeyEvent&)> keyPreview;
  // The close box of the window.
  std::function<void()> onCloseRequest;
  // The mouse wheel anywhere over the client area, and keys released: for
  // the player's comforts beyond the original, which looked at neither.
  std::function<void(int32_t steps)> onWheel;
  std::function<void(const KeyEvent&)> onKeyUp;

  // Input from the host, in client coordinates: the main window's kinds of
  // InputEvent (the dialog kinds are for Dialog::Deliver). Runs the handlers
  // at once.
  void Deliver(const InputEvent& input);
  // The same, one kind each.
  void DeliverMouseDown(int32_t x, int32_t y, MouseButton button, int16_t shift = kShiftNone);
  void DeliverMouseUp(int32_t x, int32_t y, MouseButton button, int16_t shift = kShiftNone);
  // The second press of a double click. As in the original's window
  // framework it is no mouse-down: the box under it takes the mouse (its
  // release goes to it) but its mouse-down handler does not run, so a double
  // click advances a message once and presses a choice once; its release
  // reaches the box's mouse-up handler but makes no second click.
  void DeliverDoubleClick(int32_t x, int32_t y, MouseButton button, int16_t shift = kShiftNone);
  void DeliverMouseMove(int32_t x, int32_t y, MouseButton buttons = MouseButton::None,
                        int16_t shift = kShiftNone);
  void DeliverKeyDown(int16_t keyCode, int16_t shift = kShiftNone);
  void DeliverKeyUp(int16_t keyCode, int16_t shift = kShiftNone);
  // `steps` of the wheel: positive turned away from the player (up).
  void DeliverWheel(int32_t steps);
  // A click on the named menu item; ignored when the item or the window is disabled.
  void DeliverMenuClick(const std::string& name);
  void DeliverCloseRequest();
  // Fires every due timer once. Only what the handlers draw is repainted: a
  // timer that changes nothing on the screen costs no composition.
  void RunDueTimers(uint32_t now);
  // Milliseconds from `now` until the next timer is due; nothing when no
  // timer can fire (a host's event loop may then sleep until input comes).
  std::optional<uint32_t> MsUntilNextTimer(uint32_t now) const;

 private:
  void RemoveFromZOrder(PictureBox& box);
  bool Receives(const PictureBox* box) const;

  Host& host_;
  std::string caption_;
  int32_t clientWidth_;
  int32_t clientHeight_;
  // The area invalidated since the last repaint, as left, top, right, bottom.
  struct Area {
    int32_t left, top, right, bottom;
  };
  void RefreshArea(const Area& area);

  bool enabled_ = true;
  bool invalid_ = true;
  std::optional<Area> area_;
  std::optional<Surface> picture_;
  std::vector<std::unique_ptr<Shape>> shapes_;
  std::vector<std::unique_ptr<PictureBox>> boxes_;
  std::vector<PictureBox*> zOrder_;
  std::vector<std::unique_ptr<Timer>> timers_;
  std::vector<std::unique_ptr<MenuItem>> menuItems_;
  uint64_t menuRevision_ = 0;
  PictureBox* capture_ = nullptr;
  // The mouse is held by the second press of a double click: its release
  // makes no click.
  bool doubleClickHeld_ = false;
  PictureBox* focus_ = nullptr;
  Surface frame_;
  // frame_ holds the window as last shown (no refresh was skipped since).
  bool frameCurrent_ = false;
  Surface patch_;
};

}  // namespace dovetail
