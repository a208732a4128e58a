#pragma once

#include <cstdint>

#include "demo/Canvas.h"

namespace dovetail::tools {

// The pieces the demo's backgrounds are built from: skies, town, trees,
// water, the café's front and the furniture of its rooms. Each piece takes
// the light of the time of day it is seen in.

enum class Light { Morning, Day, Evening, Sunset, Night };

// The warm light of lamps, lanterns and lit windows.
constexpr Pixel kLampLight = Rgb(255, 214, 140);

// A sky over `r` with the sun, the moon or stars as the light asks.
void DrawSky(Sketch& s, const Rect& r, Light light, uint32_t seed);
// A soft cloud lit from above; k scales it (1 ≈ 120 pixels wide).
void DrawCloud(Sketch& s, double x, double y, double k, Light light);
// A leafy tree standing on `ground`, `size` pixels high.
void DrawTree(Sketch& s, double x, double ground, double size, Light light, uint32_t seed);
// Town buildings along `ground` between `left` and `right`, windows lit at
// night.
void DrawTown(Sketch& s, double left, double right, double ground, double maxHeight, Light light,
              uint32_t seed);
// A street lamp; lit in the evening and at night.
void DrawStreetLamp(Sketch& s, double x, double ground, double height, Light light);
// The café's front from the street, 340 wide at `x`, its ground at `ground`.
void DrawCafeFront(Sketch& s, double x, double ground, Light light);
// A paper lantern hanging at (x, y).
void DrawLantern(Sketch& s, double x, double y, double size, Pixel colour);
// Water with ripples and the sky's light on it.
void DrawWater(Sketch& s, const Rect& r, Light light, uint32_t seed);
// A wooden chair seen from the front, its seat at (x, seatY).
void DrawChair(Sketch& s, double x, double seatY, double k, bool upsideDown);
// A round café table with its top at (x, topY).
void DrawTable(Sketch& s, double x, double topY, double k);
// A pendant lamp hanging from the ceiling at x; lit lamps glow.
void DrawPendantLamp(Sketch& s, double x, double length, bool lit);
// A window in a wall, showing `outside` light.
void DrawWallWindow(Sketch& s, const Rect& r, Light outside, uint32_t seed);
// A shelf with cups, jars and bottles along `y`.
void DrawShelf(Sketch& s, double x, double y, double w, uint32_t seed);
// A potted plant standing on `ground`.
void DrawPottedPlant(Sketch& s, double x, double ground, double k);
// Slanting rain over the whole picture.
void DrawRain(Sketch& s, uint32_t seed);
// The sky colours at the top and the horizon for a light.
Pixel SkyTop(Light light);
Pixel SkyHorizon(Light light);
// Colours darkened and tinted for the light.
Pixel Lit(Pixel p, Light light);

}  // namespace dovetail::tools
