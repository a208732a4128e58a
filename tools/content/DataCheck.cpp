#include "content/DataCheck.h"

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <system_error>

#include "backends/glyphs/freetype/FreeTypeGlyphs.h"
#include "base/Cp932.h"
#include "base/Files.h"
#include "base/Utf8.h"
#include "content/RouteCheck.h"
#include "content/ScriptCheck.h"
#include "content/TextLines.h"
#include "graphics/BitmapFile.h"
#include "graphics/CursorFile.h"
#include "graphics/TextRenderer.h"
#include "minigame/RankingFile.h"
#include "routes/RouteMap.h"
#include "scene/MessageWindow.h"
#include "screen/PictureRegions.h"
#include "shell/Settings.h"
#include "storage/DataFolder.h"
#include "storage/FolderPlayerFiles.h"
#include "storage/PictureDisguise.h"
#include "story/NewStory.h"

namespace dovetail::tools {

namespace fs = std::filesystem;

namespace {

// The width of a byte of message text when the fonts cannot be had: a
// full-width character (two bytes) of the 16-pixel message font is at most
// about 16 pixels wide, a half-width one less; 9 pixels a byte errs wide.
constexpr int32_t kFallbackPixelsPerByte = 9;

struct Size {
  int32_t width = 0;
  int32_t height = 0;
};

std::string SizeText(int32_t width, int32_t height) {
  return std::to_string(width) + " × " + std::to_string(height);
}

class FolderChecker {
 public:
  explicit FolderChecker(const fs::path& dataDir) : dir_(dataDir) {}

  std::vector<Finding> Run() {
    std::error_code ec;
    if (!fs::is_directory(dir_, ec)) {
      Error("", dir_.string() + ": the data folder does not exist");
      return std::move(findings_);
    }
    CheckFileSet();
    CheckSettings();
    CheckRanking();
    for (const char* name : kPictureFiles)
      CheckPicture(name);
    CheckPicture("p03.dat");
    CheckPicture("P99.dat");
    CheckScript();
    CheckPictureSizes();
    for (const char* name : {"01.mid", "02.mid", "03.mid"})
      CheckMusic(name);
    CheckCursor();
    CheckUnusedFiles();
    return std::move(findings_);
  }

 private:
  void Error(const std::string& file, std::string what, int row = 0,
             std::optional<int32_t> label = std::nullopt) {
    findings_.push_back(MakeError(file, std::move(what), row, label));
  }
  void Warning(const std::string& file, std::string what, int row = 0,
               std::optional<int32_t> label = std::nullopt) {
    findings_.push_back(MakeWarning(file, std::move(what), row, label));
  }

  bool Exists(const std::string& name) const {
    std::error_code ec;
    return fs::is_regular_file(DataFile(dir_, name), ec);
  }

  // The file's bytes, or nothing when it is missing (reported once, by the
  // file-set check) or unreadable (reported here).
  std::optional<std::string> Read(const std::string& name) {
    if (!Exists(name)) return std::nullopt;
    auto bytes = ReadWholeFile(DataFile(dir_, name));
    if (!bytes.ok()) {
      Error(name, bytes.error().message);
      return std::nullopt;
    }
    return std::move(*bytes);
  }

  void CheckFileSet() {
    std::vector<std::string> required = {"20.dat", "51.dat", "52.dat"};
    for (const char* name : kPictureFiles)
      required.emplace_back(name);
    for (const char* name : {"p03.dat", "P99.dat", "01.mid", "02.mid", "03.mid", "select.cur"})
      required.emplace_back(name);
    for (const std::string& name : required) {
      if (!Exists(name)) Error(name, "the file is missing");
    }
    if (!Exists("30.dat")) {
      Warning("30.dat", "the file is missing; the game starts with an empty ranking");
    }
    for (const char* name : {"51.cod", "52.cod"}) {
      if (Exists(name)) {
        Warning(name,
                "a decoded script copy left by a start-up that did not finish; the game "
                "writes it anew at start-up and deletes it");
      }
    }
  }

  void CheckSettings() {
    if (!Exists("20.dat")) return;
    auto settings = ReadSettings(FolderPlayerFiles::OfDataFolder(dir_));
    if (!settings.ok()) {
      Error("20.dat", settings.error().message);
      return;
    }
    const cafe::CafeTables& cafe = settings->cafe;
    for (int stage = 1; stage <= cafe::kStageCount; ++stage) {
      const cafe::StageParams& p = cafe.StageTable[stage];
      const std::string where = "stage " + std::to_string(stage) + ": ";
      if (p.PatienceStart < 1 || p.PatienceStart > 29) {
        Warning("20.dat", where + "the starting patience " + std::to_string(p.PatienceStart) +
                              " is outside 1 to 29 (the daily score multiplies it by 1100 in "
                              "16-bit arithmetic)");
      }
      if (p.StageSeconds < 1) {
        Warning("20.dat", where + "the stage lasts " + std::to_string(p.StageSeconds) +
                              " seconds; it still runs one tick");
      }
    }
    const Rect screen{0, 0, kScreenWidth, kScreenHeight};
    for (int category = 1; category <= cafe::kCategoryCount; ++category) {
      for (int dish = 1; dish <= cafe::kDishCount; ++dish) {
        CheckDish(cafe.MenuTable[category][dish], category, dish, screen);
      }
      for (int slot = 1; slot <= cafe::kPlateSlots; ++slot) {
        const cafe::PlateSpot& p = cafe.PlateLayout[category][slot];
        if (!Inside({p.X, p.Y, p.W, p.H}, kPlate)) {
          Warning("20.dat", "plate slot " + std::to_string(slot) + " of category " +
                                std::to_string(category) +
                                " lies outside the plate (510, 54, 120 × 200)");
        }
      }
    }
    if (!settings->ClearMark.empty() && !settings->Cleared) {
      Warning("20.dat", "the last line \"" + settings->ClearMark + "\" is not the marker \"" +
                            kClearMark + "\"");
    }
  }

  static bool Inside(const Rect& r, const Rect& area) {
    return r.w > 0 && r.h > 0 && r.x >= area.x && r.y >= area.y && r.Right() <= area.Right() &&
           r.Bottom() <= area.Bottom();
  }

  void CheckDish(const cafe::MenuItem& m, int category, int dish, const Rect& screen) {
    const std::string where =
        "dish " + std::to_string(dish) + " of category " + std::to_string(category) + ": ";
    if (!Inside({m.ButtonX, m.ButtonY, m.ButtonW, m.ButtonH}, screen)) {
      Warning("20.dat", where + "the button lies outside the 640 × 480 board");
    }
    if (!Inside({m.SheetX, m.SheetY, m.ButtonW, m.ButtonH}, kDishRegion)) {
      Warning("20.dat",
              where + "the picture lies outside the dish region (0, 0)-(306, 325) of 90.dat");
    }
    if (m.Name.empty()) {
      Warning("20.dat", where + "the name is empty");
    } else if (AnsiLen(m.Name) != 2 * static_cast<int32_t>(CharCount(m.Name))) {
      Warning("20.dat", where + "the name \"" + m.Name +
                            "\" is not all full-width; order balloons measure names as two "
                            "bytes a character");
    }
  }

  void CheckRanking() {
    auto bytes = Read("30.dat");
    if (!bytes) return;
    auto text = Cp932ToUtf8(*bytes);
    if (!text.ok()) {
      Error("30.dat", text.error().message);
      return;
    }
    const std::vector<TextLine> lines = SplitLines(*text);
    int rows = 0;
    for (const TextLine& line : lines) {
      if (IsBlankLine(line.content)) continue;
      ++rows;
      const size_t fields = LineFields(line.content).size();
      if (fields != 3) {
        Error("30.dat",
              "the row has " + std::to_string(fields) + " fields, not 3 (name, grade, score)",
              line.number);
      }
    }
    if (rows != 5) {
      Error("30.dat", "the ranking has " + std::to_string(rows) + " rows, not 5");
    }
    RankingTable ranking;
    if (Status status = ReadRankingFile(FolderPlayerFiles::OfDataFolder(dir_), ranking); !status) {
      Error("30.dat", status.error().message);
      return;
    }
    for (int rank = 1; rank <= 5; ++rank) {
      const std::string& grade = ranking[rank].Grade;
      if (!grade.empty() && (grade.size() != 1 || grade[0] < 'A' || grade[0] > 'E')) {
        Warning("30.dat", "rank " + std::to_string(rank) + ": the grade \"" + grade +
                              "\" is not a letter from A to E");
      }
    }
  }

  // Decodes a picture; disguised ones are decoded with "BM" put back.
  void CheckPicture(const std::string& name) {
    if (checkedPictures_.count(name)) return;
    checkedPictures_.insert(name);
    auto bytes = Read(name);
    if (!bytes) return;
    const std::string head = bytes->substr(0, 2);
    if (IsDisguisedPicture(name)) {
      if (head == kBitmapSignature) {
        Warning(name,
                "the header is \"BM\", not \"JF\": the program was not shut down cleanly "
                "(it puts \"BM\" back while it runs)");
      } else if (head != kDisguisedSignature) {
        Error(name, "the file starts with neither \"JF\" (a disguised picture at rest) nor \"BM\"");
        return;
      }
      *bytes = Undisguised(std::move(*bytes));
    } else if (head == kDisguisedSignature) {
      Error(name,
            "the picture is disguised (\"JF\"), but the program restores the header of the "
            "twelve disguised pictures only");
      return;
    }
    auto surface = DecodeBitmap(*bytes, name);
    if (!surface.ok()) {
      Error(name, surface.error().message);
      return;
    }
    sizes_[name] = {surface->Width(), surface->Height()};
  }

  void CheckScript() {
    auto script = Read("51.dat");
    auto choices = Read("52.dat");
    if (!script || !choices) return;
    const std::string scriptText = InvertBytes(*script);
    const std::string choiceText = InvertBytes(*choices);
    ScriptCheck check = CheckScriptTexts(scriptText, choiceText, {});
    findings_.insert(findings_.end(), check.findings.begin(), check.findings.end());
    CheckMessageWidths(check.messages);
    if (check.loads && CountErrors(check.findings) == 0) {
      const std::vector<Finding> routes = CheckRoutes(scriptText, choiceText, "51.dat");
      findings_.insert(findings_.end(), routes.begin(), routes.end());
    }
    for (const PictureUse& use : check.pictures) {
      scriptPictures_.insert(use.file);
      if (!Exists(use.file)) {
        Error("51.dat", "the picture " + use.file + " is missing", use.row, use.label);
        continue;
      }
      CheckPicture(use.file);
    }
    faces_ = std::move(check.faces);
  }

  // Message lines that run past the window's right edge, shown whole or one
  // character at a time, in the message font at its base size, with the
  // default names where the text takes a name; a message a "ts" record
  // enlarges in its size.
  void CheckMessageWidths(const std::vector<MessageUse>& messages) {
    auto renderer = MakeFreeTypeTextRenderer();
    const MessageState message;
    for (const MessageUse& use : messages) {
      const int16_t size = use.fontSize != 0 ? use.fontSize : message.BaseFontSize;
      const FontSpec font{"ＭＳ Ｐゴシック", static_cast<float>(size), true, false};
      const int32_t advance = MessageWindow::CharacterAdvance(message.BaseFontSize, use.fontSize);
      auto width = [&](std::string_view text) {
        if (renderer.ok()) return (*renderer)->TextWidth(text, font);
        // Without the fonts: a generous width a byte of the text.
        return AnsiLen(text) * kFallbackPixelsPerByte * size / message.BaseFontSize;
      };
      const std::string text = use.substitutes ? WithDefaultNames(use.text) : use.text;
      for (const std::string& line : MessageWindow::LinePieces(text)) {
        if (line.empty()) continue;
        const int32_t whole = MessageWindow::kTextX + width(line);
        const std::vector<int32_t> lefts = MessageWindow::CharacterLefts(line, advance);
        const std::vector<std::string_view> chars = Utf8Chars(line);
        const int32_t stepped = lefts.back() + width(chars.back());
        const int32_t right = std::max(whole, stepped);
        if (right > kScreenWidth) {
          Warning("51.dat",
                  "the message line \"" + line + "\" reaches x " + std::to_string(right) +
                      ", past the message window's right edge (" + std::to_string(kScreenWidth) +
                      ")",
                  use.row, use.label);
        }
      }
    }
  }

  static std::string WithDefaultNames(std::string text) {
    for (size_t at = text.find('&'); at != std::string::npos && at + 1 < text.size();
         at = text.find('&', at)) {
      const char digit = text[at + 1];
      if (digit < '0' || digit > '9') {
        ++at;
        continue;
      }
      const std::string name = kDefaultNames[digit - '0'];
      text.replace(at, 2, name);
      at += name.size();
    }
    return text;
  }

  // Pictures and music in the folder that neither a script record nor a
  // screen of the game uses.
  void CheckUnusedFiles() {
    std::set<std::string> used;
    for (const char* name : kPictureFiles)
      used.insert(Lower(name));
    for (const char* name : {"p03.dat", "p99.dat", "01.mid", "02.mid", "03.mid"})
      used.insert(name);
    for (const std::string& name : scriptPictures_)
      used.insert(Lower(name));
    std::error_code ec;
    for (const fs::directory_entry& entry : fs::directory_iterator(dir_, ec)) {
      const std::string name = entry.path().filename().string();
      const std::string lower = Lower(name);
      if (!entry.is_regular_file(ec) || used.contains(lower)) continue;
      if (lower.ends_with(".mid")) {
        Warning(name, "no screen of the game plays this music (01.mid to 03.mid are played)");
      } else if (IsPictureName(lower)) {
        Warning(name, "no script record and no screen of the game uses this picture");
      }
    }
  }

  // Backgrounds "pNN.dat" and character pictures "NN.dat" (character 1 to
  // 4, pose 1 to 9).
  static bool IsPictureName(const std::string& lower) {
    auto digit = [&](size_t i) { return std::isdigit(static_cast<unsigned char>(lower[i])) != 0; };
    if (lower.size() == 7 && lower[0] == 'p' && digit(1) && digit(2) && lower.ends_with(".dat")) {
      return true;
    }
    return lower.size() == 6 && lower[0] >= '1' && lower[0] <= '4' && digit(1) && lower[1] != '0' &&
           lower.ends_with(".dat");
  }

  static std::string Lower(std::string text) {
    for (char& c : text)
      c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
  }

  void NeedSize(const std::string& name, int32_t width, int32_t height, const std::string& why) {
    auto found = sizes_.find(name);
    if (found == sizes_.end()) return;
    const Size size = found->second;
    if (size.width < width || size.height < height) {
      Warning(name, "the picture is " + SizeText(size.width, size.height) + "; " + why +
                        " needs at least " + SizeText(width, height));
    }
  }

  void CheckPictureSizes() {
    NeedSize("p03.dat", TitleItem(5).Right(), TitleItem(5).Bottom(), "the title menu");
    NeedSize("90.dat", kUiSheetWidth, kUiSheetHeight, "the user-interface sheet");
    NeedSize("92.dat", kCustomerSheetWidth, kCustomerSheetHeight, "the customer sheet");
    for (const char* name : {"p04.dat", "p07.dat"})
      NeedSize(name, kScreenWidth, kScreenHeight, "a full screen");
    for (size_t row = 0; row < kFaceRows.size(); ++row) {
      const std::string name = std::to_string(row + 1) + "1.dat";
      NeedSize(name, kFaceRows[row].x2, kFaceRows[row].y2, "its face rectangle");
    }
    for (const auto& [name, size] : sizes_) {
      if (size.width > kScreenWidth || size.height > kScreenHeight) {
        const bool sheet = name == "90.dat" || name == "91.dat" || name == "92.dat";
        if (!sheet) {
          Warning(name, "the picture is " + SizeText(size.width, size.height) +
                            ", larger than the 640 × 480 screen");
        }
      }
    }
    CheckFaces();
  }

  void CheckFaces() {
    auto sheet = sizes_.find("91.dat");
    if (sheet == sizes_.end()) return;
    const Size size = sheet->second;
    if (size.width < kFaceSheetWidth) {
      Warning("91.dat", "the face sheet is " + std::to_string(size.width) +
                            " wide; its four columns need " + std::to_string(kFaceSheetWidth));
    }
    std::set<std::pair<int, int>> reported;
    for (const FaceUse& use : faces_) {
      const FaceRow& row = kFaceRows[(use.pose == 1) ? use.character - 1 : 0];
      const int32_t bottom = use.face * row.H();
      if (bottom > size.height && reported.insert({use.character, use.face}).second) {
        Error("51.dat",
              "face " + std::to_string(use.face) + " of character " +
                  std::to_string(use.character) + " would reach down to y " +
                  std::to_string(bottom) + ", below the face sheet 91.dat (" +
                  std::to_string(size.height) + " high)",
              use.row, use.label);
      }
    }
  }

  void CheckMusic(const std::string& name) {
    auto bytes = Read(name);
    if (!bytes) return;
    auto u32 = [&](size_t at) {
      return (static_cast<uint32_t>(static_cast<unsigned char>((*bytes)[at])) << 24) |
             (static_cast<uint32_t>(static_cast<unsigned char>((*bytes)[at + 1])) << 16) |
             (static_cast<uint32_t>(static_cast<unsigned char>((*bytes)[at + 2])) << 8) |
             static_cast<uint32_t>(static_cast<unsigned char>((*bytes)[at + 3]));
    };
    if (bytes->size() < 14 || bytes->compare(0, 4, "MThd") != 0 || u32(4) < 6) {
      Error(name, "the file is not a Standard MIDI file (no \"MThd\" header)");
      return;
    }
    const unsigned format =
        (static_cast<unsigned char>((*bytes)[8]) << 8) | static_cast<unsigned char>((*bytes)[9]);
    const unsigned tracks =
        (static_cast<unsigned char>((*bytes)[10]) << 8) | static_cast<unsigned char>((*bytes)[11]);
    if (format > 2 || tracks == 0) {
      Error(name, "the MIDI header gives format " + std::to_string(format) + " with " +
                      std::to_string(tracks) + " tracks");
      return;
    }
    size_t at = 8 + u32(4);
    unsigned found = 0;
    while (at + 8 <= bytes->size()) {
      const uint64_t length = u32(at + 4);
      if (at + 8 + length > bytes->size()) {
        Error(name, "a chunk runs past the end of the file");
        return;
      }
      if (bytes->compare(at, 4, "MTrk") == 0) ++found;
      at += 8 + length;
    }
    if (found < tracks) {
      Error(name, "the header announces " + std::to_string(tracks) + " tracks, the file holds " +
                      std::to_string(found));
    }
  }

  void CheckCursor() {
    auto bytes = Read("select.cur");
    if (!bytes) return;
    auto cursor = DecodeCursor(*bytes, "select.cur");
    if (!cursor.ok()) Error("select.cur", cursor.error().message);
  }

  fs::path dir_;
  std::vector<Finding> findings_;
  std::set<std::string> checkedPictures_;
  std::map<std::string, Size> sizes_;
  std::vector<FaceUse> faces_;
  std::set<std::string> scriptPictures_;
};

}  // namespace

std::vector<Finding> CheckDataFolder(const fs::path& dataDir) {
  return FolderChecker(dataDir).Run();
}

}  // namespace dovetail::tools
