#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace dovetail {

// One row of the story script.
struct ScriptRecord {
  int16_t Label = 0;       // label number; consecutive records may share one
  std::string Command;     // e.g. "g3", "a0", "s", "t0"; empty for a plain text record
  int16_t Jump = 0;        // jump-target label number, 0 when none
  std::string Background;  // background picture number, or empty
  std::string Character;   // two digits: character and pose, or empty
  std::string Face;        // face number, or empty
  std::string Spare;       // not read by the program
  std::string Speaker;     // speaker number 0 to 9, or empty
  std::string Text;        // message text or command argument
  std::string Param1;
  std::string Param2;
  std::string Subst;  // "1" = replace "&" + digit in the text by a name
};

// The first record of a run of records with one label.
struct LabelEntry {
  int16_t Label = 0;
  int32_t Index = 0;
};

// One choice of an `s` record: its owner label, caption and target (a record
// position once loaded; a label number when the label does not exist).
struct ChoiceEntry {
  int16_t Owner = 0;
  std::string Text;
  int16_t Target = 0;
};

// Capacities of the tables (their highest indices are 5000, 500 and 200).
constexpr int32_t kScriptCapacity = 5001;
constexpr int32_t kLabelCapacity = 501;
constexpr int32_t kChoiceCapacity = 201;

// The script, label and choice tables, loaded once at start-up.
struct ScriptTables {
  ScriptTables() : Script(kScriptCapacity), Labels(kLabelCapacity), ChoiceTable(kChoiceCapacity) {}

  std::vector<ScriptRecord> Script;
  std::vector<LabelEntry> Labels;
  std::vector<ChoiceEntry> ChoiceTable;
  int32_t LastRecord = 0;   // index of the last loaded record
  int32_t LabelCount = 0;   // used entries of Labels
  int32_t LastChoice = -1;  // index of the last used choice entry
};

}  // namespace dovetail
