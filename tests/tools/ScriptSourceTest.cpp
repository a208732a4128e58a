#include <gtest/gtest.h>

#include "base/Cp932.h"
#include "content/ScriptSource.h"
#include "content/TextLines.h"
#include "storage/DataFolder.h"
#include "support/Findings.h"
#include "support/TempFolder.h"

namespace dovetail::tools {
namespace {

using testing::Has;
using testing::Listing;
using testing::ReadBytes;
constexpr auto kError = Finding::Severity::Error;
constexpr auto kWarning = Finding::Severity::Warning;

const ScriptFileNames kSources{"script.csv", "choices.csv"};

// A small script that uses quoting, blanks, a heading row, Japanese text and
// a choice, with CR LF line ends.
const std::string kScript =
    "num,command,jump,bg,chara,face,spare,speaker,text,param1,param2,subst,note\r\n"
    "1000,,,1,,,,,BI,,,,店の前\r\n"
    "1000,,,,,,,2,\"&1、&2です。\",,,1,\"quoted, with a comma\"\r\n"
    "1010,s,,,,,,,2,,,,  blanks before a field\r\n"
    "1020,,,,,,,0,～コーヒー①～,,,,\r\n"
    "1020,g0,1040,,,,,,,,,,\r\n"
    "1030,,,,,,,0,ケーキ,,,,\r\n"
    "1040,e,,,,,,,,,,,\r\n"
    "1050,,,,,,,,,,,,\r\n";
const std::string kChoices = "1010,コーヒー,1020\r\n1010,\"ケーキ, ふたつ\",1030\r\n";

TEST(CompileScript, DecompilingGivesBackTheSourceByteForByte) {
  CompiledScript compiled = CompileScript(kScript, kChoices, kSources);
  ASSERT_TRUE(compiled.ok()) << Listing(compiled.findings);
  EXPECT_TRUE(compiled.findings.empty()) << Listing(compiled.findings);
  // The game's files are the inverted CP932 text.
  EXPECT_EQ(InvertBytes(compiled.script), Utf8ToCp932(kScript).value());
  EXPECT_EQ(InvertBytes(compiled.choices), Utf8ToCp932(kChoices).value());

  DecompiledScript decompiled = DecompileScript(compiled.script, compiled.choices);
  ASSERT_TRUE(decompiled.ok()) << Listing(decompiled.findings);
  EXPECT_EQ(decompiled.script, kScript);
  EXPECT_EQ(decompiled.choices, kChoices);
}

TEST(CompileScript, TheDemoScriptRoundTrips) {
  const std::string root = DOVETAIL_SOURCE_DIR "/content/demo/";
  const std::string script = WithCrLf(ReadBytes(root + "script.csv"));
  const std::string choices = WithCrLf(ReadBytes(root + "choices.csv"));
  CompiledScript compiled = CompileScript(script, choices, kSources);
  ASSERT_TRUE(compiled.ok()) << Listing(compiled.findings);
  DecompiledScript decompiled = DecompileScript(compiled.script, compiled.choices);
  EXPECT_EQ(decompiled.script, script);
  EXPECT_EQ(decompiled.choices, choices);
}

TEST(CompileScript, NormalisesLineEndsAndDropsTheByteOrderMark) {
  std::string source = "\xEF\xBB\xBF" + kScript;
  // LF, lone CR and CR LF all become CR LF, and the last line gets one: the
  // game's reader could not read its empty last field otherwise.
  source.replace(source.find("\r\n"), 2, "\n");
  source.replace(source.find("\r\n"), 2, "\r");
  source.resize(source.size() - 2);

  CompiledScript compiled = CompileScript(source, kChoices, kSources);
  ASSERT_TRUE(compiled.ok()) << Listing(compiled.findings);
  EXPECT_EQ(DecompileScript(compiled.script, compiled.choices).script, kScript);
}

TEST(CompileScript, WarnsAboutCharactersThatComeBackAsAnother) {
  std::string source = kScript;
  source.replace(source.find("ケーキ,,,"), 9, "〜ケーキ");  // U+301C, stored as U+FF5E
  CompiledScript compiled = CompileScript(source, kChoices, kSources);
  ASSERT_TRUE(compiled.ok()) << Listing(compiled.findings);
  EXPECT_TRUE(Has(compiled.findings, kWarning, "script.csv", 7, "U+301C"))
      << Listing(compiled.findings);
  EXPECT_NE(DecompileScript(compiled.script, compiled.choices).script.find("～ケーキ"),
            std::string::npos);
}

struct CompileFault {
  const char* name;
  std::string from;  // replaced in the script (or, with `inChoices`, the choices)
  std::string to;
  bool inChoices;
  const char* file;
  int row;
  const char* words;
};

TEST(CompileScript, RefusesFaultsNamingFileAndRow) {
  const CompileFault faults[] = {
      {"character CP932 lacks", "ケーキ,,,", "케이크,,,", false, "script.csv", 7,
       "\"케\" (U+CF00) cannot be written"},
      {"bytes that are not UTF-8", "ケーキ,,,", "\xFF,,,", false, "script.csv", 7, "not UTF-8"},
      {"label that is no number", "1030,,", "abc,,", false, "script.csv", 7,
       "\"abc\" is not a label number"},
      {"row with a field too many", "1040,e,,,,,,,,,,,", "1040,e,,,,,,,,,,,,", false, "script.csv",
       8, "14 fields, not 13"},
      {"empty line in the middle", "1030,,", "\r\n1030,,", false, "script.csv", 7, "empty"},
      {"jump to a missing label", "g0,1040", "g0,1045", false, "script.csv", 6,
       "jump target 1045 is not a label"},
      {"choice to a missing label", "ケーキ, ふたつ\",1030", "ケーキ\",1035", true, "choices.csv",
       2, "choice target 1035 is not a label"},
      {"choice text CP932 lacks", "コーヒー", "커피", true, "choices.csv", 1, "cannot be written"},
      {"choice without a target", ",1020", ",", true, "choices.csv", 1, "no target label"},
  };
  for (const CompileFault& fault : faults) {
    std::string script = kScript;
    std::string choices = kChoices;
    std::string& text = fault.inChoices ? choices : script;
    const size_t at = text.find(fault.from);
    ASSERT_NE(at, std::string::npos) << fault.name;
    text.replace(at, fault.from.size(), fault.to);
    CompiledScript compiled = CompileScript(script, choices, kSources);
    EXPECT_FALSE(compiled.ok()) << fault.name;
    EXPECT_TRUE(compiled.script.empty() && compiled.choices.empty()) << fault.name;
    EXPECT_TRUE(Has(compiled.findings, kError, fault.file, fault.row, fault.words))
        << fault.name << ":\n"
        << Listing(compiled.findings);
  }
}

TEST(DecompileScript, NamesTheRowOfBytesThatAreNotCp932) {
  std::string script = Utf8ToCp932(kScript).value();
  script.insert(script.find("1010"), "\x81\x20");  // a lead byte without its trail byte
  DecompiledScript decompiled =
      DecompileScript(InvertBytes(script), InvertBytes(Utf8ToCp932(kChoices).value()));
  EXPECT_FALSE(decompiled.ok());
  EXPECT_TRUE(Has(decompiled.findings, kError, "51.dat", 4, "not Shift_JIS"))
      << Listing(decompiled.findings);
}

}  // namespace
}  // namespace dovetail::tools
