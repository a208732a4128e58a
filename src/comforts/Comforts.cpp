#include "comforts/Comforts.h"

#include <utility>

#include "base/Utf8.h"
#include "comforts/QuitQuestion.h"

namespace dovetail {

namespace {

constexpr uint64_t kMaxComfortSettingsBytes = 16 * 1024 * 1024;

}  // namespace

Comforts::Comforts(const SceneContext& scene, ComfortEvents& events, const Choices& choices,
                   ClickWait& clickWait, std::function<bool()> stageRunning)
    : scene_(scene),
      events_(events),
      clickWait_(clickWait),
      settings_(ComfortSettings::Parse(
          scene.ownFiles.ReadOrNothing(kComfortSettingsFile, kMaxComfortSettingsBytes))),
      savedSettings_(settings_),
      history_(scene.form, scene.text, events, course_, choices, std::move(stageRunning)),
      auto_(
          scene.form, scene.text, events, clickWait, course_, settings_,
          [this] { return history_.IsOpen(); }, [this] { SaveSettings(); }),
      skip_(scene.form, scene.host, events, scene.ownFiles, clickWait, course_, settings_,
            [this] { SaveSettings(); }),
      screenshots_(scene.form, scene.host, scene.text, events) {}

void Comforts::Wire() {
  MainForm& form = scene_.form;
  form.window.keyPreview = [this](const KeyEvent& event) { return KeyDown(event.keyCode); };
  form.window.onWheel = [this](int32_t steps) { history_.Wheel(steps); };
  history_.Wire();
  history_.onOpened = [this] { auto_.Pause(); };
  history_.onClosed = [this] { auto_.Resume(); };
  history_.onOtherKey = [this](int16_t keyCode) {
    if (keyCode == kKeyF12) screenshots_.Take();
  };
  auto_.Wire();
  skip_.Wire();
  skip_.onStarting = [this] { history_.Close(); };
  screenshots_.Wire();
}

bool Comforts::KeyDown(int16_t keyCode) {
  // The open history has every key: nothing beneath it reacts.
  if (history_.IsOpen()) {
    history_.KeyDown(keyCode);
    return true;
  }
  switch (keyCode) {
    case kKeyPageUp:
      history_.Open();
      return true;
    case kKeyA:
      auto_.Toggle();
      return true;
    case kKeyF12:
      screenshots_.Take();
      return true;
    case kKeyControl:
      skip_.Start(true);
      return true;
    default:
      return false;
  }
}

// --- The pages, and the click-wait after each ---

void Comforts::PageShown(const ShownPage& page) {
  history_.Add(page);
  skip_.PageShown(page.position);
  auto_.PageShown(static_cast<int32_t>(Utf8Chars(page.text).size()));
  ++course_.progressSinceSave;
}

void Comforts::ClickWaitBegins() {
  course_.inClickWait = true;
  auto_.ClickWaitBegins();
}

void Comforts::ClickWaitEnds() {
  // Nothing but the player's closing should end a wait beneath the history;
  // if anything did, the story is not left behind it.
  history_.Close();
  course_.inClickWait = false;
  // The player went on by a click or a key: auto-advance gives way.
  auto_.ClickWaitEnds(!clickWait_.EndedOnRequest());
  skip_.Save();
}

// --- The story's course ---

void Comforts::StoryStarts() {
  history_.Clear();
  course_.running = true;
  course_.ending = false;
  course_.progressSinceSave = 0;
}

void Comforts::TitleShown() {
  course_.running = false;
  course_.ending = false;
  course_.progressSinceSave = 0;
  skip_.Save();
}

void Comforts::SavePointReached() {
  course_.progressSinceSave = 0;
  skip_.Save();
}

void Comforts::StoryReaches(SkipStop where) {
  skip_.Stop(where);
  skip_.Save();
  if (where == SkipStop::Stage) ++course_.progressSinceSave;
  if (where == SkipStop::Ending) {
    // Nothing after the ending can be saved: quitting loses nothing.
    course_.ending = true;
    course_.progressSinceSave = 0;
  }
}

bool Comforts::ConfirmQuit() {
  const bool quit = dovetail::ConfirmQuit(scene_.host, events_, course_);
  if (quit) skip_.Save();
  return quit;
}

// --- What is remembered ---

void Comforts::ViewChanged(int16_t zoom, bool fullScreen) {
  settings_.zoom = zoom;
  settings_.fullScreen = fullScreen;
  SaveSettings();
}

void Comforts::SaveSettings() {
  if (settings_ == savedSettings_ || !scene_.ownFiles.Keeps()) return;
  const Status saved = scene_.ownFiles.Replace(kComfortSettingsFile, settings_.Format());
  if (!saved) {
    scene_.host.Diagnostic("the player's settings were not saved: " + saved.error().message);
    return;
  }
  savedSettings_ = settings_;
}

}  // namespace dovetail
