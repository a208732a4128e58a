#pragma once

#include <array>
#include <string>

#include "dialogs/Sysinfo.h"
#include "screen/SceneContext.h"
#include "window/Dialog.h"

namespace dovetail {

class DialogEvents;

// The contact address and home page the about box links to.
inline constexpr const char* kContactLink = "mailto:dovetail@example.org";
inline constexpr const char* kHomePageLink = "https://example.org/dovetail/";

// The text of the about box's message field: a greeting when the player
// changed both the hero's surname (Names 1) and given name (Names 2) from
// those a new story starts with, then a warning for an old system, for a screen of fewer than
// 24 bits per pixel and for a memory load above 90 %. Empty when there is
// nothing to say.
std::string AboutMessage(const std::array<std::string, 10>& names, const SysReport& report);

// The version dialog (menu item "vers"): title, version, requirements, a
// notice and two links (opened by the desktop's mail program and browser),
// and the message field of AboutMessage. Every opening writes the system
// report to "syslog.dat" among the player's files; a report that cannot be written
// is told, naming the file, and the dialog opens all the same.
//
// The main window is disabled while it is open. "ＯＫ", the close box and
// the dialog losing the focus (the player clicking elsewhere) close it; the
// main window is then enabled again.
class AboutDialog {
 public:
  // `defaults` tells a name of the player's own from the story's.
  AboutDialog(const SceneContext& scene, DialogEvents& events);
  AboutDialog(const AboutDialog&) = delete;
  AboutDialog& operator=(const AboutDialog&) = delete;

  // Opens the dialog; returns at once (it is modeless).
  void Form_Load();
  bool IsOpen() const { return open_; }
  // The dialog's model, while it is open.
  Dialog& Model() { return dialog_; }

 private:
  void Form_Unload();
  void OpenLink(const std::string& control);

  SceneContext scene_;
  DialogEvents& events_;
  Dialog dialog_;
  bool open_ = false;
};

}  // namespace dovetail
