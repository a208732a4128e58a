#include "shell/NameEntry.h"

#include "dialogs/DialogEvents.h"
#include "dialogs/DialogOverWindow.h"
#include "shell/HeroName.h"
#include "story/Interpreter.h"

namespace dovetail {

NameEntry::NameEntry(const SceneContext& scene, DialogEvents& events)
    : scene_(scene), events_(events) {}

void NameEntry::Open() {
  nameEnt_ = Dialog{};
  nameEnt_.caption = "なまえの変更";
  nameEnt_.width = 360;
  nameEnt_.height = 96;
  nameEnt_.topmost = true;
  nameEnt_.imeOpen = true;
  nameEnt_.Add(DialogControlKind::Label, "Label1",
               "主人公の名前を変更できます。\r\n"
               "好きな名前を入力して「OK」ボタンをクリックしてください。",
               12, 10, 336, 40);
  nameEnt_
      .Add(DialogControlKind::TextBox, "Text1", NameEntryText(scene_.story.Names), 12, 58, 220, 24)
      .maxLength = kHeroNameMaxChars;
  nameEnt_.Add(DialogControlKind::Button, "Command1", "ＯＫ", 248, 56, 96, 28);
  // Enter is OK; Escape is the close box (the names stay as they were).
  nameEnt_.defaultButton = "Command1";
  nameEnt_.escapeCloses = true;
  nameEnt_.onClick = [this](const std::string& control) {
    if (control == "Command1") TakeTypedName();
  };
  // Closing the dialog by its close box keeps the names, and must not leave
  // the story waiting: it counts as OK with the text unchanged.
  nameEnt_.onCloseRequest = [this] { Close(false); };
  open_ = true;
  OpenOverWindow(scene_.form.window, scene_.host, events_, nameEnt_, "NameEnt");
}

void NameEntry::TakeTypedName() {
  // A name the rule does not take is told, and the dialog stays open for
  // another try, rather than closing as if the name had been taken.
  const std::string problem = HeroNameProblem(nameEnt_.Find("Text1")->text);
  if (!problem.empty()) {
    scene_.host.MessageBox({problem, kAppTitle, MessageBoxButtons::Ok});
    return;
  }
  Close(true);
}

void NameEntry::Close(bool accept) {
  if (!open_) return;
  if (accept) AcceptHeroName(nameEnt_.Find("Text1")->text, scene_.story.Names);
  scene_.story.message.WaitFlag = false;
  open_ = false;
  CloseOverWindow(scene_.form.window, scene_.host, events_, nameEnt_, "NameEnt");
}

}  // namespace dovetail
