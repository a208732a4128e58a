#pragma once

#include <functional>
#include <string>

namespace dovetail {

class Window;

// An item of the window's menu bar. The desktop host mirrors the items into a
// real menu bar; a click reaches `onClick` while events are let run.
class MenuItem {
 public:
  MenuItem(Window& owner, std::string name, std::string caption);

  const std::string& Name() const { return name_; }
  const std::string& Caption() const { return caption_; }
  void SetCaption(std::string caption);
  bool Enabled() const { return enabled_; }
  void SetEnabled(bool enabled);

  std::function<void()> onClick;

 private:
  Window& owner_;
  std::string name_;
  std::string caption_;
  bool enabled_ = true;
};

}  // namespace dovetail
