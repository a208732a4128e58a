#pragma once

#include <string>

namespace dovetail {

// A font as the program asks for it: the face name the original used (e.g.
// "ＭＳ Ｐゴシック"), the size in points and the style. The text drawing layer
// maps the name to an installed font.
struct FontSpec {
  std::string name = "ＭＳ ゴシック";
  float size = 9.0f;
  bool bold = false;
  bool italic = false;

  bool operator==(const FontSpec&) const = default;
};

}  // namespace dovetail
