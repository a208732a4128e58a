#pragma once

#include "platform/Surface.h"
#include "script/PictureRegions.h"

namespace dovetail::tools {

// The people of the demo: the four story characters, their faces and the
// café's customers, drawn from a few shapes. Black stays the transparent
// colour around them.

enum class Expression { Neutral, Happy, Surprised, Troubled, Angry };

// The face sheet holds faces 1..4 of every character in this order.
constexpr Expression kSheetFaces[] = {Expression::Neutral, Expression::Happy, Expression::Surprised,
                                      Expression::Troubled};
constexpr int kFacesPerCharacter = 4;

struct Look {
  enum class Hair { Short, Long, Bob, Bun };
  Pixel skin = 0;
  Pixel hair = 0;
  Pixel outfit = 0;
  Pixel accent = 0;  // apron, scarf or collar
  Pixel eyes = 0;
  Hair hairStyle = Hair::Short;
  bool glasses = false;
  bool apron = false;
};

// Character 1..4 of the story.
Look CharacterLook(int character);

// The hair behind a head centred at (cx, cy) with half-width rx; drawn
// before the body.
void DrawBackHair(Surface& s, const Look& look, double cx, double cy, double rx);

// A head centred at (cx, cy), rx wide to each side (1.19 rx high), with its
// front hair and the expression's eyes, brows and mouth. Everything that
// changes with the expression lies within 0.95 rx of cx and between
// cy − 0.3 · 1.19 rx and cy + 0.66 · 1.19 rx.
void DrawHead(Surface& s, const Look& look, double cx, double cy, double rx, Expression face);

// Neck, shoulders, arms and outfit from `shoulderY` down past the bottom edge.
// Pose 2 raises the right arm in a wave.
void DrawBody(Surface& s, const Look& look, double cx, double shoulderY, double halfWidth,
              int pose);

// The picture of character 1..4 in pose 1 or 2 (300 × 420, black around the
// figure), with its face rectangle of the face table holding the face.
constexpr int32_t kCharacterWidth = 300;
constexpr int32_t kCharacterHeight = 420;
Surface CharacterPicture(int character, int pose, Expression face);

// 91.dat: the face rectangle of each character's pose-1 picture, once per
// face of kSheetFaces, in the character's column.
Surface FaceSheet();

// 92.dat: four customer looks (rows) with a normal, pleased and angry face
// (columns), black around them.
Surface CustomerSheet();

// A staff portrait for the café board: character `character` on a tile.
void DrawStaffPortrait(Surface& s, const Rect& r, int character, Pixel tile);

}  // namespace dovetail::tools
