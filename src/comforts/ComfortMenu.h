#pragma once

namespace dovetail {

// The drop-down that holds the comforts' menu items, after the game's own
// items.
inline constexpr const char* kComfortMenu = "便利機能";

}  // namespace dovetail
