#include "scene/Pictures.h"

#include <algorithm>
#include <cassert>
#include <utility>

#include "base/Numbers.h"
#include "base/ProgramExit.h"
#include "base/Utf8.h"
#include "graphics/BitmapFile.h"
#include "graphics/BitmapHelpers.h"
#include "host/ScreenSize.h"
#include "scene/CharacterPlaces.h"
#include "screen/PictureRegions.h"
#include "storage/DataFolder.h"
#include "story/Interpreter.h"

namespace dovetail {

namespace {

constexpr int kSlots = 2;
constexpr int kPositions = 3;
constexpr int kCharacters = 4;
// Each comb-wipe step and each dissolve step lasts at least this long.
constexpr int32_t kWipePace = 4;
constexpr int32_t kDissolvePace = 40;
constexpr int32_t kMeshCell = 32;
constexpr int32_t kDissolveSteps = 9;

}  // namespace

Pictures::Pictures(const SceneContext& scene)
    : form_(scene.form),
      story_(scene.story),
      page_(scene.page),
      host_(scene.host),
      effects_(scene.effects),
      dataPath_(scene.paths.DataPath) {}

void Pictures::StoryInit() {
  DollBaseX = {0, 320, 130};
}

void Pictures::Fail(const std::string& message) {
  throw GameFailure{message};
}

int32_t Pictures::ShowBackground() {
  // The sprites become part of the outgoing picture.
  for (int slot = 0; slot < kSlots; ++slot) {
    PictureBox& sprite = *form_.Doll_Disp[slot];
    if (!sprite.Visible()) continue;
    BitBlt(form_.PicMain.Image(), DollX[slot], DollY[slot], DollW[slot], DollH[slot],
           sprite.Image(), 0, 0, RasterOp::SrcCopy);
    sprite.SetVisible(false);
    form_.PicMain.Refresh();
  }

  const std::string number = "0" + std::to_string(story_.BgNo);
  const std::string name = "p" + Right(number, 2) + ".dat";
  auto picture = LoadPicture(dataPath_, name);
  if (!picture.ok()) Fail(picture.error().message);
  form_.PicMainBak.SetPicture(std::move(*picture));
  form_.PicMainBak.Refresh();

  effects_.EffectCode = Left(story_.CurText, 2);
  effects_.RunEffect(form_.PicMain, form_.PicMainBak);

  MesClear(form_, page_);
  for (auto& positions : DollShown)
    positions.fill(0);
  return kAfterBackground;
}

int Pictures::SlotOfPosition(int position) const {
  return position < kSlots ? position : centreSlot_;
}

// The centre borrows a slot: the one already drawing the centre while a
// character stands there (the newcomer is drawn over it, as at the sides),
// else a slot that shows nothing, else the left one.
int Pictures::ChooseCentreSlot() const {
  const bool centreShown = std::any_of(DollShown.begin(), DollShown.end(),
                                       [](const auto& positions) { return positions[2] != 0; });
  if (centreShown && form_.Doll_Disp[centreSlot_]->Visible()) return centreSlot_;
  for (int slot = 0; slot < kSlots; ++slot) {
    if (!form_.Doll_Disp[slot]->Visible()) return slot;
  }
  return 0;
}

int32_t Pictures::PlaceCharacter() {
  // Characters outside 1..4 have no place in the table: the field is ignored.
  if (story_.CharNo < 1 || story_.CharNo > kCharacters) return kAfterCharacter;
  auto& shown = DollShown[story_.CharNo - 1];

  if (story_.CharPose == 0) {
    // Removing a character that is not on the stage changes nothing.
    const int position = LeavingPosition(DollShown, story_.CharNo, story_.CharPose);
    if (position < 0) return kAfterCharacter;
    effects_.EffectCode = story_.CurText;
    EraseCharacter(SlotOfPosition(position));
    shown[position] = 0;
    return kAfterCharacter;
  }

  const int position = EnteringPosition(DollShown, story_.CharNo, story_.CharPose, story_.CurText);
  if (position < 0) return kAfterCharacter;

  // A character stands at one position only.
  for (int p = 0; p < kPositions; ++p) {
    if (shown[p] == 0) continue;
    EraseCharacter(SlotOfPosition(p));
    shown[p] = 0;
  }

  if (position == 2) centreSlot_ = ChooseCentreSlot();
  const int slot = SlotOfPosition(position);
  shown[position] = story_.CharPose;
  LoadCharacterAt(slot, position);

  PictureBox& back = *form_.Doll_Back[slot];
  PictureBox& sprite = *form_.Doll_Disp[slot];
  BitBlt(back.Image(), 0, 0, DollW[slot], DollH[slot], form_.PicMain.Image(), DollX[slot],
         DollY[slot], RasterOp::SrcCopy);
  sprite.Move(DollX[slot], DollY[slot]);
  BitBlt(sprite.Image(), 0, 0, DollW[slot], DollH[slot], back.Image(), 0, 0, RasterOp::SrcCopy);
  sprite.Refresh();
  BitBlt(sprite.Image(), 0, 0, DollW[slot], DollH[slot], form_.Doll_Mask[slot]->Image(), 0, 0,
         RasterOp::SrcAnd);
  BitBlt(sprite.Image(), 0, 0, DollW[slot], DollH[slot], form_.Doll_Body[slot]->Image(), 0, 0,
         RasterOp::SrcInvert);
  sprite.Refresh();
  sprite.SetVisible(true);
  return kAfterCharacter;
}

void Pictures::LoadCharacter(int slot) {
  LoadCharacterAt(slot, slot);
}

void Pictures::LoadCharacterAt(int slot, int position) {
  assert(slot >= 0 && slot < kSlots && position >= 0 && position < kPositions);
  const std::string name = std::to_string(story_.CharNo) + std::to_string(story_.CharPose) + ".dat";
  auto picture = LoadPicture(dataPath_, name);
  if (!picture.ok()) Fail(picture.error().message);
  PictureBox& body = *form_.Doll_Body[slot];
  body.SetPicture(std::move(*picture));
  body.Refresh();

  DollW[slot] = static_cast<int16_t>(body.Width());
  DollH[slot] = static_cast<int16_t>(body.Height());
  DollX[slot] = DollBaseX[position];
  DollY[slot] = static_cast<int16_t>(kScreenHeight - DollH[slot]);

  for (PictureBox* box : {form_.Doll_Mask[slot], form_.Doll_Back[slot], form_.Doll_Disp[slot]})
    box->SetSize(DollW[slot], DollH[slot]);
  MakeMask(*form_.Doll_Mask[slot], body, 0, 0, DollW[slot], DollH[slot]);
}

void Pictures::EraseCharacter(int slot) {
  assert(slot >= 0 && slot < kSlots);
  PictureBox& sprite = *form_.Doll_Disp[slot];
  if (effects_.EffectCode != "DH") {
    // Two 2-pixel columns sweep in from the left and the right edge, four
    // pixels a step, uncovering the background kept under the sprite.
    const Surface& back = form_.Doll_Back[slot]->Image();
    const int32_t width = DollW[slot];
    const int32_t height = DollH[slot];
    const auto half = static_cast<int32_t>(RoundHalfEven(width / 2.0));
    for (int32_t e = 0; e <= half; e += 2) {
      effects_.StartStep(host_);
      const int32_t x = 2 * e;
      BitBlt(sprite.Image(), x, 0, 2, height, back, x, 0, RasterOp::SrcCopy);
      BitBlt(sprite.Image(), width - x + 2, 0, 2, height, back, width - x + 2, 0,
             RasterOp::SrcCopy);
      sprite.Refresh();
      effects_.FinishStep(host_, kWipePace);
    }
  }
  sprite.SetVisible(false);
}

int32_t Pictures::ChangeFace() {
  if (story_.CharNo < 1 || story_.CharNo > kCharacters) return kAfterFace;
  // Pose 0 names no sprite (it removes one): a face change with it, as on a
  // record that removes a character and names a face, changes nothing.
  if (story_.CharPose == 0) return kAfterFace;
  if (!FaceChangeFindsCharacter(DollShown, story_.CharNo, story_.CharPose)) {
    Fail("ﾃﾞｰﾀｴﾗｰ?\r\n人がいないので表情の変化ができません:" + std::to_string(story_.CurLabel));
  }
  // The face sheet holds faces for pose 1 of each character only, numbered
  // from 1: a sprite in another pose keeps its face rather than take one
  // drawn for another picture, and face 0 names no face.
  if (story_.CharPose != 1 || story_.FaceNo == 0) return kAfterFace;

  const auto& shown = DollShown[story_.CharNo - 1];
  const auto at = std::find(shown.begin(), shown.end(), static_cast<int16_t>(story_.CharPose));
  const int slot = SlotOfPosition(static_cast<int>(at - shown.begin()));
  const FaceRect& row = FaceTable[story_.CharNo - 1];
  const int32_t x = row.X1;
  const int32_t y = row.Y1;
  const int32_t width = row.W;
  const int32_t height = row.H;
  const int32_t sheetX = row.SheetX;
  const int32_t sheetY = (story_.FaceNo - 1) * height;

  PictureBox& sprite = *form_.Doll_Disp[slot];
  PictureBox& face = *form_.Face_Disp[slot];
  face.Move(0, 0, width, height);
  BitBlt(face.Image(), 0, 0, width, height, sprite.Image(), x, y, RasterOp::SrcCopy);
  BitBlt(face.Image(), 0, 0, width, height, form_.Face_Mask.Image(), sheetX, sheetY,
         RasterOp::SrcAnd);
  BitBlt(face.Image(), 0, 0, width, height, form_.Face_Load.Image(), sheetX, sheetY,
         RasterOp::SrcInvert);
  face.Refresh();
  host_.DoEvents();

  if (story_.message.MessageMode != 0) {
    PictureBox& cell = form_.Mesh2;
    cell.SetSize(kMeshCell, kMeshCell);
    const Surface& masks = form_.Mesh1.Image();
    for (int32_t k = 0; k < kDissolveSteps; ++k) {
      effects_.StartStep(host_);
      for (int32_t bx = 0; bx <= width; bx += kMeshCell) {
        for (int32_t by = 0; by <= height; by += kMeshCell) {
          const int32_t w = std::min(kMeshCell, width - bx);
          const int32_t h = std::min(kMeshCell, height - by);
          // The new face's share of the block, and the old face's complement.
          BitBlt(cell.Image(), 0, 0, w, h, face.Image(), bx, by, RasterOp::SrcCopy);
          BitBlt(cell.Image(), 0, 0, w, h, masks, kMeshCell * k, kMeshCell, RasterOp::SrcAnd);
          BitBlt(sprite.Image(), x + bx, y + by, w, h, masks, kMeshCell * k, 0, RasterOp::SrcAnd);
          BitBlt(sprite.Image(), x + bx, y + by, w, h, cell.Image(), 0, 0, RasterOp::SrcInvert);
        }
      }
      sprite.Refresh();
      effects_.FinishStep(host_, kDissolvePace);
    }
  }

  BitBlt(sprite.Image(), x, y, width, height, face.Image(), 0, 0, RasterOp::SrcCopy);
  sprite.Refresh();
  return kAfterFace;
}

Status Pictures::LoadFaceTable() {
  auto picture = LoadPicture(dataPath_, kFaceSheet);
  if (!picture.ok()) return picture.error();
  form_.Face_Load.SetPicture(std::move(*picture));
  const int32_t width = form_.Face_Load.Width();
  const int32_t height = form_.Face_Load.Height();
  form_.Face_Mask.SetSize(width, height);
  MakeMask(form_.Face_Mask, form_.Face_Load, 0, 0, width, height);

  FaceTable = {};
  for (size_t r = 0; r < kFaceRows.size(); ++r) {
    const FaceRow& row = kFaceRows[r];
    FaceTable[r] = FaceRect{static_cast<int16_t>(row.x1),
                            static_cast<int16_t>(row.y1),
                            static_cast<int16_t>(row.x2),
                            static_cast<int16_t>(row.y2),
                            0,
                            0,
                            static_cast<int16_t>(row.sheetX)};
  }
  for (FaceRect& row : FaceTable) {
    row.W = static_cast<int16_t>(row.X2 - row.X1);
    row.H = static_cast<int16_t>(row.Y2 - row.Y1);
  }
  return Status::Ok();
}

}  // namespace dovetail
