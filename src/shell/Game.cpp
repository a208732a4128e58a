#include "shell/Game.h"

#include <cassert>
#include <utility>

#include "scene/ClickWait.h"
#include "scene/PlayerInput.h"
#include "scene/StoryCounters.h"
#include "script/AudioCommand.h"
#include "script/SaveFile.h"
#include "sound/EffectSounds.h"
#include "sound/NullAudioOutput.h"

namespace dovetail {

Game::Game(Host& host, TextRenderer& text, std::filesystem::path programFolder, AudioOutput* audio)
    : host(host),
      text(text),
      form(host),
      interpreter(story, host, handlers),
      effects(form.Mesh1, form.Mesh2),
      messages(form, story, page, host, text),
      pictures(form, story, page, host, effects, DataPath),
      choices(form, story, page, host, interpreter, text),
      audio(audio != nullptr ? *audio : SilentAudio()),
      mci(host, this->audio, settings.sound, form.BGM_Timer),
      programFolder_(std::move(programFolder)) {
  WireEvents();
}

AudioOutput& Game::SilentAudio() {
  Result<EffectSounds> sounds = EffectSounds::LoadBuiltIn();
  // The sounds are part of the program; a fault in them is a build fault.
  assert(sounds.ok());
  ownAudio_ = std::make_unique<NullAudioOutput>(
      host, sounds.ok() ? sounds->Lengths() : std::map<int32_t, uint32_t>{});
  return *ownAudio_;
}

void Game::WireEvents() {
  handlers.Keys = [this] { Keys(form, story.message, host); };
  handlers.SaveGame = [this] { SaveGame(story, host, DataPath); };
  handlers.OpenNameEntry = [this] { OpenNameEntry(); };
  handlers.Quit = [this] { Form_Unload(); };
  handlers.CmdAudio = [this] { CmdAudio(mci, story.CurCommand); };
  choices.playWave = [this](int32_t id) { mci.PlayWave(id); };
  form.BGM_Timer.onTimer = [this] { mci.BGM_Timer_Timer(); };
  handlers.ShowBackground = [this] { return pictures.ShowBackground(); };
  handlers.PlaceCharacter = [this] { return pictures.PlaceCharacter(); };
  handlers.ChangeFace = [this] { return pictures.ChangeFace(); };
  handlers.ShowMessage = [this] { messages.ShowMessage(); };
  handlers.MesClear = [this] { MesClear(form, page); };
  handlers.CmdTextMode = [this] { return messages.CmdTextMode(); };
  handlers.ClickWait = [this] { return story.message.ClickWait; };
  handlers.ShowChoices = [this] { return choices.ShowChoices(); };
  handlers.CmdCount = [this] { return CmdCount(story, host); };
  handlers.CmdIf = [this] { return CmdIf(story, interpreter, host); };
  handlers.CmdCompare = [this] { return CmdCompare(story, interpreter, host); };
  handlers.CmdReserved = [this] { return CmdReserved(story, host); };
  pictures.onFatalError = [this](const std::string& message) { FatalError(message); };
  WirePlayerInput(form, story, TimeLeft);

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
  if (choices.Open()) return "choice";
  if (story.message.InKeys) return "click-wait";
  const PictureBox& first = *form.Tmenu[1];
  if (first.Visible() && first.Enabled() && form.window.Enabled()) return "title";
  return {};
}

}  // namespace dovetail
