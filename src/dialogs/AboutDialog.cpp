#include "dialogs/AboutDialog.h"

#include <utility>

#include "dialogs/DialogEvents.h"
#include "dialogs/DialogOverWindow.h"
#include "story/NewStory.h"

namespace dovetail {

namespace {

constexpr const char* kDialogName = "frmAbout";

}  // namespace

std::string AboutMessage(const std::array<std::string, 10>& names, const SysReport& report) {
  std::string message;
  if (names[1] != kDefaultNames[1] && names[2] != kDefaultNames[2]) {
    message += names[1] + "　" + names[2] + "さん、ダウンロードありがとうございます.\r\n";
    message += "－－－－－－－－－－－－－－－－－－－\r\n";
  }
  if (report.OldWindows) message += "Windows95,NTでは正常な画面表示ができないかも.\r\n";
  if (report.ScreenBits < 24) {
    message += "画面の最大表示色数が足りません.\r\n24bit色以上の設定にして下さい.\r\n";
  }
  if (report.MemoryLoad > 90) {
    message += "ﾒﾓﾘの利用率が90%を越えています.\r\n他のｱﾌﾟﾘｹｰｼｮﾝを終了させて下さい.\r\n";
  }
  return message;
}

AboutDialog::AboutDialog(const SceneContext& scene, DialogEvents& events)
    : scene_(scene), events_(events) {}

void AboutDialog::Form_Load() {
  if (open_) return;
  dialog_ = Dialog{};
  dialog_.caption = "ﾊﾞｰｼﾞｮﾝ情報";
  dialog_.width = 420;
  dialog_.height = 330;
  dialog_.Add(DialogControlKind::Label, "Label5", "Dovetail の日常", 16, 12, 280, 20);
  dialog_.Add(DialogControlKind::Label, "Label6", "Ver. 1.00", 320, 12, 84, 20);
  dialog_.Add(DialogControlKind::Label, "Label1",
              "MMXPentium200MHz以上のCPUと800×600dot×24bit色\r\n"
              "以上(TrueColor)のｸﾞﾗﾌｨｯｸ表示が可能な環境が必要です。",
              16, 40, 388, 32);
  dialog_.Add(DialogControlKind::Label, "Label2",
              "このゲームはフリーソフトです。どなたでも自由に遊べます。\r\n"
              "再配布するときは、ファイルに手を加えずにそのままお使いください。\r\n"
              "ご意見ご要望等ありましたら、ﾒｰﾙでお知らせください。",
              16, 82, 388, 48);
  dialog_.Add(DialogControlKind::Link, "Label3", kContactLink, 16, 138, 260, 16);
  dialog_.Add(DialogControlKind::Link, "Label4", kHomePageLink, 16, 160, 260, 16);

  const SysReport report = BuildSysReport(scene_.host, scene_.paths);
  if (const Status written = WriteSysLog(scene_.files, report); !written.ok()) {
    scene_.host.MessageBox({"システム情報を保存できませんでした.\r\n" + written.error().message, "",
                            MessageBoxButtons::Ok});
  }
  const std::string message = AboutMessage(scene_.story.Names, report);
  DialogControl& text1 =
      dialog_.Add(DialogControlKind::TextBox, "Text1", message, 16, 186, 388, 92);
  text1.multiLine = true;
  text1.enabled = !message.empty();
  dialog_.Add(DialogControlKind::Button, "cmdOK", "ＯＫ", 316, 290, 88, 28);

  dialog_.onClick = [this](const std::string& control) {
    if (control == "cmdOK") {
      Form_Unload();
    } else if (control == "Label3" || control == "Label4") {
      OpenLink(control);
    }
  };
  dialog_.onCloseRequest = [this] { Form_Unload(); };
  dialog_.onLostFocus = [this] { Form_Unload(); };
  // Enter and Escape close the box as its OK button does.
  dialog_.defaultButton = "cmdOK";
  dialog_.escapeCloses = true;
  open_ = true;
  OpenOverWindow(scene_.form.window, scene_.host, events_, dialog_, kDialogName);
}

void AboutDialog::OpenLink(const std::string& control) {
  const std::string link = dialog_.Find(control)->text;
  if (!scene_.host.OpenLink(link)) {
    scene_.host.MessageBox({"リンクを開けませんでした.\r\n" + link, "", MessageBoxButtons::Ok});
  }
}

void AboutDialog::Form_Unload() {
  if (!open_) return;
  open_ = false;
  CloseOverWindow(scene_.form.window, scene_.host, events_, dialog_, kDialogName);
}

}  // namespace dovetail
