#include "platform/qt/DialogWindow.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QCloseEvent>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>

namespace dovetail {

namespace {

QString PlainText(const std::string& text) {
  QString result = QString::fromStdString(text);
  result.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  return result;
}

}  // namespace

DialogWindow::DialogWindow(Dialog& model, QWidget* parent, std::function<void(HostInput)> post)
    : QDialog(parent), model_(model), post_(std::move(post)) {
  Qt::WindowFlags flags =
      Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint | Qt::CustomizeWindowHint;
  if (model_.topmost) flags |= Qt::WindowStaysOnTopHint;
  setWindowFlags(flags);
  setModal(false);
  setWindowTitle(QString::fromStdString(model_.caption));
  setFixedSize(model_.width, model_.height);
  Build();
  SyncFromModel();
  // With the input method open the player can type a name at once.
  if (model_.imeOpen) {
    for (const DialogControl& control : model_.Controls()) {
      if (control.kind == DialogControlKind::TextBox && control.enabled) {
        widgets_[control.name]->setFocus();
        break;
      }
    }
  }
}

void DialogWindow::Build() {
  std::map<std::string, QButtonGroup*> groups;
  // Frames first, so that the controls they hold are drawn over them.
  for (int pass = 0; pass < 2; ++pass) {
    for (const DialogControl& control : model_.Controls()) {
      const bool frame = control.kind == DialogControlKind::Frame;
      if (frame != (pass == 0)) continue;
      QWidget* widget = nullptr;
      const std::string name = control.name;
      switch (control.kind) {
        case DialogControlKind::Frame:
          widget = new QGroupBox(this);
          break;
        case DialogControlKind::Label:
          widget = new QLabel(this);
          break;
        case DialogControlKind::Link: {
          auto* link = new QLabel(this);
          link->setTextFormat(Qt::RichText);
          link->setCursor(Qt::PointingHandCursor);
          connect(link, &QLabel::linkActivated, this, [this, name] { PostClick(name); });
          widget = link;
          break;
        }
        case DialogControlKind::TextBox:
          if (control.multiLine) {
            widget = new QPlainTextEdit(this);
          } else {
            widget = new QLineEdit(this);
          }
          break;
        case DialogControlKind::Button: {
          auto* button = new QPushButton(this);
          connect(button, &QPushButton::clicked, this, [this, name] { PostClick(name); });
          widget = button;
          break;
        }
        case DialogControlKind::CheckBox: {
          auto* box = new QCheckBox(this);
          connect(box, &QCheckBox::clicked, this, [this, name] { PostClick(name); });
          widget = box;
          break;
        }
        case DialogControlKind::OptionButton: {
          auto* option = new QRadioButton(this);
          QButtonGroup*& group = groups[control.frame];
          if (group == nullptr) group = new QButtonGroup(this);
          group->addButton(option);
          connect(option, &QRadioButton::clicked, this, [this, name] { PostClick(name); });
          widget = option;
          break;
        }
      }
      widget->setGeometry(control.left, control.top, control.width, control.height);
      widgets_[name] = widget;
    }
  }
}

void DialogWindow::SyncFromModel() {
  revision_ = model_.Revision();
  for (const DialogControl& control : model_.Controls()) {
    QWidget* widget = widgets_[control.name];
    if (widget == nullptr) continue;
    widget->setEnabled(control.enabled);
    const QString text = PlainText(control.text);
    if (auto* frame = qobject_cast<QGroupBox*>(widget)) {
      frame->setTitle(text);
    } else if (auto* label = qobject_cast<QLabel*>(widget)) {
      if (control.kind == DialogControlKind::Link) {
        label->setText(QStringLiteral("<a href=\"#\">%1</a>").arg(text.toHtmlEscaped()));
      } else {
        label->setText(text);
      }
    } else if (auto* line = qobject_cast<QLineEdit*>(widget)) {
      if (line->text() != text) line->setText(text);
    } else if (auto* edit = qobject_cast<QPlainTextEdit*>(widget)) {
      if (edit->toPlainText() != text) edit->setPlainText(text);
    } else if (auto* button = qobject_cast<QAbstractButton*>(widget)) {
      button->setText(text);
      button->setChecked(control.checked);
    }
  }
}

void DialogWindow::WriteBackEdits() {
  for (const DialogControl& control : model_.Controls()) {
    QWidget* widget = widgets_[control.name];
    DialogControl* target = model_.Find(control.name);
    if (widget == nullptr || target == nullptr) continue;
    if (auto* line = qobject_cast<QLineEdit*>(widget)) {
      target->text = line->text().toStdString();
    } else if (auto* edit = qobject_cast<QPlainTextEdit*>(widget)) {
      target->text = edit->toPlainText().toStdString();
    } else if (control.kind == DialogControlKind::CheckBox ||
               control.kind == DialogControlKind::OptionButton) {
      target->checked = static_cast<QAbstractButton*>(widget)->isChecked();
    }
  }
  // The widgets already show these values: no need to read them back.
  model_.Changed();
  revision_ = model_.Revision();
}

void DialogWindow::PostClick(const std::string& name) {
  HostInput input;
  input.kind = HostInput::Kind::DialogClick;
  input.dialog = &model_;
  input.menu = name;
  post_(std::move(input));
}

void DialogWindow::closeEvent(QCloseEvent* event) {
  // The program decides whether the dialog closes.
  event->ignore();
  HostInput input;
  input.kind = HostInput::Kind::DialogClose;
  input.dialog = &model_;
  post_(std::move(input));
}

void DialogWindow::changeEvent(QEvent* event) {
  QDialog::changeEvent(event);
  if (event->type() == QEvent::ActivationChange && isVisible() && !isActiveWindow()) {
    HostInput input;
    input.kind = HostInput::Kind::DialogLostFocus;
    input.dialog = &model_;
    post_(std::move(input));
  }
}

}  // namespace dovetail
