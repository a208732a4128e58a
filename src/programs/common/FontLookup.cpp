#include "programs/common/FontLookup.h"

#include <cassert>
#include <utility>

#include "backends/glyphs/freetype/FreeTypeGlyphs.h"

namespace dovetail {

// The thread is the last member: it starts once the outcome it fills exists.
FontLookup::FontLookup() : thread_([this] { LookUp(); }) {}

void FontLookup::LookUp() {
  auto made = MakeFreeTypeTextRenderer();
  if (made.ok()) {
    renderer_ = std::move(*made);
  } else {
    problem_ = made.error().message;
  }
}

Result<std::unique_ptr<TextRenderer>> FontLookup::Take() {
  assert(thread_.joinable() && "Take() is called once");
  thread_.join();
  if (renderer_ == nullptr) return Error{problem_};
  return std::move(renderer_);
}

}  // namespace dovetail
