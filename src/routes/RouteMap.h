#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "routes/Route.h"
#include "story/ScriptTables.h"

namespace dovetail {

// What a route needs from the café: nothing (it meets no test of the final
// grade), a final grade of "A" or "B" (the test jumps), or a lower one.
enum class GradeNeed { None, High, Low };

// How a route's story ends.
enum class RouteEnd {
  Ending,     // the ending without the staff roll, then the ranking
  StaffRoll,  // the ending with the staff roll, then the ranking
  ScriptEnd,  // the script's last record: back to the title
  Quit,       // the quit command ends the program
  Stall,      // the story runs on without a choice or an end (a loop)
};

const char* RouteEndName(RouteEnd end);

// A save point a route passes: the label of its "g2" record and how many
// choices the route has made before it.
struct RouteSave {
  int16_t label = 0;
  size_t picksBefore = 0;
};

// One distinct route through the story, from a title entry to an end.
struct MappedRoute {
  StoryRoute story;  // a list of picks (or none), new or extra
  GradeNeed grade = GradeNeed::None;
  RouteEnd end = RouteEnd::ScriptEnd;
  int16_t endLabel = 0;          // label of the record where it ends
  std::vector<int16_t> labels;   // every label it executes, ascending
  std::vector<RouteSave> saves;  // in the order passed
  // The branches of the choice graph it takes and the end it reaches, as
  // numbers of the map.
  std::vector<uint64_t> branches;
};

// A content error met on the way (the interpreter's or a command's message),
// or a loop.
struct RouteProblem {
  int16_t label = 0;
  std::string message;
  // The record it is about (an index of the script table), when it is one
  // record's; -1 otherwise.
  int32_t record = -1;
};

struct RouteMap {
  std::vector<MappedRoute> routes;
  // Labels of the script that no route executes (nor arrives at as its last
  // record, where the story stops), ascending; a label whose only record is
  // the closing last record, which no story runs, is left out.
  std::vector<int16_t> unreached;
  std::vector<RouteProblem> problems;
  // False when there were more routes than the limit (the rest are left out;
  // `unreached` and `covering` still cover every route).
  bool complete = true;
  // Routes that together take every branch of every choice and grade test
  // and reach every end, so every label any route reaches: built on the
  // choice graph itself (not from `routes`), each route taking at each choice
  // the first branch not taken yet, else one that leads to such a branch.
  // Not always the fewest, but at most one a branch.
  std::vector<MappedRoute> covering;
};

// Walks the story's choice graph from the two title entries that start a
// story (the new story at record 0, the extra story at its label when the
// script has it) and lists every distinct route. The records are run by the
// game's own interpreter and command rules over a copy of the tables, with
// everything shown or heard left out: jumps, choices, the story counters,
// the stage counter and the conditional commands act as in the game. What
// the player does outside the choices does not change a route, with one
// exception: the café's final grade (set after stage 14), which a grade test
// ("i0") reads, so a route through such a test is listed once for each
// outcome that leads somewhere else.
//
// Two routes are distinct when they pick differently at a choice whose
// options lead on differently (to another record or with other counters);
// options that lead on the same way are one route, listed by the lowest
// option number. A route stops at a choice it already passed with the same
// story state (a loop, reported once as a problem).
RouteMap MapRoutes(const ScriptTables& tables, size_t limit = 10000);

}  // namespace dovetail
