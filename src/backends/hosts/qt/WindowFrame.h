#pragma once

#include <QMargins>

class QWidget;

namespace dovetail {

// The frame the desktop puts around a top-level window (title bar and
// borders), for working out whether a window of a given client size fits the
// screen.
//
// On X11 a window manager is running when some client redirects the root
// window's substructure (every window manager must, to frame windows); without
// one, as on a bare X server, windows have no frame at all and the margins are
// 0. With one, the frame is what it put around `window` once it is framed, and
// before that a usual title bar and borders. Other platforms (Wayland) always
// decorate: the usual allowance until the window's real frame is known.
QMargins WindowFrameMargins(const QWidget& window);

// Whether windows on this display get a frame from a window manager.
bool WindowManagerFrames();

}  // namespace dovetail
