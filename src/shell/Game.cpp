#include "shell/Game.h"

#include <utility>

#include "scene/ClickWait.h"
#include "script/SaveFile.h"

namespace dovetail {

Game::Game(Host& host, TextRenderer& text, std::filesystem::path programFolder)
    : host(host),
      text(text),
      form(host),
      interpreter(story, host, handlers),
      effects(form.Mesh1, form.Mesh2),
      programFolder_(std::move(programFolder)) {
  WireEvents();
}

void Game::WireEvents() {
  handlers.Keys = [this] { Keys(form, story.message, host); };
  handlers.SaveGame = [this] { SaveGame(story, host, DataPath); };
  handlers.OpenNameEntry = [this] { OpenNameEntry(); };
  handlers.Quit = [this] { Form_Unload(); };

  form.Clicker.onTimer = [this] { Clicker_Timer(form); };
  form.ends.onClick = [this] { Form_Unload(); };
  form.window.onCloseRequest = [this] { Form_Unload(); };
  for (int i = 1; i <= 5; ++i) {
    PictureBox& item = *form.Tmenu[i];
    item.onMouseMove = [this, i](const MouseEvent&) { Tmenu_MouseMove(i); };
    item.onMouseDown = [this, i](const MouseEvent&) { Tmenu_MouseDown(i); };
  }
}

std::string Game::WaitState() const {
  if (unloading_) return {};
  if (nameEntryOpen_) return "dialog";
  if (story.message.WaitFlag) return "click-wait";
  const PictureBox& first = *form.Tmenu[1];
  if (first.Visible() && first.Enabled() && form.window.Enabled()) return "title";
  return {};
}

}  // namespace dovetail
