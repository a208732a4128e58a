#pragma once

#include <variant>

#include "comforts/ComfortEvents.h"
#include "dialogs/DialogEvents.h"
#include "graphics/EffectEvents.h"
#include "minigame/CafeEvents.h"
#include "scene/SceneEvents.h"
#include "sound/SoundEvents.h"
#include "story/StepEvents.h"

namespace dovetail {

// What a run reports while it plays, one typed event each: the record the
// story steps to, the text and choices the player sees, the screen
// transitions, the sound, the café, the dialogs and the comforts. The
// headless runner writes them as its JSON Lines log; tests record them; the
// desktop program ignores them.
//
// Each subsystem declares its events, and the sink it reports to, beside its
// own code (EffectEvents, SoundEvents, StepEvents, SceneEvents, DialogEvents,
// CafeEvents, ComfortEvents), so that a change to one kind rebuilds only what
// reports or reads it. GameEvent holds them all: a kind added to a sink and
// to GameEvent makes every sink that looks at the events (the runner's writer
// visits them all) fail to compile until it handles the new one.
using GameEvent = std::variant<StepEvent, TextEvent, ChoiceEvent, EffectEvent, BgmEvent, WaveEvent,
                               VolumeEvent, StageEvent, CustomerEvent, ServeEvent, GiveUpEvent,
                               DayEvent, FinalEvent, DialogEvent, EndingEvent, RankingEvent,
                               HistoryEvent, AutoEvent, SkipEvent, ScreenshotEvent, QuitAskEvent>;

// Every subsystem's sink at once: each event reported to any of them is
// recorded. Record runs at once, inside the subsystem's own call; it must not
// call back into the program.
class GameEvents : public StepEvents,
                   public EffectEvents,
                   public SoundEvents,
                   public SceneEvents,
                   public DialogEvents,
                   public CafeEvents,
                   public ComfortEvents {
 public:
  virtual void Record(const GameEvent& event) = 0;

  void Report(const StepEvent& event) final { Record(event); }
  void Report(const EffectEvent& event) final { Record(event); }
  void Report(const BgmEvent& event) final { Record(event); }
  void Report(const WaveEvent& event) final { Record(event); }
  void Report(const VolumeEvent& event) final { Record(event); }
  void Report(const TextEvent& event) final { Record(event); }
  void Report(const ChoiceEvent& event) final { Record(event); }
  void Report(const EndingEvent& event) final { Record(event); }
  void Report(const DialogEvent& event) final { Record(event); }
  void Report(const StageEvent& event) final { Record(event); }
  void Report(const CustomerEvent& event) final { Record(event); }
  void Report(const ServeEvent& event) final { Record(event); }
  void Report(const GiveUpEvent& event) final { Record(event); }
  void Report(const DayEvent& event) final { Record(event); }
  void Report(const FinalEvent& event) final { Record(event); }
  void Report(const RankingEvent& event) final { Record(event); }
  void Report(const HistoryEvent& event) final { Record(event); }
  void Report(const AutoEvent& event) final { Record(event); }
  void Report(const SkipEvent& event) final { Record(event); }
  void Report(const ScreenshotEvent& event) final { Record(event); }
  void Report(const QuitAskEvent& event) final { Record(event); }

 protected:
  ~GameEvents() = default;
};

// A sink for runs nobody watches.
class IgnoredEvents final : public GameEvents {
 public:
  void Record(const GameEvent&) override {}
};

}  // namespace dovetail
