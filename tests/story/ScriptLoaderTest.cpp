#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <vector>

#include "base/Cp932.h"
#include "base/Files.h"
#include "storage/DataFolder.h"
#include "story/ScriptLoader.h"

namespace dovetail {
namespace {

namespace fs = std::filesystem;

std::string Cp932(const std::string& utf8) {
  return Utf8ToCp932(utf8).value();
}

TEST(DecodeLabel, FirstCharacterAndLastThree) {
  EXPECT_EQ(*DecodeLabel("1-059"), 1059);
  EXPECT_EQ(*DecodeLabel("1059"), 1059);
  EXPECT_EQ(*DecodeLabel("5"), 55);
  EXPECT_EQ(*DecodeLabel("20"), 220);
  EXPECT_FALSE(DecodeLabel("abc").ok());
  EXPECT_FALSE(DecodeLabel("").ok());
}

// A script row with the given label, command and text; other fields empty.
std::string Row(const std::string& label, const std::string& command = "",
                const std::string& text = "", const std::string& jump = "") {
  return label + "," + command + "," + jump + ",,,,,," + text + ",,,,\r\n";
}

TEST(LoadScriptTables, HeadingRowsTakeNoSlotAndLabelRunsBecomeEntries) {
  const std::string script =
      Cp932("num,cmd,jump,bg,chr,face,x,spk,text,p1,p2,sub,x\r\n" + Row("1000", "", "はじめ") +
            Row("1000", "", "つぎ") + "num,heading,again,,,,,,,,,,\r\n" +
            Row("1-010", "g0", "", "1000") + Row("1000", "", "also 1000"));
  const std::string choices = Cp932("1-010,行く,1000\r\n1-010,戻る,1-999\r\n");
  ScriptTables tables;
  std::vector<int16_t> reported;
  ASSERT_TRUE(LoadScriptTables(script, choices, tables, [&](int16_t p) { reported.push_back(p); }));
  EXPECT_EQ(reported, (std::vector<int16_t>{70, 80, 90}));

  EXPECT_EQ(tables.LastRecord, 3);
  EXPECT_EQ(tables.Script[0].Text, "はじめ");
  EXPECT_EQ(tables.Script[2].Label, 1010);
  EXPECT_EQ(tables.Script[2].Jump, 1000);
  EXPECT_EQ(tables.Script[0].Jump, 0);
  // 1000, 1010, then 1000 again: three runs.
  ASSERT_EQ(tables.LabelCount, 3);
  EXPECT_EQ(tables.Labels[0].Label, 1000);
  EXPECT_EQ(tables.Labels[0].Index, 0);
  EXPECT_EQ(tables.Labels[1].Index, 2);
  EXPECT_EQ(tables.Labels[2].Index, 3);
  // Targets: an existing label becomes the first record of its first run; a
  // missing one keeps its label number.
  EXPECT_EQ(tables.LastChoice, 1);
  EXPECT_EQ(tables.ChoiceTable[0].Owner, 1010);
  EXPECT_EQ(tables.ChoiceTable[0].Text, "行く");
  EXPECT_EQ(tables.ChoiceTable[0].Target, 0);
  EXPECT_EQ(tables.ChoiceTable[1].Target, 1999);
}

TEST(LoadScriptTables, ContentErrorsNameFileAndRow) {
  struct Case {
    std::string script;
    std::string choices;
    std::string expected;
  };
  std::string tooManyChoices;
  for (int i = 0; i < kChoiceCapacity + 1; ++i)
    tooManyChoices += "1000,a,1000\r\n";
  std::string tooManyLabels;
  for (int i = 0; i < kLabelCapacity + 1; ++i)
    tooManyLabels += Row(std::to_string(1000 + i));
  const Case cases[] = {
      {Row("1000") + Row("x-y"), "", "51.dat, row 2"},
      {Row("1000") + "1000,,,\r\n", "", "fewer than 13 fields"},
      {Row("1000"), "1000,a,\r\n", "52.dat, row 1: the choice has no target"},
      {Row("1000"), "1000,a,zz\r\n", "52.dat, row 1"},
      {Row("1000") + "1001,,,,,,,,\x81,,,,\r\n", "", "51.dat, row 2"},
      {tooManyLabels, "", "more than 501 label runs"},
      {Row("1000"), tooManyChoices, "more than 201 rows"},
  };
  for (const Case& c : cases) {
    ScriptTables tables;
    Status status = LoadScriptTables(c.script, c.choices, tables, {});
    ASSERT_FALSE(status.ok()) << c.expected;
    EXPECT_NE(status.error().message.find(c.expected), std::string::npos) << status.error().message;
  }
}

TEST(LoadScriptTables, RowsBeyondTheScriptTableAreRefused) {
  std::string script;
  for (int i = 0; i < kScriptCapacity + 1; ++i)
    script += "1000,,,,,,,,t,,,,\r\n";
  ScriptTables tables;
  Status status = LoadScriptTables(script, "", tables, {});
  ASSERT_FALSE(status.ok());
  EXPECT_NE(status.error().message.find("more than 5001 rows"), std::string::npos);
}

TEST(LoadScriptTables, EmptyFilesAndTrailingBlankLines) {
  ScriptTables tables;
  // A story without a row cannot start: a content error, not an empty story.
  for (const std::string& script : {std::string(), std::string("\r\n"), Row("num")}) {
    Status empty = LoadScriptTables(script, "", tables, {});
    ASSERT_FALSE(empty.ok());
    EXPECT_EQ(empty.error().message, "51.dat: the script holds no rows");
  }
  ASSERT_TRUE(LoadScriptTables(Row("1000") + "\r\n\r\n", "\r\n", tables, {}));
  EXPECT_EQ(tables.LastRecord, 0);
  EXPECT_EQ(tables.LabelCount, 1);
  EXPECT_EQ(tables.LastChoice, -1);
}

class DataFolderTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir = fs::temp_directory_path() /
          ("dovetail-datafolder-" +
           std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
           ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(dir);
    fs::create_directories(dir);
  }
  void TearDown() override { fs::remove_all(dir); }
  void Write(const std::string& name, const std::string& bytes) {
    ASSERT_TRUE(ReplaceFileAtomically(dir / name, bytes));
  }
  fs::path dir;
};

TEST_F(DataFolderTest, InversionRoundTripsAndEmptyFilesStayEmpty) {
  const std::string bytes(
      "\x00\x01\x7F\x80\xFF"
      "abc",
      8);
  EXPECT_EQ(InvertBytes(InvertBytes(bytes)), bytes);
  EXPECT_EQ(InvertBytes(std::string("\x00\xFF", 2)), std::string("\xFF\x00", 2));
  Write("51.dat", "");
  Write("52.dat", InvertBytes("x"));
  auto decoded = DecodeScripts(dir);
  ASSERT_TRUE(decoded);
  EXPECT_EQ(decoded->script, "");
  EXPECT_EQ(decoded->choices, "x");
}

TEST_F(DataFolderTest, TheClearTextScriptNeverLiesOnDisk) {
  Write("51.dat", InvertBytes(Row("1000", "", "ok")));
  Write("52.dat", InvertBytes(""));
  ScriptTables tables;
  ASSERT_TRUE(LoadScript(dir, tables, {}));
  EXPECT_EQ(tables.Script[0].Text, "ok");
  for (const auto& entry : fs::directory_iterator(dir))
    EXPECT_TRUE(entry.path().extension() == ".dat") << entry.path();

  Write("51.dat", InvertBytes(Row("bad")));
  EXPECT_FALSE(LoadScript(dir, tables, {}));
  fs::remove(dir / "52.dat");
  Status missing = LoadScript(dir, tables, {});
  ASSERT_FALSE(missing.ok());
  EXPECT_NE(missing.error().message.find("52.dat"), std::string::npos);
}

TEST_F(DataFolderTest, LeftoversOfAnInterruptedRunAreRemovedAndNothingElse) {
  const std::vector<std::string> leftovers = {"51.cod",         "52.cod",
                                              ".40.dat.a1B2c3", ".40.dat.bak.XyZ012",
                                              ".20.dat.000000", ".30.dat.qwerty"};
  const std::vector<std::string> kept = {"40.dat",          "40.dat.bak", ".40.dat.toolong1",
                                         ".p04.dat.abcdef", "notes.txt",  ".40.dat.abc"};
  for (const auto& name : leftovers)
    Write(name, "x");
  for (const auto& name : kept)
    Write(name, "x");
  fs::create_directory(dir / ".20.dat.folder");  // a folder is never removed
  RemoveLeftovers(dir);
  for (const auto& name : leftovers)
    EXPECT_FALSE(fs::exists(dir / name)) << name;
  for (const auto& name : kept)
    EXPECT_TRUE(fs::exists(dir / name)) << name;
  EXPECT_TRUE(fs::is_directory(dir / ".20.dat.folder"));
}

TEST_F(DataFolderTest, HeadersAreRestoredAndHiddenInPlace) {
  const std::string body = "JF" + std::string(100, '\x42');
  Write("p04.dat", body);
  ASSERT_TRUE(RestoreHeader(dir / "p04.dat", 'B'));
  EXPECT_EQ(*ReadWholeFile(dir / "p04.dat"), "BM" + body.substr(2));
  ASSERT_TRUE(HideHeader(dir / "p04.dat"));
  EXPECT_EQ(*ReadWholeFile(dir / "p04.dat"), body);
  Status missing = HideHeader(dir / "p05.dat");
  ASSERT_FALSE(missing.ok());
  EXPECT_NE(missing.error().message.find("p05.dat"), std::string::npos);
}

TEST_F(DataFolderTest, HeadersAreNeverWrittenThroughALinkOrIntoWhatIsNoFile) {
  const fs::path outside = dir / "outside";
  fs::create_directory(outside);
  Write("outside/target.bmp", "JF" + std::string(10, 'x'));
  fs::create_symlink(outside / "target.bmp", dir / "p04.dat");
  fs::create_directory(dir / "p05.dat");
  for (const char* name : {"p04.dat", "p05.dat"}) {
    for (Status status : {RestoreHeader(dir / name, 'B'), HideHeader(dir / name)}) {
      ASSERT_FALSE(status.ok()) << name;
      EXPECT_NE(status.error().message.find(name), std::string::npos) << status.error().message;
    }
  }
  EXPECT_EQ(*ReadWholeFile(outside / "target.bmp"), "JF" + std::string(10, 'x'));
}

TEST_F(DataFolderTest, FileNamesAreFoundWhateverTheirCase) {
  Write("p99.dat", "x");
  EXPECT_EQ(DataFile(dir, "P99.dat"), dir / "p99.dat");
  fs::create_directory(dir / "DATA");
  EXPECT_EQ(DataFile(dir, "data"), dir / "DATA");
  EXPECT_EQ(DataFile(dir, "none.dat"), dir / "none.dat");
}

}  // namespace
}  // namespace dovetail
