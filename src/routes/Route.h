#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "base/Result.h"

namespace dovetail {

// How one story is played from the title: where it starts and which option
// it picks at each choice.
//
// Text form (what `dovetail-run --auto` takes and `--routes` prints):
//   [extra:|load:]PICKS
// where PICKS is a comma list of option numbers, 1-based as the buttons are
// shown ("2,1,3"), "none" for a story without choices, "first", "last" or
// "random:SEED". "extra:" starts the extra story (title entry 3), "load:"
// loads the save (title entry 2); without either the story starts new
// (entry 1). A route is one or more stories joined by "+", played one after
// another, each from the title the story before returned to
// ("first+extra:none").
struct StoryRoute {
  enum class Start { New, Load, Extra };
  enum class Picks { List, First, Last, Random };

  Start start = Start::New;
  Picks picks = Picks::List;
  std::vector<int> list;  // option numbers from 1, for Picks::List
  uint32_t seed = 0;      // for Picks::Random

  bool operator==(const StoryRoute&) const = default;
};

using Route = std::vector<StoryRoute>;

// Reads a route's text form; the error says what does not fit.
Result<Route> ParseRoute(std::string_view text);

// The text form of one story's route, and of a whole route.
std::string StoryRouteText(const StoryRoute& story);
std::string RouteText(const Route& route);

}  // namespace dovetail
