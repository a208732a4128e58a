#include "shell/HeroName.h"

#include "base/Cp932.h"
#include "base/Utf8.h"

namespace dovetail {

std::string NameEntryText(const std::array<std::string, 10>& names) {
  return names[1] + "\u3000" + names[2];
}

namespace {

// The surname and given name of `text`; `taken` is false when it is no name
// the dialog takes (see AcceptHeroName); `unsavable` says it holds a
// character the save file cannot store.
struct SplitName {
  std::string surname;
  std::string givenName;
  bool taken = false;
  bool unsavable = false;
};

SplitName SplitHeroName(std::string_view text) {
  const std::vector<std::string_view> chars = Utf8Chars(text);
  const size_t length = chars.size();
  size_t position = 0;  // 1-based; 0 = no space
  for (const char* space : {"\u3000", " "}) {
    for (size_t i = 0; i < length && position == 0; ++i) {
      if (chars[i] == space) position = i + 1;
    }
    if (position != 0) break;
  }
  SplitName name;
  if (position == 0 || position + 1 > length || length > kHeroNameMaxChars) return name;
  name.surname = Left(text, position - 1);
  name.givenName = Mid(text, position + 1);
  name.unsavable = !Utf8ToCp932(name.surname).ok() || !Utf8ToCp932(name.givenName).ok();
  name.taken = !name.unsavable;
  return name;
}

}  // namespace

bool AcceptHeroName(std::string_view text, std::array<std::string, 10>& names) {
  const SplitName name = SplitHeroName(text);
  if (!name.taken) return false;
  names[1] = name.surname;
  names[2] = name.givenName;
  return true;
}

std::string HeroNameProblem(std::string_view text) {
  const SplitName name = SplitHeroName(text);
  if (name.taken) return {};
  if (name.unsavable) return "この名前には使えない文字が入っています。";
  return "姓と名のあいだに空白を入れて、空白もふくめて7文字までで入力してください。";
}

}  // namespace dovetail
