#pragma once

#include "demo/Canvas.h"

namespace dovetail::tools {

// The twenty dishes of the café's menu, each in a 60 × 60 cell with its
// top-left corner at (x, y), seen a little from above:
// 1 drinks: coffee, tea, café latte, cocoa, orange juice;
// 2 cakes: strawberry shortcake, cheesecake, mont blanc, chocolate cake,
//   fruit tart;
// 3 light meals: sandwich, toast, hot dog, spaghetti napolitan, omelette rice;
// 4 desserts: parfait, pudding, waffle, pancakes, ice cream.
// Nothing is painted outside the cell; what is left unpainted stays the
// sheet's transparent black.
void DrawMenuDish(Sketch& s, double x, double y, int category, int dish);

}  // namespace dovetail::tools
