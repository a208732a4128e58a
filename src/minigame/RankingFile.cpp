#include "minigame/RankingFile.h"

#include "base/Cp932.h"
#include "base/FieldReader.h"
#include "base/Files.h"
#include "base/Numbers.h"

namespace dovetail {

namespace {

Status ReadRanks(const std::filesystem::path& path, RankingTable& ranking) {
  const std::string name = path.filename().string();
  auto bytes = ReadWholeFile(path);
  if (!bytes.ok()) return bytes.error();
  auto text = Cp932ToUtf8(*bytes);
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

}  // namespace

Status ReadRankingFile(const std::filesystem::path& path, RankingTable& ranking) {
  Status status = ReadRanks(path, ranking);
  if (!status.ok()) {
    for (int rank = 1; rank <= 5; ++rank)
      ranking[rank] = RankEntry{};
  }
  return status;
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

Status WriteRankingFile(const std::filesystem::path& path, const RankingTable& ranking) {
  auto bytes = Utf8ToCp932(FormatRankingText(ranking));
  if (!bytes.ok()) return Error{path.filename().string() + ": " + bytes.error().message};
  return ReplaceFileAtomically(path, *bytes);
}

}  // namespace dovetail
