#pragma once

#include <QMainWindow>
#include <QSize>
#include <array>
#include <functional>
#include <string>
#include <vector>

#include "platform/InputEvent.h"
#include "platform/qt/CanvasWidget.h"

class QAction;
class QMenu;

namespace dovetail {

// One item of the program's menu bar as the window model holds it.
struct MenuEntry {
  std::string name;
  std::string caption;
  bool enabled = true;
};

// The desktop main window: the canvas as its client area, a real menu bar that
// mirrors the program's menu items followed by the window's own "表示" menu
// (zoom and full screen), and the close box. Menu clicks and the close box are
// only recorded (handed to `post`); the host passes them to the program while
// it lets events run.
class MainWindowShell : public QMainWindow {
  Q_OBJECT

 public:
  static constexpr int kMaxZoom = 3;

  explicit MainWindowShell(std::function<void(InputEvent)> post);

  CanvasWidget& Canvas() { return *canvas_; }

  // Mirrors the program's items, in order, before the "表示" menu. Items with
  // the same names as before are updated in place.
  void SetProgramMenu(const std::vector<MenuEntry>& entries);
  // The menu bar action of a program item, or null.
  QAction* ProgramMenuAction(const std::string& name) const;

  // The windowed zoom: the client area is shown `zoom` times enlarged.
  int Zoom() const { return zoom_; }
  void SetZoom(int zoom);
  // Whether the window at this zoom, with its frame and menu bar, fits the
  // available area of its screen.
  bool ZoomFits(int zoom) const;
  // The largest zoom that fits (1 when none does).
  int LargestFittingZoom() const;

  bool FullScreen() const { return fullScreen_; }
  void SetFullScreen(bool fullScreen);

  QMenu* ViewMenu() const { return viewMenu_; }
  QAction* FullScreenAction() const { return fullScreenAction_; }
  QAction* ZoomAction(int zoom) const { return zoomActions_.at(zoom - 1); }

 protected:
  void closeEvent(QCloseEvent* event) override;
  void changeEvent(QEvent* event) override;

 private:
  void UpdateZoomActions();
  QSize FrameAllowance() const;

  std::function<void(InputEvent)> post_;
  CanvasWidget* canvas_ = nullptr;
  QMenu* viewMenu_ = nullptr;
  std::array<QAction*, kMaxZoom> zoomActions_{};
  QAction* fullScreenAction_ = nullptr;
  std::vector<QAction*> programActions_;
  std::vector<std::string> programNames_;
  int zoom_ = 1;
  bool fullScreen_ = false;
};

}  // namespace dovetail
