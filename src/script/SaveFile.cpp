#include "script/SaveFile.h"

#include <array>
#include <string_view>

#include "base/Cp932.h"
#include "base/FieldReader.h"
#include "base/Files.h"
#include "base/Numbers.h"
#include "base/ProgramExit.h"
#include "base/Utf8.h"

namespace dovetail {

namespace fs = std::filesystem;

namespace {

constexpr const char* kSaveName = "40.dat";
constexpr const char* kBackupName = "40.dat.bak";
constexpr int kSaveStageMismatchExit = 1;

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
  if (!encoded.ok()) return Error{std::string(kSaveName) + ": " + encoded.error().message};
  return encoded;
}

void SaveGame(const StoryState& state, Host& host, const fs::path& dataPath) {
  const fs::path path = dataPath / kSaveName;
  Status status;
  auto text = FormatSave(state);
  if (!text.ok()) status = text.error();
  if (status.ok() && fs::exists(path)) {
    // Keep the previous save: a later failure can never take both.
    auto previous = ReadWholeFile(path);
    status = previous.ok() ? ReplaceFileAtomically(dataPath / kBackupName, *previous)
                           : Status(previous.error());
  }
  if (status.ok()) status = ReplaceFileAtomically(path, *text);
  host.MessageBox({status.ok() ? "セーブしました." : "セーブに失敗しました.", kAppTitle,
                   MessageBoxButtons::Ok});
}

namespace {

// Reads one save file into the story. Values are stored as soon as they are
// read, so a failure part-way leaves what was read in effect.
Status ReadSave(const std::string& bytes, StoryState& s, const std::string& source) {
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
  auto label = ToInt16(Mid(key, 1, 4));
  auto keyStage = ToInt16(Mid(key, 5, 4));
  if (!label.ok() || !keyStage.ok()) return Error{source + ": the position key is damaged"};
  auto stage = ToInt16(table[0][3]);
  if (!stage.ok() || *stage != *keyStage) throw ProgramExit{kSaveStageMismatchExit};
  s.StageNo = *keyStage;

  std::string score = Mid(key, 9, 10);
  if (const size_t minus = score.find('-'); minus != std::string::npos) score.erase(0, minus);
  auto totalScore = ToInt32(score);
  if (!totalScore.ok()) return Error{source + ": the score " + totalScore.error().message};
  s.cafe.TotalScore = *totalScore;

  s.Names[1] = table[0][0];
  s.Names[2] = table[0][1];
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

}  // namespace

void LoadGame(StoryState& state, Interpreter& interpreter, Host& host, const fs::path& dataPath) {
  auto bytes = ReadWholeFile(dataPath / kSaveName);
  std::string source = kSaveName;
  if (!bytes.ok() && fs::exists(dataPath / kBackupName)) {
    bytes = ReadWholeFile(dataPath / kBackupName);
    source = kBackupName;
  }
  const Status status = bytes.ok() ? ReadSave(*bytes, state, source) : Status(bytes.error());
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
