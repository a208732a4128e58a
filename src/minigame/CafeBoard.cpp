#include "minigame/CafeBoard.h"

#include <cassert>
#include <utility>

#include "base/ProgramExit.h"
#include "graphics/BitmapFile.h"
#include "graphics/BitmapHelpers.h"
#include "host/ScreenSize.h"
#include "host/Waits.h"
#include "minigame/CafeEvents.h"
#include "minigame/StageCalendar.h"
#include "storage/DataFolder.h"

namespace dovetail::cafe {

namespace {

// Where the stage label and the day caption go on the board.
constexpr int32_t kLabelLeft = 476;
constexpr int32_t kLabelTop = 6;
constexpr int32_t kDayTextLeft = 250;
constexpr int32_t kDayTextTop = 190;
constexpr float kDayTextSize = 14.0f;

constexpr int16_t kDishSound = 105;
constexpr int16_t kCancelSound = 102;

const char* const kBoardPicture = "p04.dat";
const char* const kCustomerSheet = "92.dat";

const FontSpec kBalloonFont{"ＭＳ ゴシック", 9.75f, false, false};

void Place(PictureBox& box, const Rect& r) {
  box.Move(r.x, r.y, r.w, r.h);
}

// A sprite from a sheet over what the box already holds: AND its mask (at
// (maskX, maskY) of the mask picture), XOR its picture.
void DrawSprite(PictureBox& box, int32_t x, int32_t y, int32_t w, int32_t h, const PictureBox& mask,
                int32_t maskX, int32_t maskY, const PictureBox& sheet, int32_t sheetX,
                int32_t sheetY) {
  BitBlt(box.Image(), x, y, w, h, mask.Image(), maskX, maskY, RasterOp::SrcAnd);
  BitBlt(box.Image(), x, y, w, h, sheet.Image(), sheetX, sheetY, RasterOp::SrcInvert);
}

// A sprite whose mask lies at the same place in the mask picture as the
// picture in its sheet.
void DrawSprite(PictureBox& box, int32_t x, int32_t y, int32_t w, int32_t h, const PictureBox& mask,
                const PictureBox& sheet, int32_t sheetX, int32_t sheetY) {
  DrawSprite(box, x, y, w, h, mask, sheetX, sheetY, sheet, sheetX, sheetY);
}

[[maybe_unused]] bool IsSeat(int16_t seat) {
  return seat >= 1 && seat <= kSeatCount;
}

}  // namespace

CafeBoard::CafeBoard(const SceneContext& scene, CafeEvents& events, Sound& sound,
                     const CafeTables& tables)
    : MPlate(scene.form.window.AddPictureBox("MPlate")),
      CancelPic(scene.form.window.AddPictureBox("CancelPic")),
      PersonGItems(scene.form.window.AddPictureBox("PersonGItems")),
      MItemMask(scene.form.window.AddPictureBox("MItemMask")),
      MPersonMask(scene.form.window.AddPictureBox("MPersonMask")),
      PStatusMask(scene.form.window.AddPictureBox("PStatusMask")),
      scene_(scene),
      events_(events),
      sound_(sound),
      tables_(tables) {
  Window& window = scene.form.window;
  // Stacking, bottom first: the faces, the seats, the balloons over the
  // seats' heads, the dish buttons, then the plate and the cancel button
  // (created above, raised here).
  for (int16_t i = 1; i <= 4; ++i) {
    MFace[i] = &window.AddPictureBox("MFace" + std::to_string(i));
    MFace[i]->onMouseMove = [this, i](const MouseEvent&) { MFace_MouseMove(i); };
  }
  for (int16_t s = 1; s <= kSeatCount; ++s) {
    MPerson[s] = &window.AddPictureBox("MPerson" + std::to_string(s));
    MPerson[s]->onMouseDown = [this, s](const MouseEvent&) { MPerson_MouseDown(s); };
  }
  for (int16_t s = 1; s <= kSeatCount; ++s) {
    PStatus[s] = &window.AddPictureBox("PStatus" + std::to_string(s));
    PStatus[s]->font = kBalloonFont;
    PStatus[s]->SetForeColor(kBlack);
  }
  for (int16_t i = 1; i <= kDishCount; ++i) {
    MItem[i] = &window.AddPictureBox("MItem" + std::to_string(i));
    MItem[i]->onMouseMove = [this, i](const MouseEvent&) { MItem_MouseMove(i); };
    MItem[i]->onMouseDown = [this, i](const MouseEvent&) { MItem_MouseDown(i); };
    Shape& frame = MItem[i]->AddShape();
    frame.borderColor = kHoverFrameColor;
    frame.borderWidth = kHoverFrameWidth;
    MItemShape[i] = &frame;
  }
  window.BringToFront(MPlate);
  window.BringToFront(CancelPic);
  CancelPic.onMouseMove = [this](const MouseEvent&) { CancelPic_MouseMove(); };
  CancelPic.onClick = [this] { CancelPic_Click(); };
  PersonGItems.SetAutoSize(true);
  // Masks: a sheet's black pixels become white, all others black.
  for (PictureBox* mask : {&MItemMask, &MPersonMask, &PStatusMask}) {
    mask->SetBackColor(kWhite);
    mask->SetForeColor(kBlack);
  }
}

Surface CafeBoard::LoadPicture(const char* name) {
  auto picture = dovetail::LoadPicture(scene_.paths.DataPath, name);
  if (!picture.ok()) throw GameFailure{picture.error().message};
  return std::move(*picture);
}

void CafeBoard::CopyBoardInto(PictureBox& box) {
  BitBlt(box.Image(), 0, 0, box.Width(), box.Height(), scene_.form.PicMain.Image(), box.Left(),
         box.Top());
}

void CafeBoard::HideControls() {
  for (int16_t s = 1; s <= kSeatCount; ++s) {
    MPerson[s]->SetVisible(false);
    PStatus[s]->SetVisible(false);
  }
  for (int16_t i = 1; i <= 4; ++i)
    MFace[i]->SetVisible(false);
  for (int16_t i = 1; i <= kDishCount; ++i)
    MItem[i]->SetVisible(false);
  MPlate.SetVisible(false);
  CancelPic.SetVisible(false);
}

void CafeBoard::SetupGameScreen(int16_t stageNo) {
  MainForm& form = scene_.form;
  Host& host = scene_.host;
  Effects& effects = scene_.effects;
  PictureBox& picMain = form.PicMain;
  PictureBox& picMainBak = form.PicMainBak;

  // 1–3: the story screen becomes one picture; the story's controls go.
  picMain.Move(0, 0, kScreenWidth, kScreenHeight);
  picMainBak.Move(0, 0, kScreenWidth, kScreenHeight);
  for (PictureBox* sprite : form.Doll_Disp) {
    if (!sprite->Visible()) continue;
    BitBlt(picMain.Image(), sprite->Left(), sprite->Top(), sprite->Width(), sprite->Height(),
           sprite->Image(), 0, 0);
    sprite->SetVisible(false);
    picMain.Refresh();
  }
  form.MesBox[0]->SetVisible(false);
  form.MesBox[1]->SetVisible(false);
  for (PictureBox* choice : form.SelTxt)
    choice->SetVisible(false);
  form.speedup.SetEnabled(false);

  // 4–6: a soft wipe to black, then the board comes up darkened.
  WaitMs(host, 1000);
  // The back buffer cleared to black: the story screen wipes away to blank.
  picMainBak.SetBackColor(kBlack);
  picMainBak.ClearPicture();
  effects.EffectCode = "HC";
  effects.RunEffect(picMain, picMainBak);
  effects.EffectCode = "DK";
  picMain.SetPicture(LoadPicture(kBoardPicture));
  effects.RunEffect(picMain, picMain);
  picMainBak.SetPicture(LoadPicture(kBoardPicture));

  // 7–11: the faces, the masks, the plate and the cancel button.
  for (int16_t i = 1; i <= 4; ++i) {
    const Rect& face = kStaffFaces[i - 1];
    Place(*MFace[i], face);
    BitBlt(MFace[i]->Image(), 0, 0, face.w, face.h, picMainBak.Image(), face.x, face.y);
  }
  MakeMasks();
  for (PictureBox* box : {&MPlate, &CancelPic}) {
    Place(*box, box == &MPlate ? kPlate : kCancelButton);
    BitBlt(box->Image(), 0, 0, box->Width(), box->Height(), picMainBak.Image(), box->Left(),
           box->Top());
  }

  // 12–14: the stage label on the board, the day's caption over the darkened
  // board, then the board at full brightness without the caption.
  if (const auto row = StageLabelRow(stageNo)) {
    const Rect label = StageLabel(*row);
    BitBlt(picMainBak.Image(), kLabelLeft, kLabelTop, label.w, label.h, form.GItems.Image(),
           label.x, label.y);
  }
  DrawDayText(stageNo);
  WaitMs(host, 1000);
  effects.EffectCode = "BC";
  effects.RunEffect(picMain, picMainBak);

  // 15–17.
  PlaceControls();
  CurCategory = 0;
}

void CafeBoard::MakeMasks() {
  MainForm& form = scene_.form;
  MItemMask.SetSize(kDishRegion.w, kDishRegion.h);
  MakeMask(MItemMask, form.GItems, kDishRegion.x, kDishRegion.y, kDishRegion.w, kDishRegion.h);
  PersonGItems.SetPicture(LoadPicture(kCustomerSheet));
  MPersonMask.SetSize(kCustomerSheetWidth, kCustomerSheetHeight);
  MakeMask(MPersonMask, PersonGItems, 0, 0, kCustomerSheetWidth, kCustomerSheetHeight);
  PStatusMask.SetSize(kBalloon.w, kBalloon.h);
  MakeMask(PStatusMask, form.GItems, kBalloon.x, kBalloon.y, kBalloon.w, kBalloon.h);
}

void CafeBoard::DrawDayText(int16_t stageNo) {
  PictureBox& picMain = scene_.form.PicMain;
  picMain.font = FontSpec{"ＭＳ Ｐゴシック", kDayTextSize, false, false};
  // White: the caption stands on the darkened board.
  picMain.SetForeColor(kWhite);
  scene_.text.DrawText(picMain, kDayTextLeft, kDayTextTop, DayText(stageNo));
  picMain.Refresh();
}

void CafeBoard::PlaceControls() {
  MPlate.SetVisible(true);
  CancelPic.SetVisible(true);
  for (int16_t s = 1; s <= kSeatCount; ++s)
    PStatus[s]->SetVisible(false);
  for (int16_t i = 1; i <= 4; ++i)
    MFace[i]->SetVisible(true);
  for (int16_t i = 1; i <= kDishCount; ++i)
    MItem[i]->SetVisible(false);
  for (int16_t s = 1; s <= kSeatCount; ++s) {
    Place(*MPerson[s], Seat(s));
    Place(*PStatus[s], SeatBalloon(s));
    MPerson[s]->SetEnabled(true);
  }
  HoverItem = 0;
}

void CafeBoard::MFace_MouseMove(int16_t index) {
  MainForm& form = scene_.form;
  if (CurCategory == index) return;
  for (int16_t b = 1; b <= kDishCount; ++b) {
    const MenuItem& m = tables_.MenuTable[index][b];
    PictureBox& button = *MItem[b];
    button.Move(m.ButtonX, m.ButtonY, m.ButtonW, m.ButtonH);
    CopyBoardInto(button);
    DrawSprite(button, 0, 0, m.ButtonW, m.ButtonH, MItemMask, form.GItems, m.SheetX, m.SheetY);
    Shape& frame = *MItemShape[b];
    frame.left = 0;
    frame.top = 0;
    frame.width = m.ButtonW;
    frame.height = m.ButtonH;
    button.Refresh();
    frame.visible = false;
    button.SetVisible(true);
  }
  HoverItem = 0;
  CurCategory = index;
}

void CafeBoard::MItem_MouseMove(int16_t index) {
  if (HoverItem == index) return;
  if (HoverItem > 0) MItemShape[HoverItem]->visible = false;
  MItemShape[index]->visible = true;
  HoverItem = index;
  MItem[index]->Invalidate();
}

void CafeBoard::MItem_MouseDown(int16_t index) {
  const int16_t category = CurCategory;
  if (stage_ == nullptr || category < 1 || category > kCategoryCount) return;
  StageState& state = stage_->State();
  const int16_t code = static_cast<int16_t>(category * 100 + index);
  const int16_t slot = PutOnPlate(state, code);
  if (slot == 0) return;  // the plate is full: nothing drawn, no sound
  sound_.PlayWave(kDishSound);
  const PlateSpot& p = tables_.PlateLayout[category][slot];
  const MenuItem& m = tables_.MenuTable[category][index];
  DrawSprite(MPlate, p.X - kPlate.x, p.Y - kPlate.y, p.W, p.H, MItemMask, scene_.form.GItems,
             m.SheetX, m.SheetY);
  MPlate.Refresh();
}

void CafeBoard::CancelPic_MouseMove() {
  BitBlt(CancelPic.Image(), 0, 0, kCancelHover.w, kCancelHover.h, scene_.form.GItems.Image(),
         kCancelHover.x, kCancelHover.y);
  CancelPic.Refresh();
}

void CafeBoard::CancelPic_Click() {
  sound_.PlayWave(kCancelSound);
  if (stage_ != nullptr) EmptyPlate(stage_->State());
  EmptyPlatePicture();
}

void CafeBoard::MPerson_MouseDown(int16_t index) {
  if (stage_ != nullptr) stage_->ServeCustomer(index);
}

void CafeBoard::ProcessEvents() {
  scene_.host.DoEvents();
}

void CafeBoard::DrawCustomer(int16_t seat, int16_t look, Expression expression, bool refresh) {
  assert(IsSeat(seat));
  scene_.host.DoEvents();
  PictureBox& person = *MPerson[seat];
  CopyBoardInto(person);
  DrawSprite(person, 0, 0, kCustomerWidth, kCustomerHeight, MPersonMask, PersonGItems,
             kCustomerWidth * static_cast<int32_t>(expression), kCustomerHeight * look);
  if (refresh) {
    person.Refresh();
  } else {
    person.Invalidate();
  }
}

void CafeBoard::ShowCustomer(int16_t seat) {
  MPerson[seat]->SetVisible(true);
  MPerson[seat]->SetEnabled(true);
}

void CafeBoard::DisableCustomer(int16_t seat) {
  MPerson[seat]->SetEnabled(false);
}

void CafeBoard::HideCustomer(int16_t seat) {
  MPerson[seat]->SetVisible(false);
  MPerson[seat]->SetEnabled(false);
}

void CafeBoard::DrawBalloon(int16_t seat) {
  PictureBox& balloon = *PStatus[seat];
  CopyBoardInto(balloon);
  DrawSprite(balloon, 0, 0, kBalloon.w, kBalloon.h, PStatusMask, 0, 0, scene_.form.GItems,
             kBalloon.x, kBalloon.y);
}

void CafeBoard::ShowOrder(int16_t seat, const DishSlots& order) {
  assert(IsSeat(seat));
  PictureBox& balloon = *PStatus[seat];
  balloon.SetVisible(true);
  scene_.host.DoEvents();
  DrawBalloon(seat);
  for (int16_t k = 1; k <= kPlateSlots; ++k) {
    const int16_t c = static_cast<int16_t>(order[k] / 100);
    const int16_t d = static_cast<int16_t>(order[k] - 100 * c);
    if (d < 1 || c < 1 || c > kCategoryCount || d > kDishCount) break;
    scene_.text.DrawText(balloon, 5, 14 * k, tables_.MenuTable[c][d].Name);
  }
  balloon.Refresh();
}

void CafeBoard::ShowBalloonText(int16_t seat, int16_t line, const std::string& text) {
  assert(IsSeat(seat));
  PictureBox& balloon = *PStatus[seat];
  balloon.SetVisible(true);
  scene_.host.DoEvents();
  DrawBalloon(seat);
  scene_.text.DrawText(balloon, 10, 12 * line, text);
  balloon.Refresh();
}

void CafeBoard::HideBalloon(int16_t seat) {
  PStatus[seat]->SetVisible(false);
}

void CafeBoard::PlayWave(int16_t sound) {
  sound_.PlayWave(sound);
}

void CafeBoard::RestoreCancelButton() {
  CopyBoardInto(CancelPic);
  CancelPic.Refresh();
}

void CafeBoard::EmptyPlatePicture() {
  CopyBoardInto(MPlate);
  MPlate.Refresh();
}

void CafeBoard::CustomerWaiting(int16_t seat, int16_t look, const DishSlots& order) {
  CustomerEvent event{seat, look, {}};
  for (int16_t k = 1; k <= kPlateSlots && order[k] != 0; ++k)
    event.order.push_back(order[k]);
  events_.Report(event);
}

void CafeBoard::CustomerServed(int16_t seat, bool correct, uint32_t elapsedMs) {
  events_.Report(ServeEvent{seat, correct, elapsedMs});
}

void CafeBoard::CustomerGaveUp(int16_t seat) {
  events_.Report(GiveUpEvent{seat});
}

}  // namespace dovetail::cafe
