#pragma once

namespace dovetail {

// The program's name, the title of every message box it shows.
inline constexpr const char* kAppTitle = "Dovetail";

}  // namespace dovetail
