#pragma once

#include <cstdint>
#include <string>

namespace dovetail::tools {

// The program's icon at `size` × `size` pixels as a PNG file with
// transparency: a cup of coffee with its steam on a caramel tile with
// rounded corners, drawn for every size from the same shapes.
std::string AppIconPng(int32_t size);

}  // namespace dovetail::tools
