#include <gtest/gtest.h>

#include "backends/hosts/headless/HeadlessHost.h"
#include "host/Waits.h"

namespace dovetail {
namespace {

TEST(WaitMs, WaitsWholeFiftyMillisecondRounds) {
  const std::pair<int16_t, uint32_t> cases[] = {{120, 2 * 51}, {49, 0}, {50, 51}, {0, 0}, {-5, 0}};
  for (auto [ms, elapsed] : cases) {
    HeadlessHost host;
    WaitMs(host, ms);
    EXPECT_EQ(host.TickCount(), elapsed) << ms;
  }
}

}  // namespace
}  // namespace dovetail
