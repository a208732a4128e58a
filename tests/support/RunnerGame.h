#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "backends/glyphs/freetype/FreeTypeGlyphs.h"
#include "graphics/TextRenderer.h"
#include "programs/runner/HeadlessRunner.h"
#include "support/LogLine.h"
#include "support/PlayedRun.h"
#include "support/TestDataFolder.h"

namespace dovetail::testing {

// A test data folder of the test's own (named after the test) played by the
// headless runner: the one fixture of the tests that drive the game through
// play files and read its log.
class RunnerGame : public ::testing::Test {
 protected:
  RunnerGame()
      : folder(::testing::UnitTest::GetInstance()->current_test_info()->name()),
        text(MakeFreeTypeTextRenderer().value()) {}

  // The options of a run of the folder, its snapshots written into it.
  RunnerOptions Options() const {
    RunnerOptions options;
    options.gameFolder = folder.root;
    options.snapDir = folder.root;
    return options;
  }
  // Plays `playText` with `options`; returns the exit code and keeps the log's
  // lines and the reason the run stopped early.
  int PlayWith(RunnerOptions options, const std::string& playText) {
    PlayedRun run = PlayHeadless(std::move(options), playText, *text);
    failure = run.failure;
    lines = std::move(run.lines);
    return run.code;
  }
  // The log's lines of one event, in order.
  std::vector<LogLine> Events(const std::string& name) const { return EventsNamed(lines, name); }

  TestDataFolder folder;
  std::unique_ptr<TextRenderer> text;
  std::vector<std::string> lines;
  std::string failure;
};

}  // namespace dovetail::testing
