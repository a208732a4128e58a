#pragma once

#include <cstdint>

namespace dovetail {

// The program's screen: the main window's client area, and every picture that
// fills it (the story's stage, the title, the café, the ranking), in pixels.
constexpr int32_t kScreenWidth = 640;
constexpr int32_t kScreenHeight = 480;

}  // namespace dovetail
