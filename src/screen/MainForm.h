#pragma once

#include <array>

#include "host/Host.h"
#include "window/MenuItem.h"
#include "window/PictureBox.h"
#include "window/Shape.h"
#include "window/Timer.h"
#include "window/Window.h"

namespace dovetail {

// Caption of the skip switch (the menu item "speedup") while skipping is
// off, and while it is on.
inline constexpr const char* kSkipOffCaption = "次の選択まで進む";
inline constexpr const char* kSkipOnCaption = "スキップ停止";

// The main window and the controls every part of the story draws on. The
// controls are created once, in their stacking order, hidden; each part of
// the program places and shows what it uses.
struct MainForm {
  explicit MainForm(Host& host);

  Window window;

  // The stage on which every scene is drawn.
  PictureBox& PicMain;
  // The title menu entries 1 to 5 (index 0 unused).
  std::array<PictureBox*, 6> Tmenu{};
  // The back buffer; shown itself only by the ranking screen.
  PictureBox& PicMainBak;
  // Character sprites: the visible sprite of each slot.
  std::array<PictureBox*, 2> Doll_Disp;
  // The message window (0) and the strip along the top edge (1).
  std::array<PictureBox*, 2> MesBox;
  // The choice buttons.
  std::array<PictureBox*, 6> SelTxt{};
  // The staff-roll panel of the ending.
  PictureBox& STAFF;
  // The "Loading now" progress bar.
  PictureBox& LOAD_NOW;

  // Hidden work pictures: the user-interface sheet, the sprite parts, the
  // face sheet and its mask, the dissolve masks and work cell.
  PictureBox& GItems;
  std::array<PictureBox*, 2> Doll_Body;
  std::array<PictureBox*, 2> Doll_Mask;
  std::array<PictureBox*, 2> Doll_Back;
  std::array<PictureBox*, 2> Face_Disp;
  PictureBox& Face_Load;
  PictureBox& Face_Mask;
  PictureBox& Mesh1;
  PictureBox& Mesh2;

  // The click-wait indicator inside the message window and its blink timer.
  Shape& Blinker;
  Timer& Clicker;
  // Restarts music that has ended.
  Timer& BGM_Timer;

  // The menu bar, in the order it shows.
  MenuItem& speedup;
  MenuItem& vers;
  MenuItem& opt;
  MenuItem& ends;
};

}  // namespace dovetail
