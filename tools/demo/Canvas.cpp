#include "demo/Canvas.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace dovetail::tools {

namespace {

uint32_t Channel(double value) {
  return static_cast<uint32_t>(std::clamp(std::lround(value), 0L, 255L));
}

void Span(Surface& s, int y, double left, double right, Pixel p) {
  if (y < 0 || y >= s.Height()) return;
  // Pixels whose centres lie inside [left, right).
  const int x0 = std::max(0, static_cast<int>(std::ceil(left - 0.5)));
  const int x1 = std::min(s.Width(), static_cast<int>(std::ceil(right - 0.5)));
  Pixel* row = s.Row(y);
  for (int x = x0; x < x1; ++x)
    row[x] = p;
}

}  // namespace

Pixel Mix(Pixel a, Pixel b, double t) {
  auto mix = [t](uint32_t u, uint32_t v) { return Channel(u + (double(v) - double(u)) * t); };
  return Rgb(mix(RedOf(a), RedOf(b)), mix(GreenOf(a), GreenOf(b)), mix(BlueOf(a), BlueOf(b)));
}

Pixel Shade(Pixel p, double factor) {
  return Rgb(Channel(RedOf(p) * factor), Channel(GreenOf(p) * factor), Channel(BlueOf(p) * factor));
}

Pixel NotBlack(Pixel p) {
  return p == kBlack ? Rgb(1, 1, 1) : p;
}

void VerticalGradient(Surface& s, const Rect& r, Pixel top, Pixel bottom) {
  for (int y = 0; y < r.h; ++y) {
    const double t = r.h > 1 ? double(y) / (r.h - 1) : 0.0;
    s.FillRect(r.x, r.y + y, r.w, 1, Mix(top, bottom, t));
  }
}

void HorizontalGradient(Surface& s, const Rect& r, Pixel left, Pixel right) {
  for (int x = 0; x < r.w; ++x) {
    const double t = r.w > 1 ? double(x) / (r.w - 1) : 0.0;
    s.FillRect(r.x + x, r.y, 1, r.h, Mix(left, right, t));
  }
}

void FillEllipse(Surface& s, double cx, double cy, double rx, double ry, Pixel p) {
  if (rx <= 0 || ry <= 0) return;
  const int y0 = static_cast<int>(std::floor(cy - ry));
  const int y1 = static_cast<int>(std::ceil(cy + ry));
  for (int y = y0; y <= y1; ++y) {
    const double dy = (y + 0.5 - cy) / ry;
    if (dy * dy >= 1.0) continue;
    const double half = rx * std::sqrt(1.0 - dy * dy);
    Span(s, y, cx - half, cx + half, p);
  }
}

void FillRoundRect(Surface& s, const Rect& r, double radius, Pixel p) {
  radius = std::min({radius, r.w / 2.0, r.h / 2.0});
  for (int y = r.y; y < r.y + r.h; ++y) {
    const double cy = y + 0.5;
    double inset = 0;
    const double top = r.y + radius;
    const double bottom = r.y + r.h - radius;
    const double d = cy < top ? top - cy : (cy > bottom ? cy - bottom : 0.0);
    if (d > 0) inset = radius - std::sqrt(std::max(0.0, radius * radius - d * d));
    Span(s, y, r.x + inset, r.x + r.w - inset, p);
  }
}

void FillPolygon(Surface& s, const std::vector<Point>& points, Pixel p) {
  if (points.size() < 3) return;
  double minY = points[0].y;
  double maxY = points[0].y;
  for (const Point& q : points) {
    minY = std::min(minY, q.y);
    maxY = std::max(maxY, q.y);
  }
  std::vector<double> crossings;
  for (int y = static_cast<int>(std::floor(minY)); y <= static_cast<int>(std::ceil(maxY)); ++y) {
    const double cy = y + 0.5;
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
      Span(s, y, crossings[i], crossings[i + 1], p);
  }
}

void DrawLine(Surface& s, Point a, Point b, double thickness, Pixel p) {
  const double r = thickness / 2.0;
  const double dx = b.x - a.x;
  const double dy = b.y - a.y;
  const double length = std::hypot(dx, dy);
  if (length > 0) {
    const double nx = -dy / length * r;
    const double ny = dx / length * r;
    FillPolygon(
        s, {{a.x + nx, a.y + ny}, {b.x + nx, b.y + ny}, {b.x - nx, b.y - ny}, {a.x - nx, a.y - ny}},
        p);
  }
  FillEllipse(s, a.x, a.y, r, r, p);
  FillEllipse(s, b.x, b.y, r, r, p);
}

void DrawArc(Surface& s, double cx, double cy, double rx, double ry, double fromDegrees,
             double toDegrees, double thickness, Pixel p) {
  const int steps = std::max(4, static_cast<int>(std::abs(toDegrees - fromDegrees) / 6));
  Point previous{};
  for (int i = 0; i <= steps; ++i) {
    const double angle =
        (fromDegrees + (toDegrees - fromDegrees) * i / steps) * std::numbers::pi / 180.0;
    const Point q{cx + rx * std::cos(angle), cy + ry * std::sin(angle)};
    if (i > 0) DrawLine(s, previous, q, thickness, p);
    previous = q;
  }
}

void FrameRect(Surface& s, const Rect& r, int thickness, Pixel p) {
  s.FillRect(r.x, r.y, r.w, thickness, p);
  s.FillRect(r.x, r.y + r.h - thickness, r.w, thickness, p);
  s.FillRect(r.x, r.y, thickness, r.h, p);
  s.FillRect(r.x + r.w - thickness, r.y, thickness, r.h, p);
}

void FillStar(Surface& s, double cx, double cy, double outer, double inner, int points, Pixel p) {
  std::vector<Point> shape;
  for (int i = 0; i < 2 * points; ++i) {
    const double r = i % 2 == 0 ? outer : inner;
    const double angle = -std::numbers::pi / 2 + i * std::numbers::pi / points;
    shape.push_back({cx + r * std::cos(angle), cy + r * std::sin(angle)});
  }
  FillPolygon(s, shape, p);
}

void Paste(Surface& dest, int x, int y, const Surface& src) {
  BitBlt(dest, x, y, src.Width(), src.Height(), src, 0, 0);
}

Surface Crop(const Surface& src, const Rect& r) {
  Surface out(r.w, r.h);
  BitBlt(out, 0, 0, r.w, r.h, src, r.x, r.y);
  return out;
}

}  // namespace dovetail::tools
