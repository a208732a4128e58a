#pragma once

#include <QDialog>
#include <QFont>
#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "host/InputEvent.h"
#include "window/Dialog.h"

class QButtonGroup;

namespace dovetail {

// The font of the program's dialogs and message boxes: a Japanese
// proportional gothic of 12 pixels, enlarged by `scale` with the window.
QFont DialogFont(const QFont& systemFont, int scale);

// A program dialog on the desktop: one Qt widget per control of the model.
//
// Layout: every control sits at its pixel place relative to the dialog's
// client area, frames included; a frame is a group box drawn behind the
// controls it holds (they are its siblings, not its children). Option buttons
// of one frame form one exclusive group. Labels are plain text, top-left,
// wrapped at their width; links are underlined blue labels with a pointing
// hand. Texts are in a Japanese gothic of 12 pixels, the size the pixel
// layouts are made for. Everything is enlarged by `scale` (the main window's
// zoom), so the dialog keeps its size against the game's picture. The set of
// controls, `topmost` and `imeOpen` are read when the dialog is built; texts,
// enabled and checked states follow the model at every revision.
//
// Clicks, the close box, losing the focus and the Enter and Escape keys are
// only recorded (handed to `post`); the host runs the model's handlers while
// the program lets events run, after writing the player's edits back into the
// model. The model decides what the keys do (its default button, its close
// rule): only the program closes the dialog.
//
// The window remembers what it last exchanged with the model, so it tells the
// player's edits (the widget changed) from the program's changes (the model
// changed): neither overwrites the other.
class DialogWindow : public QDialog {
  Q_OBJECT

 public:
  DialogWindow(Dialog& model, QWidget* parent, int scale, std::function<void(InputEvent)> post);

  Dialog& Model() { return model_; }
  // The widget of a control, or null.
  QWidget* ControlWidget(const std::string& name) const;

  // Copies what the player typed and ticked since the last exchange into the
  // model; a ticked option button clears the others of its frame. Edits of
  // controls the program has disabled meanwhile are undone.
  void WriteBackEdits();
  // Whether the program changed the model since the widgets last showed it.
  bool Stale() const { return revision_ != model_.Revision(); }
  // Shows the program's changes: caption, texts, enabled and checked states.
  void SyncFromModel();
  // Gives the first enabled text box the focus (with the input method on it).
  void FocusTextBox();

 protected:
  void closeEvent(QCloseEvent* event) override;
  void changeEvent(QEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

 public slots:
  // Escape reaches the model as a key; the dialog never closes by itself.
  void reject() override {}

 private:
  // What a control's widget showed when it last agreed with the model.
  struct View {
    QWidget* widget = nullptr;
    std::string text;
    bool enabled = true;
    bool checked = false;
  };

  void Build();
  void Show(size_t index, bool all);
  void ShowChecked(size_t index, bool checked);
  void Post(InputEvent::Kind kind, const std::string& control = {});
  void PostKey(int16_t keyCode);

  Dialog& model_;
  std::function<void(InputEvent)> post_;
  int scale_ = 1;
  std::vector<View> views_;  // one per control of the model, in order
  std::map<std::string, QButtonGroup*> groups_;
  uint64_t revision_ = 0;
};

}  // namespace dovetail
