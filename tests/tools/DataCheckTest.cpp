#include <gtest/gtest.h>

#include <functional>

#include "base/Cp932.h"
#include "content/DataCheck.h"
#include "demo/CursorArt.h"
#include "demo/MusicRecipe.h"
#include "graphics/BitmapFile.h"
#include "storage/DataFolder.h"
#include "storage/PictureDisguise.h"
#include "support/Findings.h"
#include "support/TempFolder.h"

namespace dovetail::tools {
namespace {

namespace fs = std::filesystem;
using testing::ErrorsOf;
using testing::Has;
using testing::Listing;
using testing::WriteBytes;
constexpr auto kError = Finding::Severity::Error;
constexpr auto kWarning = Finding::Severity::Warning;

// The script of the small folder, one string a line (line 1 is the heading):
//  2 1000 background 1          7 1020 text
//  3 1000 character 11 at L     8 1020 g0 → 1040
//  4 1000 face 2 of 11          9 1030 text
//  5 1010 g2 (save point)      10 1040 e
//  6 1010 s, two choices       11 1050 closing record
std::vector<std::string> BaseScript() {
  return {
      "num,command,jump,bg,chara,face,spare,speaker,text,param1,param2,subst,note",
      "1000,,,1,,,,,BI,,,,",
      "1000,,,,11,,,,L,,,,",
      "1000,,,,11,2,,3,こんにちは,,,,",
      "1010,g2,,,,,,,,,,,",
      "1010,s,,,,,,,2,,,,",
      "1020,,,,,,,0,A,,,,",
      "1020,g0,1040,,,,,,,,,,",
      "1030,,,,,,,0,B,,,,",
      "1040,e,,,,,,,,,,,",
      "1050,,,,,,,,,,,,",
  };
}

std::vector<std::string> BaseChoices() {
  return {"1010,Aへ,1020", "1010,Bへ,1030"};
}

std::string Join(const std::vector<std::string>& lines) {
  std::string text;
  for (const std::string& line : lines)
    text += line + "\r\n";
  return text;
}

std::string Disguised(const Surface& picture) {
  return dovetail::Disguised(EncodeBitmap24(picture));
}

// A small data folder that the checker finds no error in (its pictures are
// too small for the game's sheets, which gives warnings only).
struct SmallFolder {
  explicit SmallFolder(const std::string& name) : temp(name), dir(temp.path) {
    std::string settings = "1100\r\n";
    for (int stage = 1; stage <= 14; ++stage)
      settings += "1,0.05,1,0.01,20,0.05,60\r\n";
    for (int dish = 0; dish < 20; ++dish)
      settings += "120,330,60,60,0,0,コーヒー\r\n";
    for (int spot = 0; spot < 12; ++spot)
      settings += "540,62,60,60\r\n";
    Write("20.dat", Utf8ToCp932(settings).value());
    Write("30.dat", Utf8ToCp932("楓,B,900\r\nノア,C,500\r\n,,0\r\n,,0\r\n,,0\r\n").value());
    SetScript(BaseScript(), BaseChoices());
    for (const char* picture : kPictureFiles)
      Write(picture, Disguised(Surface(8, 8, Rgb(10, 20, 30))));
    Write("91.dat", Disguised(Surface(340, 416, Rgb(10, 20, 30))));
    for (const char* picture : {"p01.dat", "p03.dat", "P99.dat"})
      Write(picture, EncodeBitmap24(Surface(8, 8, Rgb(200, 100, 50))));
    auto recipe = ParseMusicRecipe(
        "tempo 100\nmeter 2\npart a channel 0 program 0 velocity 90\nC4:2 |\n", "x");
    for (const char* music : {"01.mid", "02.mid", "03.mid"})
      Write(music, EncodeMidi(*recipe));
    Write("select.cur", EncodeCursor(PointingHand(), kHandHotX, kHandHotY));
  }

  void Write(const std::string& name, const std::string& bytes) { WriteBytes(dir / name, bytes); }
  void SetScript(const std::vector<std::string>& script, const std::vector<std::string>& choices) {
    Write("51.dat", InvertBytes(Utf8ToCp932(Join(script)).value()));
    Write("52.dat", InvertBytes(Utf8ToCp932(Join(choices)).value()));
  }

  testing::TempFolder temp;
  fs::path dir;
};

TEST(CheckDataFolder, ASmallCompleteFolderHasNoErrors) {
  SmallFolder folder("complete");
  const auto findings = CheckDataFolder(folder.dir);
  EXPECT_TRUE(ErrorsOf(findings).empty()) << Listing(findings);
  // The undersized sheets are reported, as warnings.
  EXPECT_TRUE(Has(findings, kWarning, "90.dat", 0, "needs at least 680 × 520"))
      << Listing(findings);
}

struct PlantedFault {
  const char* name;
  std::function<void(SmallFolder&)> plant;
  const char* file;
  int row;
  const char* words;
};

std::vector<std::string> Edited(int line, const std::string& text) {
  std::vector<std::string> script = BaseScript();
  script[static_cast<size_t>(line - 1)] = text;
  return script;
}

TEST(CheckDataFolder, FindsEachPlantedFault) {
  const PlantedFault faults[] = {
      {"a missing file", [](SmallFolder& f) { fs::remove(f.dir / "p05.dat"); }, "p05.dat", 0,
       "missing"},
      {"a missing music file", [](SmallFolder& f) { fs::remove(f.dir / "02.mid"); }, "02.mid", 0,
       "missing"},
      {"an undecodable disguised picture",
       [](SmallFolder& f) { f.Write("90.dat", "JF this is no bitmap"); }, "90.dat", 0, "90.dat"},
      {"a disguised picture with another header",
       [](SmallFolder& f) { f.Write("21.dat", "XX" + EncodeBitmap24(Surface(4, 4)).substr(2)); },
       "21.dat", 0, "neither \"JF\""},
      {"a plain picture with the hidden header",
       [](SmallFolder& f) { f.Write("p03.dat", Disguised(Surface(8, 8, Rgb(9, 9, 9)))); },
       "p03.dat", 0, "disguised"},
      {"settings cut short", [](SmallFolder& f) { f.Write("20.dat", "1100\r\n1,0.05,1\r\n"); },
       "20.dat", 0, "20.dat"},
      {"a ranking of four rows",
       [](SmallFolder& f) { f.Write("30.dat", "a,B,1\r\nb,B,1\r\nc,B,1\r\nd,B,1\r\n"); }, "30.dat",
       0, "4 rows, not 5"},
      {"a ranking row without its score",
       [](SmallFolder& f) { f.Write("30.dat", "a,B,1\r\nb,B\r\nc,B,1\r\nd,B,1\r\ne,B,1\r\n"); },
       "30.dat", 2, "2 fields, not 3"},
      {"music that is not MIDI", [](SmallFolder& f) { f.Write("03.mid", "RIFF....WAVE"); },
       "03.mid", 0, "not a Standard MIDI file"},
      {"a broken cursor", [](SmallFolder& f) { f.Write("select.cur", std::string(10, '\1')); },
       "select.cur", 0, "select.cur"},
      {"a falling label",
       [](SmallFolder& f) { f.SetScript(Edited(9, "1005,,,,,,,0,B,,,,"), BaseChoices()); },
       "51.dat", 9, "lower than the label 1020"},
      {"a missing jump target",
       [](SmallFolder& f) { f.SetScript(Edited(8, "1020,g0,1045,,,,,,,,,,"), BaseChoices()); },
       "51.dat", 8, "jump target 1045 is not a label"},
      {"a jump command without a target",
       [](SmallFolder& f) { f.SetScript(Edited(8, "1020,g0,,,,,,,,,,,"), BaseChoices()); },
       "51.dat", 8, "needs a jump target"},
      {"a missing choice target",
       [](SmallFolder& f) {
         f.SetScript(BaseScript(), {"1010,Aへ,1020", "1010,Bへ,1035"});
       },
       "52.dat", 2, "choice target 1035 is not a label"},
      {"a choice count of 7",
       [](SmallFolder& f) { f.SetScript(Edited(6, "1010,s,,,,,,,7,,,,"), BaseChoices()); },
       "51.dat", 6, "choice count \"7\""},
      {"fewer choice entries than the count",
       [](SmallFolder& f) { f.SetScript(BaseScript(), {"1010,Aへ,1020"}); }, "51.dat", 6,
       "ends after 1 of them"},
      {"choice entries that do not stand together",
       [](SmallFolder& f) {
         f.SetScript(BaseScript(), {"1010,Aへ,1020", "1030,X,1020", "1010,Bへ,1030"});
       },
       "51.dat", 6, "must stand together"},
      {"more than 201 choices",
       [](SmallFolder& f) {
         std::vector<std::string> choices;
         for (int i = 0; i < 202; ++i)
           choices.push_back("1010,c" + std::to_string(i) + ",1020");
         f.SetScript(BaseScript(), choices);
       },
       "52.dat", 202, "more than 201"},
      {"a save point on label 55",
       [](SmallFolder& f) {
         std::vector<std::string> script = BaseScript();
         script.insert(script.begin() + 1, "5,g2,,,,,,,,,,,");
         f.SetScript(script, BaseChoices());
       },
       "51.dat", 2, "four-digit label"},
      {"a save point after the first record of its label",
       [](SmallFolder& f) {
         std::vector<std::string> script = BaseScript();
         std::swap(script[4], script[5]);
         f.SetScript(script, BaseChoices());
       },
       "51.dat", 6, "first record of its label"},
      {"a row with 12 fields",
       [](SmallFolder& f) { f.SetScript(Edited(7, "1020,,,,,,,0,A,,,"), BaseChoices()); }, "51.dat",
       7, "12 fields, not 13"},
      {"text that is not CP932",
       [](SmallFolder& f) {
         std::string script = Utf8ToCp932(Join(BaseScript())).value();
         script.insert(script.find("1020,,"), "\x81\x20");
         f.Write("51.dat", InvertBytes(script));
       },
       "51.dat", 7, "not Shift_JIS"},
      {"a background picture that is missing",
       [](SmallFolder& f) { f.SetScript(Edited(2, "1000,,,12,,,,,BI,,,,"), BaseChoices()); },
       "51.dat", 2, "p12.dat is missing"},
      {"a character pose that is missing",
       [](SmallFolder& f) { f.SetScript(Edited(3, "1000,,,,13,,,,L,,,,"), BaseChoices()); },
       "51.dat", 3, "13.dat is missing"},
      {"a face below the face sheet",
       [](SmallFolder& f) {
         f.SetScript(Edited(4, "1000,,,,11,5,,3,こんにちは,,,,"), BaseChoices());
       },
       "51.dat", 4, "below the face sheet"},
      {"a speaker outside 0 to 9",
       [](SmallFolder& f) { f.SetScript(Edited(7, "1020,,,,,,,12,A,,,,"), BaseChoices()); },
       "51.dat", 7, "speaker \"12\""},
      {"a counter command the game reports",
       [](SmallFolder& f) { f.SetScript(Edited(7, "1020,p5,,,,,,,cof,,,,"), BaseChoices()); },
       "51.dat", 7, "error(p?)"},
      {"a choice the player can only take back to itself",
       [](SmallFolder& f) { f.SetScript(Edited(8, "1020,g0,1010,,,,,,,,,,"), BaseChoices()); },
       "51.dat", 0, "loop"},
      {"a face change for a character nobody placed",
       [](SmallFolder& f) { f.SetScript(Edited(7, "1020,,,,21,2,,3,A,,,,"), BaseChoices()); },
       "51.dat", 7, "not on the stage"},
      {"a face change after a new background cleared the stage",
       [](SmallFolder& f) { f.SetScript(Edited(7, "1020,,,2,11,2,,3,A,,,,"), BaseChoices()); },
       "51.dat", 7, "not on the stage"},
      {"a page the story comes back to for ever",
       [](SmallFolder& f) { f.SetScript(Edited(8, "1020,g0,1020,,,,,,,,,,"), BaseChoices()); },
       "51.dat", 7, "(a loop)"},
      {"a name placeholder without its digit",
       [](SmallFolder& f) { f.SetScript(Edited(7, "1020,,,,,,,0,&さん,,,1,"), BaseChoices()); },
       "51.dat", 7, "name number"},
  };
  for (const PlantedFault& fault : faults) {
    SmallFolder folder("fault");
    fault.plant(folder);
    const auto findings = CheckDataFolder(folder.dir);
    EXPECT_TRUE(Has(findings, kError, fault.file, fault.row, fault.words)) << fault.name << ":\n"
                                                                           << Listing(findings);
  }
}

TEST(CheckDataFolder, ThingsThatStillWorkAreWarningsOnly) {
  const PlantedFault warnings[] = {
      {"a picture left with its header restored",
       [](SmallFolder& f) { f.Write("11.dat", EncodeBitmap24(Surface(8, 8, Rgb(1, 2, 3)))); },
       "11.dat", 0, "not shut down cleanly"},
      {"no ranking file", [](SmallFolder& f) { fs::remove(f.dir / "30.dat"); }, "30.dat", 0,
       "empty ranking"},
      {"a last record that would act",
       [](SmallFolder& f) { f.SetScript(Edited(11, "1050,,,,,,,0,end,,,,"), BaseChoices()); },
       "51.dat", 11, "not run"},
      {"a choice entry no record shows",
       [](SmallFolder& f) {
         f.SetScript(BaseScript(), {"1010,Aへ,1020", "1010,Bへ,1030", "1030,X,1020"});
       },
       "52.dat", 3, "never shown"},
      {"a label no route reaches",
       [](SmallFolder& f) {
         std::vector<std::string> script = BaseScript();
         script.insert(script.begin() + 10, "1045,,,,,,,0,lost,,,,");
         f.SetScript(script, BaseChoices());
       },
       "51.dat", 0, "no route from the title reaches"},
      {"a message line wider than the window",
       [](SmallFolder& f) {
         f.SetScript(Edited(7, "1020,,,,,,,0," + std::string(60, 'W') + ",,,,"), BaseChoices());
       },
       "51.dat", 7, "past the message window's right edge"},
      {"a message line enlarged past the window",
       [](SmallFolder& f) {
         std::string line;
         for (int i = 0; i < 30; ++i)
           line += "あ";
         f.SetScript(Edited(7, "1020,ts,,,,,,0," + line + ",24,,,"), BaseChoices());
       },
       "51.dat", 7, "past the message window's right edge"},
      {"a picture nothing uses",
       [](SmallFolder& f) { f.Write("p09.dat", EncodeBitmap24(Surface(8, 8, Rgb(1, 2, 3)))); },
       "p09.dat", 0, "no script record"},
      {"music nothing plays", [](SmallFolder& f) { f.Write("04.mid", "MThd"); }, "04.mid", 0,
       "no screen of the game plays"},
  };
  for (const PlantedFault& warning : warnings) {
    SmallFolder folder("warning");
    warning.plant(folder);
    const auto findings = CheckDataFolder(folder.dir);
    EXPECT_TRUE(Has(findings, kWarning, warning.file, warning.row, warning.words))
        << warning.name << ":\n"
        << Listing(findings);
    EXPECT_TRUE(ErrorsOf(findings).empty()) << warning.name << ":\n" << Listing(findings);
  }
}

TEST(CheckDataFolder, AFullLineOfFullWidthTextFitsTheWindow) {
  SmallFolder folder("fits");
  std::string line;
  for (int i = 0; i < 32; ++i)
    line += "あ";
  folder.SetScript(Edited(7, "1020,,,,,,,0," + line + ",,,,"), BaseChoices());
  const auto findings = CheckDataFolder(folder.dir);
  EXPECT_FALSE(Has(findings, kWarning, "51.dat", 7, "right edge")) << Listing(findings);
}

TEST(CheckDataFolder, FileNamesMatchWithoutRegardToCase) {
  SmallFolder folder("case");
  fs::rename(folder.dir / "P99.dat", folder.dir / "p99.dat");
  fs::rename(folder.dir / "select.cur", folder.dir / "SELECT.CUR");
  const auto findings = CheckDataFolder(folder.dir);
  EXPECT_TRUE(ErrorsOf(findings).empty()) << Listing(findings);
}

}  // namespace
}  // namespace dovetail::tools
