#include "dialogs/DialogOverWindow.h"

namespace dovetail {

void OpenOverWindow(const SceneContext& scene, Dialog& dialog, const std::string& name) {
  scene.form.window.SetEnabled(false);
  scene.events.Report(DialogEvent{name, DialogAction::Open});
  scene.host.ShowDialog(dialog);
}

void CloseOverWindow(const SceneContext& scene, Dialog& dialog, const std::string& name) {
  scene.form.window.SetEnabled(true);
  scene.host.CloseDialog(dialog);
  scene.events.Report(DialogEvent{name, DialogAction::Close});
}

}  // namespace dovetail
