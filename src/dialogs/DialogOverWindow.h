#pragma once

#include <string>

#include "platform/Dialog.h"
#include "screen/SceneContext.h"

namespace dovetail {

// The program's small modeless dialogs stand over the main window, which
// takes no input while one is open. `name` is the dialog's name in the run's
// events ("Option_Window").

// Disables the main window, reports the dialog opened and shows it.
void OpenOverWindow(const SceneContext& scene, Dialog& dialog, const std::string& name);

// Takes the dialog off the screen, enables the main window again and reports
// the dialog closed.
void CloseOverWindow(const SceneContext& scene, Dialog& dialog, const std::string& name);

}  // namespace dovetail
