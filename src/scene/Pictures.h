#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>

#include "base/Result.h"
#include "scene/CharacterPlaces.h"
#include "screen/SceneContext.h"
#include "window/PictureBox.h"

namespace dovetail {

// What is seen behind the text: the background picture (brought in with a
// screen transition), the character sprites standing on the bottom edge of the
// stage, and the face of a shown character, exchanged inside its sprite with a
// dissolve.
//
// A sprite is composed the usual way: the background under it, AND the
// character's mask, XOR the character picture (whose transparent colour is
// black). Positions are "L" (0), "R" (1) and "C" (2); there are two sprite
// slots, so the centre position borrows one of them (see PlaceCharacter).
class Pictures {
 public:
  // Pictures are loaded from the context's data folder.
  explicit Pictures(const SceneContext& scene);
  Pictures(const Pictures&) = delete;
  Pictures& operator=(const Pictures&) = delete;

  // Slot geometry: where each sprite slot stands on the stage and how large
  // its picture is (slots 0 and 1 are used).
  std::array<int16_t, 5> DollX{}, DollY{}, DollW{}, DollH{};
  // Left edge of each position: left, right and centre.
  std::array<int16_t, 3> DollBaseX{};
  // The pose shown of each character (0..3) at each position (0..2); 0 = not
  // shown.
  CharacterPlaces DollShown{};

  // A face rectangle inside a character picture and the left edge of that
  // character's column in the face sheet.
  struct FaceRect {
    int16_t X1, Y1, X2, Y2, W, H, SheetX;
  };
  std::array<FaceRect, 13> FaceTable{};

  // Prepares the positions for a story.
  void StoryInit();

  // The record's background (BgNo) with the transition named by the first two
  // characters of CurText. Shown sprites become part of the outgoing picture;
  // afterwards no character stands on the stage and the message page is
  // empty. Returns kAdvance.
  int32_t ShowBackground();

  // The record's character field: pose 0 removes the character (CurText is
  // the effect of the removal, "DH" at once), another pose shows it at the
  // position CurText names ("L", "R", "C"). Returns kAdvance.
  int32_t PlaceCharacter();

  // Loads the picture of CharNo / CharPose into the slot, at the slot's own
  // position, and builds its mask.
  void LoadCharacter(int slot);

  // Takes the slot's sprite off the stage: a comb wipe back to the background
  // under it, or at once when EffectCode is "DH".
  void EraseCharacter(int slot);

  // The record's face field: the character CharNo, shown in pose CharPose,
  // takes face FaceNo with a dissolve (at once while skipping). Ends the
  // program when that character is not on the stage. Returns kShowText.
  int32_t ChangeFace();

  // Loads the face sheet "91.dat", builds its mask and fills the face table.
  Status LoadFaceTable();

 private:
  // The sprite slot that draws the given position.
  int SlotOfPosition(int position) const;
  // Chooses the slot for a character about to be shown at the centre.
  int ChooseCentreSlot() const;
  // LoadCharacter with the slot standing at the given position's left edge.
  void LoadCharacterAt(int slot, int position);
  [[noreturn]] void Fail(const std::string& message);

  MainForm& form_;
  StoryState& story_;
  MessagePage& page_;
  Host& host_;
  Effects& effects_;
  const std::filesystem::path& dataPath_;
  // The slot drawing the centre position, while one does.
  int centreSlot_ = 0;
};

}  // namespace dovetail
