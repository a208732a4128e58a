#include "window/Dialog.h"

#include <utility>

#include "base/Utf8.h"

namespace dovetail {

DialogControl& Dialog::Add(DialogControlKind kind, std::string name, std::string text, int32_t left,
                           int32_t top, int32_t controlWidth, int32_t controlHeight) {
  DialogControl control;
  control.kind = kind;
  control.name = std::move(name);
  control.text = std::move(text);
  control.left = left;
  control.top = top;
  control.width = controlWidth;
  control.height = controlHeight;
  controls_.push_back(std::move(control));
  Changed();
  return controls_.back();
}

DialogControl* Dialog::Find(const std::string& name) {
  for (DialogControl& control : controls_) {
    if (control.name == name) return &control;
  }
  return nullptr;
}

void Dialog::SetChecked(const std::string& name, bool checked) {
  DialogControl* target = Find(name);
  if (target == nullptr) return;
  if (target->kind == DialogControlKind::OptionButton && checked) {
    for (DialogControl& control : controls_) {
      if (control.kind == DialogControlKind::OptionButton && control.frame == target->frame) {
        control.checked = false;
      }
    }
  }
  target->checked = checked;
  Changed();
}

void Dialog::Press(const std::string& name) {
  const DialogControl* control = Find(name);
  if (control == nullptr || !control->enabled) return;
  if (onClick) onClick(name);
}

void Dialog::Deliver(const InputEvent& input) {
  switch (input.kind) {
    case InputEvent::Kind::Press:
      Press(input.name);
      break;
    case InputEvent::Kind::DialogKey:
      if (input.keyCode == kKeyReturn && !defaultButton.empty()) {
        Press(defaultButton);
      } else if (input.keyCode == kKeyEscape && escapeCloses && onCloseRequest) {
        onCloseRequest();
      }
      break;
    case InputEvent::Kind::DialogClose:
      if (onCloseRequest) onCloseRequest();
      break;
    case InputEvent::Kind::DialogLostFocus:
      if (onLostFocus) onLostFocus();
      break;
    default:
      break;
  }
}

void Dialog::TakePlayerInput(const InputEvent& input) {
  if (input.kind == InputEvent::Kind::Type) {
    for (DialogControl& control : controls_) {
      if (control.kind == DialogControlKind::TextBox) {
        control.text = control.maxLength > 0
                           ? Left(input.text, static_cast<size_t>(control.maxLength))
                           : input.text;
        Changed();
        break;
      }
    }
    return;
  }
  if (input.kind == InputEvent::Kind::Press) {
    DialogControl* control = Find(input.name);
    if (control == nullptr || !control->enabled) return;
    if (control->kind == DialogControlKind::CheckBox) {
      SetChecked(control->name, !control->checked);
    } else if (control->kind == DialogControlKind::OptionButton) {
      SetChecked(control->name, true);
    }
  }
  Deliver(input);
}

}  // namespace dovetail
