#include "dialogs/OptionsDialog.h"

#include <utility>

#include "dialogs/DialogEvents.h"
#include "dialogs/DialogOverWindow.h"

namespace dovetail {

namespace {

constexpr const char* kDialogName = "Option_Window";

// The message speeds and the option button of each.
struct SpeedButton {
  const char* control;
  int16_t mode;
};
constexpr SpeedButton kSpeedButtons[] = {{"Option3", 0}, {"Option4", 1}, {"Option5", 3}};

// The option button that shows a message mode; 2 (a mode only the story's
// own commands set) shows as line at a time.
const char* SpeedButtonFor(int16_t mode) {
  if (mode == 0) return "Option3";
  if (mode == 3) return "Option5";
  return "Option4";
}

}  // namespace

OptionsDialog::OptionsDialog(
    const SceneContext& scene, DialogEvents& events, SoundFlags& flags, Sound& sound,
    std::function<Status(const SoundFlags& flags, bool useDirectMusic)> saveSoundFlags,
    std::function<void()> form_Unload)
    : scene_(scene),
      events_(events),
      flags_(flags),
      sound_(sound),
      saveSoundFlags_(std::move(saveSoundFlags)),
      endProgram_(std::move(form_Unload)) {}

void OptionsDialog::Form_Load() {
  if (open_) return;
  dialog_ = Dialog{};
  dialog_.caption = "オプション設定";
  dialog_.width = 412;
  dialog_.height = 204;
  dialog_.topmost = true;
  // Slow to fast from left to right, between "Low" and "High".
  dialog_.Add(DialogControlKind::Frame, "Frame2", "メッセージ速度", 8, 6, 396, 56);
  dialog_.Add(DialogControlKind::Label, "Label1", "Low", 18, 32, 30, 16);
  // Option buttons of one frame are one group.
  auto option = [this](const char* name, const char* caption, int32_t left, int32_t top,
                       int32_t width, const char* frame) {
    dialog_.Add(DialogControlKind::OptionButton, name, caption, left, top, width, 22).frame = frame;
  };
  option("Option5", "1文字ずつ表示", 52, 28, 108, "Frame2");
  option("Option4", "1行ずつ表示", 166, 28, 94, "Frame2");
  option("Option3", "選択までｽｷｯﾌﾟ", 266, 28, 104, "Frame2");
  dialog_.Add(DialogControlKind::Label, "Label2", "High", 374, 32, 28, 16);
  dialog_.Add(DialogControlKind::CheckBox, "Check1", "ＢＧＭ", 18, 70, 80, 22);
  dialog_.Add(DialogControlKind::CheckBox, "Check2", "効果音", 106, 70, 80, 22);
  dialog_.Add(DialogControlKind::Frame, "Frame1", "音の設定", 8, 98, 396, 56);
  option("Option1", "MCI", 18, 122, 70, "Frame1");
  option("Option2", "DirectMusic", 92, 122, 110, "Frame1");
  dialog_.Add(DialogControlKind::CheckBox, "Check3", "ﾌｪｰﾄﾞｱｳﾄ", 266, 122, 100, 22).frame =
      "Frame1";
  dialog_.Add(DialogControlKind::Button, "Command1", "OK", 228, 166, 84, 28);
  dialog_.Add(DialogControlKind::Button, "Command2", "Cancel", 320, 166, 84, 28);

  const MessageState& message = scene_.story.message;
  if (message.MessageMode <= 3) dialog_.SetChecked(SpeedButtonFor(message.MessageMode), true);
  dialog_.SetChecked(flags_.UseDirectMusic ? "Option2" : "Option1", true);
  dialog_.SetChecked("Check1", flags_.BgmEnabled);
  dialog_.SetChecked("Check2", flags_.SeEnabled);
  dialog_.SetChecked("Check3", flags_.FadeOnStop);

  dialog_.onClick = [this](const std::string& control) {
    if (control == "Command1") {
      Command1_Click();
    } else if (control == "Command2") {
      Form_Unload();
    }
  };
  dialog_.onCloseRequest = [this] { Form_Unload(); };
  // Enter is OK, Escape is Cancel (which is what the close box does).
  dialog_.defaultButton = "Command1";
  dialog_.escapeCloses = true;
  open_ = true;
  OpenOverWindow(scene_.form.window, scene_.host, events_, dialog_, kDialogName);
}

bool OptionsDialog::Ticked(const char* control) {
  const DialogControl* found = dialog_.Find(control);
  return found != nullptr && found->checked;
}

bool OptionsDialog::DeviceChanged() {
  return (!flags_.UseDirectMusic && Ticked("Option2")) ||
         (flags_.UseDirectMusic && Ticked("Option1"));
}

void OptionsDialog::ApplyMessageSpeed() {
  MessageState& message = scene_.story.message;
  for (const SpeedButton& button : kSpeedButtons) {
    if (Ticked(button.control)) message.MessageMode = button.mode;
  }
  // The skip switch of the menu bar says whether skipping is on.
  scene_.form.speedup.SetCaption(message.MessageMode == 0 ? kSkipOnCaption : kSkipOffCaption);
}

SoundFlags OptionsDialog::ChosenSound() {
  SoundFlags chosen = flags_;
  chosen.BgmEnabled = Ticked("Check1");
  chosen.SeEnabled = Ticked("Check2");
  chosen.FadeOnStop = Ticked("Check3");
  return chosen;
}

void OptionsDialog::ApplySoundChoices(const SoundFlags& chosen) {
  flags_.BgmEnabled = chosen.BgmEnabled;
  // Music switched off stops at once (faded as the fade choice stood so far);
  // switched on, it starts with the next piece the story or the game plays.
  if (!flags_.BgmEnabled) sound_.StopBgm();
  flags_.SeEnabled = chosen.SeEnabled;
  flags_.FadeOnStop = chosen.FadeOnStop;
}

void OptionsDialog::Command1_Click() {
  ApplyMessageSpeed();
  const bool deviceChanged = DeviceChanged();
  if (deviceChanged) {
    const MessageBoxAnswer answer =
        scene_.host.MessageBox({"DirectMusicの設定を変更したときはゲームの再起動が必要です.\r\n"
                                "ここでゲームを終了してもよろしいですか？",
                                "終了確認", MessageBoxButtons::OkCancel});
    if (answer == MessageBoxAnswer::Cancel) return;
  }

  // The file first: when it cannot be rewritten, memory keeps agreeing with it.
  const SoundFlags chosen = ChosenSound();
  const Status saved = saveSoundFlags_(chosen, Ticked("Option2"));
  if (!saved.ok()) {
    scene_.host.MessageBox(
        {"設定を保存できませんでした.\r\n" + saved.error().message, "", MessageBoxButtons::Ok});
    return;
  }
  ApplySoundChoices(chosen);

  if (deviceChanged) {
    scene_.host.MessageBox(
        {"DirectMusicの設定は次の起動から有効になります.", "", MessageBoxButtons::Ok});
    Form_Unload();
    endProgram_();
    return;
  }
  Form_Unload();
}

void OptionsDialog::Form_Unload() {
  if (!open_) return;
  open_ = false;
  CloseOverWindow(scene_.form.window, scene_.host, events_, dialog_, kDialogName);
}

}  // namespace dovetail
