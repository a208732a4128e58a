#include "screen/MainForm.h"

#include <string>

namespace dovetail {

namespace {

PictureBox& Box(Window& window, const std::string& name) {
  return window.AddPictureBox(name);
}

template <size_t N>
std::array<PictureBox*, N> Boxes(Window& window, const std::string& name, size_t first = 0) {
  std::array<PictureBox*, N> boxes{};
  for (size_t i = first; i < N; ++i)
    boxes[i] = &window.AddPictureBox(name + std::to_string(i));
  return boxes;
}

}  // namespace

// The order of construction is the stacking order, bottom first.
MainForm::MainForm(Host& host)
    : window(host, "Dovetail"),
      PicMain(Box(window, "PicMain")),
      Tmenu(Boxes<6>(window, "Tmenu", 1)),
      PicMainBak(Box(window, "PicMainBak")),
      Doll_Disp(Boxes<2>(window, "Doll_Disp")),
      MesBox(Boxes<2>(window, "MesBox")),
      SelTxt(Boxes<6>(window, "SelTxt")),
      STAFF(Box(window, "STAFF")),
      LOAD_NOW(Box(window, "LOAD_NOW")),
      GItems(Box(window, "GItems")),
      Doll_Body(Boxes<2>(window, "Doll_Body")),
      Doll_Mask(Boxes<2>(window, "Doll_Mask")),
      Doll_Back(Boxes<2>(window, "Doll_Back")),
      Face_Disp(Boxes<2>(window, "Face_Disp")),
      Face_Load(Box(window, "Face_Load")),
      Face_Mask(Box(window, "Face_Mask")),
      Mesh1(Box(window, "Mesh1")),
      Mesh2(Box(window, "Mesh2")),
      Blinker(MesBox[0]->AddShape()),
      Clicker(window.AddTimer("Clicker", 800)),
      BGM_Timer(window.AddTimer("BGM_Timer", 2000)),
      speedup(window.AddMenuItem("speedup", kSkipOffCaption)),
      vers(window.AddMenuItem("vers", "バージョン")),
      opt(window.AddMenuItem("opt", "設定")),
      ends(window.AddMenuItem("ends", "終了")) {
  // Sheets take the size of the picture loaded into them.
  for (PictureBox* box : {&PicMainBak, &GItems, &Face_Load, Doll_Body[0], Doll_Body[1]}) {
    box->SetAutoSize(true);
  }
  // Masks: a sheet's black pixels become white, all others black.
  for (PictureBox* box : {&Face_Mask, Doll_Mask[0], Doll_Mask[1]}) {
    box->SetBackColor(kWhite);
    box->SetForeColor(kBlack);
  }
  window.backColor = kBlack;
  // The click-wait indicator: a small light square on the black message page.
  Blinker.filled = true;
  Blinker.fillColor = Rgb(237, 172, 166);
  Blinker.borderColor = kWhite;
}

}  // namespace dovetail
