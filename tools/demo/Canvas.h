#pragma once

#include <cstdint>
#include <functional>
#include <vector>

#include "host/Surface.h"
#include "screen/PictureRegions.h"

namespace dovetail::tools {

// The drawing board of the generated demo pictures. Shapes are painted into a
// finer grid of samples (`kDetail` × `kDetail` per pixel) and averaged into
// pixels at the end, so edges come out smooth. Every sample remembers whether
// it was painted: a figure on a sheet whose transparent colour is black is
// resolved with a hard outer edge (a pixel is the figure's or black, never a
// dark blend of both), while its inner edges stay smooth.
//
// Coordinates are in pixels of the finished picture, fractions allowed; a
// sample belongs to a shape when its centre lies inside.

constexpr int kDetail = 4;

struct Point {
  double x = 0;
  double y = 0;
};

// The darkest colour the figures use for outlines: never pure black, which
// sheets and sprites treat as transparent.
constexpr Pixel kInk = Rgb(58, 40, 44);

// a + (b − a) · t per channel, rounded.
Pixel Mix(Pixel a, Pixel b, double t);
// The colour scaled by `factor` (below 1 darker, above 1 lighter), clamped.
Pixel Shade(Pixel p, double factor);
// The colour moved towards white by `t`.
Pixel Tint(Pixel p, double t);
// Keeps a colour of the art from being the transparent black.
Pixel NotBlack(Pixel p);

// What a shape is filled with: a colour, or a colour that changes over the
// picture (`shader`, given the picture coordinates of each sample), laid on
// with an opacity that may also change over the picture (`fade`, 0..1).
// Paint that is not fully opaque only tints samples already painted.
struct Brush {
  Brush(Pixel p) : colour(p) {}  // NOLINT(google-explicit-constructor): a colour is a brush
  Pixel colour = 0;
  double opacity = 1.0;
  std::function<Pixel(double x, double y)> shader;
  std::function<double(double x, double y)> fade;
};

// `p` laid on with `opacity`.
Brush Glaze(Pixel p, double opacity);
// From `from` at point a to `to` at point b, constant beyond both.
Brush Linear(Point a, Pixel from, Point b, Pixel to);
// From `inner` at the centre to `outer` at the ellipse (rx, ry) and beyond.
Brush Radial(Point centre, double rx, double ry, Pixel inner, Pixel outer);
// A soft light: `p` at `strength` in the centre, fading out at radius r.
Brush Glow(Point centre, double r, Pixel p, double strength);

class Sketch {
 public:
  // Unpainted (resolves to black).
  Sketch(int32_t width, int32_t height);
  Sketch(int32_t width, int32_t height, Pixel fill);

  int32_t Width() const { return width_; }
  int32_t Height() const { return height_; }

  // Paints the samples of sample row `row` whose centres lie in
  // [left, right) (in picture pixels).
  void Span(int32_t row, double left, double right, const Brush& brush);
  int32_t SampleRows() const { return height_ * kDetail; }
  // Whether sample `column` of sample row `row` has been painted.
  bool Painted(int32_t row, int32_t column) const {
    return (samples_[static_cast<size_t>(row) * width_ * kDetail + column] & kPainted) != 0;
  }

  // Every pixel the average of its samples, unpainted ones black.
  Surface Resolve() const;
  // A figure on black: a pixel at least half painted takes the average of its
  // painted samples (never exactly black), the others are black.
  Surface ResolveFigure() const;
  // For a picture with transparency (the program's icon): every pixel the
  // average of its painted samples, with its coverage (the share of its
  // samples painted, 0 to 255) as its opacity.
  Surface ResolvePainted(std::vector<uint8_t>& coverage) const;

  // Keeps painting inside `r` until the clip is cleared.
  void Clip(const Rect& r) { clip_ = r; }
  void ClearClip() { clip_ = {0, 0, width_, height_}; }

  // Lays a finished picture into the samples at (x, y); with `keyed`, its
  // black pixels are left out.
  void Stamp(const Surface& picture, int32_t x, int32_t y, bool keyed);

 private:
  static constexpr uint32_t kPainted = 0x01000000;
  struct PixelSum {
    uint32_t red = 0;
    uint32_t green = 0;
    uint32_t blue = 0;
    uint32_t painted = 0;  // how many of the pixel's samples are painted
  };
  PixelSum SumOfPixel(int32_t x, int32_t y) const;
  int32_t width_;
  int32_t height_;
  Rect clip_;
  std::vector<uint32_t> samples_;
};

void FillRect(Sketch& s, double x, double y, double w, double h, const Brush& brush);
inline void FillRect(Sketch& s, const Rect& r, const Brush& brush) {
  FillRect(s, r.x, r.y, r.w, r.h, brush);
}
void VerticalGradient(Sketch& s, const Rect& r, Pixel top, Pixel bottom);
void FillEllipse(Sketch& s, double cx, double cy, double rx, double ry, const Brush& brush);
void FillRoundRect(Sketch& s, double x, double y, double w, double h, double radius,
                   const Brush& brush);
inline void FillRoundRect(Sketch& s, const Rect& r, double radius, const Brush& brush) {
  FillRoundRect(s, r.x, r.y, r.w, r.h, radius, brush);
}
// Even-odd fill of the polygon.
void FillPolygon(Sketch& s, const std::vector<Point>& points, const Brush& brush);
// A line with round ends.
void DrawLine(Sketch& s, Point a, Point b, double thickness, const Brush& brush);
// A line through the points with round joints.
void DrawPolyline(Sketch& s, const std::vector<Point>& points, double thickness,
                  const Brush& brush);
// An elliptic arc from `fromDegrees` to `toDegrees` (0 = right, 90 = down).
void DrawArc(Sketch& s, double cx, double cy, double rx, double ry, double fromDegrees,
             double toDegrees, double thickness, const Brush& brush);
// The points of that arc, for shapes built from curves.
std::vector<Point> ArcPoints(double cx, double cy, double rx, double ry, double fromDegrees,
                             double toDegrees, int steps = 24);
// A closed smooth outline through the points (a Catmull-Rom curve), for
// hair, faces and clothes.
std::vector<Point> Smooth(const std::vector<Point>& points, int stepsPerSegment = 6);
void FrameRect(Sketch& s, const Rect& r, double thickness, const Brush& brush);
void FillStar(Sketch& s, double cx, double cy, double outer, double inner, int points,
              const Brush& brush);

// Copies `src` into `dest` at (x, y), clipped.
void Paste(Surface& dest, int x, int y, const Surface& src);
// The part of `src` inside `r`.
Surface Crop(const Surface& src, const Rect& r);

// A small fixed pseudo-random sequence, so that every build draws the same
// stars, leaves and windows.
class Sprinkle {
 public:
  explicit Sprinkle(uint32_t seed) : state_(seed) {}
  int Below(int n);
  // Uniform in [lo, hi).
  double Between(double lo, double hi);

 private:
  uint32_t state_;
};

}  // namespace dovetail::tools
