#pragma once

#include <string>
#include <string_view>

namespace dovetail {

// The header disguise of the twelve pictures in kPictureFiles: while the
// program is not running their first two bytes are "JF" instead of the
// bitmap signature "BM". Start-up puts "BM" back, shutdown "JF" again.
inline constexpr std::string_view kBitmapSignature = "BM";
inline constexpr std::string_view kDisguisedSignature = "JF";

// The bytes of a bitmap file with its signature disguised, as they rest in
// the data folder, and back. Fewer than two bytes stay as they are.
inline std::string Disguised(std::string bitmap) {
  if (bitmap.size() >= 2) bitmap.replace(0, 2, kDisguisedSignature);
  return bitmap;
}
inline std::string Undisguised(std::string bytes) {
  if (bytes.size() >= 2) bytes.replace(0, 2, kBitmapSignature);
  return bytes;
}

// True for the files that rest disguised (compared like the program's own
// names, exactly).
bool IsDisguisedPicture(std::string_view name);

}  // namespace dovetail
