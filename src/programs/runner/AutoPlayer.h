#pragma once

#include <cstdint>
#include <optional>
#include <random>
#include <set>
#include <string>

#include "backends/hosts/headless/HeadlessHost.h"
#include "base/ProgramExit.h"
#include "routes/Route.h"

namespace dovetail {

class Game;

struct AutoOptions {
  Route route;
  // The text typed into the name dialog (see NameDialogText); empty: the
  // dialog is confirmed with the name it offers.
  std::string heroName;
  // Quit through the menu bar after this many saves ("セーブしました."); 0:
  // never.
  uint32_t quitAfterSaves = 0;
};

// Why an automatic run stops: the route is done (ExitCode::Done) or cannot go
// on (ExitCode::Stalled).
struct AutoStop {
  ExitCode code = ExitCode::Done;
  std::string reason;
};

// Plays a route by itself, as a player would with the mouse: starts each
// story of the route from its title entry, clicks through the messages,
// picks the route's options at the choices, confirms the name dialog (with
// the name asked for), leaves the ranking screen by its exit button, and
// stops once the title is back after the route's last story. The café is
// left to the run's café policy.
//
// The run cannot go on, and stops with a reason naming the label, when the
// story shows a message box other than the save, load and quit
// confirmations (a content error, a failed save or load), when a choice
// offers fewer options than the route picks or the route has no pick left,
// when the extra story is asked for but the title does not offer it, or when
// the story stays busy for ten minutes of virtual time without waiting for
// the player (a stall), or when it waits for a click in a state it already
// waited in since the last choice, with nothing that could ever end it (a
// loop).
class AutoPlayer {
 public:
  AutoPlayer(AutoOptions options, Game& game, HeadlessHost& host);

  // Looks at what the program waits for and queues the input it needs.
  // Called at every DoEvents while no input is pending; a value when the run
  // should stop.
  std::optional<AutoStop> Act();
  // Every message box the program shows, before it is answered.
  void OnMessageBox(const MessageBoxRequest& request);
  // Every record the story runs.
  void OnStep() { ++steps_; }

 private:
  std::optional<AutoStop> StartStory();
  std::optional<AutoStop> Choose();
  void ConfirmName();
  void ClickOn(const class PictureBox& box);
  std::string Where() const;
  // A click-wait in a state the story already waited in since the last
  // choice or story start: the story goes round without end.
  std::optional<AutoStop> CheckClickLoop();

  AutoOptions options_;
  Game& game_;
  HeadlessHost& host_;
  size_t nextStory_ = 0;
  size_t picksUsed_ = 0;
  std::mt19937 random_;
  uint32_t saves_ = 0;
  bool quitAsked_ = false;
  std::optional<AutoStop> failure_;
  // The last moment the program changed its wait or its position.
  uint32_t lastChange_ = 0;
  int lastWait_ = -1;
  int32_t lastPos_ = -1;
  // Records run, and the count at the last click-wait looked at: a wait is
  // a new one when records ran since.
  uint64_t steps_ = 0;
  uint64_t stepsAtClickWait_ = UINT64_MAX;
  std::set<std::string> clickWaits_;
};

// Reads "FAMILY,GIVEN" as the text the name dialog takes (the two names
// joined by an ideographic space); an error when there is no comma.
Result<std::string> NameDialogText(const std::string& familyComma);

}  // namespace dovetail
