#include "demo/DemoData.h"

#include <functional>
#include <map>
#include <set>
#include <string>
#include <system_error>

#include "backends/glyphs/freetype/FreeTypeGlyphs.h"
#include "base/Files.h"
#include "content/DataCheck.h"
#include "content/ScriptCheck.h"
#include "content/ScriptSource.h"
#include "content/TextLines.h"
#include "demo/CursorArt.h"
#include "demo/DemoFigures.h"
#include "demo/DemoScenes.h"
#include "demo/DemoUi.h"
#include "demo/MusicRecipe.h"
#include "graphics/BitmapFile.h"
#include "minigame/RankingFile.h"
#include "shell/Settings.h"
#include "storage/DataFolder.h"
#include "storage/FolderPlayerFiles.h"
#include "storage/PictureDisguise.h"

namespace dovetail::tools {

namespace fs = std::filesystem;

namespace {

using Painter = std::function<Surface()>;

// The pictures every data folder holds.
std::map<std::string, Painter> FixedPictures(const Captions& captions) {
  return {
      {"p03.dat", [&] { return TitleScreen(captions); }},
      {"p04.dat", [&] { return CafeBoard(captions); }},
      {"p05.dat", [&] { return EndingSunset(captions); }},
      {"p06.dat", EndingNight},
      {"p07.dat", [&] { return RankingScreen(captions); }},
      {"p08.dat", RiversideByDay},
      {"P99.dat", [&] { return Splash(captions); }},
      {"11.dat", [] { return CharacterPicture(1, 1, Expression::Neutral); }},
      {"21.dat", [] { return CharacterPicture(2, 1, Expression::Neutral); }},
      {"31.dat", [] { return CharacterPicture(3, 1, Expression::Neutral); }},
      {"41.dat", [] { return CharacterPicture(4, 1, Expression::Neutral); }},
      {"90.dat", [&] { return UiSheet(captions); }},
      {"91.dat", FaceSheet},
      {"92.dat", CustomerSheet},
  };
}

// Pictures written when the script names them: the story's backgrounds and
// the characters' second pose.
std::optional<Painter> PictureOnDemand(const std::string& name, const Captions& captions) {
  const std::map<std::string, Painter> backgrounds = {
      {"p01.dat", [&] { return CafeFrontByDay(captions); }},
      {"p02.dat", CafeInsideByDay},
      {"p09.dat", [&] { return CafeFrontInTheEvening(captions); }},
      {"p10.dat", CafeInsideAtNight},
      {"p11.dat", [&] { return ShoppingStreetInTheMorning(captions); }},
      {"p12.dat", HerosRoomAtNight},
      {"p13.dat", RiversideAtSunset},
      {"p14.dat", [&] { return SummerFestival(captions); }},
      {"p15.dat", CafeKitchen},
      {"p16.dat", RainyStreet},
  };
  if (auto found = backgrounds.find(name); found != backgrounds.end()) return found->second;
  // Second poses of the four characters: "12.dat" … "42.dat".
  if (name.size() == 6 && name[0] >= '1' && name[0] <= '4' && name[1] == '2' &&
      name.substr(2) == ".dat") {
    const int character = name[0] - '0';
    return Painter([character] { return CharacterPicture(character, 2, Expression::Neutral); });
  }
  return std::nullopt;
}

class DemoWriter {
 public:
  DemoWriter(const fs::path& contentDir, const fs::path& outDir)
      : content_(contentDir), out_(outDir) {}

  std::vector<Finding> Run() {
    std::error_code ec;
    fs::create_directories(out_, ec);
    if (ec) {
      Error("", out_.string() + ": the folder cannot be created (" + ec.message() + ")");
      return findings_;
    }
    WriteTextTable("settings.csv", "20.dat");
    CheckSettings();
    WriteTextTable("ranking.csv", "30.dat");
    CheckRanking();
    const std::vector<PictureUse> uses = WriteScript();
    // Japanese captions need the game's fonts; without them the pictures
    // carry English captions in a pixel font.
    auto text = MakeFreeTypeTextRenderer();
    const Captions captions(text.ok() ? text->get() : nullptr);
    const std::map<std::string, Painter> fixed = FixedPictures(captions);
    for (const auto& [name, painter] : fixed)
      WritePicture(name, painter);
    std::set<std::string> written;
    for (const PictureUse& use : uses) {
      if (fixed.count(use.file) || !written.insert(use.file).second) continue;
      if (auto painter = PictureOnDemand(use.file, captions)) {
        WritePicture(use.file, *painter);
      } else {
        Error("script.csv", "no picture is drawn for " + use.file, use.row, use.label);
      }
    }
    for (const char* music : {"01", "02", "03"})
      WriteMusic(music);
    Write("select.cur", EncodeCursor(PointingHand(), kHandHotX, kHandHotY));
    if (CountErrors(findings_) == 0) {
      for (Finding& finding : CheckDataFolder(out_))
        findings_.push_back(std::move(finding));
    }
    return findings_;
  }

 private:
  void Error(const std::string& file, std::string what, int row = 0,
             std::optional<int32_t> label = std::nullopt) {
    findings_.push_back(MakeError(file, std::move(what), row, label));
  }

  std::optional<std::string> ReadSource(const std::string& name) {
    auto text = ReadWholeFile(content_ / name);
    if (!text.ok()) {
      Error(name, text.error().message);
      return std::nullopt;
    }
    return std::move(*text);
  }

  void Write(const std::string& name, std::string_view bytes) {
    if (Status status = ReplaceFileAtomically(out_ / name, bytes); !status) {
      Error(name, status.error().message);
    }
  }

  // A table source without its comment lines, as the game's CP932 text.
  void WriteTextTable(const std::string& source, const std::string& target) {
    auto text = ReadSource(source);
    if (!text) return;
    std::string kept;
    for (const TextLine& line : SplitLines(*text)) {
      const size_t first = line.content.find_first_not_of(" \t");
      if (first != std::string_view::npos && line.content[first] == '#') continue;
      kept.append(line.content);
      kept.append("\r\n");
    }
    if (auto coded = SourceToCp932(kept, source, findings_)) Write(target, *coded);
  }

  void CheckSettings() {
    if (!fs::exists(out_ / "20.dat")) return;
    auto settings = ReadSettings(FolderPlayerFiles::OfDataFolder(out_));
    if (!settings.ok()) Error("settings.csv", settings.error().message);
  }

  void CheckRanking() {
    if (!fs::exists(out_ / "30.dat")) return;
    RankingTable ranking;
    if (Status status = ReadRankingFile(FolderPlayerFiles::OfDataFolder(out_), ranking); !status) {
      Error("ranking.csv", status.error().message);
    }
  }

  std::vector<PictureUse> WriteScript() {
    auto script = ReadSource("script.csv");
    auto choices = ReadSource("choices.csv");
    if (!script || !choices) return {};
    CompiledScript compiled = CompileScript(*script, *choices, {"script.csv", "choices.csv"});
    if (!compiled.ok()) {
      findings_.insert(findings_.end(), compiled.findings.begin(), compiled.findings.end());
      return {};
    }
    // Warnings about the script come again from the check of the finished
    // folder.
    Write("51.dat", compiled.script);
    Write("52.dat", compiled.choices);
    return CheckScriptTexts(InvertBytes(compiled.script), InvertBytes(compiled.choices), {})
        .pictures;
  }

  void WritePicture(const std::string& name, const Painter& painter) {
    std::string bytes = EncodeBitmap24(painter());
    if (IsDisguisedPicture(name)) bytes = Disguised(std::move(bytes));
    Write(name, bytes);
  }

  void WriteMusic(const std::string& number) {
    const std::string source = "music/" + number + ".txt";
    auto text = ReadSource(source);
    if (!text) return;
    auto recipe = ParseMusicRecipe(*text, source);
    if (!recipe.ok()) {
      Error(source, recipe.error().message);
      return;
    }
    Write(number + ".mid", EncodeMidi(*recipe));
  }

  fs::path content_;
  fs::path out_;
  std::vector<Finding> findings_;
};

}  // namespace

std::vector<Finding> MakeDemoData(const fs::path& contentDir, const fs::path& outDir) {
  return DemoWriter(contentDir, outDir).Run();
}

}  // namespace dovetail::tools
