#include "dialogs/DialogOverWindow.h"

namespace dovetail {

void OpenOverWindow(Window& window, Host& host, DialogEvents& events, Dialog& dialog,
                    const std::string& name) {
  window.SetEnabled(false);
  events.Report(DialogEvent{name, DialogAction::Open});
  host.ShowDialog(dialog);
}

void CloseOverWindow(Window& window, Host& host, DialogEvents& events, Dialog& dialog,
                     const std::string& name) {
  window.SetEnabled(true);
  host.CloseDialog(dialog);
  events.Report(DialogEvent{name, DialogAction::Close});
}

}  // namespace dovetail
