#pragma once

#include <string>
#include <string_view>

namespace dovetail {

// A dialog of the program opened or closed, named as the program names it
// ("Option_Window", "frmAbout", "NameEnt").
enum class DialogAction { Open, Close };

struct DialogEvent {
  std::string name;
  DialogAction action = DialogAction::Open;
};

// The word the log uses for a dialog action.
constexpr std::string_view DialogActionName(DialogAction action) {
  return action == DialogAction::Open ? "open" : "close";
}

// Where the dialogs report (the run's events, GameEvents).
class DialogEvents {
 public:
  virtual void Report(const DialogEvent& event) = 0;

 protected:
  ~DialogEvents() = default;
};

}  // namespace dovetail
