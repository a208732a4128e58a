#include "minigame/RankingFile.h"

#include "base/Cp932.h"
#include "base/FieldReader.h"
#include "base/Files.h"
#include "base/Numbers.h"
#include "storage/GamePaths.h"

namespace dovetail {

namespace {

Status ReadRanks(const std::string& bytes, const std::string& name, RankingTable& ranking) {
  auto text = Cp932ToUtf8(bytes);
  if (!text.ok()) return Error{name + ": " + text.error().message};
  FieldReader reader(*text, name);
  for (int rank = 1; rank <= 5; ++rank) {
    auto playerName = reader.Next();
    if (!playerName.ok()) return playerName.error();
    auto grade = reader.Next();
    if (!grade.ok()) return grade.error();
    auto score = reader.Next();
    if (!score.ok()) return score.error();
    auto value = ToInt32(*score);
    if (!value.ok())
      return Error{name + ", rank " + std::to_string(rank) + ": the score " +
                   value.error().message};
    ranking[rank] = {*playerName, *value, *grade};
  }
  return {};
}

// Entries 1 to 5 empty: what a missing or malformed file leaves.
void ClearRanks(RankingTable& ranking) {
  for (int rank = 1; rank <= 5; ++rank)
    ranking[rank] = RankEntry{};
}

}  // namespace

Status ParseRanking(const std::string& bytes, const std::string& name, RankingTable& ranking) {
  Status status = ReadRanks(bytes, name, ranking);
  if (!status.ok()) ClearRanks(ranking);
  return status;
}

Status ReadRankingFile(const PlayerFiles& files, RankingTable& ranking) {
  auto bytes = files.Read(kRankingFile, kMaxRankingFileBytes);
  if (!bytes.ok()) {
    ClearRanks(ranking);
    return bytes.error();
  }
  return ParseRanking(*bytes, std::string(kRankingFile), ranking);
}

std::string FormatRankingText(const RankingTable& ranking) {
  std::string text;
  for (int rank = 1; rank <= 5; ++rank) {
    const RankEntry& entry = ranking[rank];
    text += FieldText(entry.Name) + "," + FieldText(entry.Grade) + "," +
            std::to_string(entry.Score) + "\r\n";
  }
  return text;
}

Status WriteRankingFile(PlayerFiles& files, const RankingTable& ranking) {
  auto bytes = Utf8ToCp932(FormatRankingText(ranking));
  if (!bytes.ok()) return Error{std::string(kRankingFile) + ": " + bytes.error().message};
  return files.Replace(kRankingFile, *bytes);
}

}  // namespace dovetail
