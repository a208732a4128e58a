#pragma once

#include <cstddef>
#include <deque>

#include "scene/PageComforts.h"

namespace dovetail {

// The message pages shown in the story being played, oldest first; the
// oldest go once more than kMaxPages are kept.
class MessageHistory {
 public:
  static constexpr size_t kMaxPages = 500;

  void Add(ShownPage page);
  void Clear() { pages_.clear(); }
  size_t Size() const { return pages_.size(); }
  bool Empty() const { return pages_.empty(); }
  const ShownPage& Page(size_t index) const { return pages_[index]; }

 private:
  std::deque<ShownPage> pages_;
};

}  // namespace dovetail
