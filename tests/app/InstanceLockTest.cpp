#include <gtest/gtest.h>

#include <filesystem>

#include "app/InstanceLock.h"

namespace dovetail {
namespace {

TEST(InstanceLock, OneCopyPerGameFolder) {
  const auto folder = std::filesystem::temp_directory_path() / "dovetail-lock-a";
  const auto other = std::filesystem::temp_directory_path() / "dovetail-lock-b";
  auto first = InstanceLock::Acquire(folder);
  ASSERT_NE(first, nullptr);
  EXPECT_EQ(InstanceLock::Acquire(folder), nullptr);
  EXPECT_NE(InstanceLock::Acquire(other), nullptr);
  first.reset();
  EXPECT_NE(InstanceLock::Acquire(folder), nullptr);
}

}  // namespace
}  // namespace dovetail
