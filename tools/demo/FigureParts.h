#pragma once

#include "demo/Canvas.h"
#include "demo/DemoFigures.h"

namespace dovetail::tools {

// The parts every figure of the demo is drawn from, the story's characters
// and the café's customers alike: a head with its hair and expression, and a
// body in an outfit. Sizes are measured in the head's half-width r, so one
// drawing serves the sprites, the customers, the portraits and the busts.

enum class Hair { Neat, Messy, Long, Bun, Bob, Pony };

enum class Outfit {
  WaiterVest,
  ShirtScarf,
  ChefJacket,
  Hoodie,
  BlouseApron,
  Yukata,
  CardiganPearls,
  Coat,
  Suit,
  Blouse,
  Jacket,
  SailorTop,
};

// What the hands do: hang at the sides, wave, carry a bag of groceries or a
// folded umbrella.
enum class Gesture { None, Wave, Bag, Umbrella };

struct Look {
  Pixel skin;
  Pixel hair;
  Pixel eyes;
  Hair hair_style;
  bool glasses;
  bool female;
  bool older;
  Outfit outfit;
  Pixel main;    // the outfit's main colour
  Pixel second;  // vest, apron, cardigan, tie or scarf
  Pixel accent;  // bow, ribbon, neckerchief or brooch
};

// Where a head sits: centre of the skull (cx, cy) and its half-width r.
// Everything else of a figure is measured in r.
struct Head {
  double cx;
  double cy;
  double r;
};

// The hair behind the head; drawn before the body.
void DrawBackHair(Sketch& s, const Look& look, const Head& h);

// The face with its expression, the front hair and the glasses. Everything
// that changes with the expression lies within r · 0.78 of the skull's centre
// line and between r · 0.14 above and r · 1.06 below its centre.
void DrawHead(Sketch& s, const Look& look, const Head& h, Expression face);

// Neck, body, outfit and arms below the head, down past `bottom`.
void DrawBody(Sketch& s, const Look& look, const Head& h, double bottom, Gesture gesture);

}  // namespace dovetail::tools
