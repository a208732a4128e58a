#include <gtest/gtest.h>

#include <filesystem>

#include "programs/common/InstanceLock.h"

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

// A link planted where the lock file goes (in a shared temporary folder
// anyone can write) is not followed: nothing is made or opened at its target.
TEST(InstanceLock, APlantedLinkIsNotFollowed) {
  const auto folder = std::filesystem::temp_directory_path() / "dovetail-lock-linked";
  const auto target = std::filesystem::temp_directory_path() / "dovetail-lock-target";
  const auto lock = InstanceLock::LockFile(folder);
  std::filesystem::remove(lock);
  std::filesystem::remove(target);
  std::filesystem::create_symlink(target, lock);
  EXPECT_NE(InstanceLock::Acquire(folder), nullptr);  // runs, unguarded
  EXPECT_FALSE(std::filesystem::exists(target));
  EXPECT_TRUE(std::filesystem::is_symlink(lock));
  std::filesystem::remove(lock);
}

}  // namespace
}  // namespace dovetail
