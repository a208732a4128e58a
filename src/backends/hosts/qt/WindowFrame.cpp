#include "backends/hosts/qt/WindowFrame.h"

#include <xcb/xcb.h>

#include <QGuiApplication>
#include <QWidget>
#include <cstdlib>
#include <memory>

namespace dovetail {

namespace {

// A title bar and borders as most window managers draw them.
const QMargins kUsualFrame(8, 32, 8, 8);

// Whether a client of the X server holds the root window's substructure
// redirect, which is what makes it the window manager.
bool X11WindowManagerRunning(xcb_connection_t* connection) {
  const xcb_setup_t* setup = xcb_get_setup(connection);
  bool running = false;
  for (xcb_screen_iterator_t screens = xcb_setup_roots_iterator(setup); screens.rem;
       xcb_screen_next(&screens)) {
    const xcb_get_window_attributes_cookie_t cookie =
        xcb_get_window_attributes(connection, screens.data->root);
    const std::unique_ptr<xcb_get_window_attributes_reply_t, decltype(&std::free)> reply(
        xcb_get_window_attributes_reply(connection, cookie, nullptr), &std::free);
    // An unanswered request says nothing: assume a frame, as elsewhere.
    if (reply == nullptr || (reply->all_event_masks & XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT) != 0) {
      running = true;
    }
  }
  return running;
}

}  // namespace

bool WindowManagerFrames() {
  const auto* x11 =
      qGuiApp != nullptr ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
  if (x11 == nullptr || x11->connection() == nullptr) return true;
  return X11WindowManagerRunning(x11->connection());
}

QMargins WindowFrameMargins(const QWidget& window) {
  if (!WindowManagerFrames()) return {};
  // Once the window manager has framed the window its frame is known.
  if (window.isVisible() && !window.isFullScreen()) {
    const QRect frame = window.frameGeometry();
    const QRect client = window.geometry();
    const QMargins margins(client.left() - frame.left(), client.top() - frame.top(),
                           frame.right() - client.right(), frame.bottom() - client.bottom());
    if (!margins.isNull()) return margins;
  }
  return kUsualFrame;
}

}  // namespace dovetail
