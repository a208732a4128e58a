#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "graphics/BitmapHelpers.h"
#include "graphics/EffectEvents.h"
#include "graphics/PixelKernels.h"
#include "host/Surface.h"
#include "window/PictureBox.h"

namespace dovetail {

class Host;

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
  // receives the dither masks, `mesh2` is the 32 × 32 work cell. Every effect
  // that starts is reported to `events` (EffectEvent) before it runs.
  Effects(PictureBox& mesh1, PictureBox& mesh2, EffectEvents& events);

  // The effect to run; compared exactly and case-sensitively, never cleared.
  std::string EffectCode;
  // Tick count at the start of the current step, and how long the last step
  // took before its pacing sleep.
  int32_t EffectTick = 0;
  int32_t EffectElapsed = 0;
  // The pixel array of the colour effects, left filled after each.
  PixelArray PixelBuf;
  int32_t PixelCount = 0;

  // The loops of the colour effects use the widest path the processor has;
  // tests and benchmarks may choose another (it must be a supported one).
  PixelPath pixelPath;

  // Runs the effect named by EffectCode; returns when it is complete.
  void RunEffect(PictureBox& picDest, PictureBox& picSrc);

  // Step pacing, shared with the sprite wipe and the face dissolve: the step
  // starts, then, after its copies and refresh, sleeps what is left of `pace`
  // milliseconds and lets events run.
  void StartStep(Host& host);
  void FinishStep(Host& host, int32_t pace);

 private:
  void ColumnBlinds(PictureBox& picDest, const PictureBox& picSrc);
  void VerticalSweep(PictureBox& picDest, const PictureBox& picSrc);
  static void HorizontalSweep(PictureBox& picDest, const PictureBox& picSrc);
  void SoftWipe(PictureBox& picDest, const PictureBox& picSrc);
  void GrowingSquares(PictureBox& picDest, const PictureBox& picSrc);
  static void Checkerboard(PictureBox& picDest, const PictureBox& picSrc);
  void Darken(PictureBox& picDest, PictureBox& picSrc, int32_t amount, bool showOnDest);
  void Dissolve(PictureBox& picDest, const PictureBox& picSrc);
  void CrossFade(PictureBox& picDest, const PictureBox& picSrc);
  void SepiaOrGrey(PictureBox& picDest, const PictureBox& picSrc, bool sepia);
  void ProgressiveTone(PictureBox& picDest, PictureBox& picSrc, ToneKind kind, double limit);
  void ColourReturns(PictureBox& picDest, const PictureBox& picSrc);

  PictureBox& mesh1_;
  PictureBox& mesh2_;
  EffectEvents& events_;
  BlendArea blend_;
};

}  // namespace dovetail
