#pragma once

#include <cstdint>
#include <string>

#include "graphics/BitmapHelpers.h"
#include "platform/PictureBox.h"
#include "platform/Surface.h"

namespace dovetail {

// The dither masks of the "MS" dissolve: a 320 × 64 black-and-white picture of
// ten 32 × 32 frames side by side. Frame f's lower half (rows 32..63) is white
// where the new picture shows, its upper half the exact complement.
Surface BuildMesh1();

// The screen transitions: brings a picture composed off-screen (`picSrc`, the
// back buffer) onto the visible picture (`picDest`) with the effect named by
// `EffectCode`. Paced effects take their time from the window's host clock and
// let events run once per step.
class Effects {
 public:
  // `mesh1` and `mesh2` are hidden picture boxes of the main window: `mesh1`
  // receives the dither masks, `mesh2` is the 32 × 32 work cell.
  Effects(PictureBox& mesh1, PictureBox& mesh2);

  // The effect to run; compared exactly and case-sensitively, never cleared.
  std::string EffectCode;
  // Tick count at the start of the current step, and how long the last step
  // took before its pacing sleep.
  int32_t EffectTick = 0;
  int32_t EffectElapsed = 0;
  // The pixel array of the colour effects, left filled after each.
  PixelArray PixelBuf;
  int32_t PixelCount = 0;

  // Runs the effect named by EffectCode; returns when it is complete.
  void RunEffect(PictureBox& picDest, PictureBox& picSrc);

 private:
  PictureBox& mesh1_;
  PictureBox& mesh2_;
  BlendArea blend_;
};

}  // namespace dovetail
