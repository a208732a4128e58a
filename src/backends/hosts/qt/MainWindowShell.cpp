#include "backends/hosts/qt/MainWindowShell.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QKeySequence>
#include <QLayout>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QScreen>
#include <QWindow>
#include <algorithm>
#include <optional>
#include <utility>

#include "backends/hosts/qt/WindowFrame.h"

namespace dovetail {

MainWindowShell::MainWindowShell(std::function<void(InputEvent)> post) : post_(std::move(post)) {
  canvas_ = new CanvasWidget(this);
  canvas_->onInput = post_;
  setCentralWidget(canvas_);
  canvas_->setFocus();

  // The menu bar stays inside the window, as the program's own menu.
  menuBar()->setNativeMenuBar(false);
  viewMenu_ = menuBar()->addMenu(QStringLiteral("表示"));
  auto* zoomGroup = new QActionGroup(this);
  for (int zoom = 1; zoom <= kMaxZoom; ++zoom) {
    QAction* action = viewMenu_->addAction(QStringLiteral("%1倍").arg(zoom));
    action->setCheckable(true);
    zoomGroup->addAction(action);
    connect(action, &QAction::triggered, this, [this, zoom] { SetZoom(zoom); });
    zoomActions_.at(zoom - 1) = action;
  }
  viewMenu_->addSeparator();
  fullScreenAction_ = viewMenu_->addAction(QStringLiteral("全画面表示"));
  fullScreenAction_->setCheckable(true);
  // The menu shows the first one, "Alt+Enter"; both Enter keys work.
  fullScreenAction_->setShortcuts(
      {QKeySequence(Qt::ALT | Qt::Key_Enter), QKeySequence(Qt::ALT | Qt::Key_Return)});
  // The shortcut works while the menu bar is closed, from anywhere in the window.
  fullScreenAction_->setShortcutContext(Qt::WindowShortcut);
  addAction(fullScreenAction_);
  connect(fullScreenAction_, &QAction::triggered, this,
          [this](bool checked) { SetFullScreen(checked); });
  connect(viewMenu_, &QMenu::aboutToShow, this, [this] { UpdateZoomActions(); });
  // A menu item chosen in full screen puts the menu bar away again.
  connect(menuBar(), &QMenuBar::triggered, this, [this] { PeekMenuBar(Peek::None); });
  canvas_->installEventFilter(this);
  // Keys reach the window before whichever widget has the keyboard (the menu
  // bar takes it after Alt): watched where they first arrive.
  qApp->installEventFilter(this);

  // Windowed, the window is exactly as large as its menu bar and client area.
  layout()->setSizeConstraint(QLayout::SetFixedSize);
  SetZoom(1);
}

void MainWindowShell::SetProgramMenu(const std::vector<MenuEntry>& entries) {
  bool sameItems = entries.size() == programNames_.size();
  for (size_t i = 0; sameItems && i < entries.size(); ++i)
    sameItems = entries[i].name == programNames_[i];
  if (!sameItems) {
    for (QAction* action : programActions_)
      delete action;
    for (QMenu* menu : programMenus_)
      delete menu;
    programActions_.clear();
    programMenus_.clear();
    programNames_.clear();
    for (const MenuEntry& entry : entries) {
      auto* action = new QAction(this);
      const std::string name = entry.name;
      connect(action, &QAction::triggered, this, [this, name] {
        InputEvent input;
        input.kind = InputEvent::Kind::MenuClick;
        input.name = name;
        post_(std::move(input));
      });
      if (entry.menu.empty()) {
        menuBar()->insertAction(viewMenu_->menuAction(), action);
      } else {
        const QString title = QString::fromStdString(entry.menu);
        auto found = std::find_if(programMenus_.begin(), programMenus_.end(),
                                  [&](QMenu* menu) { return menu->title() == title; });
        if (found == programMenus_.end()) {
          programMenus_.push_back(new QMenu(title, this));
          menuBar()->insertMenu(viewMenu_->menuAction(), programMenus_.back());
          found = programMenus_.end() - 1;
        }
        (*found)->addAction(action);
      }
      programActions_.push_back(action);
      programNames_.push_back(entry.name);
    }
  }
  for (size_t i = 0; i < entries.size(); ++i) {
    QAction* action = programActions_[i];
    const QString caption = QString::fromStdString(entries[i].caption);
    if (action->text() != caption) action->setText(caption);
    action->setEnabled(entries[i].enabled);
    action->setCheckable(entries[i].checkable);
    action->setChecked(entries[i].checked);
  }
}

QAction* MainWindowShell::ProgramMenuAction(const std::string& name) const {
  for (size_t i = 0; i < programNames_.size(); ++i) {
    if (programNames_[i] == name) return programActions_[i];
  }
  return nullptr;
}

void MainWindowShell::SetZoom(int zoom) {
  zoom_ = std::clamp(zoom, 1, kMaxZoom);
  canvas_->SetZoom(zoom_);
  zoomActions_.at(zoom_ - 1)->setChecked(true);
  ViewChanged();
}

void MainWindowShell::ViewChanged() {
  if (onViewChanged) onViewChanged();
}

QSize MainWindowShell::FrameAllowance() const {
  const QMargins frame = WindowFrameMargins(*this);
  return QSize(frame.left() + frame.right(), frame.top() + frame.bottom());
}

bool MainWindowShell::ZoomFits(int zoom) const {
  const QScreen* where = screen();
  if (where == nullptr) return zoom == 1;
  const QSize available = where->availableGeometry().size();
  const QSize frame = FrameAllowance();
  const QSize client = canvas_->ClientSize() * zoom;
  return client.width() + frame.width() <= available.width() &&
         client.height() + menuBar()->sizeHint().height() + frame.height() <= available.height();
}

int MainWindowShell::LargestFittingZoom() const {
  for (int zoom = kMaxZoom; zoom > 1; --zoom) {
    if (ZoomFits(zoom)) return zoom;
  }
  return 1;
}

void MainWindowShell::UpdateZoomActions() {
  for (int zoom = 1; zoom <= kMaxZoom; ++zoom)
    zoomActions_.at(zoom - 1)->setEnabled(zoom == 1 || zoom == zoom_ || ZoomFits(zoom));
}

void MainWindowShell::SetFullScreen(bool fullScreen) {
  fullScreenAction_->setChecked(fullScreen);
  if (fullScreen == fullScreen_) return;
  fullScreen_ = fullScreen;
  if (fullScreen) {
    // A window that goes full screen before it was ever shown (the player's
    // remembered choice) has no windowed place yet.
    windowedPlace_ = isVisible() ? std::optional<QPoint>(geometry().topLeft()) : std::nullopt;
    // The fixed size of windowed mode stays on the window until lifted.
    layout()->setSizeConstraint(QLayout::SetDefaultConstraint);
    setMinimumSize(0, 0);
    setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    canvas_->SetFitsWidget(true);
    peek_ = Peek::None;
    menuBar()->hide();
    // Without a window manager nobody resizes a full-screen window; ask for
    // the screen's area first (a window manager grants the same).
    if (const QScreen* where = screen()) setGeometry(where->geometry());
    showFullScreen();
  } else {
    showNormal();
    LeaveFullScreenLayout();
    // The screen-sized geometry asked for above is the one a window manager
    // would restore, at the screen's corner with the title bar above it.
    setGeometry(QRect(windowedPlace_.value_or(CentredPlace()), geometry().size()));
  }
  canvas_->setFocus();
  ViewChanged();
}

QPoint MainWindowShell::CentredPlace() const {
  const QScreen* where = screen();
  if (where == nullptr) return QPoint(0, 0);
  const QRect available = where->availableGeometry();
  const QSize inside = sizeHint();
  const QMargins frame = WindowFrameMargins(*this);
  return available.topLeft() +
         QPoint(std::max(0, (available.width() - inside.width()) / 2) + frame.left(),
                std::max(0, (available.height() - inside.height()) / 2) + frame.top());
}

void MainWindowShell::LeaveFullScreenLayout() {
  canvas_->SetFitsWidget(false);
  peek_ = Peek::None;
  menuBar()->show();
  layout()->setSizeConstraint(QLayout::SetFixedSize);
}

void MainWindowShell::PeekMenuBar(Peek why) {
  if (!fullScreen_ || why == peek_) return;
  peek_ = why;
  menuBar()->setVisible(why != Peek::None);
}

bool MainWindowShell::eventFilter(QObject* watched, QEvent* event) {
  if (fullScreen_ && watched == canvas_) WatchPointer(event);
  if (fullScreen_ && watched != nullptr && watched == windowHandle()) WatchKeys(event);
  // A key that makes a shortcut (Alt+Enter) never reaches the window as a
  // key press, only as this: Alt was not pressed alone.
  if (event->type() == QEvent::ShortcutOverride &&
      static_cast<QKeyEvent*>(event)->key() != Qt::Key_Alt) {
    altAlone_ = false;
  }
  return QMainWindow::eventFilter(watched, event);
}

void MainWindowShell::WatchPointer(QEvent* event) {
  switch (event->type()) {
    case QEvent::MouseMove: {
      const auto* mouse = static_cast<QMouseEvent*>(event);
      // The canvas starts at the screen's top while the bar is away.
      constexpr double kTopEdge = 2.0;
      // Back down into the picture, clear of the bar.
      constexpr double kBelowBar = 8.0;
      if (peek_ == Peek::None && mouse->position().y() < kTopEdge) {
        PeekMenuBar(Peek::Edge);
      } else if (peek_ == Peek::Edge && mouse->position().y() > kBelowBar &&
                 QApplication::activePopupWidget() == nullptr) {
        PeekMenuBar(Peek::None);
      }
      break;
    }
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
      altAlone_ = false;
      PeekMenuBar(Peek::None);
      break;
    default:
      break;
  }
}

void MainWindowShell::WatchKeys(QEvent* event) {
  switch (event->type()) {
    case QEvent::KeyPress: {
      const auto* key = static_cast<QKeyEvent*>(event);
      if (key->isAutoRepeat()) break;
      altAlone_ = key->key() == Qt::Key_Alt;
      if (key->key() == Qt::Key_Escape && peek_ == Peek::Key) PeekMenuBar(Peek::None);
      break;
    }
    case QEvent::KeyRelease: {
      const auto* key = static_cast<QKeyEvent*>(event);
      if (key->isAutoRepeat() || key->key() != Qt::Key_Alt || !altAlone_) break;
      altAlone_ = false;
      PeekMenuBar(peek_ == Peek::None ? Peek::Key : Peek::None);
      break;
    }
    default:
      break;
  }
}

void MainWindowShell::closeEvent(QCloseEvent* event) {
  // The program decides (its unload handler ends it); the window never closes
  // by itself.
  event->ignore();
  InputEvent input;
  input.kind = InputEvent::Kind::CloseRequest;
  post_(std::move(input));
}

void MainWindowShell::changeEvent(QEvent* event) {
  QMainWindow::changeEvent(event);
  // The window manager may leave full screen on its own.
  if (event->type() == QEvent::WindowStateChange && fullScreen_ && !isFullScreen() && isVisible()) {
    fullScreen_ = false;
    fullScreenAction_->setChecked(false);
    LeaveFullScreenLayout();
    ViewChanged();
  }
}

}  // namespace dovetail
