#pragma once

#include <array>

#include "story/StoryState.h"

namespace dovetail {

// The names a new story starts with: the hero's surname (1) and given name
// (2), then the other speakers; entries 0 and 9 stay empty.
inline constexpr std::array<const char*, 10> kDefaultNames = {
    "", "桐原", "ほのか", "エドガー", "ノア", "楓", "小野寺", "マスター", "客", ""};

// Resets the story to the state of a new story: counters (except the happy
// count), café totals and logs, the current player's ranking entry, the stage,
// the names, the position and the name-dialog guard.
void NewGame(StoryState& story);

}  // namespace dovetail
