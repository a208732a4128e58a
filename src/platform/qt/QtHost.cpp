#include "platform/qt/QtHost.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QMessageBox>
#include <QPushButton>
#include <QThread>
#include <QTimer>
#include <algorithm>
#include <cassert>
#include <utility>
#include <vector>

#include "platform/Dialog.h"
#include "platform/Window.h"

namespace dovetail {

namespace {

// How often the event loop wakes without input to fire the window's timers.
constexpr int kEventLoopWakeMs = 10;

}  // namespace

QtHost::QtHost() {
  assert(QApplication::instance() != nullptr && "create the QApplication before the host");
  clock_.start();
  // The standard buttons of message boxes and dialogs read "OK" / "キャンセル".
  translationLoaded_ = translator_.load(QStringLiteral("qtbase_ja"),
                                        QLibraryInfo::path(QLibraryInfo::TranslationsPath));
  if (translationLoaded_) QCoreApplication::installTranslator(&translator_);
  shell_ = std::make_unique<MainWindowShell>([this](HostInput input) { Post(std::move(input)); });
}

QtHost::~QtHost() {
  shell_.reset();
  if (translationLoaded_) QCoreApplication::removeTranslator(&translator_);
}

uint32_t QtHost::TickCount() {
  // Truncation to 32 bits wraps like the system tick count.
  return static_cast<uint32_t>(clock_.elapsed());
}

void QtHost::Sleep(uint32_t ms) {
  QThread::msleep(ms);
}

void QtHost::DoEvents() {
  ShowOnFirstUse();
  QCoreApplication::processEvents(QEventLoop::AllEvents);
  // Program code never runs inside Qt's dispatch, so nothing of Qt's is on
  // the stack here: objects Qt deleted later can go now.
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  SyncWindow();
  // Handlers may let events run again; a nested DoEvents takes the next
  // recorded event, so the order of arrival is kept.
  while (window_ != nullptr && !inputs_.empty()) {
    const HostInput input = std::move(inputs_.front());
    inputs_.pop_front();
    Deliver(input);
  }
  if (window_ != nullptr) {
    window_->RunDueTimers(TickCount());
    window_->RepaintIfNeeded();
  }
  SyncWindow();
  for (auto& entry : dialogs_) {
    if (entry.second->Stale()) entry.second->SyncFromModel();
  }
}

void QtHost::Present(const Surface& frame) {
  ShowOnFirstUse();
  SyncWindow();
  CanvasWidget& canvas = Canvas();
  canvas.SetFrame(frame);
  // repaint(), not update(): the frame must be on the screen before the
  // program goes on (and perhaps sleeps without letting events run).
  canvas.repaint();
}

MessageBoxAnswer QtHost::MessageBox(const MessageBoxRequest& request) {
  QWidget* parent = shell_->isVisible() ? shell_.get() : nullptr;
  if (!dialogs_.empty()) parent = dialogs_.back().second;
  QMessageBox box(parent);
  box.setIcon(QMessageBox::NoIcon);
  box.setWindowTitle(request.title.empty() ? QStringLiteral("Dovetail")
                                           : QString::fromStdString(request.title));
  box.setTextFormat(Qt::PlainText);
  QString text = QString::fromStdString(request.text);
  text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  box.setText(text);
  QPushButton* ok = box.addButton(QMessageBox::Ok);
  QPushButton* cancel = nullptr;
  if (request.buttons == MessageBoxButtons::OkCancel) cancel = box.addButton(QMessageBox::Cancel);
  if (!translationLoaded_) {
    ok->setText(QStringLiteral("OK"));
    if (cancel != nullptr) cancel->setText(QStringLiteral("キャンセル"));
  }
  box.setDefaultButton(ok);
  // Escape or the box's own close button answer Cancel when there is one.
  box.setEscapeButton(cancel != nullptr ? cancel : ok);
  box.exec();
  if (cancel != nullptr && box.clickedButton() == cancel) return MessageBoxAnswer::Cancel;
  return MessageBoxAnswer::Ok;
}

void QtHost::ShowDialog(Dialog& dialog) {
  if (DialogWindow* open = DialogWindowFor(dialog)) {
    open->raise();
    open->activateWindow();
    return;
  }
  ShowOnFirstUse();
  // A child of the main window: centred over it and kept above it.
  auto* window =
      new DialogWindow(dialog, shell_.get(), [this](HostInput input) { Post(std::move(input)); });
  dialogs_.emplace_back(&dialog, window);
  window->show();
  window->raise();
  window->activateWindow();
  if (dialog.imeOpen) window->FocusTextBox();
}

void QtHost::CloseDialog(Dialog& dialog) {
  auto it = std::find_if(dialogs_.begin(), dialogs_.end(),
                         [&](const auto& entry) { return entry.first == &dialog; });
  if (it == dialogs_.end()) return;
  DialogWindow* window = it->second;
  dialogs_.erase(it);
  window->hide();
  // Deleted once Qt's own processing is done with it.
  window->deleteLater();
  // Input already recorded for this dialog goes nowhere.
  std::erase_if(inputs_, [&](const HostInput& input) { return input.dialog == &dialog; });
}

DialogWindow* QtHost::DialogWindowFor(const Dialog& dialog) const {
  for (const auto& entry : dialogs_) {
    if (entry.first == &dialog) return entry.second;
  }
  return nullptr;
}

void QtHost::DeliverToDialog(const HostInput& input) {
  DialogWindow* window = DialogWindowFor(*input.dialog);
  if (window == nullptr) return;
  Dialog& dialog = window->Model();
  // The handler reads the model: it must hold what the player sees.
  window->WriteBackEdits();
  if (window->Stale()) window->SyncFromModel();
  switch (input.kind) {
    case HostInput::Kind::DialogClick: {
      // A control the program disabled after the click was recorded gets nothing.
      const DialogControl* control = dialog.Find(input.menu);
      if (control == nullptr || !control->enabled) return;
      if (dialog.onClick) dialog.onClick(input.menu);
      break;
    }
    case HostInput::Kind::DialogClose:
      if (dialog.onCloseRequest) dialog.onCloseRequest();
      break;
    default:
      if (dialog.onLostFocus) dialog.onLostFocus();
      break;
  }
}

void QtHost::AttachWindow(Window* window) {
  window_ = window;
  inputs_.clear();
  synced_ = false;
  if (window != nullptr) {
    Canvas().SetClientSize(QSize(window->ClientWidth(), window->ClientHeight()));
    shell_->SetZoom(shell_->LargestFittingZoom());
    SyncWindow();
  } else {
    shell_->SetProgramMenu({});
    shell_->hide();
    shown_ = false;
  }
}

void QtHost::ShowWindow() {
  shown_ = true;
  shell_->show();
  shell_->raise();
  shell_->activateWindow();
  Canvas().setFocus();
}

void QtHost::ShowOnFirstUse() {
  if (window_ != nullptr && !shown_) ShowWindow();
}

void QtHost::RunEventLoop() {
  QTimer wake;
  wake.start(kEventLoopWakeMs);
  for (;;) {
    // Sleeps until input arrives or the wake timer ticks.
    QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    DoEvents();
  }
}

void QtHost::Post(HostInput input) {
  if (window_ != nullptr) inputs_.push_back(std::move(input));
}

void QtHost::Deliver(const HostInput& input) {
  switch (input.kind) {
    case HostInput::Kind::DialogClick:
    case HostInput::Kind::DialogClose:
    case HostInput::Kind::DialogLostFocus:
      DeliverToDialog(input);
      break;
    case HostInput::Kind::MouseDown:
      window_->DeliverMouseDown(input.x, input.y, input.button, input.shift);
      break;
    case HostInput::Kind::DoubleClick:
      window_->DeliverDoubleClick(input.x, input.y, input.button, input.shift);
      break;
    case HostInput::Kind::MouseUp:
      window_->DeliverMouseUp(input.x, input.y, input.button, input.shift);
      break;
    case HostInput::Kind::MouseMove:
      Canvas().SetProgramCursor(window_->CursorAt(input.x, input.y));
      window_->DeliverMouseMove(input.x, input.y, input.button, input.shift);
      break;
    case HostInput::Kind::KeyDown:
      window_->DeliverKeyDown(input.keyCode, input.shift);
      break;
    case HostInput::Kind::MenuClick:
      window_->DeliverMenuClick(input.menu);
      break;
    case HostInput::Kind::CloseRequest:
      window_->DeliverCloseRequest();
      break;
  }
}

void QtHost::SyncWindow() {
  if (window_ == nullptr) return;
  if (synced_ && window_->MenuRevision() == menuRevision_) return;
  synced_ = true;
  menuRevision_ = window_->MenuRevision();
  shell_->setWindowTitle(QString::fromStdString(window_->Caption()));
  std::vector<MenuEntry> entries;
  for (const auto& item : window_->MenuItems())
    entries.push_back({item->Name(), item->Caption(), item->Enabled()});
  shell_->SetProgramMenu(entries);
}

}  // namespace dovetail
