#include "story/ScriptLoader.h"

#include <array>

#include "base/Cp932.h"
#include "base/FieldReader.h"
#include "base/Numbers.h"
#include "base/Utf8.h"

namespace dovetail {

Result<int16_t> DecodeLabel(std::string_view text) {
  const std::string digits = Left(text, 1) + Right(text, 3);
  auto value = ToInt16(digits);
  if (!value.ok() || TrimBlanks(text).empty()) {
    return Error{"the label \"" + std::string(text) + "\" is not a label number"};
  }
  return value;
}

namespace {

constexpr int kScriptFields = 13;
constexpr int kChoiceFields = 3;

Error RowError(const std::string& file, int row, const std::string& what) {
  return Error{file + ", row " + std::to_string(row) + ": " + what};
}

// Reads the next `count` fields of `reader` as UTF-8 texts.
template <size_t N>
Status ReadRow(FieldReader& reader, int row, std::array<std::string, N>& fields) {
  for (auto& field : fields) {
    auto raw = reader.Next();
    if (!raw.ok()) {
      return RowError(reader.Source(), row,
                      "the row has fewer than " + std::to_string(N) + " fields");
    }
    auto text = Cp932ToUtf8(*raw);
    if (!text.ok()) return RowError(reader.Source(), row, text.error().message);
    field = std::move(*text);
  }
  return {};
}

Status ReadScriptRows(std::string_view text, ScriptTables& tables) {
  FieldReader reader(std::string(text), "51.dat");
  int32_t slot = 0;
  std::array<std::string, kScriptFields> f;
  while (!reader.OnlyBlankLinesLeft()) {
    const int row = reader.Line();
    if (auto status = ReadRow(reader, row, f); !status) return status;
    if (f[0] == "num") continue;  // a heading row: the next row takes the same slot
    if (slot >= kScriptCapacity) {
      return RowError("51.dat", row,
                      "the script has more than " + std::to_string(kScriptCapacity) + " rows");
    }
    ScriptRecord& record = tables.Script[slot];
    auto label = DecodeLabel(f[0]);
    if (!label.ok()) return RowError("51.dat", row, label.error().message);
    record.Label = *label;
    record.Command = f[1];
    record.Jump = 0;
    if (!f[2].empty()) {
      auto jump = DecodeLabel(f[2]);
      if (!jump.ok()) return RowError("51.dat", row, "jump target: " + jump.error().message);
      record.Jump = *jump;
    }
    record.Background = f[3];
    record.Character = f[4];
    record.Face = f[5];
    record.Spare = f[6];
    record.Speaker = f[7];
    record.Text = f[8];
    record.Param1 = f[9];
    record.Param2 = f[10];
    record.Subst = f[11];
    ++slot;
  }
  if (slot == 0) return Error{"51.dat: the script holds no rows"};
  tables.LastRecord = slot - 1;
  return {};
}

}  // namespace

Status BuildLabels(ScriptTables& tables) {
  int32_t previous = -1;
  tables.LabelCount = 0;
  for (int32_t i = 0; i <= tables.LastRecord; ++i) {
    const int16_t label = tables.Script[i].Label;
    if (label == previous) continue;
    if (tables.LabelCount >= kLabelCapacity) {
      return Error{"51.dat: the script has more than " + std::to_string(kLabelCapacity) +
                   " label runs (the label table is full at label " + std::to_string(label) + ")"};
    }
    previous = label;
    tables.Labels[tables.LabelCount] = {label, i};
    ++tables.LabelCount;
  }
  return {};
}

namespace {

Status ReadChoiceRows(std::string_view text, ScriptTables& tables) {
  FieldReader reader(std::string(text), "52.dat");
  int32_t count = 0;
  std::array<std::string, kChoiceFields> f;
  while (!reader.OnlyBlankLinesLeft()) {
    const int row = reader.Line();
    if (auto status = ReadRow(reader, row, f); !status) return status;
    if (count >= kChoiceCapacity) {
      return RowError(
          "52.dat", row,
          "the choice table has more than " + std::to_string(kChoiceCapacity) + " rows");
    }
    auto owner = DecodeLabel(f[0]);
    if (!owner.ok()) return RowError("52.dat", row, owner.error().message);
    if (f[2].empty()) return RowError("52.dat", row, "the choice has no target label");
    auto target = DecodeLabel(f[2]);
    if (!target.ok()) return RowError("52.dat", row, "target: " + target.error().message);
    tables.ChoiceTable[count] = {*owner, f[1], *target};
    ++count;
  }
  tables.LastChoice = count - 1;
  return {};
}

void ResolveChoiceTargets(ScriptTables& tables) {
  for (int32_t c = 0; c <= tables.LastChoice; ++c) {
    ChoiceEntry& choice = tables.ChoiceTable[c];
    for (int32_t l = 0; l < tables.LabelCount; ++l) {
      if (tables.Labels[l].Label == choice.Target) {
        choice.Target = static_cast<int16_t>(tables.Labels[l].Index);
        break;
      }
    }
  }
}

}  // namespace

Status LoadScriptTables(std::string_view scriptText, std::string_view choiceText,
                        ScriptTables& tables, const ProgressReport& progress) {
  auto report = [&](int16_t percent) {
    if (progress) progress(percent);
  };
  if (auto status = ReadScriptRows(scriptText, tables); !status) return status;
  report(70);
  if (auto status = BuildLabels(tables); !status) return status;
  report(80);
  if (auto status = ReadChoiceRows(choiceText, tables); !status) return status;
  report(90);
  ResolveChoiceTargets(tables);
  return {};
}

}  // namespace dovetail
