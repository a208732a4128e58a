#include "demo/DemoFigures.h"

#include <algorithm>
#include <vector>

#include "demo/FigureParts.h"

namespace dovetail::tools {

namespace {

Look CharacterLook(int character, int pose) {
  const bool own = pose == 2;
  switch (character) {
    case 1:  // the tall waiter with fair hair
      return {Rgb(252, 226, 206),
              Rgb(238, 204, 128),
              Rgb(70, 118, 170),
              Hair::Neat,
              false,
              false,
              false,
              own ? Outfit::ShirtScarf : Outfit::WaiterVest,
              own ? Rgb(232, 238, 246) : Rgb(248, 248, 250),
              own ? Rgb(200, 76, 64) : Rgb(58, 56, 70),
              own ? Rgb(244, 214, 130) : Rgb(150, 36, 48)};
    case 2:  // the cook with glasses
      return {Rgb(244, 214, 188),
              Rgb(96, 64, 50),
              Rgb(90, 120, 70),
              Hair::Messy,
              true,
              false,
              false,
              own ? Outfit::Hoodie : Outfit::ChefJacket,
              own ? Rgb(112, 138, 92) : Rgb(250, 250, 246),
              own ? Rgb(236, 232, 220) : Rgb(226, 226, 222),
              own ? Rgb(240, 236, 226) : Rgb(200, 52, 52)};
    case 3:  // the pastry maker with long hair
      return {Rgb(255, 232, 218),
              Rgb(78, 46, 42),
              Rgb(168, 100, 56),
              Hair::Long,
              false,
              true,
              false,
              own ? Outfit::Yukata : Outfit::BlouseApron,
              own ? Rgb(150, 192, 232) : Rgb(248, 190, 200),
              own ? Rgb(248, 250, 255) : Rgb(252, 246, 230),
              own ? Rgb(240, 150, 176) : Rgb(220, 90, 110)};
    default:  // the regular guest, an older lady
      return {Rgb(246, 220, 198),
              Rgb(196, 196, 204),
              Rgb(100, 76, 62),
              Hair::Bun,
              false,
              true,
              true,
              own ? Outfit::Coat : Outfit::CardiganPearls,
              own ? Rgb(168, 140, 150) : Rgb(250, 244, 228),
              own ? Rgb(132, 104, 118) : Rgb(128, 92, 146),
              own ? Rgb(84, 104, 156) : Rgb(250, 248, 240)};
  }
}

// The head of a story character: placed so that every feature that changes
// with the expression (brows, eyes, mouth, cheeks, the drop of sweat) lies
// inside the face rectangle of its face-table row, spanning r · [−0.14, 1.06]
// below the skull centre and r · 0.78 to each side.
constexpr double kHeadR = 44;

Gesture GestureOf(int character, int pose) {
  if (pose != 2) return Gesture::None;
  switch (character) {
    case 1:
      return Gesture::Wave;
    case 2:
      return Gesture::Bag;
    case 4:
      return Gesture::Umbrella;
    default:
      return Gesture::None;
  }
}

Head PlaceHead(const FaceRow& row) {
  const double middle = (row.y1 + row.y2) / 2.0;
  return {(row.x1 + row.x2) / 2.0, middle - 0.46 * kHeadR, kHeadR};
}

void DrawFigure(Sketch& s, const Look& look, const Head& h, Expression face, Gesture gesture) {
  const double bottom = s.Height();
  DrawBackHair(s, look, h);
  DrawBody(s, look, h, bottom, gesture);
  DrawHead(s, look, h, face);
}

Surface DrawCharacter(int character, int pose, Expression face) {
  Sketch s(kCharacterWidth, kCharacterHeight);
  DrawFigure(s, CharacterLook(character, pose),
             PlaceHead(kFaceRows[static_cast<size_t>(character - 1)]), face,
             GestureOf(character, pose));
  return s.ResolveFigure();
}

}  // namespace

Surface CharacterPicture(int character, int pose, Expression face) {
  return DrawCharacter(character, pose, face);
}

Surface FaceSheet() {
  int height = 0;
  for (const FaceRow& row : kFaceRows)
    height = std::max(height, kFacesPerCharacter * row.H());
  Surface sheet(kFaceSheetWidth, height, kBlack);
  for (int character = 1; character <= 4; ++character) {
    const FaceRow& row = kFaceRows[static_cast<size_t>(character - 1)];
    const Rect face{row.x1, row.y1, row.W(), row.H()};
    std::vector<Surface> faces;
    for (Expression e : kSheetFaces)
      faces.push_back(Crop(CharacterPicture(character, 1, e), face));
    // Only the pixels that some expression changes go into the sheet; the
    // rest stays black, so a face change leaves the picture's own pixels
    // there (the collar of either outfit, the hair) as they are.
    for (int n = 0; n < kFacesPerCharacter; ++n) {
      Surface cell(row.W(), row.H(), kBlack);
      for (int y = 0; y < row.H(); ++y) {
        for (int x = 0; x < row.W(); ++x) {
          bool changes = false;
          for (const Surface& other : faces)
            changes = changes || other.At(x, y) != faces[0].At(x, y);
          if (changes) cell.Set(x, y, faces[static_cast<size_t>(n)].At(x, y));
        }
      }
      Paste(sheet, row.sheetX, n * row.H(), cell);
    }
  }
  return sheet;
}

Surface CustomerSheet() {
  const Look looks[4] = {
      // An office worker, a young woman, an older gentleman, a student.
      {Rgb(244, 214, 190), Rgb(58, 52, 60), Rgb(70, 60, 56), Hair::Neat, false, false, false,
       Outfit::Suit, Rgb(64, 74, 110), Rgb(64, 74, 110), Rgb(180, 60, 70)},
      {Rgb(255, 230, 214), Rgb(160, 100, 62), Rgb(120, 80, 50), Hair::Bob, false, true, false,
       Outfit::Blouse, Rgb(250, 244, 236), Rgb(250, 244, 236), Rgb(90, 130, 190)},
      {Rgb(238, 208, 184), Rgb(206, 206, 212), Rgb(80, 70, 64), Hair::Neat, true, false, true,
       Outfit::Jacket, Rgb(150, 110, 80), Rgb(150, 110, 80), Rgb(236, 230, 214)},
      {Rgb(255, 234, 220), Rgb(52, 46, 70), Rgb(80, 70, 120), Hair::Pony, false, true, false,
       Outfit::SailorTop, Rgb(250, 250, 252), Rgb(48, 66, 120), Rgb(210, 60, 70)},
  };
  const Expression faces[3] = {Expression::Neutral, Expression::Happy, Expression::Angry};
  // The board's counter hides a customer below this line of the cell.
  constexpr int kCounterLine = 126;
  Surface sheet(kCustomerSheetWidth, kCustomerSheetHeight, kBlack);
  for (int k = 0; k < 4; ++k) {
    for (int e = 0; e < 3; ++e) {
      Sketch cell(kCustomerWidth, kCounterLine);
      DrawFigure(cell, looks[k], {75, 46, 27}, faces[e], Gesture::None);
      Paste(sheet, e * kCustomerWidth, k * kCustomerHeight, cell.ResolveFigure());
    }
  }
  return sheet;
}

Surface StaffPortrait(int character, int w, int h, Pixel tile) {
  Sketch s(w, h);
  FillRect(s, 0, 0, w, h, Radial({w / 2.0, h * 0.4}, w * 0.8, h * 0.8, Tint(tile, 0.45), tile));
  const double r = 0.25 * w;
  DrawFigure(s, CharacterLook(character, 1), {w / 2.0, 0.36 * h, r}, Expression::Happy,
             Gesture::None);
  FrameRect(s, {0, 0, w, h}, 2, Shade(tile, 0.55));
  FrameRect(s, {2, 2, w - 4, h - 4}, 1, Glaze(kWhite, 0.4));
  return s.Resolve();
}

Surface CharacterBust(int character, int pose, double height) {
  const double r = height / 5.0;
  const int w = static_cast<int>(5 * r);
  Sketch s(w, static_cast<int>(height));
  DrawFigure(s, CharacterLook(character, pose), {w / 2.0, 1.2 * r, r}, Expression::Happy,
             Gesture::None);
  return s.ResolveFigure();
}

}  // namespace dovetail::tools
