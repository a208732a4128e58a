#pragma once

#include <cstdint>
#include <vector>

#include "backends/hosts/headless/HeadlessHost.h"
#include "minigame/CafeGame.h"

namespace dovetail {

// How a headless run plays the café when the play file does not: nobody
// serves (idle), every customer is served correctly as soon as the order
// shows (perfect), or every customer is served wrongly (wrong).
enum class CafePolicy { Idle, Perfect, Wrong };

// The mouse input a player gives to serve the customer at `seat` of the
// running stage, on the real controls: the cancel button when the plate is
// not empty, then for each dish of the order a move over its category's staff
// face, a move over the dish button and a click on it, then a click on the
// customer. A wrong serving gives the customer an empty plate, or, for an
// empty order, one dish. Every input is timed at `at`.
std::vector<ScriptedInput> ServingGestures(const cafe::CafeGame& cafe,
                                           const cafe::CafeTables& tables, int16_t seat,
                                           bool correct, uint32_t at);

}  // namespace dovetail
