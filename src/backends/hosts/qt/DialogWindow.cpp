#include "backends/hosts/qt/DialogWindow.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QCloseEvent>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTextCursor>
#include <algorithm>
#include <utility>

namespace dovetail {

// The dialogs' layouts are in pixels, made for the Japanese system's dialog
// font: a proportional gothic of 9 points (12 pixels), enlarged with the
// window. The same face from fonts-ipafont keeps every caption inside its
// control; the desktop's own font (often larger, with a wider fallback for
// Japanese) would wrap or clip them. Without it the desktop's font family is
// used at that size.
QFont DialogFont(const QFont& systemFont, int scale) {
  QFont font = systemFont;
  font.setFamilies(
      {QStringLiteral("IPAPGothic"), QStringLiteral("IPAGothic"), systemFont.family()});
  font.setPixelSize(12 * std::max(scale, 1));
  return font;
}

namespace {

// The link colour of the system's classic palette.
const QColor kLinkColour(0, 0, 255);

// A caption with full-width letters is in the fixed-pitch gothic of the same
// size: they take a whole cell there, so "ＯＫ" shows as the full-width caption
// it is (the proportional face draws it as narrow as a plain "OK"). A caption
// of plain letters ("OK", "Cancel") keeps the dialog's font, whose fixed-pitch
// Latin letters would look typed.
QFont ButtonFont(const QFont& dialogFont, const std::string& caption) {
  const bool fullWidth = std::any_of(caption.begin(), caption.end(),
                                     [](char c) { return static_cast<unsigned char>(c) >= 0x80; });
  if (!fullWidth) return dialogFont;
  QFont font = dialogFont;
  font.setFamilies({QStringLiteral("IPAGothic"), QStringLiteral("IPAPGothic"), font.family()});
  return font;
}

// The tick boxes and option circles grow with the window like the text
// beside them (the style draws them at its own small size otherwise).
QString IndicatorStyle(int scale) {
  return QStringLiteral(
             "QCheckBox::indicator, QRadioButton::indicator { width: %1px; height: %1px; }"
             "QCheckBox, QRadioButton { spacing: %2px; }")
      .arg(13 * scale)
      .arg(4 * scale);
}

QString FromModel(const std::string& text) {
  QString result = QString::fromStdString(text);
  result.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  return result;
}

bool IsTextBox(const DialogControl& control) {
  return control.kind == DialogControlKind::TextBox;
}

bool IsTickable(const DialogControl& control) {
  return control.kind == DialogControlKind::CheckBox ||
         control.kind == DialogControlKind::OptionButton;
}

// The text a text box's widget holds, in the model's form.
std::string TextOf(QWidget* widget) {
  if (auto* line = qobject_cast<QLineEdit*>(widget)) return line->text().toStdString();
  return static_cast<QPlainTextEdit*>(widget)->toPlainText().toStdString();
}

void SetTextOf(QWidget* widget, const std::string& text) {
  const QString shown = FromModel(text);
  if (auto* line = qobject_cast<QLineEdit*>(widget)) {
    if (line->text() != shown) line->setText(shown);
    return;
  }
  auto* edit = static_cast<QPlainTextEdit*>(widget);
  if (edit->toPlainText() == shown) return;
  edit->setPlainText(shown);
  // The caret goes after the text: at its start it stands on the first
  // character's left edge (the about box's greeting).
  edit->moveCursor(QTextCursor::End);
}

void SetCaptionOf(QWidget* widget, const std::string& text) {
  const QString shown = FromModel(text);
  if (auto* frame = qobject_cast<QGroupBox*>(widget)) {
    frame->setTitle(shown);
  } else if (auto* label = qobject_cast<QLabel*>(widget)) {
    label->setText(shown);
  } else if (auto* button = qobject_cast<QAbstractButton*>(widget)) {
    button->setText(shown);
  }
}

}  // namespace

DialogWindow::DialogWindow(Dialog& model, QWidget* parent, int scale,
                           std::function<void(InputEvent)> post)
    : QDialog(parent), model_(model), post_(std::move(post)), scale_(std::max(scale, 1)) {
  Qt::WindowFlags flags =
      Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint | Qt::CustomizeWindowHint;
  if (model_.topmost) flags |= Qt::WindowStaysOnTopHint;
  setWindowFlags(flags);
  setModal(false);
  setFont(DialogFont(font(), scale_));
  if (scale_ > 1) setStyleSheet(IndicatorStyle(scale_));
  setFixedSize(model_.width * scale_, model_.height * scale_);
  Build();
  revision_ = model_.Revision();
  setWindowTitle(QString::fromStdString(model_.caption));
  for (size_t i = 0; i < views_.size(); ++i)
    Show(i, true);
}

void DialogWindow::Build() {
  const std::deque<DialogControl>& controls = model_.Controls();
  views_.resize(controls.size());
  // Frames first, so that the controls they hold are drawn over them.
  for (int pass = 0; pass < 2; ++pass) {
    for (size_t i = 0; i < controls.size(); ++i) {
      const DialogControl& control = controls[i];
      if ((control.kind == DialogControlKind::Frame) != (pass == 0)) continue;
      const std::string name = control.name;
      QWidget* widget = nullptr;
      switch (control.kind) {
        case DialogControlKind::Frame:
          widget = new QGroupBox(this);
          break;
        case DialogControlKind::Label: {
          auto* label = new QLabel(this);
          label->setTextFormat(Qt::PlainText);
          label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
          label->setWordWrap(true);
          widget = label;
          break;
        }
        case DialogControlKind::Link: {
          auto* link = new QLabel(this);
          link->setTextFormat(Qt::PlainText);
          link->setAlignment(Qt::AlignLeft | Qt::AlignTop);
          QFont font = link->font();
          font.setUnderline(true);
          link->setFont(font);
          QPalette palette = link->palette();
          palette.setColor(QPalette::Active, QPalette::WindowText, kLinkColour);
          palette.setColor(QPalette::Inactive, QPalette::WindowText, kLinkColour);
          link->setPalette(palette);
          link->setCursor(Qt::PointingHandCursor);
          // The whole label is the link, as a clickable caption.
          link->installEventFilter(this);
          widget = link;
          break;
        }
        case DialogControlKind::TextBox:
          if (control.multiLine) {
            auto* edit = new QPlainTextEdit(this);
            edit->setTabChangesFocus(true);
            widget = edit;
          } else {
            auto* line = new QLineEdit(this);
            if (control.maxLength > 0) line->setMaxLength(control.maxLength);
            widget = line;
          }
          if (model_.imeOpen) widget->setAttribute(Qt::WA_InputMethodEnabled, true);
          break;
        case DialogControlKind::Button: {
          auto* button = new QPushButton(this);
          button->setFont(ButtonFont(font(), control.text));
          // Enter is no click of the focused button: it reaches the model as a
          // key, which presses the model's default button, if any.
          button->setAutoDefault(false);
          connect(button, &QPushButton::clicked, this,
                  [this, name] { Post(InputEvent::Kind::Press, name); });
          widget = button;
          break;
        }
        case DialogControlKind::CheckBox: {
          auto* box = new QCheckBox(this);
          connect(box, &QCheckBox::clicked, this,
                  [this, name] { Post(InputEvent::Kind::Press, name); });
          widget = box;
          break;
        }
        case DialogControlKind::OptionButton: {
          auto* option = new QRadioButton(this);
          // One exclusive group per frame, as the model groups them.
          QButtonGroup*& group = groups_[control.frame];
          if (group == nullptr) group = new QButtonGroup(this);
          group->addButton(option);
          connect(option, &QRadioButton::clicked, this,
                  [this, name] { Post(InputEvent::Kind::Press, name); });
          widget = option;
          break;
        }
      }
      widget->setObjectName(QString::fromStdString(name));
      widget->setGeometry(control.left * scale_, control.top * scale_, control.width * scale_,
                          control.height * scale_);
      views_[i].widget = widget;
    }
  }
}

QWidget* DialogWindow::ControlWidget(const std::string& name) const {
  const std::deque<DialogControl>& controls = model_.Controls();
  for (size_t i = 0; i < views_.size(); ++i) {
    if (controls[i].name == name) return views_[i].widget;
  }
  return nullptr;
}

void DialogWindow::Show(size_t index, bool all) {
  const DialogControl& control = model_.Controls()[index];
  View& view = views_[index];
  if (all || control.enabled != view.enabled) {
    view.widget->setEnabled(control.enabled);
    view.enabled = control.enabled;
  }
  if (all || control.text != view.text) {
    if (IsTextBox(control)) {
      SetTextOf(view.widget, control.text);
    } else {
      SetCaptionOf(view.widget, control.text);
    }
    view.text = control.text;
  }
  if (IsTickable(control) && (all || control.checked != view.checked)) {
    ShowChecked(index, control.checked);
  }
}

void DialogWindow::ShowChecked(size_t index, bool checked) {
  auto* button = static_cast<QAbstractButton*>(views_[index].widget);
  // An exclusive group neither unticks its last ticked button nor leaves two
  // ticked: the model says what is ticked, so the group stands aside.
  QButtonGroup* group = button->group();
  if (group != nullptr) group->setExclusive(false);
  button->setChecked(checked);
  if (group != nullptr) group->setExclusive(true);
  views_[index].checked = checked;
}

void DialogWindow::SyncFromModel() {
  revision_ = model_.Revision();
  const QString caption = QString::fromStdString(model_.caption);
  if (windowTitle() != caption) setWindowTitle(caption);
  for (size_t i = 0; i < views_.size(); ++i)
    Show(i, false);
}

void DialogWindow::WriteBackEdits() {
  const bool wasCurrent = !Stale();
  bool changed = false;
  const std::deque<DialogControl>& controls = model_.Controls();
  for (size_t i = 0; i < views_.size(); ++i) {
    const DialogControl& control = controls[i];
    View& view = views_[i];
    DialogControl& target = *model_.Find(control.name);
    if (IsTextBox(control)) {
      const std::string typed = TextOf(view.widget);
      if (typed == view.text) continue;
      if (control.enabled) {
        target.text = typed;
        changed = true;
      } else {
        SetTextOf(view.widget, target.text);
      }
      view.text = target.text;
    } else if (control.kind == DialogControlKind::CheckBox) {
      const bool ticked = static_cast<QAbstractButton*>(view.widget)->isChecked();
      if (ticked == view.checked) continue;
      if (control.enabled) {
        target.checked = ticked;
        changed = true;
      }
      ShowChecked(i, target.checked);
    } else if (control.kind == DialogControlKind::OptionButton) {
      const bool ticked = static_cast<QAbstractButton*>(view.widget)->isChecked();
      if (ticked && !view.checked && control.enabled) {
        model_.SetChecked(control.name, true);
        changed = true;
      }
    }
  }
  // The option buttons show the model's choice: the player's pick, or the
  // previous one when the pick went to a button the program had disabled.
  for (size_t i = 0; i < views_.size(); ++i) {
    const DialogControl& control = controls[i];
    if (control.kind != DialogControlKind::OptionButton) continue;
    const bool ticked = static_cast<QAbstractButton*>(views_[i].widget)->isChecked();
    if (ticked != control.checked || views_[i].checked != control.checked) {
      ShowChecked(i, control.checked);
    }
  }
  if (changed) {
    model_.Changed();
    // The widgets already show these values: no need to read them back.
    if (wasCurrent) revision_ = model_.Revision();
  }
}

void DialogWindow::FocusTextBox() {
  const std::deque<DialogControl>& controls = model_.Controls();
  for (size_t i = 0; i < views_.size(); ++i) {
    if (IsTextBox(controls[i]) && controls[i].enabled) {
      views_[i].widget->setFocus(Qt::OtherFocusReason);
      return;
    }
  }
}

void DialogWindow::Post(InputEvent::Kind kind, const std::string& control) {
  InputEvent input;
  input.kind = kind;
  input.dialog = &model_;
  input.name = control;
  post_(std::move(input));
}

void DialogWindow::PostKey(int16_t keyCode) {
  InputEvent input;
  input.kind = InputEvent::Kind::DialogKey;
  input.dialog = &model_;
  input.keyCode = keyCode;
  post_(std::move(input));
}

void DialogWindow::keyPressEvent(QKeyEvent* event) {
  // A multi-line text box keeps Enter for its line breaks; a single-line one
  // passes it on to here.
  const int key = event->key();
  const bool plain = (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier;
  if (plain && (key == Qt::Key_Return || key == Qt::Key_Enter)) {
    event->accept();
    PostKey(kKeyReturn);
  } else if (plain && key == Qt::Key_Escape) {
    event->accept();
    PostKey(kKeyEscape);
  } else {
    QDialog::keyPressEvent(event);
  }
}

void DialogWindow::closeEvent(QCloseEvent* event) {
  // The program decides whether the dialog closes.
  event->ignore();
  Post(InputEvent::Kind::DialogClose);
}

void DialogWindow::changeEvent(QEvent* event) {
  QDialog::changeEvent(event);
  if (event->type() == QEvent::ActivationChange && isVisible() && !isActiveWindow()) {
    Post(InputEvent::Kind::DialogLostFocus);
  }
}

bool DialogWindow::eventFilter(QObject* watched, QEvent* event) {
  // Only links carry this filter.
  if (event->type() == QEvent::MouseButtonRelease) {
    auto* link = static_cast<QWidget*>(watched);
    const auto* mouse = static_cast<QMouseEvent*>(event);
    if (link->isEnabled() && mouse->button() == Qt::LeftButton &&
        link->rect().contains(mouse->position().toPoint())) {
      Post(InputEvent::Kind::Press, link->objectName().toStdString());
      return true;
    }
  }
  return QDialog::eventFilter(watched, event);
}

}  // namespace dovetail
