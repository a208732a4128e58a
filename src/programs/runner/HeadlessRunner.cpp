#include "programs/runner/HeadlessRunner.h"

#include <cstdio>

#include "backends/audio/silent/NullAudioOutput.h"
#include "base/ProgramExit.h"
#include "graphics/PngFile.h"
#include "shell/Game.h"

namespace dovetail {

namespace {
// The play file asks for what cannot be done (as for a play file that does
// not read).
constexpr ExitCode kBadPlayFile = ExitCode::BadUsage;
// Records the story may run without letting events run once: more is a
// loop that never waits, which would never end.
constexpr uint32_t kRecordsWithoutEvents = 200000;
}  // namespace

HeadlessRunner::HeadlessRunner(RunnerOptions options, TextRenderer& text, std::ostream* log)
    : options_(std::move(options)), log_(log), events_(host_, log_) {
  host_.SetWantsFrames(false);
  audio_ = MakeSilentAudio(host_);
  const GamePaths paths = options_.playerFolder
                              ? GamePaths::ForPlayer(options_.gameFolder, *options_.playerFolder)
                              : GamePaths::ForGameFolder(options_.gameFolder);
  game_ = std::make_unique<Game>(host_, text, paths, *audio_, events_);
  game_->random.seed(options_.seed);
  // Screenshots go beside the snapshots.
  game_->comforts.SetScreenshotFolder(FolderPlayerFiles::Folder(options_.snapDir));
  playsCafe_ = PlaysCafe(options_.play);
  if (options_.autoPlay) {
    autoPlayer_ = std::make_unique<AutoPlayer>(std::move(*options_.autoPlay), *game_, host_);
  }
  start_ = host_.TickCount();
  host_.onDoEvents = [this] { Tick(); };
  events_.onStep = [this] {
    if (autoPlayer_) autoPlayer_->OnStep();
    if (++recordsSinceEvents_ <= kRecordsWithoutEvents) return;
    throw Stop{ExitCode::Stalled,
               "the story ran " + std::to_string(kRecordsWithoutEvents) +
                   " records without waiting (a loop that never ends) at label " +
                   std::to_string(game_->story.CurLabel)};
  };
  host_.onMessageBox = [this](const MessageBoxRequest& request) { return OnMessageBox(request); };
}

HeadlessRunner::~HeadlessRunner() = default;

int HeadlessRunner::Run() {
  try {
    game_->Start();
    // The window's event loop: the program waits for input between actions.
    for (;;) {
      game_->Guarded([this] {
        host_.DoEvents();
        host_.Sleep(10);
      });
    }
  } catch (const ProgramExit& exit) {
    log_.Write(LogEvent(host_.TickCount(), "exit").Num("code", ExitStatus(exit.code)));
    return ExitStatus(exit.code);
  } catch (const Stop& stop) {
    const Status atRest = game_->PutDataFolderAtRest();
    log_.Write(LogEvent(host_.TickCount(), "stop")
                   .Str("reason", stop.reason)
                   .Num("code", ExitStatus(stop.code)));
    if (stop.code != ExitCode::Done) failure_ = stop.reason;
    if (!atRest) failure_ += (failure_.empty() ? "" : "; ") + atRest.error().message;
    return ExitStatus(stop.code);
  }
}

void HeadlessRunner::Tick() {
  recordsSinceEvents_ = 0;
  if (Elapsed() > options_.maxMs) {
    throw Stop{ExitCode::TimeRanOut,
               "the run reached --max-ms (" + std::to_string(options_.maxMs) +
                   " ms of virtual time) before " + (autoPlayer_ ? "the route" : "the play file") +
                   " was done; the story was at label " + std::to_string(game_->story.CurLabel)};
  }
  if (options_.snapEvery > 0 && Elapsed() >= nextTimedSnap_) {
    char name[16];
    std::snprintf(name, sizeof name, "at-%07u", nextTimedSnap_);
    Snap(name);
    // Moments passed while the program did not let events run show the same
    // frame: they are skipped rather than snapped late one after another.
    nextTimedSnap_ = (Elapsed() / options_.snapEvery + 1) * options_.snapEvery;
  }
  if (!playsCafe_ && options_.cafe != CafePolicy::Idle && !host_.InputPending() &&
      game_->Waiting() == WaitState::Customer) {
    Serve(options_.cafe == CafePolicy::Perfect);
  }
  if (autoPlayer_) {
    if (host_.InputPending()) return;
    if (auto stop = autoPlayer_->Act()) throw Stop{stop->code, stop->reason};
    return;
  }
  if (!Advance() && WaitsForPlayFile()) throw Stop{ExitCode::Done, "the play file is done"};
}

bool HeadlessRunner::WaitsForPlayFile() const {
  const WaitState state = game_->Waiting();
  if (state == WaitState::Customer) return playsCafe_;
  return state != WaitState::Busy;
}

void HeadlessRunner::Serve(bool correct) {
  const int16_t seat = game_->cafe.LongestWaitingSeat();
  for (const ScriptedInput& input :
       ServingGestures(game_->cafe, game_->settings.cafe, seat, correct, host_.TickCount())) {
    host_.Post(input);
  }
}

bool HeadlessRunner::Advance() {
  // Input already given is let through first, so that states are read after
  // the program has reacted to it.
  if (host_.InputPending()) return true;
  while (next_ < options_.play.size()) {
    const PlayCommand& command = options_.play[next_];
    const uint32_t now = host_.TickCount();
    auto post = [&](InputEvent::Kind kind, MouseButton button = MouseButton::None) {
      InputEvent input;
      input.kind = kind;
      input.x = command.x;
      input.y = command.y;
      input.button = button;
      input.keyCode = command.keyCode;
      input.wheel = command.wheel;
      // The menu item or dialog control, or the text typed.
      input.name = command.argument;
      input.text = command.argument;
      host_.Post({now, std::move(input)});
    };
    switch (command.kind) {
      case PlayCommand::Kind::Wait:
        if (!waitUntil_) waitUntil_ = now + static_cast<uint32_t>(command.ms);
        if (static_cast<int32_t>(now - *waitUntil_) < 0) return true;
        waitUntil_.reset();
        ++next_;
        continue;
      case PlayCommand::Kind::Until:
        if (WaitStateName(game_->Waiting()) != command.argument) return true;
        ++next_;
        continue;
      case PlayCommand::Kind::Answer:
        pendingAnswer_ =
            command.argument == "cancel" ? MessageBoxAnswer::Cancel : MessageBoxAnswer::Ok;
        ++next_;
        continue;
      case PlayCommand::Kind::Snap:
        Snap(command.argument);
        ++next_;
        continue;
      case PlayCommand::Kind::Click:
      case PlayCommand::Kind::RClick: {
        const MouseButton button =
            command.kind == PlayCommand::Kind::Click ? MouseButton::Left : MouseButton::Right;
        post(InputEvent::Kind::MouseDown, button);
        post(InputEvent::Kind::MouseUp, button);
        break;
      }
      case PlayCommand::Kind::Move:
        post(InputEvent::Kind::MouseMove);
        break;
      case PlayCommand::Kind::Key:
        post(InputEvent::Kind::KeyDown);
        break;
      case PlayCommand::Kind::KeyUp:
        post(InputEvent::Kind::KeyUp);
        break;
      case PlayCommand::Kind::Wheel:
        post(InputEvent::Kind::Wheel);
        break;
      case PlayCommand::Kind::Menu:
        post(InputEvent::Kind::MenuClick);
        break;
      case PlayCommand::Kind::Type:
        post(InputEvent::Kind::Type);
        break;
      case PlayCommand::Kind::Press:
        CheckPressable(command.argument);
        post(InputEvent::Kind::Press);
        break;
      case PlayCommand::Kind::Close:
        post(InputEvent::Kind::DialogClose);
        break;
      case PlayCommand::Kind::Serve:
      case PlayCommand::Kind::ServeWrong:
        // Waits for a customer, like "until customer".
        if (game_->Waiting() != WaitState::Customer) return true;
        Serve(command.kind == PlayCommand::Kind::Serve);
        break;
    }
    ++next_;
    return true;
  }
  return false;
}

std::optional<MessageBoxAnswer> HeadlessRunner::OnMessageBox(const MessageBoxRequest& request) {
  if (autoPlayer_) autoPlayer_->OnMessageBox(request);
  auto at = [&](PlayCommand::Kind kind) {
    return next_ < options_.play.size() && options_.play[next_].kind == kind;
  };
  if (at(PlayCommand::Kind::Until) && options_.play[next_].argument == "message-box") ++next_;
  if (at(PlayCommand::Kind::Answer)) {
    pendingAnswer_ =
        options_.play[next_].argument == "cancel" ? MessageBoxAnswer::Cancel : MessageBoxAnswer::Ok;
    ++next_;
  }
  MessageBoxAnswer answer = pendingAnswer_.value_or(MessageBoxAnswer::Ok);
  pendingAnswer_.reset();
  if (request.buttons == MessageBoxButtons::Ok) answer = MessageBoxAnswer::Ok;
  log_.Write(MessageBoxLogEvent(host_.TickCount(), request, answer));
  return answer;
}

void HeadlessRunner::CheckPressable(const std::string& control) {
  const std::vector<Dialog*>& open = host_.OpenDialogs();
  if (open.empty()) {
    throw Stop{kBadPlayFile, "press " + control + ": no dialog is open"};
  }
  if (open.back()->Find(control) == nullptr) {
    throw Stop{kBadPlayFile, "press " + control + ": the dialog \"" + open.back()->caption +
                                 "\" has no control named " + control};
  }
}

void HeadlessRunner::Snap(const std::string& name) {
  Surface frame;
  game_->form.window.Compose(frame);
  const std::filesystem::path path = options_.snapDir / (name + ".png");
  Status status = SavePngFile(path, frame);
  LogEvent event(host_.TickCount(), "snap");
  event.Str("name", name).Str("file", path.string());
  if (!status.ok()) event.Str("error", status.error().message);
  log_.Write(event);
}

}  // namespace dovetail
