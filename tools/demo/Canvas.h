#pragma once

#include <vector>

#include "platform/Surface.h"
#include "script/PictureRegions.h"

namespace dovetail::tools {

// Small drawing helpers for the generated demo pictures: flat shapes with
// hard edges (no blending with what is below), so that black stays exactly
// black where a picture uses it as its transparent colour.

struct Point {
  double x = 0;
  double y = 0;
};

// The darkest colour the figures use for outlines: never pure black, which
// sheets and sprites treat as transparent.
constexpr Pixel kInk = Rgb(44, 34, 38);

// a + (b − a) · t per channel, rounded.
Pixel Mix(Pixel a, Pixel b, double t);
// The colour scaled by `factor` (below 1 darker, above 1 lighter), clamped.
Pixel Shade(Pixel p, double factor);
// Keeps a colour of the art from being the transparent black.
Pixel NotBlack(Pixel p);

void VerticalGradient(Surface& s, const Rect& r, Pixel top, Pixel bottom);
void HorizontalGradient(Surface& s, const Rect& r, Pixel left, Pixel right);
void FillEllipse(Surface& s, double cx, double cy, double rx, double ry, Pixel p);
void FillRoundRect(Surface& s, const Rect& r, double radius, Pixel p);
// Even-odd fill of the polygon, sampled at pixel centres.
void FillPolygon(Surface& s, const std::vector<Point>& points, Pixel p);
// A line with round ends.
void DrawLine(Surface& s, Point a, Point b, double thickness, Pixel p);
// An elliptic arc from `fromDegrees` to `toDegrees` (0 = right, 90 = down).
void DrawArc(Surface& s, double cx, double cy, double rx, double ry, double fromDegrees,
             double toDegrees, double thickness, Pixel p);
void FrameRect(Surface& s, const Rect& r, int thickness, Pixel p);
void FillStar(Surface& s, double cx, double cy, double outer, double inner, int points, Pixel p);

// Copies `src` into `dest` at (x, y), clipped.
void Paste(Surface& dest, int x, int y, const Surface& src);
// The part of `src` inside `r`.
Surface Crop(const Surface& src, const Rect& r);

}  // namespace dovetail::tools
