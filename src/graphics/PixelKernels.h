#pragma once

#include <cstdint>
#include <vector>

#include "graphics/BitmapHelpers.h"

namespace dovetail {

// How the per-pixel loops of the colour effects run. Every path computes the
// same bytes with the same double-precision operations; the vector paths only
// handle more pixels per instruction.
enum class PixelPath { Portable, Avx2, Avx512 };

// The paths this processor can run: Portable first, the widest last.
std::vector<PixelPath> SupportedPixelPaths();
const char* PixelPathName(PixelPath path);

// The per-pixel colour transforms, over entries 0 .. count − 1 of a pixel
// array (none when count ≤ 0). Each works on the red, green and blue bytes of
// an entry and leaves its fourth byte alone; results are rounded half to even
// and kept within 0 .. 255.
//
// Darken: each channel reduced by `amount`, not below 0.
void DarkenPixels(PixelArray& pixels, int32_t count, int32_t amount, PixelPath path);
// Sepia: g = round((R + G + B) / 3); R = g + 100, G = g + 20 (at most 255), B = g.
void SepiaPixels(PixelArray& pixels, int32_t count, PixelPath path);
// Grey: R = G = B = round((R + G + B) / 3).
void GreyPixels(PixelArray& pixels, int32_t count, PixelPath path);

// The toning of the progressive effects at strength t, evaluated in double
// precision exactly as written (the divisors are dR, dG, dB):
//   R' = (G·t + B·t) / dR + R − R·t
//   G' = (R·t + B·t) / dG + G − G·t
//   B' = (G·t + R·t) / dB + B − B·t
enum class ToneKind {
  Warm,        // "SO": divisors 1.5, 2 and 2.2
  Desaturate,  // "MO" and "MI": divisor 2 for every channel
};
void TonePixels(PixelArray& pixels, int32_t count, double t, ToneKind kind, PixelPath path);

}  // namespace dovetail
