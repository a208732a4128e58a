#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "backends/hosts/headless/HeadlessHost.h"
#include "story/Interpreter.h"
#include "story/ScriptLoader.h"
#include "support/RecordedEvents.h"
#include "support/StubStoryHandlers.h"

namespace dovetail {
namespace {

// A story whose records are given as (label, command, text, jump); the
// message handler logs every text shown.
class InterpreterTest : public ::testing::Test {
 protected:
  InterpreterTest() : handlers(state), interpreter(state, host, handlers, events) {
    handlers.showMessage = [this] { shown.push_back(state.CurText); };
  }

  void Load(const std::vector<ScriptRecord>& records) {
    ScriptTables& t = state.tables;
    int32_t i = 0;
    for (const ScriptRecord& r : records)
      t.Script[i++] = r;
    t.LastRecord = i - 1;
    ASSERT_TRUE(BuildLabels(t).ok());
  }

  static ScriptRecord Text(int16_t label, std::string text) {
    ScriptRecord r;
    r.Label = label;
    r.Text = std::move(text);
    return r;
  }
  static ScriptRecord Command(int16_t label, std::string command, int16_t jump = 0,
                              std::string text = "") {
    ScriptRecord r = Text(label, std::move(text));
    r.Command = std::move(command);
    r.Jump = jump;
    return r;
  }

  HeadlessHost host;
  StoryState state;
  testing::StubStoryHandlers handlers;
  testing::RecordedEvents events;
  Interpreter interpreter;
  std::vector<std::string> shown;
};

TEST_F(InterpreterTest, RunsToTheLastRecordWithoutExecutingIt) {
  Load({Text(1000, "a"), Text(1000, "b"), Text(1001, "end marker")});
  interpreter.RunScript();
  EXPECT_EQ(shown, (std::vector<std::string>{"a", "b"}));
  EXPECT_EQ(state.ScriptPos, 2);
}

TEST_F(InterpreterTest, AJumpToTheLastRecordExecutesIt) {
  Load({Command(1000, "g0", 1002), Text(1001, "skipped"), Text(1002, "last")});
  interpreter.RunScript();
  EXPECT_EQ(shown, (std::vector<std::string>{"last"}));
}

TEST_F(InterpreterTest, AFailedJumpIsReportedOnceAndTheStoryGoesOn) {
  Load({Command(1000, "g0", 1500), Text(1001, "next"), Text(1002, "end")});
  interpreter.RunScript();
  ASSERT_EQ(host.MessageBoxes().size(), 1u);
  EXPECT_EQ(host.MessageBoxes()[0].request.text, "Not found NUM:1000 to SEQ");
  EXPECT_EQ(shown, (std::vector<std::string>{"next"}));
}

TEST_F(InterpreterTest, FindLabelSearchesByHalving) {
  Load({Text(1000, "only")});
  EXPECT_TRUE(interpreter.FindLabel(1000));
  EXPECT_EQ(state.ScriptPos, 0);

  Load({Text(1000, ""), Text(1010, ""), Text(1020, ""), Text(1030, ""), Text(1040, "")});
  for (int32_t k = 0; k < 5; ++k) {
    state.ScriptPos = -1;
    EXPECT_TRUE(interpreter.FindLabel(static_cast<int16_t>(1000 + 10 * k)));
    EXPECT_EQ(state.ScriptPos, k);
  }
  state.ScriptPos = 3;
  state.CurLabel = 1234;
  EXPECT_FALSE(interpreter.FindLabel(999));
  EXPECT_FALSE(interpreter.FindLabel(2000));
  EXPECT_FALSE(interpreter.FindLabel(1015));
  EXPECT_EQ(state.ScriptPos, 3);
  ASSERT_EQ(host.MessageBoxes().size(), 3u);
  EXPECT_EQ(host.MessageBoxes()[0].request.text, "Not found NUM:1234 to SEQ");
}

TEST_F(InterpreterTest, FindChoicesTakesTheFirstEntryOfTheLabel) {
  ScriptTables& t = state.tables;
  t.ChoiceTable[0] = {1000, "a", 0};
  t.ChoiceTable[1] = {1010, "b", 0};
  t.ChoiceTable[2] = {1010, "c", 0};
  t.LastChoice = 2;
  EXPECT_TRUE(interpreter.FindChoices(1010));
  EXPECT_EQ(state.ChoiceBase, 1);
  EXPECT_FALSE(interpreter.FindChoices(1020));
  EXPECT_EQ(state.ChoiceBase, 1);
  EXPECT_EQ(host.MessageBoxes().back().request.text, "SCT:1020 not found.");
}

TEST_F(InterpreterTest, NamesAreSubstitutedIntoTheText) {
  state.Names[1] = "桐原";
  state.Names[2] = "ほのか";
  state.CurText = "&1と&2";
  interpreter.SubstituteNames();
  EXPECT_EQ(state.CurText, "桐原とほのか");

  state.Names[1] = "A";
  state.Names[2] = "長い名前です";
  state.CurText = "「&1」「&2」!";
  interpreter.SubstituteNames();
  EXPECT_EQ(state.CurText, "「A」「長い名前です」!");

  // A name holding a placeholder is not expanded again.
  state.Names[1] = "&1";
  state.CurText = "x&1y";
  interpreter.SubstituteNames();
  EXPECT_EQ(state.CurText, "x&1y");
}

TEST_F(InterpreterTest, PictureFieldsAndCommandsDecideWhetherTextIsShown) {
  handlers.showBackground = [] { return kAdvance; };
  handlers.changeFace = [] { return kShowText; };
  ScriptRecord background = Text(1000, "not shown");
  background.Background = "7";
  ScriptRecord face = Text(1000, "face text");
  face.Face = "2";
  ScriptRecord both = Command(1000, "zz", 0, "unknown command keeps the face's result");
  both.Face = "3";
  ScriptRecord overridden = Command(1000, "w", 0, "10");
  overridden.Face = "3";
  Load({background, face, both, overridden, Text(1001, "end")});
  interpreter.RunScript();
  EXPECT_EQ(shown,
            (std::vector<std::string>{"face text", "unknown command keeps the face's result"}));
  EXPECT_EQ(state.BgNo, 7);
  EXPECT_EQ(state.FaceNo, 3);
}

TEST_F(InterpreterTest, WaitWithoutATimeWaitsJustOverASecond) {
  Load({Command(1000, "w"), Command(1000, "w", 0, "120"), Text(1001, "end")});
  state.ScriptPos = 0;
  interpreter.RunScript();
  // 1000 ms: slices of 50 ms plus 1 ms per event round until more than 1000 passed.
  // 120 ms: three slices.
  EXPECT_EQ(host.TickCount(), 20u * 51 + 3 * 51);
}

TEST_F(InterpreterTest, GameCommandsCountStagesAndOpenTheNameDialogOnce) {
  int nameDialogs = 0;
  int keys = 0;
  handlers.openNameEntry = [&] { ++nameDialogs; };
  handlers.keys = [&] { ++keys; };
  Load({Command(1000, "g1"), Command(1000, "g4"), Command(1000, "g4"), Command(1000, "g9"),
        Text(1001, "end")});
  interpreter.RunScript();
  EXPECT_EQ(state.StageNo, 3);
  EXPECT_EQ(nameDialogs, 1);
  EXPECT_EQ(keys, 1);
  EXPECT_TRUE(state.NameEntered);
}

TEST_F(InterpreterTest, TheCafeStageAndTheEndingGoToTheirSeams) {
  int stages = 0;
  int endings = 0;
  handlers.playCafeStage = [&] { ++stages; };
  handlers.playEnding = [&] { ++endings; };
  Load({Command(1000, "g3"), Text(1000, "after the stage"), Command(1000, "e"),
        Text(1000, "after the ending"), Text(1001, "end")});
  interpreter.RunScript();
  EXPECT_EQ(stages, 1);
  EXPECT_EQ(endings, 1);
  // The ending stops the script.
  EXPECT_EQ(shown, std::vector<std::string>{"after the stage"});
}

}  // namespace
}  // namespace dovetail
