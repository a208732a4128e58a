#include <gtest/gtest.h>

#include "backends/hosts/headless/HeadlessHost.h"

namespace dovetail {
namespace {

// The headless host answers for the machine with fixed values that a test
// sets, so the paths that depend on them can be tried on any machine.
TEST(HeadlessHostMachine, AnswersWithTheValuesATestSets) {
  HeadlessHost host;
  Host& asked = host;
  const MemoryFacts memory = asked.Memory();
  EXPECT_LE(memory.availablePhysical, memory.totalPhysical);
  EXPECT_EQ(memory.loadPercent,
            (memory.totalPhysical - memory.availablePhysical) * 100 / memory.totalPhysical);

  host.machine.screen = {800, 600, 16};
  host.machine.memory.loadPercent = 91;
  host.machine.system = {"Windows", "4.10", 4, 10, 1998};
  host.machine.now = {"2026/12/10", "13:05:09"};
  EXPECT_EQ(asked.Screen().bitsPerPixel, 16);
  EXPECT_EQ(asked.Screen().width, 800);
  EXPECT_EQ(asked.Memory().loadPercent, 91u);
  EXPECT_EQ(asked.System().minorVersion, 10);
  EXPECT_EQ(asked.LocalNow().time, "13:05:09");

  EXPECT_TRUE(asked.OpenLink("mailto:info@example.com"));
  EXPECT_TRUE(asked.OpenLink("https://example.com/"));
  EXPECT_EQ(host.OpenedLinks(),
            (std::vector<std::string>{"mailto:info@example.com", "https://example.com/"}));
}

// The café's order draws and result lines take the time of day from here: a
// headless run's time moves on with its virtual clock, across midnight too.
TEST(HeadlessHostMachine, TheLocalTimeMovesOnWithTheVirtualClock) {
  HeadlessHost host;
  host.machine.now = {"2026/12/31", "23:59:30"};
  host.Sleep(45'999);
  EXPECT_EQ(host.LocalNow().date, "2027/01/01");
  EXPECT_EQ(host.LocalNow().time, "0:00:15");
  host.machine.now = {"31.12.2026", "23:59"};  // another form stays as it is
  EXPECT_EQ(host.LocalNow().time, "23:59");
}

}  // namespace
}  // namespace dovetail
