#include "shell/Game.h"

#include <utility>

#include "saves/SaveFile.h"
#include "scene/PlayerInput.h"
#include "scene/StoryCounters.h"
#include "shell/HeroName.h"
#include "storage/DataFolder.h"
#include "story/AudioCommand.h"

namespace dovetail {

Game::Game(Host& host, TextRenderer& text, GamePaths gamePaths, AudioOutput& audio,
           GameEvents& events, FolderPlayerFiles::Durability durability)
    : paths(std::move(gamePaths)),
      files(FolderPlayerFiles::GameFiles(paths, durability)),
      ownFiles(FolderPlayerFiles::OwnFiles(paths, durability)),
      form(host),
      effects(form.Mesh1, form.Mesh2, events),
      scene{host, form, story, page, text, effects, paths, files, ownFiles},
      sound(host, audio, settings.sound, form.BGM_Timer, events),
      interpreter(story, host, *this, events),
      messages(scene, events),
      pictures(scene),
      choices(scene, events, interpreter, sound),
      comforts(scene, events, choices, messages.Wait(), [this] { return cafe.TimeLeft > 0; }),
      shutdown(host, sound, paths),
      nameEntry(scene, events),
      options(
          scene, events, settings.sound, sound,
          [this](const SoundFlags& flags, bool useDirectMusic) {
            return RewriteSettingsFlags(files, flags, useDirectMusic);
          },
          [this] { shutdown.Form_Unload(); }),
      about(scene, events),
      title(
          scene, settings, sound, interpreter, pictures, shutdown,
          [this](int16_t mode) { ranking.DispRanking(mode); },
          [this] { return ranking.RankingShown; }),
      startup(scene, settings, sound, pictures, shutdown, title),
      cafe(scene, events, interpreter, sound, settings.cafe, random,
           [this](int16_t stageNo) { return MarkClearedAfterStage(files, stageNo, settings); }),
      ranking(scene, events, sound, [this] { title.ShowTitle(); }),
      ending(scene, events, [this](int16_t mode) { ranking.DispRanking(mode); }) {
  WirePlayerInput(form, story, cafe.TimeLeft);
  choices.WireKeys();
  title.WireKeys();
  comforts.Wire();
  messages.SetComforts(&comforts);
  title.onStoryStarts = [this] { comforts.StoryStarts(); };
  title.onTitleShown = [this] { comforts.TitleShown(); };
  form.Clicker.onTimer = [this] { messages.Wait().Clicker_Timer(); };
  form.BGM_Timer.onTimer = [this] { sound.BGM_Timer_Timer(); };
  form.ends.onClick = [this] { QuitAsked(); };
  form.opt.onClick = [this] { options.Form_Load(); };
  form.vers.onClick = [this] { about.Form_Load(); };
  form.window.onCloseRequest = [this] { QuitAsked(); };
}

void Game::QuitAsked() {
  if (comforts.ConfirmQuit()) shutdown.Form_Unload();
}

void Game::Start() {
  Guarded([this] { startup.Form_Load(); });
}

WaitState Game::Waiting() const {
  if (shutdown.Unloading()) return WaitState::Busy;
  if (nameEntry.IsOpen() || options.IsOpen() || about.IsOpen()) return WaitState::Dialog;
  if (choices.Open()) return WaitState::Choice;
  if (cafe.LongestWaitingSeat() != 0) return WaitState::Customer;
  if (messages.Wait().Running()) {
    return comforts.EndsClickWaitItself() ? WaitState::Busy : WaitState::ClickWait;
  }
  if (ranking.RankingShown && ranking.Ranking_exit.Visible()) return WaitState::Ranking;
  if (title.Waiting()) return WaitState::Title;
  return WaitState::Busy;
}

int32_t Game::ShowBackground() {
  return pictures.ShowBackground();
}
int32_t Game::PlaceCharacter() {
  return pictures.PlaceCharacter();
}
int32_t Game::ChangeFace() {
  return pictures.ChangeFace();
}
void Game::ShowMessage() {
  messages.ShowMessage();
}
void Game::MesClear() {
  dovetail::MesClear(form, page);
}
int32_t Game::CmdTextMode() {
  return messages.CmdTextMode();
}
void Game::Keys() {
  messages.Wait().Keys();
}
int32_t Game::ShowChoices() {
  comforts.StoryReaches(SkipStop::Choice);
  return choices.ShowChoices();
}
int32_t Game::CmdCount() {
  return dovetail::CmdCount(story, scene.host);
}
int32_t Game::CmdIf() {
  return dovetail::CmdIf(story, interpreter, scene.host);
}
int32_t Game::CmdCompare() {
  return dovetail::CmdCompare(story, interpreter, scene.host);
}
int32_t Game::CmdReserved() {
  return dovetail::CmdReserved(story, scene.host);
}
void Game::PlayEnding() {
  comforts.StoryReaches(SkipStop::Ending);
  ending.PlayEnding();
}
void Game::SaveGame() {
  dovetail::SaveGame(story, scene.host, files);
  comforts.SavePointReached();
}
void Game::PlayCafeStage() {
  comforts.StoryReaches(SkipStop::Stage);
  cafe.PlayCafeStage();
}
void Game::OpenNameEntry() {
  nameEntry.Open();
}
void Game::CmdAudio() {
  dovetail::CmdAudio(sound, story.CurCommand);
}
void Game::Quit() {
  comforts.SaveReadPages();
  shutdown.Form_Unload();
}

}  // namespace dovetail
