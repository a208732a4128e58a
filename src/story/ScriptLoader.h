#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "base/Result.h"
#include "story/ScriptTables.h"

namespace dovetail {

// The label number of a label text: its first character followed by its last
// three, read as a 16-bit integer ("1-059" and "1059" give 1059, "5" gives 55).
Result<int16_t> DecodeLabel(std::string_view text);

// Fills the label table from the script records 0 to LastRecord: one entry
// for each run of records with the same label, at the run's first record. A
// label table too small for the runs is an error naming the label.
Status BuildLabels(ScriptTables& tables);

// Reports loading progress in percent.
using ProgressReport = std::function<void(int16_t percent)>;

// Fills `tables` from the decoded script (13 fields a row, CP932) and choice
// table (3 fields a row): heading rows ("num" in the first column) take no
// slot, label runs become label entries, choice targets are resolved to record
// positions (a target label that does not exist keeps its number). Reports 70,
// 80 and 90. Content errors (a script without a row, a label that is no
// number, a row cut short, text that is not CP932, an empty choice target,
// more rows than a table holds) are
// returned with the file name and row; `tables` is then unspecified.
Status LoadScriptTables(std::string_view scriptText, std::string_view choiceText,
                        ScriptTables& tables, const ProgressReport& progress);

}  // namespace dovetail
