#pragma once

#include <memory>
#include <string>
#include <thread>

#include "base/Result.h"
#include "graphics/TextRenderer.h"

namespace dovetail {

// Looks the game's fonts up on a thread of its own from the moment it is made,
// so that the sound and the toolkit are set up meanwhile; the game needs the
// fonts only after its first frame. Take() waits for the lookup and hands
// over its outcome; the object may be dropped without it (the thread is
// joined).
class FontLookup {
 public:
  FontLookup();
  FontLookup(const FontLookup&) = delete;
  FontLookup& operator=(const FontLookup&) = delete;

  // The text renderer, or why there is none. Called once.
  Result<std::unique_ptr<TextRenderer>> Take();

 private:
  void LookUp();

  std::unique_ptr<TextRenderer> renderer_;
  std::string problem_;
  std::jthread thread_;
};

}  // namespace dovetail
