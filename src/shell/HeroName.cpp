#include "shell/HeroName.h"

#include "base/Cp932.h"
#include "base/Utf8.h"

namespace dovetail {

void NewGame(StoryState& story) {
  CafeRecord& cafe = story.cafe;
  cafe = CafeRecord{};
  story.Ranking[0] = RankEntry{};
  story.StageNo = 2;
  const int16_t happy = story.counters.HappyCount;
  story.counters = StoryCounters{};
  story.counters.HappyCount = happy;
  for (int i = 1; i <= 8; ++i)
    story.Names[i] = kDefaultNames[i];
  story.ScriptPos = 0;
  story.NameEntered = false;
}

std::string NameEntryText(const std::array<std::string, 10>& names) {
  return names[1] + "\u3000" + names[2];
}

bool AcceptHeroName(std::string_view text, std::array<std::string, 10>& names) {
  const std::vector<std::string_view> chars = Utf8Chars(text);
  const size_t length = chars.size();
  size_t position = 0;  // 1-based; 0 = no space
  for (const char* space : {"\u3000", " "}) {
    for (size_t i = 0; i < length && position == 0; ++i) {
      if (chars[i] == space) position = i + 1;
    }
    if (position != 0) break;
  }
  if (position == 0 || position + 1 > length || length > 7) return false;
  const std::string surname = Left(text, position - 1);
  const std::string givenName = Mid(text, position + 1);
  if (!Utf8ToCp932(surname).ok() || !Utf8ToCp932(givenName).ok()) return false;
  names[1] = surname;
  names[2] = givenName;
  return true;
}

}  // namespace dovetail
