#include "comforts/MessageHistory.h"

#include <utility>

namespace dovetail {

void MessageHistory::Add(ShownPage page) {
  pages_.push_back(std::move(page));
  if (pages_.size() > kMaxPages) pages_.pop_front();
}

}  // namespace dovetail
