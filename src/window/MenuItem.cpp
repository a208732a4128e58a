#include "window/MenuItem.h"

#include <utility>

#include "window/Window.h"

namespace dovetail {

MenuItem::MenuItem(Window& owner, std::string name, std::string caption)
    : owner_(owner), name_(std::move(name)), caption_(std::move(caption)) {}

void MenuItem::SetCaption(std::string caption) {
  caption_ = std::move(caption);
  owner_.MenuChanged();
}

void MenuItem::SetEnabled(bool enabled) {
  enabled_ = enabled;
  owner_.MenuChanged();
}

void MenuItem::SetMenu(std::string menu) {
  menu_ = std::move(menu);
  owner_.MenuChanged();
}

void MenuItem::SetChecked(bool checked) {
  checkable_ = true;
  checked_ = checked;
  owner_.MenuChanged();
}

}  // namespace dovetail
