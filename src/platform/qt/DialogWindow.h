#pragma once

#include <QDialog>
#include <functional>
#include <map>
#include <string>

#include "platform/Dialog.h"
#include "platform/qt/HostInput.h"

namespace dovetail {

// A program dialog on the desktop: one Qt widget per control of the model, at
// the control's pixel place (all places are relative to the dialog, frames
// are drawn behind the controls they hold). Clicks, the close box and losing
// the focus are only recorded (handed to `post`); the host runs the model's
// handlers while the program lets events run, after writing the player's
// edits back into the model.
class DialogWindow : public QDialog {
  Q_OBJECT

 public:
  DialogWindow(Dialog& model, QWidget* parent, std::function<void(HostInput)> post);

  Dialog& Model() { return model_; }
  // Copies the player's typing and ticks into the model.
  void WriteBackEdits();
  // Whether the program changed the model since the widgets last showed it.
  bool Stale() const { return revision_ != model_.Revision(); }
  // Re-reads the model into the widgets.
  void SyncFromModel();

 protected:
  void closeEvent(QCloseEvent* event) override;
  void changeEvent(QEvent* event) override;

 private:
  void Build();
  void PostClick(const std::string& name);

  Dialog& model_;
  std::function<void(HostInput)> post_;
  std::map<std::string, QWidget*> widgets_;
  uint64_t revision_ = 0;
};

}  // namespace dovetail
