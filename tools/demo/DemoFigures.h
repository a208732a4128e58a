#pragma once

#include "demo/Canvas.h"
#include "host/Surface.h"
#include "screen/PictureRegions.h"

namespace dovetail::tools {

// The people of the demo: the four story characters in their two outfits,
// their faces, the café's customers and the staff portraits of the café
// board. Black stays the transparent colour around them.

enum class Expression { Neutral, Happy, Surprised, Troubled, Angry };

// The face sheet holds faces 1..4 of every character in this order.
constexpr Expression kSheetFaces[] = {Expression::Neutral, Expression::Happy, Expression::Surprised,
                                      Expression::Troubled};
constexpr int kFacesPerCharacter = 4;

// The picture of character 1..4 in pose 1 (work clothes) or 2 (own clothes),
// 300 × 420 with black around the figure. Both poses put the head in the
// same place, so that the face rectangle of the character's face-table row
// holds every feature that changes with the expression.
constexpr int32_t kCharacterWidth = 300;
constexpr int32_t kCharacterHeight = 420;
Surface CharacterPicture(int character, int pose, Expression face);

// 91.dat: the face rectangle of each character's picture, once per face of
// kSheetFaces, in the character's column.
Surface FaceSheet();

// 92.dat: four customer looks (rows) with a normal, pleased and angry face
// (columns). Each customer is drawn down to the line where the board's
// counter hides them; below it and around them the sheet is black.
Surface CustomerSheet();

// A staff portrait for the café board: character `character`, smiling, on a
// tile of colour `tile`, w × h.
Surface StaffPortrait(int character, int w, int h, Pixel tile);

// A small figure of character 1..4 for the scenes (the ending pictures):
// head and shoulders, `height` pixels from the top of the hair to the bottom
// edge of the picture returned, black around it.
Surface CharacterBust(int character, int pose, double height);

}  // namespace dovetail::tools
