#include "scene/CharacterPlaces.h"

#include <algorithm>

namespace dovetail {

namespace {

bool NamesACharacter(int16_t charNo) {
  return charNo >= 1 && charNo <= static_cast<int16_t>(CharacterPlaces{}.size());
}

}  // namespace

int EnteringPosition(const CharacterPlaces& places, int16_t charNo, int16_t pose,
                     std::string_view where) {
  if (!NamesACharacter(charNo) || pose == 0) return -1;
  int position = -1;
  if (where == "L") {
    position = 0;
  } else if (where == "R") {
    position = 1;
  } else if (where == "C") {
    position = 2;
  }
  if (position < 0 || places[charNo - 1][position] == pose) return -1;
  return position;
}

int LeavingPosition(const CharacterPlaces& places, int16_t charNo, int16_t pose) {
  if (!NamesACharacter(charNo) || pose != 0) return -1;
  const auto& shown = places[charNo - 1];
  const auto at = std::find_if(shown.begin(), shown.end(), [](int16_t p) { return p != 0; });
  return at == shown.end() ? -1 : static_cast<int>(at - shown.begin());
}

bool FaceChangeFindsCharacter(const CharacterPlaces& places, int16_t charNo, int16_t pose) {
  if (!NamesACharacter(charNo) || pose == 0) return true;
  const auto& shown = places[charNo - 1];
  return std::find(shown.begin(), shown.end(), pose) != shown.end();
}

void ApplyCharacterRecord(CharacterPlaces& places, int16_t charNo, int16_t pose,
                          std::string_view where) {
  if (const int from = LeavingPosition(places, charNo, pose); from >= 0) {
    places[charNo - 1][from] = 0;
    return;
  }
  const int to = EnteringPosition(places, charNo, pose, where);
  if (to < 0) return;
  places[charNo - 1].fill(0);
  places[charNo - 1][to] = pose;
}

}  // namespace dovetail
