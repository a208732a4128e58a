#include "content/RouteCheck.h"

#include <set>
#include <utility>

#include "routes/RouteMap.h"
#include "story/ScriptLoader.h"

namespace dovetail::tools {

namespace {

// The line (from 1) of the script text that holds record `record`: heading
// lines ("num" in the first field) take no record.
int RowOfRecord(std::string_view script, int32_t record) {
  if (record < 0) return 0;
  int row = 0;
  int32_t records = 0;
  size_t start = 0;
  while (start < script.size()) {
    size_t end = script.find('\n', start);
    if (end == std::string_view::npos) end = script.size();
    ++row;
    if (!script.substr(start, end - start).starts_with("num,")) {
      if (records == record) return row;
      ++records;
    }
    start = end + 1;
  }
  return 0;
}

}  // namespace

std::vector<Finding> CheckRoutes(const std::string& scriptCp932, const std::string& choicesCp932,
                                 const std::string& file) {
  std::vector<Finding> findings;
  ScriptTables tables;
  if (!LoadScriptTables(scriptCp932, choicesCp932, tables, nullptr).ok()) return findings;
  const RouteMap map = MapRoutes(tables);
  for (int16_t label : map.unreached)
    findings.push_back(MakeWarning(file, "no route from the title reaches this label", 0, label));
  std::set<std::pair<int16_t, std::string>> reported;
  for (const RouteProblem& problem : map.problems) {
    if (reported.insert({problem.label, problem.message}).second) {
      findings.push_back(MakeError(file, "a route meets: " + problem.message,
                                   RowOfRecord(scriptCp932, problem.record), problem.label));
    }
  }
  return findings;
}

}  // namespace dovetail::tools
