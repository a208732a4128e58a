#include "programs/common/LoggedEvents.h"

#include <filesystem>

namespace dovetail {

namespace {

// Every event type needs its own line: a type without one does not compile.
struct LineOf {
  uint32_t t;

  LogEvent operator()(const StepEvent& e) const {
    return LogEvent(t, "step")
        .Num("position", e.position)
        .Num("label", e.label)
        .Str("command", e.command);
  }
  LogEvent operator()(const TextEvent& e) const {
    return LogEvent(t, "text").Num("speaker", e.speaker).Str("tag", e.tag).Str("text", e.text);
  }
  LogEvent operator()(const ChoiceEvent& e) const {
    return LogEvent(t, "choice").Strings("texts", e.texts).Num("chosen", e.chosen);
  }
  LogEvent operator()(const EffectEvent& e) const {
    return LogEvent(t, "effect").Str("code", e.code);
  }
  LogEvent operator()(const BgmEvent& e) const {
    // The piece by its file name: the folder differs from machine to machine.
    return LogEvent(t, "bgm")
        .Str("what", BgmActionName(e.action))
        .Str("file", std::filesystem::path(e.file).filename().string());
  }
  LogEvent operator()(const WaveEvent& e) const { return LogEvent(t, "wave").Num("id", e.id); }
  LogEvent operator()(const VolumeEvent& e) const {
    return LogEvent(t, "volume").Num("value", e.value);
  }
  LogEvent operator()(const StageEvent& e) const {
    return LogEvent(t, "stage").Num("stage", e.stage).Str("what", e.start ? "start" : "end");
  }
  LogEvent operator()(const CustomerEvent& e) const {
    const std::vector<int64_t> order(e.order.begin(), e.order.end());
    return LogEvent(t, "customer").Num("seat", e.seat).Num("look", e.look).Numbers("order", order);
  }
  LogEvent operator()(const ServeEvent& e) const {
    return LogEvent(t, "serve").Num("seat", e.seat).Bool("correct", e.correct).Num("ms", e.ms);
  }
  LogEvent operator()(const GiveUpEvent& e) const {
    return LogEvent(t, "giveup").Num("seat", e.seat);
  }
  LogEvent operator()(const DayEvent& e) const {
    return LogEvent(t, "day")
        .Num("s1", e.s1)
        .Num("s2", e.s2)
        .Num("s3", e.s3)
        .Num("day", e.day)
        .Num("grade", e.grade);
  }
  LogEvent operator()(const FinalEvent& e) const {
    return LogEvent(t, "final")
        .Num("total", e.total)
        .Num("bonus", e.bonus)
        .Num("score", e.score)
        .Str("grade", e.grade);
  }
  LogEvent operator()(const DialogEvent& e) const {
    return LogEvent(t, "dialog").Str("name", e.name).Str("what", DialogActionName(e.action));
  }
  LogEvent operator()(const EndingEvent& e) const {
    return LogEvent(t, "ending").Bool("staffroll", e.staffroll);
  }
  LogEvent operator()(const RankingEvent& e) const {
    std::vector<int64_t> ranks;
    std::vector<std::string> names;
    std::vector<int64_t> scores;
    std::vector<std::string> grades;
    for (const RankingRow& row : e.rows) {
      ranks.push_back(row.rank);
      names.push_back(row.name);
      scores.push_back(row.score);
      grades.push_back(row.grade);
    }
    return LogEvent(t, "ranking")
        .Num("mode", e.mode)
        .Num("pos", e.pos)
        .Bool("shown", e.shown)
        .Numbers("ranks", ranks)
        .Strings("names", names)
        .Numbers("scores", scores)
        .Strings("grades", grades);
  }
  LogEvent operator()(const HistoryEvent& e) const {
    return LogEvent(t, "history").Str("what", e.open ? "open" : "close").Num("pages", e.pages);
  }
  LogEvent operator()(const AutoEvent& e) const {
    return LogEvent(t, "auto").Str("what", e.on ? "on" : "off");
  }
  LogEvent operator()(const SkipEvent& e) const {
    LogEvent line(t, "skip");
    line.Str("what", e.on ? "read" : "off");
    if (!e.on) line.Str("why", SkipStopName(e.why));
    if (e.at >= 0) line.Num("at", e.at);
    return line;
  }
  LogEvent operator()(const ScreenshotEvent& e) const {
    LogEvent line(t, "screenshot");
    line.Str("file", std::filesystem::path(e.file).filename().string());
    if (!e.error.empty()) line.Str("error", e.error);
    return line;
  }
  LogEvent operator()(const QuitAskEvent& e) const {
    return LogEvent(t, "quit-ask").Str("answer", e.quit ? "ok" : "cancel");
  }
};

}  // namespace

LogEvent ToLogEvent(uint32_t t, const GameEvent& event) {
  return std::visit(LineOf{t}, event);
}

void LoggedEvents::Record(const GameEvent& event) {
  log_.Write(ToLogEvent(host_.TickCount(), event));
  if (onStep && std::holds_alternative<StepEvent>(event)) onStep();
}

LogEvent MessageBoxLogEvent(uint32_t t, const MessageBoxRequest& request, MessageBoxAnswer answer) {
  return LogEvent(t, "msgbox")
      .Str("text", request.text)
      .Str("title", request.title)
      .Str("answer", answer == MessageBoxAnswer::Ok ? "ok" : "cancel");
}

}  // namespace dovetail
