#include "comforts/Comforts.h"

#include <algorithm>
#include <utility>

#include "base/Utf8.h"
#include "comforts/Screenshot.h"
#include "script/Interpreter.h"

namespace dovetail {

namespace {

// The pause of auto-advance: a base and a time per character, by speed.
struct AutoPace {
  uint32_t baseMs;
  uint32_t perCharacterMs;
  const char* caption;
};
constexpr AutoPace kAutoPaces[] = {
    {2500, 90, "オート速度：遅い"},
    {1500, 60, "オート速度：普通"},
    {800, 30, "オート速度：速い"},
};
// Longer messages wait no longer than one of this many characters.
constexpr int32_t kLongestPaced = 200;

// Pages the history moves at a press of Page Up or Page Down.
constexpr int32_t kPagesAPress = 3;

constexpr uint32_t kNoteMs = 2000;
constexpr const char* kNoteFont = "ＭＳ Ｐゴシック";
constexpr Pixel kNoteBack = 0x202028;
constexpr Pixel kAutoMarkColour = 0xFFD27A;

constexpr uint64_t kMaxOwnFileBytes = 16 * 1024 * 1024;

// The text of one of our files, or nothing when there is none to read.
std::string ReadOwnFile(const PlayerFiles& files, std::string_view name) {
  auto text = files.Read(name, kMaxOwnFileBytes);
  return text.ok() ? *text : std::string();
}

// "AUTO" in small letters, drawn once for the mark in the message window.
std::shared_ptr<const Surface> AutoMarkPicture(TextRenderer& text) {
  const FontSpec font{kNoteFont, 9, true, false};
  const std::string word = "AUTO";
  auto picture =
      std::make_shared<Surface>(text.TextWidth(word, font) + 2, text.LineHeight(font), kBlack);
  text.DrawText(*picture, 1, 0, word, font, kAutoMarkColour);
  return picture;
}

// The three speeds of auto-advance, in the menu below its switch.
std::array<MenuItem*, 3> AddSpeedItems(Window& window) {
  constexpr const char* kNames[] = {"auto-slow", "auto-normal", "auto-fast"};
  std::array<MenuItem*, 3> items{};
  for (size_t i = 0; i < items.size(); ++i)
    items[i] = &window.AddMenuItem(kNames[i], kAutoPaces[i].caption);
  return items;
}

}  // namespace

Comforts::Comforts(const SceneContext& scene, const Choices& choices)
    : scene_(scene),
      choices_(choices),
      settings_(ComfortSettings::Parse(ReadOwnFile(scene.ownFiles, kComfortSettingsFile))),
      savedSettings_(settings_),
      view_(scene.form, scene.text),
      read_(ReadPages::Parse(ReadOwnFile(scene.ownFiles, kReadPagesFile))),
      historyItem_(scene.form.window.AddMenuItem("history", "履歴\tPage Up")),
      autoItem_(scene.form.window.AddMenuItem("auto", "オート\tA")),
      speedItems_(AddSpeedItems(scene.form.window)),
      skipItem_(scene.form.window.AddMenuItem("skipread", "既読スキップ\tCtrl")),
      screenshotItem_(scene.form.window.AddMenuItem("screenshot", "画面保存\tF12")),
      autoTimer_(scene.form.window.AddTimer("AutoAdvance", kAutoPaces[1].baseMs)),
      noteTimer_(scene.form.window.AddTimer("ScreenshotNote", kNoteMs)),
      autoMark_(scene.form.MesBox[0]->AddShape()),
      note_(scene.form.window.AddPictureBox("ScreenshotNote")) {
  for (MenuItem* item : {&historyItem_, &autoItem_, speedItems_[0], speedItems_[1], speedItems_[2],
                         &skipItem_, &screenshotItem_}) {
    item->SetMenu(kComfortMenu);
  }
  autoMark_.picture = AutoMarkPicture(scene.text);
  autoMark_.width = autoMark_.picture->Width();
  autoMark_.height = autoMark_.picture->Height();
  autoMark_.left = 640 - 12 - autoMark_.width;
  autoMark_.top = 4;
  autoMark_.borderWidth = 0;
  note_.letsMouseThrough = true;

  autoAdvance_ = settings_.autoAdvance;
  skipping_ = settings_.skipRead;
  ShowAutoMark();
  UpdateMenu();
}

void Comforts::Wire() {
  MainForm& form = scene_.form;
  form.window.keyPreview = [this](const KeyEvent& event) { return KeyDown(event.keyCode); };
  view_.Box().onMouseDown = [this](const MouseEvent& event) {
    if (event.button == MouseButton::Right) CloseHistory();
  };
  form.window.onWheel = [this](int32_t steps) { Wheel(steps); };
  form.window.onKeyUp = [this](const KeyEvent& event) {
    if (event.keyCode == kKeyControl && skipping_ && skipHeld_) StopSkipRead(SkipStop::Player);
  };
  historyItem_.onClick = [this] { OpenHistory(); };
  autoItem_.onClick = [this] { ToggleAutoAdvance(); };
  for (size_t i = 0; i < speedItems_.size(); ++i)
    speedItems_[i]->onClick = [this, i] { SetAutoSpeed(static_cast<AutoSpeed>(i)); };
  skipItem_.onClick = [this] {
    if (skipping_) {
      StopSkipRead(SkipStop::Player);
    } else {
      StartSkipRead(false);
    }
  };
  screenshotItem_.onClick = [this] { TakeScreenshot(); };
  autoTimer_.onTimer = [this] { AutoTurnsPage(); };
  noteTimer_.onTimer = [this] {
    noteTimer_.SetEnabled(false);
    note_.SetVisible(false);
  };
}

bool Comforts::KeyDown(int16_t keyCode) {
  // The open history has every key: nothing beneath it reacts.
  if (view_.IsOpen()) {
    HistoryKeyDown(keyCode);
    return true;
  }
  switch (keyCode) {
    case kKeyPageUp:
      OpenHistory();
      return true;
    case kKeyA:
      ToggleAutoAdvance();
      return true;
    case kKeyF12:
      TakeScreenshot();
      return true;
    case kKeyControl:
      StartSkipRead(true);
      return true;
    default:
      return false;
  }
}

// --- The message history ---

bool Comforts::HistoryOffered() const {
  const MainForm& form = scene_.form;
  return storyRunning_ && !ending_ && !history_.Empty() && (inClickWait_ || choices_.Open()) &&
         form.MesBox[0]->Visible() && form.TimeLeft <= 0 && !view_.IsOpen();
}

void Comforts::OpenHistory() {
  if (!HistoryOffered()) return;
  autoTimer_.SetEnabled(false);
  // The story waits beneath: the menu's skip may not run it on meanwhile.
  skipWasEnabled_ = scene_.form.speedup.Enabled();
  scene_.form.speedup.SetEnabled(false);
  view_.Open(history_);
  scene_.events.Report(HistoryEvent{true, static_cast<int32_t>(history_.Size())});
}

void Comforts::CloseHistory() {
  if (!view_.IsOpen()) return;
  view_.Close();
  scene_.form.speedup.SetEnabled(skipWasEnabled_);
  scene_.events.Report(HistoryEvent{false, static_cast<int32_t>(history_.Size())});
  if (inClickWait_ && autoAdvance_) autoTimer_.SetEnabled(true);
}

void Comforts::HistoryKeyDown(int16_t keyCode) {
  switch (keyCode) {
    case kKeyUp:
      view_.Scroll(1);
      break;
    case kKeyDown:
      if (!view_.Scroll(-1)) CloseHistory();
      break;
    case kKeyPageUp:
      view_.Scroll(kPagesAPress);
      break;
    case kKeyPageDown:
      if (!view_.Scroll(-kPagesAPress)) CloseHistory();
      break;
    case kKeyEscape:
    case kKeyReturn:
      CloseHistory();
      break;
    case kKeyF12:
      TakeScreenshot();
      break;
    default:
      break;
  }
}

void Comforts::Wheel(int32_t steps) {
  if (!view_.IsOpen()) {
    if (steps > 0) OpenHistory();
    return;
  }
  if (!view_.Scroll(steps)) CloseHistory();
}

// --- The pages: what was read, and how the click-wait after each is paced ---

void Comforts::PageShown(const ShownPage& page) {
  history_.Add(page);
  pagePosition_ = page.position;
  pageReadBefore_ = read_.WasRead(page.position);
  read_.Mark(page.position);
  pageCharacters_ = static_cast<int32_t>(Utf8Chars(page.text).size());
  ++progressSinceSave_;
}

bool Comforts::PassesPage() {
  if (!skipping_) return false;
  if (pageReadBefore_) return true;
  StopSkipRead(SkipStop::Unread, pagePosition_);
  return false;
}

void Comforts::ClickWaitBegins() {
  inClickWait_ = true;
  endedByComforts_ = false;
  if (autoAdvance_ && !ending_) {
    autoTimer_.SetInterval(AutoPause(settings_.autoSpeed, pageCharacters_));
    autoTimer_.SetEnabled(true);
  }
}

void Comforts::ClickWaitEnds() {
  // Nothing but the player's closing should end a wait beneath the history;
  // if anything did, the story is not left behind it.
  CloseHistory();
  inClickWait_ = false;
  autoTimer_.SetEnabled(false);
  // The player went on by a click or a key: auto-advance gives way.
  if (autoAdvance_ && !endedByComforts_) SetAutoAdvance(false);
  endedByComforts_ = false;
  SaveReadPages();
}

void Comforts::EndClickWait() {
  endedByComforts_ = true;
  scene_.story.message.WaitFlag = false;
}

bool Comforts::EndsClickWaitItself() const {
  const MainForm& form = scene_.form;
  return inClickWait_ && autoAdvance_ && !ending_ && !view_.IsOpen() && form.MesBox[0]->Visible() &&
         form.window.Enabled();
}

// --- Auto-advance ---

uint32_t Comforts::AutoPause(AutoSpeed speed, int32_t characters) {
  const AutoPace& pace = kAutoPaces[static_cast<size_t>(speed)];
  const auto paced = static_cast<uint32_t>(std::clamp(characters, 0, kLongestPaced));
  return pace.baseMs + pace.perCharacterMs * paced;
}

void Comforts::AutoTurnsPage() {
  if (!inClickWait_) {
    autoTimer_.SetEnabled(false);
    return;
  }
  // The player looks back, at the picture or at a dialog (the window is
  // disabled while one is open): the page waits for them.
  const MainForm& form = scene_.form;
  if (view_.IsOpen() || !form.MesBox[0]->Visible() || !form.window.Enabled()) return;
  EndClickWait();
}

void Comforts::ToggleAutoAdvance() {
  SetAutoAdvance(!autoAdvance_);
}

void Comforts::SetAutoAdvance(bool on) {
  if (autoAdvance_ == on) return;
  autoAdvance_ = on;
  settings_.autoAdvance = on;
  SaveSettings();
  scene_.events.Report(AutoEvent{on});
  ShowAutoMark();
  UpdateMenu();
  if (on && inClickWait_ && !view_.IsOpen()) {
    ClickWaitBegins();
  } else if (!on) {
    autoTimer_.SetEnabled(false);
  }
}

void Comforts::SetAutoSpeed(AutoSpeed speed) {
  settings_.autoSpeed = speed;
  SaveSettings();
  UpdateMenu();
  if (autoTimer_.Enabled()) {
    autoTimer_.SetInterval(AutoPause(speed, pageCharacters_));
    autoTimer_.SetEnabled(true);
  }
}

void Comforts::ShowAutoMark() {
  autoMark_.visible = autoAdvance_;
  scene_.form.MesBox[0]->InvalidateShape(autoMark_);
}

// --- The skip of read text ---

void Comforts::StartSkipRead(bool held) {
  if (skipping_) return;
  CloseHistory();
  skipping_ = true;
  skipHeld_ = held;
  if (!held) settings_.skipRead = true;
  SaveSettings();
  scene_.events.Report(SkipEvent{true});
  UpdateMenu();
  if (!inClickWait_) return;
  if (pageReadBefore_) {
    EndClickWait();
  } else {
    StopSkipRead(SkipStop::Unread, pagePosition_);
  }
}

void Comforts::StopSkipRead(SkipStop why, int32_t at) {
  if (!skipping_) return;
  skipping_ = false;
  skipHeld_ = false;
  settings_.skipRead = false;
  SaveSettings();
  scene_.events.Report(SkipEvent{false, why, at});
  UpdateMenu();
}

// --- The story's course ---

void Comforts::StoryStarts() {
  history_.Clear();
  storyRunning_ = true;
  ending_ = false;
  progressSinceSave_ = 0;
}

void Comforts::TitleShown() {
  storyRunning_ = false;
  ending_ = false;
  progressSinceSave_ = 0;
  SaveReadPages();
}

void Comforts::SavePointReached() {
  progressSinceSave_ = 0;
  SaveReadPages();
}

void Comforts::StoryReaches(SkipStop where) {
  StopSkipRead(where);
  SaveReadPages();
  if (where == SkipStop::Stage) ++progressSinceSave_;
  if (where == SkipStop::Ending) {
    // Nothing after the ending can be saved: quitting loses nothing.
    ending_ = true;
    progressSinceSave_ = 0;
  }
}

bool Comforts::ConfirmQuit() {
  // The page waiting for the player is shown again by a load: it is not lost.
  const int32_t passed = progressSinceSave_ - (inClickWait_ ? 1 : 0);
  if (!storyRunning_ || ending_ || passed <= 0) return true;
  const MessageBoxAnswer answer =
      scene_.host.MessageBox({kQuitAskText, kAppTitle, MessageBoxButtons::OkCancel});
  const bool quit = answer == MessageBoxAnswer::Ok;
  scene_.events.Report(QuitAskEvent{quit});
  if (quit) SaveReadPages();
  return quit;
}

// --- Screenshots ---

void Comforts::TakeScreenshot() {
  // The note of an earlier screenshot is no part of the picture.
  note_.SetVisible(false);
  Surface frame;
  scene_.form.window.Compose(frame);
  ScreenshotEvent event;
  if (!screenshots_.Keeps()) {
    event.error = "no folder for screenshots";
  } else if (auto saved = SaveScreenshot(frame, screenshots_, scene_.host.LocalNow()); saved.ok()) {
    event.file = saved->string();
  } else {
    event.error = saved.error().message;
  }
  scene_.events.Report(event);
  if (!event.error.empty()) scene_.host.Diagnostic("screenshot: " + event.error);
  ShowNote(event.error.empty()
               ? "画面を保存しました：" + std::filesystem::path(event.file).filename().string()
               : std::string("画面を保存できませんでした"));
}

void Comforts::ShowNote(const std::string& text) {
  const FontSpec font{kNoteFont, 9, false, false};
  const int32_t width = scene_.text.TextWidth(text, font) + 16;
  const int32_t height = scene_.text.LineHeight(font) + 8;
  note_.Move(640 - 8 - width, 26, width, height);
  note_.SetBackColor(kNoteBack);
  scene_.text.DrawText(note_.Image(), 8, 4, text, font, kWhite);
  scene_.form.window.BringToFront(note_);
  note_.SetVisible(true);
  noteTimer_.SetEnabled(true);
}

// --- The menu and what is remembered ---

void Comforts::UpdateMenu() {
  autoItem_.SetChecked(autoAdvance_);
  for (size_t i = 0; i < speedItems_.size(); ++i)
    speedItems_[i]->SetChecked(static_cast<size_t>(settings_.autoSpeed) == i);
  skipItem_.SetChecked(skipping_);
}

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

void Comforts::SaveReadPages() {
  if (!read_.Unsaved() || !readPagesKept_ || !scene_.ownFiles.Keeps()) return;
  const Status saved = scene_.ownFiles.Replace(kReadPagesFile, read_.Format());
  read_.Saved();
  if (saved) return;
  // The pages stay marked for this run; a folder that cannot be written is
  // not tried again at every page.
  scene_.host.Diagnostic("the pages read are not kept: " + saved.error().message);
  readPagesKept_ = false;
}

}  // namespace dovetail
