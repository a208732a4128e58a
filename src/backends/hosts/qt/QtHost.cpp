#include "backends/hosts/qt/QtHost.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QThread>
#include <QTimer>
#include <algorithm>
#include <cassert>
#include <iostream>
#include <optional>
#include <utility>
#include <vector>

#include "backends/hosts/qt/DesktopMachine.h"
#include "window/Dialog.h"
#include "window/Window.h"

namespace dovetail {

QtHost::QtHost() {
  assert(QApplication::instance() != nullptr && "create the QApplication before the host");
  clock_.start();
  // The standard buttons of message boxes and dialogs read "OK" / "キャンセル".
  translationLoaded_ = translator_.load(QStringLiteral("qtbase_ja"),
                                        QLibraryInfo::path(QLibraryInfo::TranslationsPath));
  if (translationLoaded_) QCoreApplication::installTranslator(&translator_);
  shell_ = std::make_unique<MainWindowShell>([this](InputEvent input) { Post(std::move(input)); });
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
  PumpEvents(*this, *this);
}

bool QtHost::TakeInput(InputEvent& input) {
  if (window_ == nullptr || inputs_.empty()) return false;
  input = std::move(inputs_.front());
  inputs_.pop_front();
  return true;
}

void QtHost::SyncMenuAndDialogs() {
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
  if (onPresented) onPresented();
}

void QtHost::PresentArea(const Surface& frame, int32_t x, int32_t y, int32_t width,
                         int32_t height) {
  CanvasWidget& canvas = Canvas();
  if (!shown_ || canvas.Frame().size() != QSize(frame.Width(), frame.Height())) {
    Present(frame);
    return;
  }
  SyncWindow();
  const QRect changed = canvas.SetFrameArea(frame, QRect(x, y, width, height));
  if (!changed.isEmpty()) canvas.repaint(changed);
  if (onPresented) onPresented();
}

MessageBoxAnswer QtHost::MessageBox(const MessageBoxRequest& request) {
  QWidget* parent = shell_->isVisible() ? shell_.get() : nullptr;
  if (!dialogs_.empty()) parent = dialogs_.back().second;
  QMessageBox box(parent);
  // In the dialogs' font, enlarged with the window like them.
  box.setFont(DialogFont(box.font(), Canvas().PictureScale()));
  box.setIcon(QMessageBox::NoIcon);
  if (request.aboveOthers) box.setWindowFlag(Qt::WindowStaysOnTopHint);
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
  auto* window = new DialogWindow(dialog, shell_.get(), Canvas().PictureScale(),
                                  [this](InputEvent input) { Post(std::move(input)); });
  dialogs_.emplace_back(&dialog, window);
  window->move(PlaceOverPicture(window->size()));
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
  std::erase_if(inputs_, [&](const InputEvent& input) { return input.dialog == &dialog; });
}

QPoint QtHost::PlaceOverPicture(QSize size) {
  CanvasWidget& canvas = Canvas();
  const QRect picture = canvas.PictureRect();
  QRect place(QPoint(), size);
  place.moveCenter(QRect(canvas.mapToGlobal(picture.topLeft()), picture.size()).center());
  // Whole on the screen, where the screen is large enough.
  if (const QScreen* where = shell_->screen()) {
    const QRect screen = where->availableGeometry();
    place.moveLeft(std::max(screen.left(), std::min(place.left(), screen.right() - size.width())));
    place.moveTop(std::max(screen.top(), std::min(place.top(), screen.bottom() - size.height())));
  }
  return place.topLeft();
}

DialogWindow* QtHost::DialogWindowFor(const Dialog& dialog) const {
  for (const auto& entry : dialogs_) {
    if (entry.first == &dialog) return entry.second;
  }
  return nullptr;
}

void QtHost::DeliverToDialog(const InputEvent& input) {
  DialogWindow* window = DialogWindowFor(*input.dialog);
  if (window == nullptr) return;
  // The handler reads the model: it must hold what the player sees.
  window->WriteBackEdits();
  if (window->Stale()) window->SyncFromModel();
  window->Model().Deliver(input);
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

LocalDateTime QtHost::LocalNow() {
  return ReadLocalNow();
}

ScreenFacts QtHost::Screen() {
  return ReadScreen(shell_->screen());
}

MemoryFacts QtHost::Memory() {
  return ReadMemory();
}

SystemFacts QtHost::System() {
  return ReadSystem();
}

ProcessorFacts QtHost::Processor() {
  return ReadProcessor();
}

void QtHost::Diagnostic(const std::string& line) {
  std::cerr << line << '\n';
}

bool QtHost::OpenLink(const std::string& url) {
  return OpenLinkOnDesktop(url);
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

void QtHost::SleepUntilSomethingHappens() {
  // What the program changed since events last ran is shown before the
  // sleep: the title drawn at the end of start-up would otherwise stay
  // unseen until the first input.
  if (window_ != nullptr) window_->RepaintIfNeeded();
  QTimer wake;
  wake.setSingleShot(true);
  wake.setTimerType(Qt::PreciseTimer);
  const std::optional<uint32_t> due =
      window_ != nullptr ? window_->MsUntilNextTimer(TickCount()) : std::nullopt;
  if (due) wake.start(static_cast<int>(*due));
  QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
}

void QtHost::RunEventLoop() {
  // Wakes for the window's next timer and otherwise sleeps until something
  // arrives, so an idle window costs no wake-ups of its own.
  for (;;) {
    SleepUntilSomethingHappens();
    DoEvents();
  }
}

void QtHost::WaitForPlayer(uint32_t /*ms*/) {
  // Input already queued (or posted by a handler) is taken at once; otherwise
  // the round sleeps until input arrives or a window timer is due. The loop's
  // condition changes only through those, so the 10 ms rounds in between
  // would each find nothing to do.
  if (inputs_.empty()) SleepUntilSomethingHappens();
  DoEvents();
}

void QtHost::Post(InputEvent input) {
  if (window_ != nullptr) inputs_.push_back(std::move(input));
}

void QtHost::DeliverToWindow(Window& window, const InputEvent& input) {
  if (input.kind == InputEvent::Kind::MouseMove) {
    Canvas().SetProgramCursor(window.CursorAt(input.x, input.y));
  }
  window.Deliver(input);
}

void QtHost::SyncWindow() {
  if (window_ == nullptr) return;
  if (synced_ && window_->MenuRevision() == menuRevision_ && window_->Enabled() == windowEnabled_) {
    return;
  }
  synced_ = true;
  menuRevision_ = window_->MenuRevision();
  windowEnabled_ = window_->Enabled();
  shell_->setWindowTitle(QString::fromStdString(window_->Caption()));
  std::vector<MenuEntry> entries;
  for (const auto& item : window_->MenuItems())
    entries.push_back({item->Name(), item->Caption(), item->Enabled() && windowEnabled_,
                       item->Menu(), item->Checkable(), item->Checked()});
  shell_->SetProgramMenu(entries);
}

}  // namespace dovetail
