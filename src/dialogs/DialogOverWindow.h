#pragma once

#include <string>

#include "dialogs/DialogEvents.h"
#include "host/Host.h"
#include "window/Dialog.h"
#include "window/Window.h"

namespace dovetail {

// The program's small modeless dialogs stand over the main window, which
// takes no input while one is open. `name` is the dialog's name in the run's
// events ("Option_Window").

// Disables the main window, reports the dialog opened and shows it.
void OpenOverWindow(Window& window, Host& host, DialogEvents& events, Dialog& dialog,
                    const std::string& name);

// Takes the dialog off the screen, enables the main window again and reports
// the dialog closed.
void CloseOverWindow(Window& window, Host& host, DialogEvents& events, Dialog& dialog,
                     const std::string& name);

}  // namespace dovetail
