#include "demo/DemoFigures.h"

#include <cmath>

#include "demo/Canvas.h"
#include "demo/PixelFont.h"

namespace dovetail::tools {

namespace {

constexpr double kHeadAspect = 1.19;  // head height / head width
constexpr Pixel kWhite = Rgb(250, 250, 252);
constexpr Pixel kMouth = Rgb(170, 60, 70);
constexpr Pixel kBlush = Rgb(246, 160, 160);

struct HeadPlace {
  double cx;
  double cy;
  double rx;
};

// The head of a character, placed so that every feature that changes with
// the face lies inside the face rectangle of its face-table row.
HeadPlace PlaceHead(const FaceRow& row) {
  const double rx = (row.W() / 2.0 - 2.0) / 0.95;
  const double ry = kHeadAspect * rx;
  return {(row.x1 + row.x2) / 2.0, (row.y1 + row.y2) / 2.0 - 0.18 * ry, rx};
}

void DrawEyes(Surface& s, const Look& look, double cx, double cy, double rx, double ry,
              Expression face) {
  const double eyeY = cy + 0.06 * ry;
  const double line = std::max(1.5, 0.06 * rx);
  for (int side : {-1, 1}) {
    const double ex = cx + side * 0.4 * rx;
    switch (face) {
      case Expression::Happy:
        DrawArc(s, ex, eyeY + 0.06 * ry, 0.14 * rx, 0.11 * ry, 200, 340, line, kInk);
        break;
      case Expression::Surprised:
        FillEllipse(s, ex, eyeY, 0.16 * rx, 0.19 * ry, kWhite);
        FillEllipse(s, ex, eyeY, 0.09 * rx, 0.12 * ry, look.eyes);
        FillEllipse(s, ex - 0.03 * rx, eyeY - 0.04 * ry, 0.035 * rx, 0.035 * rx, kWhite);
        break;
      case Expression::Troubled:
      case Expression::Angry: {
        FillEllipse(s, ex, eyeY, 0.12 * rx, 0.15 * ry, look.eyes);
        // A lowered lid: slanting up towards the middle when troubled, down
        // towards the middle when angry.
        const double inner = face == Expression::Troubled ? -0.02 : 0.08;
        const double outer = face == Expression::Troubled ? 0.06 : -0.04;
        const Point a{ex - side * 0.16 * rx, eyeY + inner * ry};
        const Point b{ex + side * 0.16 * rx, eyeY + outer * ry};
        FillPolygon(s, {{a.x, eyeY - 0.2 * ry}, {b.x, eyeY - 0.2 * ry}, b, a}, look.skin);
        DrawLine(s, a, b, line, kInk);
        break;
      }
      case Expression::Neutral:
        FillEllipse(s, ex, eyeY, 0.12 * rx, 0.16 * ry, look.eyes);
        FillEllipse(s, ex - 0.04 * rx, eyeY - 0.05 * ry, 0.04 * rx, 0.04 * rx, kWhite);
        DrawArc(s, ex, eyeY + 0.02 * ry, 0.15 * rx, 0.17 * ry, 205, 335, line, kInk);
        break;
    }
    // Brows.
    const double browY = cy - (face == Expression::Surprised ? 0.26 : 0.17) * ry;
    double innerDrop = 0;
    if (face == Expression::Troubled) innerDrop = -0.06 * ry;
    if (face == Expression::Angry) innerDrop = 0.07 * ry;
    DrawLine(s, {ex - side * 0.15 * rx, browY}, {ex + side * 0.13 * rx, browY}, line,
             Shade(look.hair, 0.7));
    if (innerDrop != 0) {
      DrawLine(s, {cx + side * 0.25 * rx, browY + innerDrop},
               {cx + side * 0.55 * rx, browY - innerDrop / 2}, line, Shade(look.hair, 0.7));
    }
  }
}

void DrawMouth(Surface& s, double cx, double cy, double rx, double ry, Expression face) {
  const double mouthY = cy + 0.5 * ry;
  const double line = std::max(1.5, 0.05 * rx);
  switch (face) {
    case Expression::Neutral:
      DrawArc(s, cx, mouthY - 0.06 * ry, 0.18 * rx, 0.08 * ry, 30, 150, line, kMouth);
      break;
    case Expression::Happy: {
      std::vector<Point> smile;
      for (int a = 0; a <= 180; a += 10) {
        const double t = a * 3.14159265358979 / 180;
        smile.push_back(
            {cx + 0.24 * rx * std::cos(t), mouthY - 0.02 * ry + 0.15 * ry * std::sin(t)});
      }
      FillPolygon(s, smile, kMouth);
      FillEllipse(s, cx, mouthY + 0.07 * ry, 0.1 * rx, 0.05 * ry, Rgb(236, 120, 130));
      for (int side : {-1, 1})
        FillEllipse(s, cx + side * 0.58 * rx, cy + 0.3 * ry, 0.14 * rx, 0.07 * ry, kBlush);
      break;
    }
    case Expression::Surprised:
      FillEllipse(s, cx, mouthY, 0.09 * rx, 0.11 * ry, kMouth);
      break;
    case Expression::Troubled:
      DrawLine(s, {cx - 0.16 * rx, mouthY}, {cx - 0.05 * rx, mouthY - 0.03 * ry}, line, kMouth);
      DrawLine(s, {cx - 0.05 * rx, mouthY - 0.03 * ry}, {cx + 0.06 * rx, mouthY}, line, kMouth);
      DrawLine(s, {cx + 0.06 * rx, mouthY}, {cx + 0.16 * rx, mouthY - 0.03 * ry}, line, kMouth);
      // A drop of sweat at the temple.
      FillEllipse(s, cx + 0.8 * rx, cy - 0.12 * ry, 0.07 * rx, 0.1 * ry, Rgb(150, 200, 250));
      break;
    case Expression::Angry:
      DrawArc(s, cx, mouthY + 0.1 * ry, 0.18 * rx, 0.09 * ry, 200, 340, line, kMouth);
      for (int side : {-1, 1})
        FillEllipse(s, cx + side * 0.58 * rx, cy + 0.3 * ry, 0.14 * rx, 0.07 * ry,
                    Rgb(240, 120, 110));
      break;
  }
}

// The top of the head as a polygon: the upper arc of the hair cap, closed by
// the fringe line across the forehead.
void DrawFringe(Surface& s, const Look& look, double cx, double cy, double rx, double ry) {
  std::vector<Point> cap;
  const double capCy = cy - 0.06 * ry;
  for (int a = 180; a <= 360; a += 10) {
    const double t = a * 3.14159265358979 / 180;
    cap.push_back({cx + 1.05 * rx * std::cos(t), capCy + 1.02 * ry * std::sin(t)});
  }
  const double fringeY = cy - 0.3 * ry;
  switch (look.hairStyle) {
    case Look::Hair::Short:
      // Spiky strands.
      for (int i = 0; i <= 6; ++i) {
        const double x = cx + rx * (1.0 - i / 3.0);
        cap.push_back({x, fringeY + ((i % 2) ? 0.12 : -0.04) * ry});
      }
      break;
    case Look::Hair::Long:
      // Parted in the middle.
      cap.push_back({cx + 0.98 * rx, cy + 0.05 * ry});
      cap.push_back({cx + 0.5 * rx, fringeY});
      cap.push_back({cx + 0.05 * rx, fringeY - 0.25 * ry});
      cap.push_back({cx - 0.05 * rx, fringeY - 0.25 * ry});
      cap.push_back({cx - 0.5 * rx, fringeY});
      cap.push_back({cx - 0.98 * rx, cy + 0.05 * ry});
      break;
    case Look::Hair::Bob:
      cap.push_back({cx + 1.02 * rx, fringeY + 0.04 * ry});
      cap.push_back({cx - 1.02 * rx, fringeY + 0.04 * ry});
      break;
    case Look::Hair::Bun:
      // Swept to one side.
      cap.push_back({cx + 1.0 * rx, fringeY - 0.05 * ry});
      cap.push_back({cx - 0.2 * rx, fringeY - 0.2 * ry});
      cap.push_back({cx - 1.0 * rx, fringeY + 0.1 * ry});
      break;
  }
  FillPolygon(s, cap, look.hair);
  // A shine on the hair.
  DrawArc(s, cx, capCy - 0.1 * ry, 0.6 * rx, 0.62 * ry, 215, 250, std::max(2.0, 0.07 * rx),
          Mix(look.hair, kWhite, 0.35));
}

}  // namespace

Look CharacterLook(int character) {
  switch (character) {
    case 1:  // a tall waiter with fair hair
      return {Rgb(250, 222, 198),
              Rgb(228, 188, 96),
              Rgb(238, 238, 242),
              Rgb(52, 92, 72),
              Rgb(60, 96, 160),
              Look::Hair::Short,
              false,
              true};
    case 2:  // the cook with glasses
      return {Rgb(240, 208, 180),
              Rgb(92, 62, 52),
              Rgb(244, 244, 238),
              Rgb(200, 64, 60),
              Rgb(90, 60, 40),
              Look::Hair::Short,
              true,
              false};
    case 3:  // the pastry maker with long hair
      return {Rgb(252, 226, 208),
              Rgb(70, 44, 48),
              Rgb(240, 172, 184),
              Rgb(250, 240, 222),
              Rgb(120, 70, 50),
              Look::Hair::Long,
              false,
              true};
    default:  // a regular guest
      return {Rgb(244, 214, 190),
              Rgb(176, 176, 184),
              Rgb(120, 92, 142),
              Rgb(236, 226, 196),
              Rgb(70, 60, 60),
              Look::Hair::Bun,
              false,
              false};
  }
}

void DrawBackHair(Surface& s, const Look& look, double cx, double cy, double rx) {
  const double ry = kHeadAspect * rx;
  const Pixel back = Shade(look.hair, 0.85);
  switch (look.hairStyle) {
    case Look::Hair::Short:
      FillEllipse(s, cx, cy - 0.1 * ry, 1.1 * rx, 1.0 * ry, back);
      break;
    case Look::Hair::Long:
      FillEllipse(s, cx, cy - 0.08 * ry, 1.16 * rx, 1.06 * ry, back);
      FillRoundRect(s, {int(cx - 1.16 * rx), int(cy), int(2.32 * rx), int(1.7 * ry)}, 0.5 * rx,
                    back);
      break;
    case Look::Hair::Bob:
      FillEllipse(s, cx, cy, 1.2 * rx, 1.08 * ry, back);
      FillRoundRect(s, {int(cx - 1.2 * rx), int(cy), int(2.4 * rx), int(0.75 * ry)}, 0.3 * rx,
                    back);
      break;
    case Look::Hair::Bun:
      FillEllipse(s, cx, cy - 0.1 * ry, 1.08 * rx, 1.0 * ry, back);
      FillEllipse(s, cx + 0.1 * rx, cy - 1.05 * ry, 0.48 * rx, 0.42 * rx, back);
      break;
  }
}

void DrawHead(Surface& s, const Look& look, double cx, double cy, double rx, Expression face) {
  const double ry = kHeadAspect * rx;
  for (int side : {-1, 1}) {
    FillEllipse(s, cx + side * 0.98 * rx, cy + 0.08 * ry, 0.17 * rx, 0.22 * ry,
                Shade(look.skin, 0.93));
  }
  FillEllipse(s, cx, cy, rx, ry, look.skin);
  // The nose.
  DrawLine(s, {cx + 0.02 * rx, cy + 0.26 * ry}, {cx + 0.06 * rx, cy + 0.32 * ry},
           std::max(1.5, 0.05 * rx), Shade(look.skin, 0.8));
  DrawEyes(s, look, cx, cy, rx, ry, face);
  DrawMouth(s, cx, cy, rx, ry, face);
  DrawFringe(s, look, cx, cy, rx, ry);
  if (look.hairStyle == Look::Hair::Long) {
    for (int side : {-1, 1}) {
      FillRoundRect(s,
                    {int(cx + side * 1.0 * rx - 0.16 * rx), int(cy - 0.2 * ry), int(0.32 * rx),
                     int(1.75 * ry)},
                    0.16 * rx, look.hair);
    }
  }
  if (look.glasses) {
    const double eyeY = cy + 0.06 * ry;
    const double line = std::max(1.5, 0.05 * rx);
    const Pixel frame = Rgb(70, 50, 60);
    for (int side : {-1, 1})
      DrawArc(s, cx + side * 0.4 * rx, eyeY, 0.27 * rx, 0.24 * ry, 0, 360, line, frame);
    DrawLine(s, {cx - 0.13 * rx, eyeY - 0.04 * ry}, {cx + 0.13 * rx, eyeY - 0.04 * ry}, line,
             frame);
  }
}

void DrawBody(Surface& s, const Look& look, double cx, double shoulderY, double hw, int pose) {
  const double bottom = s.Height() + 40.0;
  const Pixel sleeve = Shade(look.outfit, 0.86);
  const double armW = 0.4 * hw;
  // Neck.
  FillRoundRect(s, {int(cx - 0.2 * hw), int(shoulderY - 0.5 * hw), int(0.4 * hw), int(0.7 * hw)},
                0.1 * hw, Shade(look.skin, 0.9));
  // Arms behind the torso; pose 2 waves with the right one.
  FillRoundRect(s, {int(cx - 1.12 * hw), int(shoulderY + 0.12 * hw), int(armW), int(2.5 * hw)},
                0.2 * hw, sleeve);
  FillEllipse(s, cx - 0.92 * hw, shoulderY + 2.62 * hw, 0.17 * hw, 0.19 * hw, look.skin);
  if (pose == 2) {
    const Point shoulder{cx + 0.8 * hw, shoulderY + 0.3 * hw};
    const Point elbow{cx + 1.45 * hw, shoulderY - 0.05 * hw};
    const Point hand{cx + 1.4 * hw, shoulderY - 0.85 * hw};
    DrawLine(s, shoulder, elbow, armW, sleeve);
    DrawLine(s, elbow, hand, armW * 0.9, sleeve);
    FillEllipse(s, hand.x, hand.y - 0.12 * hw, 0.18 * hw, 0.22 * hw, look.skin);
  } else {
    FillRoundRect(
        s, {int(cx + 1.12 * hw - armW), int(shoulderY + 0.12 * hw), int(armW), int(2.5 * hw)},
        0.2 * hw, sleeve);
    FillEllipse(s, cx + 0.92 * hw, shoulderY + 2.62 * hw, 0.17 * hw, 0.19 * hw, look.skin);
  }
  // Torso.
  FillRoundRect(s, {int(cx - hw), int(shoulderY), int(2 * hw), int(bottom - shoulderY)}, 0.5 * hw,
                look.outfit);
  FillRoundRect(s, {int(cx + 0.55 * hw), int(shoulderY + 0.3 * hw), int(0.3 * hw), int(bottom)},
                0.15 * hw, Shade(look.outfit, 0.93));
  // Collar and buttons.
  FillPolygon(s,
              {{cx - 0.34 * hw, shoulderY - 0.02 * hw},
               {cx, shoulderY + 0.3 * hw},
               {cx - 0.06 * hw, shoulderY + 0.36 * hw},
               {cx - 0.42 * hw, shoulderY + 0.12 * hw}},
              Mix(look.outfit, kWhite, 0.6));
  FillPolygon(s,
              {{cx + 0.34 * hw, shoulderY - 0.02 * hw},
               {cx, shoulderY + 0.3 * hw},
               {cx + 0.06 * hw, shoulderY + 0.36 * hw},
               {cx + 0.42 * hw, shoulderY + 0.12 * hw}},
              Mix(look.outfit, kWhite, 0.6));
  for (int i = 0; i < 3; ++i)
    FillEllipse(s, cx, shoulderY + (0.55 + 0.4 * i) * hw, 0.04 * hw, 0.04 * hw,
                Shade(look.outfit, 0.7));
  if (look.apron) {
    const double top = shoulderY + 0.75 * hw;
    for (int side : {-1, 1}) {
      DrawLine(s, {cx + side * 0.5 * hw, top}, {cx + side * 0.62 * hw, shoulderY + 0.05 * hw},
               0.1 * hw, look.accent);
    }
    FillRoundRect(s, {int(cx - 0.62 * hw), int(top), int(1.24 * hw), int(bottom - top)}, 0.12 * hw,
                  look.accent);
    FillRoundRect(s, {int(cx - 0.3 * hw), int(top + 0.8 * hw), int(0.6 * hw), int(0.4 * hw)},
                  0.06 * hw, Shade(look.accent, 0.88));
  } else {
    // A scarf knot or a brooch.
    FillPolygon(s,
                {{cx - 0.16 * hw, shoulderY + 0.28 * hw},
                 {cx + 0.16 * hw, shoulderY + 0.28 * hw},
                 {cx + 0.08 * hw, shoulderY + 0.9 * hw},
                 {cx - 0.08 * hw, shoulderY + 0.9 * hw}},
                look.accent);
    FillEllipse(s, cx, shoulderY + 0.3 * hw, 0.14 * hw, 0.1 * hw, Shade(look.accent, 0.85));
  }
}

Surface CharacterPicture(int character, int pose, Expression face) {
  Surface s(kCharacterWidth, kCharacterHeight, kBlack);
  const Look look = CharacterLook(character);
  const HeadPlace head = PlaceHead(kFaceRows[static_cast<size_t>(character - 1)]);
  const double ry = kHeadAspect * head.rx;
  DrawBackHair(s, look, head.cx, head.cy, head.rx);
  DrawBody(s, look, head.cx, head.cy + 1.22 * ry, 1.7 * head.rx, pose);
  DrawHead(s, look, head.cx, head.cy, head.rx, face);
  return s;
}

Surface FaceSheet() {
  int height = 0;
  for (const FaceRow& row : kFaceRows)
    height = std::max(height, kFacesPerCharacter * row.H());
  Surface sheet(kFaceSheetWidth, height, kBlack);
  for (int character = 1; character <= 4; ++character) {
    const FaceRow& row = kFaceRows[static_cast<size_t>(character - 1)];
    for (int n = 1; n <= kFacesPerCharacter; ++n) {
      const Surface picture = CharacterPicture(character, 1, kSheetFaces[n - 1]);
      Paste(sheet, row.sheetX, (n - 1) * row.H(),
            Crop(picture, {row.x1, row.y1, row.W(), row.H()}));
    }
  }
  return sheet;
}

Surface CustomerSheet() {
  const Look looks[4] = {
      {Rgb(244, 212, 186), Rgb(60, 56, 64), Rgb(70, 84, 130), Rgb(200, 60, 70), Rgb(60, 50, 50),
       Look::Hair::Short, false, false},
      {Rgb(252, 228, 210), Rgb(150, 96, 60), Rgb(236, 236, 244), Rgb(60, 80, 160), Rgb(110, 70, 40),
       Look::Hair::Bob, false, false},
      {Rgb(236, 204, 178), Rgb(200, 200, 206), Rgb(150, 110, 80), Rgb(90, 120, 80), Rgb(60, 50, 50),
       Look::Hair::Short, true, false},
      {Rgb(250, 220, 200), Rgb(170, 80, 50), Rgb(110, 160, 120), Rgb(250, 230, 150),
       Rgb(80, 110, 60), Look::Hair::Long, false, false},
  };
  const Expression faces[3] = {Expression::Neutral, Expression::Happy, Expression::Angry};
  Surface sheet(kCustomerSheetWidth, kCustomerSheetHeight, kBlack);
  for (int k = 0; k < 4; ++k) {
    for (int e = 0; e < 3; ++e) {
      Surface cell(kCustomerWidth, kCustomerHeight, kBlack);
      const double cx = 75;
      const double cy = 64;
      const double rx = 28;
      DrawBackHair(cell, looks[k], cx, cy, rx);
      DrawBody(cell, looks[k], cx, cy + 1.22 * kHeadAspect * rx, 1.6 * rx, 1);
      DrawHead(cell, looks[k], cx, cy, rx, faces[e]);
      Paste(sheet, e * kCustomerWidth, k * kCustomerHeight, cell);
    }
  }
  return sheet;
}

void DrawStaffPortrait(Surface& s, const Rect& r, int character, Pixel tile) {
  Surface cell(r.w, r.h, tile);
  const Look look = CharacterLook(character);
  const double rx = 0.24 * r.w;
  const double cx = r.w / 2.0;
  const double cy = 0.44 * r.h;
  DrawBackHair(cell, look, cx, cy, rx);
  DrawBody(cell, look, cx, cy + 1.22 * kHeadAspect * rx, 1.6 * rx, 1);
  DrawHead(cell, look, cx, cy, rx, Expression::Happy);
  FrameRect(cell, {0, 0, r.w, r.h}, 2, Shade(tile, 0.6));
  Paste(s, r.x, r.y, cell);
}

}  // namespace dovetail::tools
