#pragma once

#include <functional>
#include <string>

namespace dovetail {

class Window;

// An item of the window's menu bar. The desktop host mirrors the items into a
// real menu bar; a click reaches `onClick` while events are let run. A
// caption may end in a tab and the key that does the same ("履歴\tPage Up").
class MenuItem {
 public:
  MenuItem(Window& owner, std::string name, std::string caption);

  const std::string& Name() const { return name_; }
  const std::string& Caption() const { return caption_; }
  void SetCaption(std::string caption);
  bool Enabled() const { return enabled_; }
  void SetEnabled(bool enabled);

  // The drop-down menu the item sits in, by its caption; empty: the item is
  // on the bar itself. The original's items are all on the bar.
  const std::string& Menu() const { return menu_; }
  void SetMenu(std::string menu);
  // An item that shows a check mark while `Checked()`.
  bool Checkable() const { return checkable_; }
  bool Checked() const { return checked_; }
  void SetChecked(bool checked);

  std::function<void()> onClick;

 private:
  Window& owner_;
  std::string name_;
  std::string caption_;
  bool enabled_ = true;
  std::string menu_;
  bool checkable_ = false;
  bool checked_ = false;
};

}  // namespace dovetail
