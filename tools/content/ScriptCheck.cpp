#include "content/ScriptCheck.h"

#include <algorithm>
#include <cctype>
#include <map>
#include <memory>
#include <optional>
#include <set>

#include "base/Cp932.h"
#include "base/Numbers.h"
#include "base/Utf8.h"
#include "content/TextLines.h"
#include "story/Commands.h"
#include "story/ScriptLoader.h"
#include "story/ScriptTables.h"

namespace dovetail::tools {

std::string BackgroundFileName(int number) {
  return "p" + Right("0" + std::to_string(number), 2) + ".dat";
}

namespace {

constexpr size_t kScriptColumns = 13;
constexpr size_t kChoiceColumns = 3;

// Columns of a script row.
enum Column : size_t {
  kLabel = 0,
  kCommand,
  kJump,
  kBackground,
  kCharacter,
  kFace,
  kSpare,
  kSpeaker,
  kText,
  kParam1,
  kParam2,
  kSubst,
};

struct ScriptRow {
  int line = 0;
  int16_t label = 0;
  std::optional<int16_t> jump;
  std::vector<std::string> fields;  // trimmed, UTF-8

  const std::string& operator[](Column c) const { return fields[c]; }
};

struct ChoiceRow {
  int line = 0;
  int16_t owner = 0;
  std::optional<int16_t> target;
};

struct ChoiceCommand {
  int line = 0;
  int16_t label = 0;
  int count = 0;
};

// The counter codes the "p" and "i" commands address: the first three
// characters of the text, "kai" refined by the last three.
bool IsCounterCode(std::string_view text, bool allowHappy) {
  static const std::set<std::string> kCodes = {"set", "sai", "zou", "cof", "coc", "nom",
                                               "jou", "sak", "nam", "izu", "cre", "kya"};
  static const std::set<std::string> kKai = {"mon", "roi", "umi", "awa", "ter"};
  const std::string code = Left(text, 3);
  if (code == "kai") return kKai.count(Right(text, 3)) > 0;
  if (code == "hap") return allowHappy;
  return kCodes.count(code) > 0;
}

bool IsNumber(std::string_view text) {
  return !TrimBlanks(text).empty() && ToInt16(text).ok();
}

class Checker {
 public:
  Checker(const ScriptFileNames& names, ScriptCheck& result) : names_(names), result_(result) {}

  void Run(std::string_view scriptText, std::string_view choiceText) {
    RunLoader(scriptText, choiceText);
    ReadScriptRows(scriptText);
    ReadChoiceRows(choiceText);
    CheckLabelsRise();
    for (size_t i = 0; i < rows_.size(); ++i)
      CheckRecord(rows_[i], runStarts_.count(i) > 0);
    CheckJumpTargets();
    CheckChoices();
    CheckLastRecord();
  }

 private:
  void Error(const std::string& file, int row, std::optional<int32_t> label, std::string what) {
    result_.findings.push_back(MakeError(file, std::move(what), row, label));
  }
  void Warning(const std::string& file, int row, std::optional<int32_t> label, std::string what) {
    result_.findings.push_back(MakeWarning(file, std::move(what), row, label));
  }
  void RowError(const ScriptRow& row, std::string what) {
    Error(names_.script, row.line, row.label, std::move(what));
  }
  void RowWarning(const ScriptRow& row, std::string what) {
    Warning(names_.script, row.line, row.label, std::move(what));
  }
  // A fault the game's loader also reports: said once, by the loader, when it
  // stopped on this very row.
  void LoaderFault(const std::string& file, int row, std::string what) {
    if (loaderFault_ && loaderFault_->file == file && loaderFault_->row == row) return;
    Error(file, row, std::nullopt, std::move(what));
  }

  void RunLoader(std::string_view scriptText, std::string_view choiceText) {
    auto tables = std::make_unique<ScriptTables>();
    Status status = LoadScriptTables(scriptText, choiceText, *tables, nullptr);
    result_.loads = status.ok();
    if (status.ok()) return;
    const bool choiceFault = status.error().message.rfind("52.dat", 0) == 0;
    Finding finding = FindingFromLoaderError(status.error(), choiceFault ? "52.dat" : "51.dat",
                                             choiceFault ? names_.choices : names_.script);
    finding.message = "the game cannot load it: " + finding.message;
    loaderFault_ = finding;
    result_.findings.push_back(std::move(finding));
  }

  // The rows of a file with their fields, UTF-8 and untrimmed; lines that do
  // not hold `columns` fields are reported and left out. Trailing blank lines
  // hold no row, as for the game.
  std::vector<std::pair<int, std::vector<std::string>>> ReadRows(std::string_view text,
                                                                 const std::string& file,
                                                                 size_t columns) {
    std::vector<std::pair<int, std::vector<std::string>>> rows;
    const std::vector<TextLine> lines = SplitLines(text);
    size_t used = lines.size();
    while (used > 0 && IsBlankLine(lines[used - 1].content))
      --used;
    for (size_t i = 0; i < used; ++i) {
      const TextLine& line = lines[i];
      auto utf8 = Cp932ToUtf8(line.content);
      if (!utf8.ok()) {
        LoaderFault(file, line.number, utf8.error().message);
        continue;
      }
      std::vector<std::string> fields = LineFields(*utf8);
      if (IsBlankLine(line.content)) {
        Error(file, line.number, std::nullopt,
              "the line is empty; the game reads it as one empty field, so every row after it "
              "is read shifted by one field");
        continue;
      }
      if (fields.size() != columns) {
        Error(file, line.number, std::nullopt,
              "the row has " + std::to_string(fields.size()) + " fields, not " +
                  std::to_string(columns) +
                  "; the game reads the file as one stream of fields, so every row after it "
                  "is read shifted");
        continue;
      }
      rows.emplace_back(line.number, std::move(fields));
    }
    return rows;
  }

  void ReadScriptRows(std::string_view text) {
    for (auto& [line, fields] : ReadRows(text, names_.script, kScriptColumns)) {
      if (fields[kLabel] == "num") continue;  // a heading row
      auto label = DecodeLabel(fields[kLabel]);
      if (!label.ok()) {
        LoaderFault(names_.script, line, label.error().message);
        continue;
      }
      ScriptRow row{line, *label, std::nullopt, {}};
      if (!fields[kJump].empty()) {
        auto jump = DecodeLabel(fields[kJump]);
        if (!jump.ok()) {
          LoaderFault(names_.script, line, "jump target: " + jump.error().message);
          continue;
        }
        row.jump = *jump;
      }
      for (const std::string& field : fields)
        row.fields.emplace_back(TrimBlanks(field));
      rows_.push_back(std::move(row));
    }
  }

  void ReadChoiceRows(std::string_view text) {
    for (auto& [line, fields] : ReadRows(text, names_.choices, kChoiceColumns)) {
      auto owner = DecodeLabel(fields[0]);
      if (!owner.ok()) {
        LoaderFault(names_.choices, line, owner.error().message);
        continue;
      }
      ChoiceRow row{line, *owner, std::nullopt};
      if (fields[2].empty()) {
        LoaderFault(names_.choices, line, "the choice has no target label");
      } else if (auto target = DecodeLabel(fields[2]); target.ok()) {
        row.target = *target;
      } else {
        LoaderFault(names_.choices, line, "target: " + target.error().message);
      }
      choices_.push_back(row);
    }
  }

  void CheckLabelsRise() {
    std::optional<int16_t> previous;
    int previousLine = 0;
    for (size_t i = 0; i < rows_.size(); ++i) {
      const ScriptRow& row = rows_[i];
      if (previous && row.label == *previous) continue;
      runStarts_.insert(i);
      if (previous && row.label < *previous) {
        RowError(row, "the label " + std::to_string(row.label) + " is lower than the label " +
                          std::to_string(*previous) + " before it (row " +
                          std::to_string(previousLine) +
                          "); the label search halves the table, so labels must rise from one "
                          "run of records to the next");
      }
      labels_.emplace(row.label, i);  // the first run of a label is the one jumps find
      previous = row.label;
      previousLine = row.line;
    }
  }

  void CheckRecord(const ScriptRow& row, bool firstOfRun) {
    NoteMessage(row);
    CheckSpeaker(row);
    CheckPictures(row);
    CheckSubstitution(row);
    CheckCommand(row, firstOfRun);
  }

  // A record shows its text when no picture field or command says
  // otherwise: a plain text record, a face change, "r" and "t". A "ts" record
  // enlarges the next message shown, its own text included.
  void NoteMessage(const ScriptRow& row) {
    const std::string& command = row[kCommand];
    if (command == "ts") {
      auto size = ToInt16(row[kParam1]);
      if (size.ok() && *size >= 0) nextFontSize_ = *size;
    }
    const bool showsText = command.empty() || command[0] == 'r' || command[0] == 't';
    if (!showsText || row[kText].empty() || !row[kBackground].empty() || !row[kCharacter].empty()) {
      return;
    }
    result_.messages.push_back(
        {row[kText], row[kSubst] == "1", nextFontSize_, row.line, row.label});
    nextFontSize_ = 0;
  }

  void CheckSpeaker(const ScriptRow& row) {
    const std::string& speaker = row[kSpeaker];
    if (speaker.empty()) return;
    auto value = ToInt16(speaker);
    if (!value.ok() || *value < 0 || *value > 9) {
      RowError(row, "the speaker \"" + speaker + "\" is not a speaker number from 0 to 9");
    }
  }

  void UsePicture(const ScriptRow& row, const std::string& file) {
    if (!usedPictures_.insert(file).second) return;
    result_.pictures.push_back({file, row.line, row.label});
  }

  void CheckPictures(const ScriptRow& row) {
    if (!row[kBackground].empty()) {
      auto number = ToInt16(row[kBackground]);
      if (!number.ok() || *number < 0) {
        RowError(row, "the background \"" + row[kBackground] + "\" is not a picture number");
      } else {
        UsePicture(row, BackgroundFileName(*number));
      }
    }
    std::optional<std::pair<int, int>> character;
    const std::string& code = row[kCharacter];
    if (!code.empty()) {
      const bool twoDigits = code.size() == 2 &&
                             std::isdigit(static_cast<unsigned char>(code[0])) &&
                             std::isdigit(static_cast<unsigned char>(code[1]));
      if (!twoDigits) {
        RowError(row, "the character code \"" + code + "\" is not two digits (character, pose)");
      } else if (code[0] < '1' || code[0] > '4') {
        RowError(row, "the character code \"" + code + "\" names character " + code.substr(0, 1) +
                          "; the characters are 1 to 4");
      } else {
        character = std::pair{code[0] - '0', code[1] - '0'};
        CheckPlacement(row, code, row[kFace].empty());
      }
    }
    if (!row[kFace].empty()) CheckFace(row, character);
  }

  void CheckPlacement(const ScriptRow& row, const std::string& code, bool placesCharacter) {
    if (code[1] == '0') return;  // pose 0 removes the character; the text is the effect code
    UsePicture(row, code + ".dat");
    if (!placesCharacter) return;  // a face change names the shown character
    const std::string& position = row[kText];
    if (position == "C") {
      RowWarning(row, "the position \"C\" (centre) has no sprite slot of its own; use L or R");
    } else if (position != "L" && position != "R") {
      RowWarning(row, "the position \"" + position +
                          "\" is not L or R: the character is not placed and the text is not "
                          "shown");
    }
  }

  void CheckFace(const ScriptRow& row, const std::optional<std::pair<int, int>>& character) {
    const std::string& face = row[kFace];
    auto value = ToInt16("0" + face);
    if (!value.ok() || *value < 1 || *value > 255) {
      RowError(row, "the face \"" + face + "\" is not a face number from 1 to 255");
      return;
    }
    if (!character) {
      RowWarning(row,
                 "a face change without a character code changes the character named by an "
                 "earlier record; give the character code on the same record");
      return;
    }
    if (character->second != 1) {
      RowWarning(row, "faces exist for pose 1 only; pose " + std::to_string(character->second) +
                          " falls back to the first character's face rectangle");
    }
    result_.faces.push_back({character->first, character->second, *value, row.line, row.label});
  }

  void CheckSubstitution(const ScriptRow& row) {
    if (row[kSubst] != "1") return;
    const std::string& text = row[kText];
    for (size_t at = text.find('&'); at != std::string::npos; at = text.find('&', at + 1)) {
      const char next = at + 1 < text.size() ? text[at + 1] : '\0';
      if (next < '0' || next > '9') {
        RowError(row, "\"&\" in the text is not followed by a name number (0 to 9)");
        return;
      }
    }
  }

  void NeedJump(const ScriptRow& row, const std::string& command) {
    if (!row.jump) RowError(row, "the command \"" + command + "\" needs a jump target (column 3)");
  }

  void CheckCommand(const ScriptRow& row, bool firstOfRun) {
    const std::string& command = row[kCommand];
    if (command.empty()) return;
    const CommandRule* rule = FindCommandRule(command);
    if (rule == nullptr) {
      RowWarning(row, "\"" + command + "\" is not a command; the record's text is shown");
      return;
    }
    if (!KnownVariant(*rule, command)) {
      if (rule->errorLetter != 0) {
        RowError(row, "the command \"" + command + "\" is unknown; the game reports \"" +
                          UnknownVariantText(*rule) + "\" and goes on");
      } else {
        RowWarning(row, "the command \"" + command + "\" does nothing");
      }
      return;
    }
    if (NeedsJumpTarget(command)) NeedJump(row, command);
    const char last = command.back();
    switch (command[0]) {
      case 'g':
        if (command == "g2") CheckSavePoint(row, firstOfRun);
        break;
      case 'a':
        if (last == '1' || last == '9') {
          RowWarning(row, "the command \"" + command + "\" names no effect sound (2 to 8 do)");
        } else if (!std::isdigit(static_cast<unsigned char>(last)) &&
                   std::string_view("JjKkABCDEFGHIabcdefghi").find(last) ==
                       std::string_view::npos) {
          RowWarning(row, "the command \"" + command + "\" is not a sound command");
        }
        break;
      case 's':
        CheckChoiceCommand(row);
        break;
      case 'p':
        if (last == '1' && !IsCounterCode(row[kText], true)) {
          RowWarning(row, "\"" + row[kText] + "\" is not a story counter; \"" + command +
                              "\" changes nothing");
        } else if (last == '2' && (Left(row[kText], 3) != "set" || !IsNumber(row[kParam1]))) {
          RowWarning(row, "\"p2\" adds a number (column 10) to the counter \"set\" only");
        }
        break;
      case 'i':
        if (last == '1') {
          if (!IsCounterCode(row[kText], false)) {
            RowWarning(row, "\"" + row[kText] + "\" is not a story counter; \"i1\" never jumps");
          }
          if (!IsNumber(row[kParam1])) {
            RowError(row,
                     "\"i1\" compares with a number in column 10, not \"" + row[kParam1] + "\"");
          }
        }
        break;
      case 'd':
        if (!IsNumber(row[kText])) {
          RowError(row, "\"" + command + "\" compares the stage with a number in the text, not \"" +
                            row[kText] + "\"");
        }
        if (last == '9' && !IsNumber(row[kParam1])) {
          RowError(row, "\"d9\" needs a second stage number in column 10");
        }
        break;
      case 't':
        if ((last == 's' || last == 'p') && !IsNumber(row[kParam1])) {
          RowError(row, "\"" + command + "\" needs a number in column 10");
        }
        break;
      case 'w':
        if (!row[kText].empty() && !IsNumber(row[kText])) {
          RowError(row, "the wait \"" + row[kText] + "\" is not a number of milliseconds");
        }
        break;
      default:
        break;
    }
  }

  void CheckSavePoint(const ScriptRow& row, bool firstOfRun) {
    if (row.label < 1000 || row.label > 9999) {
      RowError(row,
               "a save point needs a four-digit label (1000 to 9999): loading reads the "
               "label back from the first four characters of the saved position");
    }
    if (!firstOfRun) {
      RowError(row,
               "a save point must be the first record of its label: loading continues "
               "after the first record of label " +
                   std::to_string(row.label));
    }
  }

  void CheckChoiceCommand(const ScriptRow& row) {
    auto count = ToInt16(row[kText]);
    if (!count.ok() || *count < 1 || *count > 6) {
      RowError(row, "the choice count \"" + row[kText] + "\" must be a number from 1 to 6");
      return;
    }
    choiceCommands_.push_back({row.line, row.label, *count});
  }

  void CheckJumpTargets() {
    for (const ScriptRow& row : rows_) {
      if (!row.jump) continue;
      if (!labels_.count(*row.jump)) {
        RowError(row, "the jump target " + std::to_string(*row.jump) + " is not a label");
      } else {
        CheckNotLastRecord(names_.script, row.line, row.label, *row.jump);
      }
    }
  }

  // A jump onto the last record runs it (the end test is skipped after a
  // jump) and then runs on past the end of the script.
  void CheckNotLastRecord(const std::string& file, int line, std::optional<int32_t> label,
                          int16_t target) {
    if (rows_.empty()) return;
    const auto found = labels_.find(target);
    if (found != labels_.end() && found->second == rows_.size() - 1) {
      Warning(file, line, label,
              "the target " + std::to_string(target) +
                  " is the last record: a jump runs it and then runs past the end of the script");
    }
  }

  void CheckChoices() {
    std::set<int16_t> owners;
    for (const ChoiceCommand& command : choiceCommands_)
      owners.insert(command.label);
    for (const ChoiceRow& choice : choices_) {
      if (choice.target) {
        if (!labels_.count(*choice.target)) {
          Error(names_.choices, choice.line, choice.owner,
                "the choice target " + std::to_string(*choice.target) + " is not a label");
        } else {
          CheckNotLastRecord(names_.choices, choice.line, choice.owner, *choice.target);
        }
      }
      if (!owners.count(choice.owner)) {
        Warning(names_.choices, choice.line, choice.owner,
                "no \"s\" record has the label " + std::to_string(choice.owner) +
                    ", so this choice is never shown");
      }
    }
    std::set<int16_t> checkedOwners;
    for (const ChoiceCommand& command : choiceCommands_) {
      CheckChoiceEntries(command, checkedOwners.insert(command.label).second);
    }
  }

  void CheckChoiceEntries(const ChoiceCommand& command, bool reportUnused) {
    const std::string where = "the \"s\" record shows " + std::to_string(command.count) +
                              " choices of label " + std::to_string(command.label);
    auto owned = [&](const ChoiceRow& c) { return c.owner == command.label; };
    const auto first = std::find_if(choices_.begin(), choices_.end(), owned);
    if (first == choices_.end()) {
      Error(names_.script, command.line, command.label,
            where + ", but no choice entry belongs to that label");
      return;
    }
    const size_t base = static_cast<size_t>(first - choices_.begin());
    for (int k = 0; k < command.count; ++k) {
      const size_t index = base + static_cast<size_t>(k);
      if (index >= choices_.size()) {
        Error(names_.script, command.line, command.label,
              where + ", but the choice table ends after " + std::to_string(k) + " of them");
        return;
      }
      if (choices_[index].owner != command.label) {
        Error(names_.script, command.line, command.label,
              where + ", but choice " + std::to_string(k + 1) + " (" + names_.choices + " row " +
                  std::to_string(choices_[index].line) + ") belongs to label " +
                  std::to_string(choices_[index].owner) +
                  "; a label's choice entries must stand together");
        return;
      }
    }
    if (!reportUnused) return;
    for (size_t i = 0; i < choices_.size(); ++i) {
      if (owned(choices_[i]) && (i < base || i >= base + static_cast<size_t>(command.count))) {
        Warning(names_.choices, choices_[i].line, command.label,
                where + " (from row " + std::to_string(first->line) +
                    "), so this entry is never shown");
      }
    }
  }

  void CheckLastRecord() {
    if (rows_.empty()) return;
    const ScriptRow& last = rows_.back();
    const bool acts = !last[kCommand].empty() || !last[kText].empty() ||
                      !last[kBackground].empty() || !last[kCharacter].empty() ||
                      !last[kFace].empty();
    if (acts) {
      RowWarning(last,
                 "the last record is not run when the story advances onto it (the story stops "
                 "there); end the script with a closing record after it");
    }
  }

  const ScriptFileNames& names_;
  ScriptCheck& result_;
  int16_t nextFontSize_ = 0;
  std::optional<Finding> loaderFault_;
  std::vector<ScriptRow> rows_;
  std::vector<ChoiceRow> choices_;
  std::vector<ChoiceCommand> choiceCommands_;
  std::map<int16_t, size_t> labels_;  // label → index in rows_ of its first run
  std::set<size_t> runStarts_;
  std::set<std::string> usedPictures_;
};

}  // namespace

ScriptCheck CheckScriptTexts(std::string_view scriptCp932, std::string_view choicesCp932,
                             const ScriptFileNames& names) {
  ScriptCheck result;
  Checker(names, result).Run(scriptCp932, choicesCp932);
  // In file order: the script by row, then the choices by row.
  std::stable_sort(result.findings.begin(), result.findings.end(),
                   [&](const Finding& a, const Finding& b) {
                     const bool aScript = a.file == names.script;
                     const bool bScript = b.file == names.script;
                     if (aScript != bScript) return aScript;
                     return a.row < b.row;
                   });
  return result;
}

}  // namespace dovetail::tools
