#pragma once

#include <array>
#include <cstdint>
#include <string_view>

namespace dovetail {

// Who stands where on the story screen: for each character 1 to 4 the pose
// (0: none) at each position, left (0), right (1) and centre (2). The rules of
// a character record and a face change over it, without any drawing, so that
// the story screen and the route walk apply the same ones.
using CharacterPlaces = std::array<std::array<int16_t, 3>, 4>;

// The position a character record (character `charNo`, pose `pose`, position
// letter `where`: "L", "R" or "C") brings the character to, or -1 when it
// brings nobody: a character outside 1 to 4, pose 0 (a removal), another
// letter, or the same pose already standing there.
int EnteringPosition(const CharacterPlaces& places, int16_t charNo, int16_t pose,
                     std::string_view where);

// The position a removal (pose 0) takes the character from: the first one it
// stands at; -1 when it is not on the stage or the record is no removal.
int LeavingPosition(const CharacterPlaces& places, int16_t charNo, int16_t pose);

// Whether a face change for the character in that pose finds it standing.
// Records that name no sprite (a character outside 1 to 4, pose 0) change no
// face and always pass.
bool FaceChangeFindsCharacter(const CharacterPlaces& places, int16_t charNo, int16_t pose);

// The places after a character record, as the story screen leaves them: a
// removal clears its position; an entry clears every position the character
// stood at and puts it at the new one.
void ApplyCharacterRecord(CharacterPlaces& places, int16_t charNo, int16_t pose,
                          std::string_view where);

}  // namespace dovetail
