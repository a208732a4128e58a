#pragma once

#include <QMainWindow>
#include <QPoint>
#include <QSize>
#include <array>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "backends/hosts/qt/CanvasWidget.h"
#include "host/InputEvent.h"

class QAction;
class QMenu;

namespace dovetail {

// One item of the program's menu bar as the window model holds it.
struct MenuEntry {
  std::string name;
  std::string caption;
  bool enabled = true;
  // The drop-down it sits in (empty: on the bar) and its check mark.
  std::string menu = {};
  bool checkable = false;
  bool checked = false;
};

// The desktop main window: the canvas as its client area, a real menu bar that
// mirrors the program's menu items followed by the window's own "表示" menu
// (zoom and full screen), and the close box. Menu clicks and the close box are
// only recorded (handed to `post`); the host passes them to the program while
// it lets events run.
//
// In full screen the menu bar is hidden, so the screen shows only the game. It
// comes back while the pointer is at the top edge of the screen (until the
// pointer goes back down into the picture) or after a press of Alt alone
// (until Alt again, Escape or a click on the picture), and goes again once one
// of its items is chosen. The picture stays where it is meanwhile.
class MainWindowShell : public QMainWindow {
  Q_OBJECT

 public:
  static constexpr int kMaxZoom = 3;

  explicit MainWindowShell(std::function<void(InputEvent)> post);

  CanvasWidget& Canvas() { return *canvas_; }

  // Mirrors the program's items, in order, before the "表示" menu: an item
  // with a drop-down's caption goes into that drop-down (made where its
  // first item stands). Items with the same names as before are updated in
  // place.
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

  // Told when the player changed the zoom or full screen (to remember it).
  std::function<void()> onViewChanged;

  QMenu* ViewMenu() const { return viewMenu_; }
  QAction* FullScreenAction() const { return fullScreenAction_; }
  QAction* ZoomAction(int zoom) const { return zoomActions_.at(zoom - 1); }

 protected:
  void closeEvent(QCloseEvent* event) override;
  void changeEvent(QEvent* event) override;
  // Watches the canvas for the pointer at the top edge, and the window for Alt.
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  // Why the menu bar shows in full screen.
  enum class Peek { None, Edge, Key };

  void UpdateZoomActions();
  QSize FrameAllowance() const;
  // Full screen: shows the menu bar for `why`, or hides it (Peek::None).
  void PeekMenuBar(Peek why);
  // Back to the windowed layout after full screen, by the program or the
  // window manager.
  void LeaveFullScreenLayout();
  // The place of the window's inside that centres the window on its screen.
  QPoint CentredPlace() const;
  void WatchPointer(QEvent* event);
  void WatchKeys(QEvent* event);

  std::function<void(InputEvent)> post_;
  CanvasWidget* canvas_ = nullptr;
  QMenu* viewMenu_ = nullptr;
  std::array<QAction*, kMaxZoom> zoomActions_{};
  QAction* fullScreenAction_ = nullptr;
  void ViewChanged();

  std::vector<QAction*> programActions_;
  std::vector<QMenu*> programMenus_;
  std::vector<std::string> programNames_;
  int zoom_ = 1;
  bool fullScreen_ = false;
  // Where the window's inside was before it filled the screen, so that
  // leaving full screen puts it back there; none when it filled the screen
  // before it was ever shown (it is then centred on its screen).
  std::optional<QPoint> windowedPlace_;
  Peek peek_ = Peek::None;
  // Alt went down with no other key or click since.
  bool altAlone_ = false;
};

}  // namespace dovetail
