#include "saves/SaveFile.h"

#include <array>
#include <memory>
#include <string_view>

#include "base/Cp932.h"
#include "base/FieldReader.h"
#include "base/Numbers.h"
#include "base/ProgramExit.h"
#include "base/Utf8.h"

namespace dovetail {

namespace {

// The largest save file read: 106 lines of at most fifteen numbers and two
// names take under 20 KB.
constexpr uint64_t kMaxSaveFileBytes = uint64_t{64} << 10;
// Asked when 40.dat is there but does not load and the backup does.
constexpr const char* kDamagedSaveOffer =
    "セーブデータが壊れています.\r\n一つ前のセーブデータをロードしますか?";

std::string LastChars(const std::string& text, size_t count) {
  return text.size() <= count ? text : text.substr(text.size() - count);
}

template <typename Row>
std::string JoinRow(const Row& values) {
  std::string line;
  for (size_t i = 0; i < values.size(); ++i) {
    if (i > 0) line += ',';
    line += std::to_string(values[i]);
  }
  return line;
}

}  // namespace

std::string PositionKey(int16_t label, int16_t stage, int32_t score, int32_t scriptPos) {
  return std::to_string(label) + LastChars("0000" + std::to_string(stage), 4) +
         LastChars("000000000" + std::to_string(score), 10) +
         LastChars("00000" + std::to_string(scriptPos), 6);
}

Result<std::string> FormatSave(const StoryState& s) {
  const StoryCounters& c = s.counters;
  const CafeRecord& cafe = s.cafe;
  auto numbers = [](std::initializer_list<int32_t> values) {
    std::string line;
    for (int32_t v : values)
      line += (line.empty() ? "" : ",") + std::to_string(v);
    return line;
  };
  std::string text = FieldText(s.Names[1]) + "," + FieldText(s.Names[2]) + "," +
                     PositionKey(s.CurLabel, s.StageNo, cafe.TotalScore, s.ScriptPos) + "," +
                     numbers({s.StageNo, cafe.SuccessCount, cafe.FailCount}) + "\r\n";
  text += numbers({c.kaiAwa, c.kaiTer, c.kaiUmi, c.kaiRoi, 0, 0}) + "\r\n";
  text += numbers({c.set, c.sai, c.izu, c.zou, c.cof, c.coc}) + "\r\n";
  text += numbers({c.nom, c.jou, c.sak, c.nam, c.cre, c.kya}) + "\r\n";
  for (const auto& row : cafe.ServeLog)
    text += JoinRow(row) + "\r\n";
  for (const auto& row : cafe.DishLog)
    text += JoinRow(row) + "\r\n";
  auto encoded = Utf8ToCp932(text);
  if (!encoded.ok()) return Error{std::string(kSaveFile) + ": " + encoded.error().message};
  return encoded;
}

Status ReadSave(const std::string& bytes, StoryState& s, const std::string& source,
                bool& stagesDisagree) {
  stagesDisagree = false;
  auto text = Cp932ToUtf8(bytes);
  if (!text.ok()) return Error{source + ": " + text.error().message};
  FieldReader reader(*text, source);
  std::array<std::array<std::string, 6>, 4> table;
  for (auto& row : table) {
    for (auto& field : row) {
      auto value = reader.Next();
      if (!value.ok()) return value.error();
      field = *value;
    }
  }
  const std::string& key = table[0][2];
  auto keyStage = ToInt16(Mid(key, 5, 4));
  if (!keyStage.ok()) return Error{source + ": the stage in the position key is damaged"};
  auto stage = ToInt16(table[0][3]);
  if (!stage.ok()) return Error{source + ": the stage " + stage.error().message};
  if (*stage != *keyStage) {
    stagesDisagree = true;
    return Error{source + ": the two stage numbers disagree"};
  }
  s.StageNo = *keyStage;

  std::string score = Mid(key, 9, 10);
  if (const size_t minus = score.find('-'); minus != std::string::npos) score.erase(0, minus);
  auto totalScore = ToInt32(score);
  if (!totalScore.ok()) return Error{source + ": the score " + totalScore.error().message};
  s.cafe.TotalScore = *totalScore;

  s.Names[1] = table[0][0];
  s.Names[2] = table[0][1];
  auto label = ToInt16(Mid(key, 1, 4));
  if (!label.ok()) return Error{source + ": the label in the position key is damaged"};
  s.CurLabel = *label;
  StoryCounters& c = s.counters;
  const std::array<std::pair<int16_t*, std::string*>, 18> targets = {{
      {&s.cafe.SuccessCount, &table[0][4]},
      {&s.cafe.FailCount, &table[0][5]},
      {&c.kaiAwa, &table[1][0]},
      {&c.kaiTer, &table[1][1]},
      {&c.kaiUmi, &table[1][2]},
      {&c.kaiRoi, &table[1][3]},
      {&c.set, &table[2][0]},
      {&c.sai, &table[2][1]},
      {&c.izu, &table[2][2]},
      {&c.zou, &table[2][3]},
      {&c.cof, &table[2][4]},
      {&c.coc, &table[2][5]},
      {&c.nom, &table[3][0]},
      {&c.jou, &table[3][1]},
      {&c.sak, &table[3][2]},
      {&c.nam, &table[3][3]},
      {&c.cre, &table[3][4]},
      {&c.kya, &table[3][5]},
  }};
  for (const auto& [target, field] : targets) {
    auto value = ToInt16(*field);
    if (!value.ok()) return Error{source + ": " + value.error().message};
    *target = *value;
  }

  for (auto& row : s.cafe.ServeLog) {
    for (auto& cell : row) {
      auto field = reader.Next();
      if (!field.ok()) return field.error();
      auto value = ToInt32(*field);
      if (!value.ok()) return Error{source + ": " + value.error().message};
      cell = *value;
    }
  }
  for (auto& row : s.cafe.DishLog) {
    for (auto& cell : row) {
      auto field = reader.Next();
      if (!field.ok()) return field.error();
      auto value = ToInt16(*field);
      if (!value.ok()) return Error{source + ": " + value.error().message};
      cell = *value;
    }
  }
  return {};
}

namespace {

// What reading one save file into the story gave.
struct SaveAttempt {
  bool present = false;  // something is there under the name
  Status status = Error{""};
  bool stagesDisagree = false;
};

SaveAttempt TryRead(const PlayerFiles& files, std::string_view name, StoryState& into) {
  SaveAttempt attempt;
  attempt.present = files.State(name).present;
  auto bytes = files.Read(name, kMaxSaveFileBytes);
  attempt.status = bytes.ok() ? ReadSave(*bytes, into, std::string(name), attempt.stagesDisagree)
                              : Status(bytes.error());
  return attempt;
}

}  // namespace

bool SaveFileLoads(const PlayerFiles& files, std::string_view name) {
  const FileState state = files.State(name);
  if (!state.regular || state.link) return false;
  auto scratch = std::make_unique<StoryState>();
  return TryRead(files, name, *scratch).status.ok();
}

void SaveGame(const StoryState& state, Host& host, PlayerFiles& files) {
  Status status;
  auto text = FormatSave(state);
  if (!text.ok()) status = text.error();
  // Keep the previous save as the backup, but only one that loads: a damaged
  // save never takes the place of a good backup. A linked save file is not
  // followed; it is replaced by a regular file below.
  if (status.ok() && SaveFileLoads(files, kSaveFile)) {
    auto previous = files.Read(kSaveFile, kMaxSaveFileBytes);
    status = previous.ok() ? files.Replace(kSaveBackupFile, *previous) : Status(previous.error());
  }
  if (status.ok()) status = files.Replace(kSaveFile, *text);
  // The player sees the fixed message; the reason goes to whoever runs the
  // program.
  if (!status.ok()) host.Diagnostic("dovetail: the save failed: " + status.error().message);
  host.MessageBox({status.ok() ? "セーブしました." : "セーブに失敗しました.", kAppTitle,
                   MessageBoxButtons::Ok});
}

void LoadGame(StoryState& state, Interpreter& interpreter, Host& host, const PlayerFiles& files) {
  const SaveAttempt save = TryRead(files, kSaveFile, state);
  // Two stage numbers that disagree end the run, as a failure told like any
  // other: the message names the file, and the data folder is put at rest.
  if (save.stagesDisagree) throw GameFailure{save.status.error().message};
  Status status = save.status;
  if (!status.ok() && SaveFileLoads(files, kSaveBackupFile)) {
    // A missing or unreadable save falls back to the backup; a save that is
    // there but damaged offers it, since the player may not want an older one.
    const bool take = !save.present || !files.State(kSaveFile).regular ||
                      host.MessageBox({kDamagedSaveOffer, kAppTitle,
                                       MessageBoxButtons::OkCancel}) == MessageBoxAnswer::Ok;
    if (take) status = TryRead(files, kSaveBackupFile, state).status;
  }
  if (!status.ok()) {
    host.MessageBox(
        {"ロードに失敗しました\r\n最初から始めます.", kAppTitle, MessageBoxButtons::Ok});
    return;
  }
  state.NameEntered = true;
  host.MessageBox({"ロードしました.", kAppTitle, MessageBoxButtons::Ok});
  interpreter.FindLabel(state.CurLabel);
  ++state.ScriptPos;
}

}  // namespace dovetail
