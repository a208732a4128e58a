#pragma once

#include <string>

#include "comforts/ComfortEvents.h"
#include "graphics/TextRenderer.h"
#include "screen/MainForm.h"
#include "storage/FolderPlayerFiles.h"

namespace dovetail {

// Screenshots (F12, menu 画面保存) of the window as shown, into the
// screenshot folder, with a note naming the file for two seconds.
class ScreenshotComfort {
 public:
  ScreenshotComfort(MainForm& form, Host& host, TextRenderer& text, ComfortEvents& events);
  ScreenshotComfort(const ScreenshotComfort&) = delete;
  ScreenshotComfort& operator=(const ScreenshotComfort&) = delete;

  // The menu item and the note's timer.
  void Wire();

  // Where screenshots go (the desktop's pictures folder, a runner's snapshot
  // folder); none: a screenshot reports that it has nowhere to go.
  void SetFolder(FolderPlayerFiles folder) { folder_ = std::move(folder); }
  void Take();

 private:
  void ShowNote(const std::string& text);

  MainForm& form_;
  Host& host_;
  TextRenderer& text_;
  ComfortEvents& events_;
  FolderPlayerFiles folder_ = FolderPlayerFiles::Folder({});
  MenuItem& item_;
  Timer& noteTimer_;
  PictureBox& note_;
};

}  // namespace dovetail
