#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <string>

#include "minigame/CafeStage.h"
#include "minigame/CafeTables.h"
#include "minigame/StageEffects.h"
#include "screen/PictureRegions.h"
#include "screen/SceneContext.h"
#include "sound/Sound.h"
#include "window/PictureBox.h"
#include "window/Shape.h"

namespace dovetail {
class CafeEvents;
}  // namespace dovetail

namespace dovetail::cafe {

// The hover frame of a dish button: two pixels of warm yellow just inside the
// button's edge, bright against the board's colours and the dish pictures,
// and over the button only, so it never hides its neighbours.
constexpr Pixel kHoverFrameColor = Rgb(255, 204, 0);
constexpr int32_t kHoverFrameWidth = 2;

// The café board: the stage's controls over PicMain and what they do. It
// turns the story screen into the board (SetupGameScreen), draws what the
// stage's rules make visible (it is their StageEffects) and handles the
// player's mouse: hovering a staff face shows that category's dishes,
// clicking a dish puts it on the plate, the cancel button empties the plate,
// clicking a waiting customer serves the plate. There is no keyboard in a
// stage.
//
// Sprites are drawn with masks: the board under them, AND the mask, XOR the
// picture whose black is transparent.
class CafeBoard : public StageEffects {
 public:
  // The controls are created in the main window (hidden) and their handlers
  // wired. Effect sounds play through `sound`; `tables` are the settings' café
  // tables. A picture of the board that cannot be loaded throws GameFailure.
  CafeBoard(const SceneContext& scene, CafeEvents& events, Sound& sound, const CafeTables& tables);
  CafeBoard(const CafeBoard&) = delete;
  CafeBoard& operator=(const CafeBoard&) = delete;

  // The staff member whose dishes the tray shows (1 to 4; 0 none).
  int16_t CurCategory = 0;

  // The stage the handlers act on while it runs; null between stages.
  void Attach(CafeStage* stage) { stage_ = stage; }

  // Turns the story screen into the board of stage `stageNo`: the sprites
  // flattened into the picture, the story's controls hidden, a soft wipe to
  // black, the darkened board with the day's caption, then the board at full
  // brightness with the stage label and the controls placed.
  void SetupGameScreen(int16_t stageNo);

  // Hides every control of the stage.
  void HideControls();

  // The handlers.
  void MFace_MouseMove(int16_t index);
  void MItem_MouseMove(int16_t index);
  void MItem_MouseDown(int16_t index);
  void CancelPic_MouseMove();
  void CancelPic_Click();
  void MPerson_MouseDown(int16_t index);

  // What the rules show and play.
  void ProcessEvents() override;
  void DrawCustomer(int16_t seat, int16_t look, Expression expression, bool refresh) override;
  void ShowCustomer(int16_t seat) override;
  void DisableCustomer(int16_t seat) override;
  void HideCustomer(int16_t seat) override;
  void ShowOrder(int16_t seat, const DishSlots& order) override;
  void ShowBalloonText(int16_t seat, int16_t line, const std::string& text) override;
  void HideBalloon(int16_t seat) override;
  void PlayWave(int16_t sound) override;
  void RestoreCancelButton() override;
  void EmptyPlatePicture() override;
  void CustomerWaiting(int16_t seat, int16_t look, const DishSlots& order) override;
  void CustomerServed(int16_t seat, bool correct, uint32_t elapsedMs) override;
  void CustomerGaveUp(int16_t seat) override;

  // The controls (index 0 of the arrays unused).
  std::array<PictureBox*, 5> MFace{};
  std::array<PictureBox*, 6> MItem{};
  std::array<Shape*, 6> MItemShape{};
  PictureBox& MPlate;
  PictureBox& CancelPic;
  std::array<PictureBox*, 4> MPerson{};
  std::array<PictureBox*, 4> PStatus{};
  // Hidden work pictures: the customer sheet and the masks.
  PictureBox& PersonGItems;
  PictureBox& MItemMask;
  PictureBox& MPersonMask;
  PictureBox& PStatusMask;

  // The dish button whose hover frame shows; 0 none.
  int16_t HoverItem = 0;

 private:
  Surface LoadPicture(const char* name);
  void MakeMasks();
  void DrawDayText(int16_t stageNo);
  void PlaceControls();
  void DrawBalloon(int16_t seat);
  // Copies the board's pixels from PicMain under the box into it.
  void CopyBoardInto(PictureBox& box);

  const SceneContext scene_;
  CafeEvents& events_;
  Sound& sound_;
  const CafeTables& tables_;
  CafeStage* stage_ = nullptr;
};

}  // namespace dovetail::cafe
