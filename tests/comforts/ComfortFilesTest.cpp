#include <gtest/gtest.h>

#include "comforts/ComfortSettings.h"
#include "comforts/MessageHistory.h"
#include "comforts/ReadPages.h"
#include "comforts/Screenshot.h"
#include "support/TempFolder.h"

namespace dovetail {
namespace {

TEST(ReadPages, WritesRangesAndReadsThemBack) {
  ReadPages pages;
  for (int32_t position : {3, 4, 5, 9, 0})
    pages.Mark(position);
  EXPECT_EQ(pages.Format(), "dovetail read pages 1\n0\n3-5\n9\n");
  const ReadPages back = ReadPages::Parse(pages.Format());
  for (int32_t position = -1; position < 12; ++position) {
    EXPECT_EQ(back.WasRead(position), pages.WasRead(position)) << position;
  }
  EXPECT_FALSE(back.Unsaved());
  EXPECT_FALSE(pages.Mark(4)) << "read already";
}

TEST(ReadPages, ADamagedFileMeansNothingWasRead) {
  for (const char* text : {"", "0-9\n", "dovetail read pages 1\n5-2\n",
                           "dovetail read pages 1\n1-x\n", "dovetail read pages 1\n-3\n",
                           "dovetail read pages 1\n0-99999999\n", "dovetail read pages 2\n1\n"}) {
    const ReadPages pages = ReadPages::Parse(text);
    EXPECT_FALSE(pages.WasRead(1)) << text;
    EXPECT_FALSE(pages.WasRead(3)) << text;
  }
}

TEST(MessageHistory, KeepsTheNewestPagesOnly) {
  MessageHistory history;
  for (int32_t position = 0; position < 501; ++position)
    history.Add({position, 0, "", "page", kWhite});
  ASSERT_EQ(history.Size(), MessageHistory::kMaxPages);
  EXPECT_EQ(history.Page(0).position, 1);
  EXPECT_EQ(history.Page(history.Size() - 1).position, 500);
}

TEST(ComfortSettings, ReadsWhatItWritesAndKeepsDefaultsForWhatItCannotRead) {
  ComfortSettings chosen;
  chosen.zoom = 2;
  chosen.fullScreen = true;
  chosen.autoAdvance = true;
  chosen.autoSpeed = AutoSpeed::Slow;
  chosen.skipRead = true;
  EXPECT_EQ(ComfortSettings::Parse(chosen.Format()), chosen);

  const ComfortSettings odd = ComfortSettings::Parse(
      "zoom=0\nfullscreen=yes\nauto = 1\nauto-speed=7\nunknown=1\nskip-read\n\xff\xfe=1\n");
  ComfortSettings expected;
  expected.autoAdvance = true;
  EXPECT_EQ(odd, expected);
}

TEST(Screenshot, IsNamedForItsMomentAndNeverReplacesAnother) {
  EXPECT_EQ(ScreenshotName({"2026/12/11", "9:05:07"}), "dovetail-20261211-090507.png");
  EXPECT_EQ(ScreenshotName({"2026/12/11", "13:05:07"}, 3), "dovetail-20261211-130507-3.png");

  testing::TempFolder folder("screenshot");
  const Surface frame(4, 3, kWhite);
  FolderPlayerFiles shots = FolderPlayerFiles::Folder(folder.path / "Pictures" / "Dovetail");
  auto first = SaveScreenshot(frame, shots, {"2026/12/11", "9:05:07"});
  ASSERT_TRUE(first.ok()) << first.error().message;
  auto second = SaveScreenshot(frame, shots, {"2026/12/11", "9:05:07"});
  ASSERT_TRUE(second.ok()) << second.error().message;
  EXPECT_EQ(first->filename(), "dovetail-20261211-090507.png");
  EXPECT_EQ(second->filename(), "dovetail-20261211-090507-2.png");

  // A folder that cannot be made is named in the error.
  testing::WriteBytes(folder.path / "file", "x");
  FolderPlayerFiles blocked = FolderPlayerFiles::Folder(folder.path / "file" / "Dovetail");
  auto refused = SaveScreenshot(frame, blocked, {"2026/12/11", "9:05:07"});
  ASSERT_FALSE(refused.ok());
  EXPECT_NE(refused.error().message.find("file"), std::string::npos);
}

}  // namespace
}  // namespace dovetail
