#include "shell/Settings.h"

#include <algorithm>
#include <vector>

#include "base/Cp932.h"
#include "base/FieldReader.h"
#include "base/Files.h"
#include "base/Numbers.h"
#include "storage/GamePaths.h"

namespace dovetail {

SoundFlags ParseSettingsFlags(std::string_view flags) {
  SoundFlags sound;
  auto at = [&](size_t i) { return i < flags.size() ? flags[i] : '\0'; };
  if (at(0) == '0') sound.BgmEnabled = false;
  if (at(1) == '0') sound.SeEnabled = false;
  if (at(2) == '1') sound.UseDirectMusic = true;
  if (at(3) == '1') sound.FadeOnStop = true;
  return sound;
}

namespace {

class SettingsReader {
 public:
  SettingsReader(std::string text, std::string source)
      : reader_(std::move(text), std::move(source)) {}

  Status Text(std::string& out) {
    auto field = reader_.Next();
    if (!field.ok()) return field.error();
    out = *field;
    return {};
  }
  Status Int(int16_t& out) { return Convert(out, ToInt16); }
  Status Single(float& out) { return Convert(out, ToSingle); }
  bool OnlyBlankLinesLeft() const { return reader_.OnlyBlankLinesLeft(); }

 private:
  template <typename T, typename Parse>
  Status Convert(T& out, Parse parse) {
    const int line = reader_.Line();
    auto field = reader_.Next();
    if (!field.ok()) return field.error();
    auto value = parse(*field);
    if (!value.ok()) {
      return Error{reader_.Source() + ", line " + std::to_string(line) + ": " +
                   value.error().message};
    }
    out = *value;
    return {};
  }

  FieldReader reader_;
};

}  // namespace

Result<Settings> ReadSettings(const PlayerFiles& files) {
  auto bytes = files.Read(kSettingsFile, kMaxSettingsFileBytes);
  if (!bytes.ok()) return bytes.error();
  return ParseSettings(*bytes, std::string(kSettingsFile));
}

Result<Settings> ParseSettings(const std::string& bytes, const std::string& name) {
  auto text = Cp932ToUtf8(bytes);
  if (!text.ok()) return Error{name + ": " + text.error().message};

  SettingsReader in(*text, name);
  Settings settings;
  Status status = in.Text(settings.SettingsFlags);
  settings.sound = ParseSettingsFlags(settings.SettingsFlags);
  cafe::CafeTables& cafe = settings.cafe;
  for (int stage = 1; stage <= cafe::kStageCount && status.ok(); ++stage) {
    cafe::StageParams& p = cafe.StageTable[stage];
    for (Status s : {in.Int(p.CrowdStart), in.Single(p.CrowdGrowth), in.Int(p.OrderSizeStart),
                     in.Single(p.OrderSizeGrowth), in.Int(p.PatienceStart),
                     in.Single(p.PatienceDecay), in.Int(p.StageSeconds)}) {
      if (!s.ok() && status.ok()) status = s;
    }
  }
  for (int category = 1; category <= cafe::kCategoryCount && status.ok(); ++category) {
    for (int dish = 1; dish <= cafe::kDishCount && status.ok(); ++dish) {
      cafe::MenuItem& m = cafe.MenuTable[category][dish];
      for (Status s : {in.Int(m.ButtonX), in.Int(m.ButtonY), in.Int(m.ButtonW), in.Int(m.ButtonH),
                       in.Int(m.SheetX), in.Int(m.SheetY), in.Text(m.Name)}) {
        if (!s.ok() && status.ok()) status = s;
      }
    }
  }
  for (int category = 1; category <= cafe::kCategoryCount && status.ok(); ++category) {
    for (int slot = 1; slot <= cafe::kPlateSlots && status.ok(); ++slot) {
      cafe::PlateSpot& p = cafe.PlateLayout[category][slot];
      for (Status s : {in.Int(p.X), in.Int(p.Y), in.Int(p.W), in.Int(p.H)}) {
        if (!s.ok() && status.ok()) status = s;
      }
    }
  }
  if (!status.ok()) return status.error();
  if (!in.OnlyBlankLinesLeft()) {
    if (Status s = in.Text(settings.ClearMark); !s.ok()) return s.error();
  }
  settings.Cleared = settings.ClearMark == kClearMark;
  return settings;
}

namespace {

// The file's lines without their ends (CR LF, LF or CR); a final line end
// does not start another line.
std::vector<std::string> SplitLines(const std::string& text) {
  std::vector<std::string> lines;
  size_t at = 0;
  while (at < text.size()) {
    const size_t end = std::min(text.find_first_of("\r\n", at), text.size());
    lines.push_back(text.substr(at, end - at));
    const bool crLf = end + 1 < text.size() && text[end] == '\r' && text[end + 1] == '\n';
    at = end + (crLf ? 2 : 1);
  }
  return lines;
}

// Puts the four option characters at the start of the first field's value
// (after blanks and an opening quote, the way the field reader sees it); a
// value shorter than four characters is lengthened, so neither the quotes nor
// the next field are touched.
std::string WithFlags(const std::string& line, const std::string& flags) {
  size_t begin = line.find_first_not_of(" \t");
  if (begin == std::string::npos) begin = line.size();
  size_t end = 0;
  if (begin < line.size() && line[begin] == '"') {
    ++begin;
    end = std::min(line.find('"', begin), line.size());
  } else {
    end = std::min(line.find(',', begin), line.size());
    while (end > begin && (line[end - 1] == ' ' || line[end - 1] == '\t'))
      --end;
  }
  const size_t kept = std::min<size_t>(end - begin, flags.size());
  return line.substr(0, begin) + flags + line.substr(begin + kept);
}

// A change of the settings file needs the file: start-up refuses to run
// without one, so it can only have gone meanwhile.
Error MissingSettings() {
  return Error{std::string(kSettingsFile) + ": is gone; the settings cannot be changed"};
}

}  // namespace

Status RewriteSettingsFlags(PlayerFiles& files, const SoundFlags& flags, bool useDirectMusic) {
  return files.Update(kSettingsFile, kMaxSettingsFileBytes,
                      [&](std::optional<std::string> bytes) -> Result<std::string> {
                        if (!bytes) return MissingSettings();
                        std::vector<std::string> lines = SplitLines(*bytes);
                        if (lines.empty()) lines.emplace_back();
                        const std::string options = {
                            flags.BgmEnabled ? '1' : '0', flags.SeEnabled ? '1' : '0',
                            useDirectMusic ? '1' : '0', flags.FadeOnStop ? '1' : '0'};
                        lines[0] = WithFlags(lines[0], options);
                        // Every line is written back followed by CR LF, whatever ended it before.
                        std::string text;
                        for (const std::string& line : lines)
                          text += line + "\r\n";
                        return text;
                      });
}

Status AppendClearMarker(PlayerFiles& files) {
  return files.Update(kSettingsFile, kMaxSettingsFileBytes,
                      [](std::optional<std::string> bytes) -> Result<std::string> {
                        if (!bytes) return MissingSettings();
                        std::string text = std::move(*bytes);
                        if (!text.empty() && text.back() != '\n' && text.back() != '\r')
                          text += "\r\n";
                        return text + std::string(kClearMark) + "\r\n";
                      });
}

Status MarkClearedAfterStage(PlayerFiles& files, int16_t stageNo, Settings& settings) {
  if (stageNo <= 2 || settings.Cleared) return {};
  settings.ClearMark = kClearMark;
  settings.Cleared = true;
  return AppendClearMarker(files);
}

}  // namespace dovetail
