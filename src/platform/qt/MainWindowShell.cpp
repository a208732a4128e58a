#include "platform/qt/MainWindowShell.h"

#include <QAction>
#include <QActionGroup>
#include <QCloseEvent>
#include <QKeySequence>
#include <QLayout>
#include <QMenu>
#include <QMenuBar>
#include <QScreen>
#include <algorithm>
#include <utility>

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
    programActions_.clear();
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
      menuBar()->insertAction(viewMenu_->menuAction(), action);
      programActions_.push_back(action);
      programNames_.push_back(entry.name);
    }
  }
  for (size_t i = 0; i < entries.size(); ++i) {
    const QString caption = QString::fromStdString(entries[i].caption);
    if (programActions_[i]->text() != caption) programActions_[i]->setText(caption);
    programActions_[i]->setEnabled(entries[i].enabled);
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
}

QSize MainWindowShell::FrameAllowance() const {
  // Once the window manager has framed the window its frame is known;
  // before, allow for a usual title bar and borders.
  if (isVisible() && !fullScreen_) {
    const QSize frame = frameGeometry().size() - geometry().size();
    if (frame.width() > 0 || frame.height() > 0) return frame;
  }
  return QSize(16, 40);
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
    // The fixed size of windowed mode stays on the window until lifted.
    layout()->setSizeConstraint(QLayout::SetDefaultConstraint);
    setMinimumSize(0, 0);
    setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    canvas_->SetFitsWidget(true);
    // Without a window manager nobody resizes a full-screen window; ask for
    // the screen's area first (a window manager grants the same).
    if (const QScreen* where = screen()) setGeometry(where->geometry());
    showFullScreen();
  } else {
    canvas_->SetFitsWidget(false);
    showNormal();
    layout()->setSizeConstraint(QLayout::SetFixedSize);
  }
  canvas_->setFocus();
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
    canvas_->SetFitsWidget(false);
    fullScreen_ = false;
    fullScreenAction_->setChecked(false);
    layout()->setSizeConstraint(QLayout::SetFixedSize);
  }
}

}  // namespace dovetail
