#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "story/NewStory.h"
#include "story/StoryState.h"

namespace dovetail {

// The text the name dialog starts with: surname, ideographic space, given name.
std::string NameEntryText(const std::array<std::string, 10>& names);

// The most characters a hero's name takes in all, the space included.
inline constexpr int32_t kHeroNameMaxChars = 7;

// Takes the text of the name dialog: split at the first ideographic space (or,
// without one, the first ordinary space), at most seven characters in all and
// something after the space. Returns false and leaves the names unchanged when
// the text does not fit, or holds a character the save file cannot store.
bool AcceptHeroName(std::string_view text, std::array<std::string, 10>& names);

// Why the name dialog does not take `text`, in the player's words; empty when
// it does.
std::string HeroNameProblem(std::string_view text);

}  // namespace dovetail
