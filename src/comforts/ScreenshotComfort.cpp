#include "comforts/ScreenshotComfort.h"

#include <filesystem>

#include "comforts/ComfortMenu.h"
#include "comforts/Screenshot.h"
#include "host/ScreenSize.h"

namespace dovetail {

namespace {

constexpr uint32_t kNoteMs = 2000;
constexpr const char* kNoteFont = "ＭＳ Ｐゴシック";
constexpr Pixel kNoteBack = 0x202028;

}  // namespace

ScreenshotComfort::ScreenshotComfort(MainForm& form, Host& host, TextRenderer& text,
                                     ComfortEvents& events)
    : form_(form),
      host_(host),
      text_(text),
      events_(events),
      item_(form.window.AddMenuItem("screenshot", "画面保存\tF12")),
      noteTimer_(form.window.AddTimer("ScreenshotNote", kNoteMs)),
      note_(form.window.AddPictureBox("ScreenshotNote")) {
  item_.SetMenu(kComfortMenu);
  note_.letsMouseThrough = true;
}

void ScreenshotComfort::Wire() {
  item_.onClick = [this] { Take(); };
  noteTimer_.onTimer = [this] {
    noteTimer_.SetEnabled(false);
    note_.SetVisible(false);
  };
}

void ScreenshotComfort::Take() {
  // The note of an earlier screenshot is no part of the picture.
  note_.SetVisible(false);
  Surface frame;
  form_.window.Compose(frame);
  ScreenshotEvent event;
  if (!folder_.Keeps()) {
    event.error = "no folder for screenshots";
  } else if (auto saved = SaveScreenshot(frame, folder_, host_.LocalNow()); saved.ok()) {
    event.file = saved->string();
  } else {
    event.error = saved.error().message;
  }
  events_.Report(event);
  if (!event.error.empty()) host_.Diagnostic("screenshot: " + event.error);
  ShowNote(event.error.empty()
               ? "画面を保存しました：" + std::filesystem::path(event.file).filename().string()
               : std::string("画面を保存できませんでした"));
}

void ScreenshotComfort::ShowNote(const std::string& text) {
  const FontSpec font{kNoteFont, 9, false, false};
  const int32_t width = text_.TextWidth(text, font) + 16;
  const int32_t height = text_.LineHeight(font) + 8;
  note_.Move(kScreenWidth - 8 - width, 26, width, height);
  note_.SetBackColor(kNoteBack);
  text_.DrawText(note_.Image(), 8, 4, text, font, kWhite);
  form_.window.BringToFront(note_);
  note_.SetVisible(true);
  noteTimer_.SetEnabled(true);
}

}  // namespace dovetail
