#include "demo/Canvas.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace dovetail::tools {

namespace {

uint32_t Channel(double value) {
  return static_cast<uint32_t>(std::clamp(value + 0.5, 0.0, 255.0));
}

double Clamp01(double t) {
  return std::clamp(t, 0.0, 1.0);
}

constexpr double kSample = 1.0 / kDetail;

// dst + (src − dst) · weight / 256 per channel, for laying paint on samples.
uint32_t Blend(uint32_t dst, uint32_t src, uint32_t weight) {
  const uint32_t keep = 256 - weight;
  const uint32_t rb = ((dst & 0xFF00FF) * keep + (src & 0xFF00FF) * weight + 0x800080) >> 8;
  const uint32_t g = ((dst & 0x00FF00) * keep + (src & 0x00FF00) * weight + 0x008000) >> 8;
  return (rb & 0xFF00FF) | (g & 0x00FF00);
}

}  // namespace

Pixel Mix(Pixel a, Pixel b, double t) {
  auto mix = [t](uint32_t u, uint32_t v) { return Channel(u + (double(v) - double(u)) * t); };
  return Rgb(mix(RedOf(a), RedOf(b)), mix(GreenOf(a), GreenOf(b)), mix(BlueOf(a), BlueOf(b)));
}

Pixel Shade(Pixel p, double factor) {
  return Rgb(Channel(RedOf(p) * factor), Channel(GreenOf(p) * factor), Channel(BlueOf(p) * factor));
}

Pixel Tint(Pixel p, double t) {
  return Mix(p, kWhite, t);
}

Pixel NotBlack(Pixel p) {
  return p == kBlack ? Rgb(1, 1, 1) : p;
}

Brush Glaze(Pixel p, double opacity) {
  Brush b(p);
  b.opacity = opacity;
  return b;
}

Brush Linear(Point a, Pixel from, Point b, Pixel to) {
  Brush brush(from);
  const double dx = b.x - a.x;
  const double dy = b.y - a.y;
  const double length2 = std::max(1e-9, dx * dx + dy * dy);
  brush.shader = [=](double x, double y) {
    return Mix(from, to, Clamp01(((x - a.x) * dx + (y - a.y) * dy) / length2));
  };
  return brush;
}

Brush Radial(Point centre, double rx, double ry, Pixel inner, Pixel outer) {
  Brush brush(inner);
  brush.shader = [=](double x, double y) {
    const double u = (x - centre.x) / rx;
    const double v = (y - centre.y) / ry;
    return Mix(inner, outer, Clamp01(std::sqrt(u * u + v * v)));
  };
  return brush;
}

Brush Glow(Point centre, double r, Pixel p, double strength) {
  Brush brush(p);
  brush.opacity = strength;
  brush.fade = [=](double x, double y) {
    const double d = Clamp01(std::hypot(x - centre.x, y - centre.y) / r);
    return (1 - d) * (1 - d);
  };
  return brush;
}

Sketch::Sketch(int32_t width, int32_t height)
    : width_(width),
      height_(height),
      clip_{0, 0, width, height},
      samples_(static_cast<size_t>(width) * height * kDetail * kDetail, 0) {}

Sketch::Sketch(int32_t width, int32_t height, Pixel fill)
    : width_(width),
      height_(height),
      clip_{0, 0, width, height},
      samples_(static_cast<size_t>(width) * height * kDetail * kDetail, fill | kPainted) {}

void Sketch::Span(int32_t row, double left, double right, const Brush& brush) {
  if (row < clip_.y * kDetail || row >= (clip_.y + clip_.h) * kDetail) return;
  if (row < 0 || row >= height_ * kDetail) return;
  left = std::max(left, double(clip_.x));
  right = std::min(right, double(clip_.x + clip_.w));
  const int rowWidth = width_ * kDetail;
  // Samples whose centres lie inside [left, right).
  const int x0 = std::max(0, static_cast<int>(std::ceil(left * kDetail - 0.5)));
  const int x1 = std::min(rowWidth, static_cast<int>(std::ceil(right * kDetail - 0.5)));
  uint32_t* samples = samples_.data() + static_cast<size_t>(row) * rowWidth;
  const double y = (row + 0.5) * kSample;
  if (!brush.shader && !brush.fade && brush.opacity >= 1.0) {
    std::fill(samples + std::max(0, x0), samples + std::max(x0, x1), brush.colour | kPainted);
    return;
  }
  // Shaded and see-through paint is worked out once per pixel of the row.
  int pixel = -1;
  Pixel colour = brush.colour;
  uint32_t weight = 256;
  for (int sx = x0; sx < x1; ++sx) {
    if (sx / kDetail != pixel) {
      pixel = sx / kDetail;
      const double x = pixel + 0.5;
      colour = brush.shader ? brush.shader(x, y) : brush.colour;
      const double opacity = brush.opacity * (brush.fade ? brush.fade(x, y) : 1.0);
      weight = static_cast<uint32_t>(std::clamp(opacity * 256.0 + 0.5, 0.0, 256.0));
    }
    if (weight >= 256) {
      samples[sx] = colour | kPainted;
    } else if ((samples[sx] & kPainted) != 0 && weight > 0) {
      samples[sx] = Blend(samples[sx], colour, weight) | kPainted;
    }
  }
}

Sketch::PixelSum Sketch::SumOfPixel(int32_t x, int32_t y) const {
  PixelSum sum;
  const int rowWidth = width_ * kDetail;
  for (int j = 0; j < kDetail; ++j) {
    const uint32_t* row = samples_.data() + static_cast<size_t>(y * kDetail + j) * rowWidth;
    for (int i = 0; i < kDetail; ++i) {
      const uint32_t v = row[x * kDetail + i];
      if ((v & kPainted) == 0) continue;
      ++sum.painted;
      sum.red += RedOf(v);
      sum.green += GreenOf(v);
      sum.blue += BlueOf(v);
    }
  }
  return sum;
}

Surface Sketch::Resolve() const {
  Surface out(width_, height_);
  constexpr uint32_t n = kDetail * kDetail;
  for (int y = 0; y < height_; ++y) {
    for (int x = 0; x < width_; ++x) {
      const PixelSum sum = SumOfPixel(x, y);
      out.Set(x, y, Rgb((sum.red + n / 2) / n, (sum.green + n / 2) / n, (sum.blue + n / 2) / n));
    }
  }
  return out;
}

Surface Sketch::ResolveFigure() const {
  Surface out(width_, height_);
  constexpr uint32_t n = kDetail * kDetail;
  for (int y = 0; y < height_; ++y) {
    for (int x = 0; x < width_; ++x) {
      const PixelSum sum = SumOfPixel(x, y);
      if (2 * sum.painted < n) continue;
      const uint32_t half = sum.painted / 2;
      out.Set(x, y,
              NotBlack(Rgb((sum.red + half) / sum.painted, (sum.green + half) / sum.painted,
                           (sum.blue + half) / sum.painted)));
    }
  }
  return out;
}

Surface Sketch::ResolvePainted(std::vector<uint8_t>& coverage) const {
  Surface out(width_, height_);
  constexpr uint32_t n = kDetail * kDetail;
  coverage.assign(static_cast<size_t>(width_) * height_, 0);
  for (int y = 0; y < height_; ++y) {
    for (int x = 0; x < width_; ++x) {
      const PixelSum sum = SumOfPixel(x, y);
      if (sum.painted == 0) continue;
      const uint32_t half = sum.painted / 2;
      out.Set(x, y,
              Rgb((sum.red + half) / sum.painted, (sum.green + half) / sum.painted,
                  (sum.blue + half) / sum.painted));
      coverage[static_cast<size_t>(y) * width_ + x] =
          static_cast<uint8_t>((sum.painted * 255 + n / 2) / n);
    }
  }
  return out;
}

void Sketch::Stamp(const Surface& picture, int32_t x, int32_t y, bool keyed) {
  const int rowWidth = width_ * kDetail;
  for (int py = 0; py < picture.Height(); ++py) {
    for (int px = 0; px < picture.Width(); ++px) {
      const Pixel p = picture.At(px, py);
      if (keyed && p == kBlack) continue;
      const int tx = x + px;
      const int ty = y + py;
      if (tx < 0 || ty < 0 || tx >= width_ || ty >= height_) continue;
      for (int j = 0; j < kDetail; ++j) {
        uint32_t* row = samples_.data() + static_cast<size_t>(ty * kDetail + j) * rowWidth;
        for (int i = 0; i < kDetail; ++i)
          row[tx * kDetail + i] = p | kPainted;
      }
    }
  }
}

void FillRect(Sketch& s, double x, double y, double w, double h, const Brush& brush) {
  const int r0 = static_cast<int>(std::ceil(y * kDetail - 0.5));
  const int r1 = static_cast<int>(std::ceil((y + h) * kDetail - 0.5));
  for (int row = std::max(0, r0); row < std::min(s.SampleRows(), r1); ++row)
    s.Span(row, x, x + w, brush);
}

void VerticalGradient(Sketch& s, const Rect& r, Pixel top, Pixel bottom) {
  // One colour per sample row.
  for (int row = std::max(0, r.y * kDetail); row < std::min(s.SampleRows(), r.Bottom() * kDetail);
       ++row) {
    const double t = ((row + 0.5) * kSample - r.y) / std::max(1, r.h);
    s.Span(row, r.x, r.Right(), Mix(top, bottom, Clamp01(t)));
  }
}

void FillEllipse(Sketch& s, double cx, double cy, double rx, double ry, const Brush& brush) {
  if (rx <= 0 || ry <= 0) return;
  const int r0 = std::max(0, static_cast<int>(std::floor((cy - ry) * kDetail)));
  const int r1 = std::min(s.SampleRows() - 1, static_cast<int>(std::ceil((cy + ry) * kDetail)));
  for (int row = r0; row <= r1; ++row) {
    const double dy = ((row + 0.5) * kSample - cy) / ry;
    if (dy * dy >= 1.0) continue;
    const double half = rx * std::sqrt(1.0 - dy * dy);
    s.Span(row, cx - half, cx + half, brush);
  }
}

void FillRoundRect(Sketch& s, double x, double y, double w, double h, double radius,
                   const Brush& brush) {
  radius = std::min({radius, w / 2.0, h / 2.0});
  const int r0 = std::max(0, static_cast<int>(std::ceil(y * kDetail - 0.5)));
  const int r1 = std::min(s.SampleRows(), static_cast<int>(std::ceil((y + h) * kDetail - 0.5)));
  for (int row = r0; row < r1; ++row) {
    const double cy = (row + 0.5) * kSample;
    const double top = y + radius;
    const double bottom = y + h - radius;
    const double d = cy < top ? top - cy : (cy > bottom ? cy - bottom : 0.0);
    const double inset = d > 0 ? radius - std::sqrt(std::max(0.0, radius * radius - d * d)) : 0.0;
    s.Span(row, x + inset, x + w - inset, brush);
  }
}

void FillPolygon(Sketch& s, const std::vector<Point>& points, const Brush& brush) {
  if (points.size() < 3) return;
  double minY = points[0].y;
  double maxY = points[0].y;
  for (const Point& q : points) {
    minY = std::min(minY, q.y);
    maxY = std::max(maxY, q.y);
  }
  std::vector<double> crossings;
  const int r0 = std::max(0, static_cast<int>(std::floor(minY * kDetail)));
  const int r1 = std::min(s.SampleRows() - 1, static_cast<int>(std::ceil(maxY * kDetail)));
  for (int row = r0; row <= r1; ++row) {
    const double cy = (row + 0.5) * kSample;
    crossings.clear();
    for (size_t i = 0; i < points.size(); ++i) {
      const Point& a = points[i];
      const Point& b = points[(i + 1) % points.size()];
      if ((a.y <= cy && b.y > cy) || (b.y <= cy && a.y > cy)) {
        crossings.push_back(a.x + (cy - a.y) / (b.y - a.y) * (b.x - a.x));
      }
    }
    std::sort(crossings.begin(), crossings.end());
    for (size_t i = 0; i + 1 < crossings.size(); i += 2)
      s.Span(row, crossings[i], crossings[i + 1], brush);
  }
}

void DrawLine(Sketch& s, Point a, Point b, double thickness, const Brush& brush) {
  const double length = std::hypot(b.x - a.x, b.y - a.y);
  if (brush.opacity >= 1.0 && !brush.fade) {
    DrawPolyline(s, {a, b}, thickness, brush);
  } else if (length > 0) {
    // See-through: the band alone, square-ended, so no sample is painted
    // twice.
    const double nx = -(b.y - a.y) / length * thickness / 2;
    const double ny = (b.x - a.x) / length * thickness / 2;
    FillPolygon(
        s, {{a.x + nx, a.y + ny}, {b.x + nx, b.y + ny}, {b.x - nx, b.y - ny}, {a.x - nx, a.y - ny}},
        brush);
  }
}

void DrawPolyline(Sketch& s, const std::vector<Point>& points, double thickness,
                  const Brush& brush) {
  if (points.empty()) return;
  const double r = thickness / 2.0;
  if (brush.opacity >= 1.0 && !brush.fade) {
    // Opaque paint may overlap itself: quads along the segments, discs at the
    // joints.
    for (size_t i = 0; i + 1 < points.size(); ++i) {
      const Point a = points[i];
      const Point b = points[i + 1];
      const double length = std::hypot(b.x - a.x, b.y - a.y);
      if (length <= 0) continue;
      const double nx = -(b.y - a.y) / length * r;
      const double ny = (b.x - a.x) / length * r;
      FillPolygon(
          s,
          {{a.x + nx, a.y + ny}, {b.x + nx, b.y + ny}, {b.x - nx, b.y - ny}, {a.x - nx, a.y - ny}},
          brush);
    }
    for (const Point& q : points)
      FillEllipse(s, q.x, q.y, r, r, brush);
    return;
  }
  // See-through paint: the stroke is drawn opaque into a mask first, so that
  // each sample it covers is painted once.
  double minX = points[0].x, maxX = points[0].x, minY = points[0].y, maxY = points[0].y;
  for (const Point& q : points) {
    minX = std::min(minX, q.x);
    maxX = std::max(maxX, q.x);
    minY = std::min(minY, q.y);
    maxY = std::max(maxY, q.y);
  }
  const int ox = static_cast<int>(std::floor(minX - r)) - 1;
  const int oy = static_cast<int>(std::floor(minY - r)) - 1;
  Sketch mask(static_cast<int>(std::ceil(maxX + r)) + 2 - ox,
              static_cast<int>(std::ceil(maxY + r)) + 2 - oy);
  std::vector<Point> local;
  for (const Point& q : points)
    local.push_back({q.x - ox, q.y - oy});
  DrawPolyline(mask, local, thickness, kWhite);
  for (int row = 0; row < mask.SampleRows(); ++row) {
    const int rowWidth = mask.Width() * kDetail;
    int runStart = -1;
    for (int c = 0; c <= rowWidth; ++c) {
      const bool in = c < rowWidth && mask.Painted(row, c);
      if (in && runStart < 0) runStart = c;
      if (!in && runStart >= 0) {
        s.Span(row + oy * kDetail, ox + runStart * kSample, ox + c * kSample, brush);
        runStart = -1;
      }
    }
  }
}

std::vector<Point> ArcPoints(double cx, double cy, double rx, double ry, double fromDegrees,
                             double toDegrees, int steps) {
  std::vector<Point> out;
  for (int i = 0; i <= steps; ++i) {
    const double angle =
        (fromDegrees + (toDegrees - fromDegrees) * i / steps) * std::numbers::pi / 180.0;
    out.push_back({cx + rx * std::cos(angle), cy + ry * std::sin(angle)});
  }
  return out;
}

void DrawArc(Sketch& s, double cx, double cy, double rx, double ry, double fromDegrees,
             double toDegrees, double thickness, const Brush& brush) {
  const int steps = std::max(6, static_cast<int>(std::abs(toDegrees - fromDegrees) / 8));
  DrawPolyline(s, ArcPoints(cx, cy, rx, ry, fromDegrees, toDegrees, steps), thickness, brush);
}

std::vector<Point> Smooth(const std::vector<Point>& points, int stepsPerSegment) {
  const size_t n = points.size();
  if (n < 3) return points;
  std::vector<Point> out;
  for (size_t i = 0; i < n; ++i) {
    const Point& p0 = points[(i + n - 1) % n];
    const Point& p1 = points[i];
    const Point& p2 = points[(i + 1) % n];
    const Point& p3 = points[(i + 2) % n];
    for (int k = 0; k < stepsPerSegment; ++k) {
      const double t = double(k) / stepsPerSegment;
      const double t2 = t * t;
      const double t3 = t2 * t;
      auto blend = [&](double a, double b, double c, double d) {
        return 0.5 * (2 * b + (c - a) * t + (2 * a - 5 * b + 4 * c - d) * t2 +
                      (3 * b - a - 3 * c + d) * t3);
      };
      out.push_back({blend(p0.x, p1.x, p2.x, p3.x), blend(p0.y, p1.y, p2.y, p3.y)});
    }
  }
  return out;
}

void FrameRect(Sketch& s, const Rect& r, double thickness, const Brush& brush) {
  FillRect(s, r.x, r.y, r.w, thickness, brush);
  FillRect(s, r.x, r.y + r.h - thickness, r.w, thickness, brush);
  FillRect(s, r.x, r.y + thickness, thickness, r.h - 2 * thickness, brush);
  FillRect(s, r.x + r.w - thickness, r.y + thickness, thickness, r.h - 2 * thickness, brush);
}

void FillStar(Sketch& s, double cx, double cy, double outer, double inner, int points,
              const Brush& brush) {
  std::vector<Point> shape;
  for (int i = 0; i < 2 * points; ++i) {
    const double r = i % 2 == 0 ? outer : inner;
    const double angle = -std::numbers::pi / 2 + i * std::numbers::pi / points;
    shape.push_back({cx + r * std::cos(angle), cy + r * std::sin(angle)});
  }
  FillPolygon(s, shape, brush);
}

void Paste(Surface& dest, int x, int y, const Surface& src) {
  BitBlt(dest, x, y, src.Width(), src.Height(), src, 0, 0);
}

Surface Crop(const Surface& src, const Rect& r) {
  Surface out(r.w, r.h);
  BitBlt(out, 0, 0, r.w, r.h, src, r.x, r.y);
  return out;
}

int Sprinkle::Below(int n) {
  state_ = state_ * 1664525u + 1013904223u;
  return static_cast<int>((state_ >> 8) % static_cast<uint32_t>(n));
}

double Sprinkle::Between(double lo, double hi) {
  return lo + (hi - lo) * Below(1 << 16) / double(1 << 16);
}

}  // namespace dovetail::tools
