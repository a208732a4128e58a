#include "graphics/Effects.h"

#include <algorithm>
#include <bit>
#include <cassert>

#include "host/Host.h"
#include "host/ScreenSize.h"
#include "window/Window.h"

namespace dovetail {

namespace {

// The dissolve's threshold table: a mask pixel at (u, v) of a cell is white in
// frame f when kThreshold[v mod 8][u mod 8] <= f.
constexpr uint8_t kThreshold[8][8] = {
    {0, 4, 1, 5, 0, 4, 1, 5}, {6, 2, 7, 3, 6, 2, 8, 4}, {1, 5, 0, 4, 2, 6, 1, 4},
    {8, 4, 7, 3, 9, 4, 7, 3}, {0, 4, 1, 5, 0, 4, 1, 5}, {6, 3, 8, 4, 6, 3, 7, 3},
    {2, 6, 1, 5, 2, 6, 0, 4}, {9, 4, 7, 3, 9, 4, 7, 3},
};
constexpr int32_t kMeshCell = 32;
constexpr int32_t kMeshFrames = 10;

Host& HostOf(const PictureBox& pic) {
  return pic.Owner().GetHost();
}

// A copy between the same coordinates of both pictures.
void CopyRect(PictureBox& picDest, const PictureBox& picSrc, int32_t x, int32_t y, int32_t width,
              int32_t height) {
  BitBlt(picDest.Image(), x, y, width, height, picSrc.Image(), x, y);
}

void CopyScreen(PictureBox& picDest, const PictureBox& picSrc) {
  CopyRect(picDest, picSrc, 0, 0, kScreenWidth, kScreenHeight);
}

}  // namespace

Surface BuildMesh1() {
  Surface masks(kMeshCell * kMeshFrames, 2 * kMeshCell, kBlack);
  for (int32_t f = 0; f < kMeshFrames; ++f) {
    for (int32_t v = 0; v < kMeshCell; ++v) {
      for (int32_t u = 0; u < kMeshCell; ++u) {
        const bool newShows = kThreshold[v % 8][u % 8] <= f;
        masks.Set(kMeshCell * f + u, kMeshCell + v, newShows ? kWhite : kBlack);
        masks.Set(kMeshCell * f + u, v, newShows ? kBlack : kWhite);
      }
    }
  }
  return masks;
}

Effects::Effects(PictureBox& mesh1, PictureBox& mesh2, EffectEvents& events)
    : pixelPath(SupportedPixelPaths().back()), mesh1_(mesh1), mesh2_(mesh2), events_(events) {
  Surface masks = BuildMesh1();
  mesh1_.SetSize(masks.Width(), masks.Height());
  mesh1_.SetPicture(std::move(masks));
}

void Effects::StartStep(Host& host) {
  EffectTick = static_cast<int32_t>(host.TickCount());
}

void Effects::FinishStep(Host& host, int32_t pace) {
  // The tick count wraps; the difference of two readings stays right across it.
  EffectElapsed = static_cast<int32_t>(host.TickCount() - static_cast<uint32_t>(EffectTick));
  if (EffectElapsed < pace) host.Sleep(static_cast<uint32_t>(pace - std::max(EffectElapsed, 0)));
  host.DoEvents();
}

void Effects::RunEffect(PictureBox& picDest, PictureBox& picSrc) {
  const std::string& code = EffectCode;
  events_.Report(EffectEvent{code});
  if (code == "DI") {
    ColumnBlinds(picDest, picSrc);
  } else if (code == "VB") {
    VerticalSweep(picDest, picSrc);
  } else if (code == "HB") {
    HorizontalSweep(picDest, picSrc);
  } else if (code == "HC") {
    SoftWipe(picDest, picSrc);
  } else if (code == "BC") {
    GrowingSquares(picDest, picSrc);
  } else if (code == "IC") {
    Checkerboard(picDest, picSrc);
  } else if (code == "DK") {
    Darken(picDest, picSrc, 100, true);
  } else if (code == "DK2") {
    Darken(picDest, picSrc, 50, false);
  } else if (code == "MS") {
    Dissolve(picDest, picSrc);
  } else if (code == "BI") {
    CrossFade(picDest, picSrc);
  } else if (code == "SP") {
    SepiaOrGrey(picDest, picSrc, true);
  } else if (code == "SO") {
    ProgressiveTone(picDest, picSrc, ToneKind::Warm, 0.4);
  } else if (code == "MC") {
    SepiaOrGrey(picDest, picSrc, false);
  } else if (code == "MO") {
    ProgressiveTone(picDest, picSrc, ToneKind::Desaturate, 0.7);
  } else if (code == "MI") {
    ColourReturns(picDest, picSrc);
  } else {
    CopyScreen(picDest, picSrc);
    picDest.Refresh();
  }
}

// Each 50-pixel band fills from its left edge, one column per step.
void Effects::ColumnBlinds(PictureBox& picDest, const PictureBox& picSrc) {
  Host& host = HostOf(picDest);
  for (int32_t e = 0; e <= 49; ++e) {
    StartStep(host);
    for (int32_t g = 0; g <= kScreenWidth; g += 50)
      CopyRect(picDest, picSrc, e + g, 0, 1, kScreenHeight);
    picDest.Refresh();
    FinishStep(host, 8);
  }
}

// Columns 4k, 4k+1 fill from the left edge, 4k+2, 4k+3 from the right.
void Effects::VerticalSweep(PictureBox& picDest, const PictureBox& picSrc) {
  Host& host = HostOf(picDest);
  for (int32_t d = 0; d <= 320; d += 2) {
    StartStep(host);
    CopyRect(picDest, picSrc, 2 * d, 0, 2, kScreenHeight);
    CopyRect(picDest, picSrc, 638 - 2 * d, 0, 2, kScreenHeight);
    picDest.Refresh();
    FinishStep(host, 5);
  }
}

// Rows 4k, 4k+1 fill downwards, 4k+2, 4k+3 upwards, as fast as it goes.
void Effects::HorizontalSweep(PictureBox& picDest, const PictureBox& picSrc) {
  for (int32_t d = 0; d <= kScreenHeight / 2; d += 2) {
    CopyRect(picDest, picSrc, 0, 2 * d, kScreenWidth, 2);
    CopyRect(picDest, picSrc, 0, 478 - 2 * d, kScreenWidth, 2);
    picDest.Refresh();
  }
}

// A 15-pixel block is touched 15 steps before the wipe reaches it, with a
// 1-pixel sliver that grows by a pixel per step.
void Effects::SoftWipe(PictureBox& picDest, const PictureBox& picSrc) {
  Host& host = HostOf(picDest);
  for (int32_t d = 0; d <= 630; d += 15) {
    StartStep(host);
    for (int32_t i = 0; i <= 15; ++i)
      CopyRect(picDest, picSrc, d + 15 * i, 0, 15 - i, kScreenHeight);
    picDest.Refresh();
    FinishStep(host, 40);
  }
}

// In every 20 × 20 cell a square grows from the top-left corner.
void Effects::GrowingSquares(PictureBox& picDest, const PictureBox& picSrc) {
  Host& host = HostOf(picDest);
  for (int32_t s = 2; s <= 20; s += 2) {
    StartStep(host);
    for (int32_t y = 0; y <= kScreenHeight; y += 20) {
      for (int32_t x = 0; x <= kScreenWidth; x += 20)
        CopyRect(picDest, picSrc, x, y, s, s);
    }
    picDest.Refresh();
    FinishStep(host, 48);
  }
}

// Two of the four 2 × 2 cells of every 4 × 4 tile, a pause, then the other two.
void Effects::Checkerboard(PictureBox& picDest, const PictureBox& picSrc) {
  Host& host = HostOf(picDest);
  for (int32_t y = 0; y <= 478; y += 4) {
    for (int32_t x = 0; x <= 638; x += 4) {
      CopyRect(picDest, picSrc, x, y, 2, 2);
      CopyRect(picDest, picSrc, x + 2, y + 2, 2, 2);
    }
  }
  picDest.Refresh();
  host.DoEvents();
  host.Sleep(100);
  for (int32_t y = 0; y <= kScreenHeight; y += 4) {
    for (int32_t x = 2; x <= 638; x += 4) {
      CopyRect(picDest, picSrc, x, y, 2, 2);
      CopyRect(picDest, picSrc, x - 2, y - 2, 2, 2);
    }
  }
  picDest.Refresh();
  host.DoEvents();
}

// Darkens the source in place (any size); "DK" then shows it on the
// destination unless both are the same picture.
void Effects::Darken(PictureBox& picDest, PictureBox& picSrc, int32_t amount, bool showOnDest) {
  PixelCount = GetPixels(picSrc, PixelBuf);
  DarkenPixels(PixelBuf, PixelCount, amount, pixelPath);
  SetPixels(picSrc, PixelBuf);
  picSrc.Refresh();
  if (showOnDest && &picDest != &picSrc) {
    CopyScreen(picDest, picSrc);
    picDest.Refresh();
  }
}

// Nine mask frames, each showing more of the new picture in every 32 × 32
// cell: old AND upper mask, XOR (new AND lower mask).
void Effects::Dissolve(PictureBox& picDest, const PictureBox& picSrc) {
  Host& host = HostOf(picDest);
  mesh2_.SetSize(kMeshCell, kMeshCell);
  const Surface& masks = mesh1_.Image();
  Surface& cell = mesh2_.Image();
  for (int32_t f = 0; f <= 8; ++f) {
    StartStep(host);
    for (int32_t x = 0; x <= 608; x += kMeshCell) {
      for (int32_t y = 0; y <= 448; y += kMeshCell) {
        BitBlt(cell, 0, 0, kMeshCell, kMeshCell, picSrc.Image(), x, y, RasterOp::SrcCopy);
        BitBlt(cell, 0, 0, kMeshCell, kMeshCell, masks, kMeshCell * f, kMeshCell, RasterOp::SrcAnd);
        BitBlt(picDest.Image(), x, y, kMeshCell, kMeshCell, masks, kMeshCell * f, 0,
               RasterOp::SrcAnd);
        BitBlt(picDest.Image(), x, y, kMeshCell, kMeshCell, cell, 0, 0, RasterOp::SrcInvert);
      }
    }
    picDest.Refresh();
    FinishStep(host, 72);
  }
  CopyScreen(picDest, picSrc);
  picDest.Refresh();
}

// Twenty steps of 10 % towards the source, centred; then the exact source.
void Effects::CrossFade(PictureBox& picDest, const PictureBox& picSrc) {
  Host& host = HostOf(picDest);
  const int32_t w = picSrc.Width();
  const int32_t h = picSrc.Height();
  const int32_t x = 320 - w / 2;
  const int32_t y = 240 - h / 2;
  blend_.BlendBegin(w, h);
  for (int32_t step = 0; step < 20; ++step) {
    StartStep(host);
    blend_.BlendRect(picDest, x, y, w, h, picSrc, 0, 0, 0.1f);
    picDest.Refresh();
    FinishStep(host, 80);
  }
  blend_.BlendEnd();
  BitBlt(picDest.Image(), x, y, w, h, picSrc.Image(), 0, 0);
  picDest.Refresh();
}

// "SP" and "MC": the source coloured at once onto the destination.
void Effects::SepiaOrGrey(PictureBox& picDest, const PictureBox& picSrc, bool sepia) {
  PixelCount = GetPixels(picSrc, PixelBuf);
  if (sepia) {
    SepiaPixels(PixelBuf, PixelCount, pixelPath);
  } else {
    GreyPixels(PixelBuf, PixelCount, pixelPath);
  }
  HostOf(picDest).DoEvents();
  SetPixels(picDest, PixelBuf);
  picDest.Refresh();
}

// "SO" and "MO": passes at t = 0.1, 0.2, … while t <= limit, t accumulated in
// double precision; each pass tones the source again and shows it.
void Effects::ProgressiveTone(PictureBox& picDest, PictureBox& picSrc, ToneKind kind,
                              double limit) {
  Host& host = HostOf(picDest);
  for (double t = 0.1; t <= limit; t += 0.1) {
    PixelCount = GetPixels(picSrc, PixelBuf);
    TonePixels(PixelBuf, PixelCount, t, kind, pixelPath);
    host.DoEvents();
    SetPixels(picSrc, PixelBuf);
    CopyScreen(picDest, picSrc);
    picDest.Refresh();
  }
}

// "MI": t = 0.7 down to the residue just above 0 (eight passes), each from the
// unchanged source; the last pass reproduces the source colours.
void Effects::ColourReturns(PictureBox& picDest, const PictureBox& picSrc) {
  Host& host = HostOf(picDest);
  for (double t = 0.7; t >= 0.0; t += -0.1) {
    PixelCount = GetPixels(picSrc, PixelBuf);
    TonePixels(PixelBuf, PixelCount, t, ToneKind::Desaturate, pixelPath);
    host.DoEvents();
    SetPixels(picDest, PixelBuf);
    picDest.Refresh();
  }
}

}  // namespace dovetail
