#include "demo/DemoDishes.h"

#include <cmath>
#include <vector>

namespace dovetail::tools {

namespace {

constexpr Pixel kChina = Rgb(250, 250, 252);
constexpr Pixel kChinaShade = Rgb(200, 204, 216);
constexpr Pixel kGlass = Rgb(214, 234, 244);
constexpr Pixel kStrawberry = Rgb(222, 40, 58);
constexpr Pixel kCream = Rgb(255, 252, 244);
constexpr Pixel kLeaf = Rgb(96, 170, 70);
constexpr Pixel kSteam = Rgb(236, 238, 246);

// Local coordinates of the cell.
class Cell {
 public:
  Cell(Sketch& s, double x, double y) : s_(s), x_(x), y_(y) {}
  Point P(double u, double v) const { return {x_ + u, y_ + v}; }
  std::vector<Point> Ps(std::initializer_list<Point> local) const {
    std::vector<Point> out;
    for (const Point& q : local)
      out.push_back(P(q.x, q.y));
    return out;
  }
  Sketch& s() { return s_; }

  void Ellipse(double u, double v, double rx, double ry, const Brush& b) {
    FillEllipse(s_, x_ + u, y_ + v, rx, ry, b);
  }
  void Poly(std::initializer_list<Point> local, const Brush& b) { FillPolygon(s_, Ps(local), b); }
  void Curve(std::initializer_list<Point> local, const Brush& b, int steps = 5) {
    FillPolygon(s_, Smooth(Ps(local), steps), b);
  }
  void Line(double u1, double v1, double u2, double v2, double w, const Brush& b) {
    DrawLine(s_, P(u1, v1), P(u2, v2), w, b);
  }
  void Arc(double u, double v, double rx, double ry, double from, double to, double w,
           const Brush& b) {
    DrawArc(s_, x_ + u, y_ + v, rx, ry, from, to, w, b);
  }
  void RoundRect(double u, double v, double w, double h, double radius, const Brush& b) {
    FillRoundRect(s_, x_ + u, y_ + v, w, h, radius, b);
  }
  Brush Down(double v1, Pixel top, double v2, Pixel bottom) const {
    return Linear(P(0, v1), top, P(0, v2), bottom);
  }
  Brush Across(double u1, Pixel left, double u2, Pixel right) const {
    return Linear(P(u1, 0), left, P(u2, 0), right);
  }

 private:
  Sketch& s_;
  double x_;
  double y_;
};

// A round plate seen from above at an angle.
void Plate(Cell& c, double u, double v, double rx, double ry) {
  c.Ellipse(u, v + 1.5, rx, ry, kChinaShade);
  c.Ellipse(u, v, rx, ry, kChina);
  c.Ellipse(u, v + 0.5, rx * 0.72, ry * 0.68, Rgb(238, 240, 246));
  c.Arc(u, v, rx - 1, ry - 1, 200, 320, 1, Glaze(kWhite, 0.9));
}

void Steam(Cell& c, double u, double v) {
  for (int i = 0; i < 2; ++i) {
    const double x = u + 8 * i;
    c.Arc(x, v + 5, 2.5, 4, 90, 270, 1.6, kSteam);
    c.Arc(x, v - 2, 2.5, 4, -90, 90, 1.6, kSteam);
  }
}

// A cup with a handle on a saucer; `surface` is the drink seen from above.
void Cup(Cell& c, Pixel body, double top, double width, double height) {
  Plate(c, 30, 49, 25, 8);
  const double left = 30 - width / 2;
  c.Arc(30 + width / 2, top + height * 0.42, 6, 7, -80, 80, 3.2, Shade(body, 0.9));
  c.Curve({{left, top},
           {left + width, top},
           {left + width - 2, top + height * 0.8},
           {30, top + height},
           {left + 2, top + height * 0.8}},
          c.Across(left, Tint(body, 0.2), left + width, Shade(body, 0.8)), 4);
  c.Ellipse(30, top, width / 2, 5, Shade(body, 0.85));
}

void Coffee(Cell& c) {
  Cup(c, kChina, 24, 30, 24);
  c.Ellipse(30, 24.5, 13, 3.8, Rgb(86, 48, 28));
  c.Ellipse(30, 24.2, 9, 2.4, Rgb(150, 96, 56));
  Steam(c, 26, 11);
}

void Tea(Cell& c) {
  // A wide, shallow teacup with a gold rim and a lemon slice.
  Plate(c, 30, 49, 26, 8);
  c.Arc(48, 34, 5, 6, -80, 80, 3, kChinaShade);
  c.Curve({{10, 28}, {50, 28}, {44, 44}, {30, 47}, {16, 44}},
          c.Across(10, kChina, 50, Rgb(214, 218, 230)), 4);
  c.Ellipse(30, 28, 20, 5.5, Rgb(214, 170, 80));
  c.Ellipse(30, 28.3, 17, 4.2, Rgb(196, 100, 36));
  c.Ellipse(25, 27.5, 5, 2.2, Rgb(250, 232, 110));
  c.Ellipse(25, 27.5, 3.8, 1.5, Rgb(252, 246, 190));
  for (double u : {14.0, 22.0, 30.0, 38.0, 46.0})
    c.Ellipse(u, 38 + (u == 30 ? 2 : 0), 1.5, 1.5, Rgb(120, 170, 220));
  Steam(c, 31, 15);
}

void Latte(Cell& c) {
  // A bowl-shaped cup with a heart in the milk foam.
  Cup(c, Rgb(236, 228, 214), 22, 34, 26);
  c.Ellipse(30, 22.5, 15, 4.3, Rgb(190, 140, 92));
  c.Ellipse(27.5, 21.8, 3.4, 2.2, kCream);
  c.Ellipse(32.5, 21.8, 3.4, 2.2, kCream);
  c.Poly({{24.3, 22.2}, {35.7, 22.2}, {30, 25.6}}, kCream);
}

void Cocoa(Cell& c) {
  // A red mug with marshmallows.
  c.Ellipse(30, 52, 20, 5, Glaze(kChinaShade, 1.0));
  c.Arc(44, 35, 7, 8, -80, 80, 4, Rgb(190, 50, 50));
  c.RoundRect(14, 20, 30, 34, 6, c.Across(14, Rgb(236, 84, 76), 44, Rgb(170, 40, 40)));
  c.Ellipse(29, 21, 15, 4.5, Rgb(150, 40, 40));
  c.Ellipse(29, 21.5, 13, 3.5, Rgb(110, 62, 40));
  c.RoundRect(20, 17, 6, 5, 1.5, Rgb(255, 250, 250));
  c.RoundRect(28, 16, 6, 5, 1.5, Rgb(252, 220, 230));
  c.RoundRect(33, 19, 5, 4, 1.5, Rgb(255, 250, 250));
  c.Line(18, 28, 18, 46, 2.5, Glaze(kWhite, 0.3));
  Steam(c, 26, 7);
}

void OrangeJuice(Cell& c) {
  // A tall glass with juice, ice, a straw and a slice on the rim.
  c.Line(35, 4, 30, 30, 2.4, Rgb(80, 170, 220));
  c.Poly({{17, 10}, {43, 10}, {40, 56}, {20, 56}}, Glaze(kGlass, 1.0));
  c.Poly({{18.5, 18}, {41.5, 18}, {39, 54}, {21, 54}},
         c.Across(18, Rgb(255, 190, 60), 42, Rgb(240, 130, 20)));
  c.RoundRect(23, 20, 7, 6, 1.5, Glaze(kWhite, 0.45));
  c.RoundRect(31, 24, 6, 6, 1.5, Glaze(kWhite, 0.4));
  c.Line(22, 22, 23, 50, 1.5, Glaze(kWhite, 0.5));
  c.Ellipse(30, 10, 13, 3, Glaze(kGlass, 1.0));
  c.Ellipse(43, 12, 7, 7, Rgb(250, 160, 30));
  c.Ellipse(43, 12, 5.5, 5.5, Rgb(255, 214, 110));
  for (int i = 0; i < 6; ++i) {
    const double a = i * 3.14159265358979 / 3;
    c.Line(43, 12, 43 + 4.8 * std::cos(a), 12 + 4.8 * std::sin(a), 0.7, Rgb(250, 170, 50));
  }
}

// A wedge of cake seen from the front-left: its top, the cut side with the
// layers, and the back (rounded) side.
void CakeWedge(Cell& c, Pixel sponge, Pixel filling, Pixel top, Pixel sides) {
  Plate(c, 30, 47, 27, 9);
  // Top face.
  c.Poly({{10, 25}, {44, 15}, {52, 22}, {22, 32}}, top);
  // Cut face with its layers.
  c.Poly({{10, 25}, {22, 32}, {22, 50}, {10, 44}}, Shade(sponge, 0.95));
  c.Poly({{10, 32}, {22, 39}, {22, 42}, {10, 35}}, filling);
  // The outer side.
  c.Poly({{22, 32}, {52, 22}, {52, 40}, {22, 50}}, c.Across(22, sides, 52, Shade(sides, 0.85)));
}

void Shortcake(Cell& c) {
  CakeWedge(c, Rgb(252, 226, 160), kStrawberry, kCream, kCream);
  c.Poly({{10, 33}, {22, 40}, {22, 41.5}, {10, 34.5}}, Rgb(255, 240, 240));
  for (double u : {14.0, 18.0})
    c.Ellipse(u, 28 + (u - 10) * 0.58, 1.6, 1.2, Rgb(255, 150, 160));
  c.Ellipse(36, 20, 6, 4, kCream);
  c.Curve({{31, 17}, {41, 17}, {36, 7}}, c.Down(8, Rgb(250, 70, 80), 18, Rgb(200, 20, 40)));
  c.Poly({{33, 8.5}, {39, 8.5}, {36, 11}}, kLeaf);
  c.Ellipse(34.5, 13, 0.8, 0.8, Rgb(255, 220, 120));
}

void Cheesecake(Cell& c) {
  CakeWedge(c, Rgb(252, 230, 150), Rgb(252, 230, 150), Rgb(214, 150, 70), Rgb(252, 234, 166));
  c.Poly({{10, 42}, {22, 48}, {22, 50}, {10, 44}}, Rgb(170, 110, 60));
  c.Poly({{22, 46}, {52, 37}, {52, 40}, {22, 50}}, Rgb(190, 126, 66));
  c.Curve({{26, 22}, {38, 19}, {42, 23}, {30, 26}}, Glaze(Rgb(236, 180, 100), 0.8));
}

void MontBlanc(Cell& c) {
  Plate(c, 30, 48, 26, 8.5);
  c.Poly({{13, 40}, {47, 40}, {44, 48}, {16, 48}},
         c.Across(13, Rgb(236, 196, 126), 47, Rgb(196, 150, 90)));
  // A dome of chestnut cream piped in strands.
  c.Curve({{12, 42}, {16, 26}, {30, 13}, {44, 26}, {48, 42}},
          Radial(c.P(26, 24), 24, 26, Rgb(214, 168, 112), Rgb(160, 110, 64)), 6);
  for (int k = 0; k < 7; ++k) {
    c.Arc(30, 44, 17 - 2.2 * k, 28 - 3.6 * k, 192 + 4 * k, 348 - 4 * k, 1.1,
          k % 2 ? Rgb(140, 92, 52) : Rgb(226, 186, 130));
  }
  c.Ellipse(30, 13, 5.5, 4.8, c.Down(8, Rgb(196, 134, 66), 18, Rgb(120, 70, 36)));
  c.Ellipse(28.4, 11.2, 1.7, 1.2, Rgb(240, 210, 170));
  for (const Point q : {Point{22, 27}, Point{36, 22}, Point{27, 34}, Point{39, 33}})
    c.Ellipse(q.x, q.y, 0.9, 0.9, Rgb(255, 252, 246));
}

void ChocolateCake(Cell& c) {
  CakeWedge(c, Rgb(110, 60, 40), Rgb(70, 36, 24), Rgb(84, 44, 30), Rgb(96, 52, 34));
  c.Poly({{10, 38}, {22, 45}, {22, 47}, {10, 40}}, Rgb(70, 36, 24));
  for (int i = 0; i < 4; ++i)
    c.Line(16 + 8 * i, 29 - 2.4 * i, 20 + 8 * i, 23 - 2.4 * i, 1.2, Rgb(250, 236, 220));
  c.Ellipse(37, 18, 5, 3.2, kCream);
  c.Ellipse(37, 14, 4.2, 4.2, c.Down(10, Rgb(240, 60, 70), 18, Rgb(160, 10, 30)));
  c.Line(37, 10, 40, 4, 1, Rgb(110, 150, 60));
  c.Ellipse(35.8, 12.8, 1.1, 1.1, Glaze(kWhite, 0.8));
}

void FruitTart(Cell& c) {
  Plate(c, 30, 46, 27, 10);
  c.Ellipse(30, 38, 23, 10, Rgb(204, 140, 70));
  c.Ellipse(30, 36, 23, 10, Rgb(232, 178, 100));
  c.Ellipse(30, 35.5, 19.5, 8, Rgb(252, 236, 170));
  // Fruit: kiwi, strawberries, blueberries and an orange segment.
  c.Ellipse(22, 34, 5.5, 3.6, Rgb(120, 180, 60));
  c.Ellipse(22, 34, 2, 1.2, Rgb(240, 240, 200));
  c.Curve({{31, 28}, {38, 28}, {36, 36}, {33, 36}}, kStrawberry, 3);
  c.Curve({{26, 37}, {32, 39}, {28, 43}}, Rgb(230, 50, 64), 3);
  for (const Point q : {Point{38, 38}, Point{41, 34}, Point{17, 39}, Point{44, 37}}) {
    c.Ellipse(q.x, q.y, 2.4, 2.0, Rgb(60, 60, 130));
    c.Ellipse(q.x - 0.6, q.y - 0.6, 0.7, 0.6, Glaze(kWhite, 0.6));
  }
  c.Curve({{22, 29}, {28, 28}, {26, 31}}, Rgb(255, 170, 40), 3);
  c.Arc(30, 35, 18, 7, 200, 330, 1, Glaze(kWhite, 0.5));
}

void Sandwich(Cell& c) {
  Plate(c, 30, 46, 27, 9.5);
  // Two triangles standing on their cut sides: bread, egg, lettuce, tomato.
  auto triangle = [&](double u, double v, double w, double h) {
    c.Poly({{u, v + h}, {u + w, v + h}, {u + w / 2, v}}, Rgb(250, 238, 210));
    c.Poly({{u + 2.5, v + h - 1.5}, {u + w - 2.5, v + h - 1.5}, {u + w / 2, v + 4}},
           Rgb(255, 226, 120));
    c.Poly({{u + 5, v + h - 1.5}, {u + w - 5, v + h - 1.5}, {u + w / 2, v + 11}}, kLeaf);
    c.Poly({{u + 7.5, v + h - 1.5}, {u + w - 7.5, v + h - 1.5}, {u + w / 2, v + 17}},
           Rgb(230, 70, 60));
    c.Line(u + w / 2, v, u, v + h, 1.4, Rgb(214, 170, 110));
    c.Line(u + w / 2, v, u + w, v + h, 1.4, Rgb(214, 170, 110));
  };
  triangle(7, 12, 26, 34);
  triangle(27, 16, 26, 30);
}

void Toast(Cell& c) {
  Plate(c, 30, 46, 27, 9.5);
  // A thick slice standing slightly tilted, butter melting on top.
  c.Curve({{12, 22}, {18, 10}, {30, 8}, {42, 10}, {48, 22}, {47, 44}, {13, 44}}, Rgb(196, 124, 60),
          4);
  c.Curve({{15, 23}, {20, 13}, {30, 11.5}, {40, 13}, {45, 23}, {44, 41}, {16, 41}},
          c.Down(12, Rgb(252, 226, 160), 40, Rgb(238, 190, 110)), 4);
  c.RoundRect(24, 21, 12, 9, 2, Rgb(255, 236, 140));
  c.Curve({{25, 29}, {35, 29}, {33, 34}, {28, 35}}, Glaze(Rgb(255, 220, 110), 0.7), 3);
  c.RoundRect(25, 22, 5, 2, 1, Glaze(kWhite, 0.6));
}

void HotDog(Cell& c) {
  Plate(c, 30, 44, 27, 10);
  c.Curve({{5, 36}, {12, 27}, {48, 27}, {55, 36}, {48, 44}, {12, 44}},
          c.Down(27, Rgb(240, 190, 110), 44, Rgb(200, 130, 60)), 4);
  c.RoundRect(4, 27, 52, 10, 5, c.Down(27, Rgb(214, 90, 66), 37, Rgb(160, 50, 40)));
  c.Line(8, 29.5, 50, 29.5, 1.2, Glaze(kWhite, 0.35));
  std::vector<Point> zig;
  for (int i = 0; i <= 10; ++i)
    zig.push_back(c.P(9 + 4.2 * i, i % 2 == 0 ? 29.5 : 33.5));
  DrawPolyline(c.s(), zig, 1.8, Rgb(250, 210, 50));
  c.Curve({{8, 38}, {52, 38}, {48, 42}, {12, 42}},
          c.Down(38, Rgb(236, 176, 100), 42, Rgb(196, 126, 60)), 3);
}

void Napolitan(Cell& c) {
  Plate(c, 30, 41, 28, 14);
  // A heap of spaghetti in tomato sauce, strand over strand.
  c.Curve({{11, 42}, {15, 30}, {30, 22}, {45, 30}, {49, 42}, {40, 48}, {20, 48}},
          Radial(c.P(28, 30), 22, 16, Rgb(244, 130, 60), Rgb(206, 86, 40)), 4);
  Sprinkle r(44);
  for (int i = 0; i < 26; ++i) {
    const double u = r.Between(16, 44);
    const double v = r.Between(28, 45);
    const double from = r.Between(150, 330);
    c.Arc(u, v, r.Between(4, 8), r.Between(2, 4), from, from + r.Between(120, 200), 1.4,
          i % 3 ? Rgb(252, 170, 90) : Rgb(255, 200, 130));
  }
  for (const Point q : {Point{22, 34}, Point{37, 37}, Point{30, 43}}) {
    c.Ellipse(q.x, q.y, 3.2, 2.2, Rgb(196, 70, 70));
    c.Ellipse(q.x, q.y, 2.2, 1.4, Rgb(236, 140, 130));
  }
  for (const Point q : {Point{28, 30}, Point{40, 42}, Point{18, 41}})
    c.Arc(q.x, q.y, 3, 2, 180, 470, 1.6, Rgb(60, 150, 50));
  // A fork stuck in at the right.
  c.Line(45, 12, 38, 32, 2, Rgb(200, 204, 214));
  for (int i = 0; i < 3; ++i)
    c.Line(44.5 + 1.4 * i, 6, 44.5 + 1.4 * i, 12, 0.9, Rgb(200, 204, 214));
}

void OmeletteRice(Cell& c) {
  Plate(c, 30, 40, 28, 15);
  c.Curve({{10, 39}, {17, 28}, {30, 25}, {43, 28}, {50, 39}, {40, 48}, {20, 48}},
          Radial(c.P(26, 32), 24, 14, Rgb(255, 236, 120), Rgb(240, 186, 50)), 4);
  c.Arc(30, 44, 19, 4, 200, 340, 1, Glaze(Rgb(220, 160, 40), 0.7));
  // Ketchup drizzled across, parsley at the side.
  std::vector<Point> drizzle;
  for (int i = 0; i <= 12; ++i)
    drizzle.push_back(c.P(17 + 2.2 * i, 36 + 3 * std::sin(i * 1.1)));
  DrawPolyline(c.s(), drizzle, 2.6, Rgb(210, 30, 36));
  for (const Point q : {Point{48, 44}, Point{50, 46}, Point{47, 47}})
    c.Ellipse(q.x, q.y, 2, 2, Rgb(70, 150, 60));
}

void Parfait(Cell& c) {
  // A tall glass: cornflakes, cream, strawberry sauce, ice cream, fruit on top.
  c.Ellipse(30, 56, 10, 2.5, kGlass);
  c.RoundRect(28, 44, 4, 12, 1, kGlass);
  c.Poly({{17, 20}, {43, 20}, {36, 45}, {24, 45}}, kGlass);
  c.Poly({{18.5, 22}, {41.5, 22}, {40.5, 27}, {19.5, 27}}, kCream);
  c.Poly({{19.5, 27}, {40.5, 27}, {39, 33}, {21, 33}}, Rgb(236, 110, 130));
  c.Poly({{21, 33}, {39, 33}, {37.5, 38}, {22.5, 38}}, kCream);
  c.Poly({{22.5, 38}, {37.5, 38}, {35.5, 44}, {24.5, 44}}, Rgb(220, 170, 90));
  c.Line(20, 24, 24, 43, 1.4, Glaze(kWhite, 0.5));
  c.Ellipse(30, 18, 12, 5, kCream);
  c.Ellipse(25, 14, 6, 5, Rgb(250, 240, 220));
  c.Ellipse(35, 14, 6, 5, Rgb(250, 200, 214));
  c.Curve({{27, 10}, {33, 10}, {30, 3}}, Rgb(226, 40, 60), 3);
  c.Line(38, 4, 43, 16, 2.4, Rgb(220, 170, 100));
  c.Ellipse(20, 11, 2.4, 2.4, Rgb(250, 160, 40));
}

void Pudding(Cell& c) {
  Plate(c, 30, 47, 26, 8.5);
  c.Curve({{15, 46}, {45, 46}, {40, 22}, {20, 22}},
          c.Across(15, Rgb(255, 226, 120), 45, Rgb(236, 180, 70)), 3);
  c.Ellipse(30, 22, 10.5, 3.5, Rgb(150, 72, 24));
  c.Curve({{20, 22}, {40, 22}, {38, 28}, {35, 26}, {31, 29}, {27, 26}, {23, 28}}, Rgb(150, 72, 24),
          3);
  c.Ellipse(30, 18, 5.5, 3.2, kCream);
  c.Ellipse(30, 14, 3.6, 3.6, Rgb(220, 30, 50));
  c.Line(30, 11, 33, 5, 0.9, Rgb(110, 150, 60));
  c.Line(18, 30, 17, 43, 1.6, Glaze(kWhite, 0.4));
}

void Waffle(Cell& c) {
  Plate(c, 30, 45, 27, 10);
  c.Curve({{8, 34}, {22, 20}, {52, 26}, {38, 44}}, Rgb(214, 146, 66), 2);
  c.Curve({{10, 33}, {23, 22}, {50, 27}, {37, 42}}, Rgb(240, 186, 100), 2);
  for (int i = 1; i < 5; ++i) {
    c.Line(10 + 5.6 * i, 33 - 2.6 * i, 23 + 5.6 * i, 42 - 3.4 * i, 1.4, Rgb(200, 130, 60));
    c.Line(10 + 2.6 * i, 33 + 1.8 * i, 23 + 5.4 * i, 22 + 1 * i, 1.4, Rgb(200, 130, 60));
  }
  c.RoundRect(26, 26, 8, 6, 2, Rgb(255, 240, 150));
  c.Curve({{24, 31}, {36, 30}, {40, 36}, {30, 38}}, Glaze(Rgb(170, 90, 30), 0.65), 3);
}

void Pancakes(Cell& c) {
  Plate(c, 30, 48, 27, 8.5);
  for (int i = 0; i < 3; ++i) {
    const double v = 42 - 7 * i;
    c.Ellipse(30, v + 1.5, 20, 6, Rgb(190, 116, 56));
    c.Ellipse(30, v, 20, 5.5, Rgb(236, 188, 110));
    c.Ellipse(30, v - 1, 19, 5, Rgb(214, 146, 72));
  }
  c.Ellipse(30, 27, 18.5, 5, Rgb(224, 160, 84));
  c.Curve({{17, 27}, {43, 26}, {44, 33}, {40, 30}, {36, 38}, {32, 31}, {22, 34}},
          Glaze(Rgb(160, 80, 20), 0.75), 3);
  c.RoundRect(26, 21, 9, 6, 1.5, Rgb(255, 240, 150));
  c.RoundRect(27, 21.5, 4, 1.5, 0.7, Glaze(kWhite, 0.7));
}

void IceCream(Cell& c) {
  c.Poly({{19, 31}, {41, 31}, {30, 58}}, c.Across(19, Rgb(236, 184, 110), 41, Rgb(196, 136, 70)));
  for (int i = 0; i < 4; ++i) {
    c.Line(21 + 5 * i, 32, 28 + 3 * i, 50 - 4 * i, 1, Rgb(170, 110, 50));
    c.Line(39 - 5 * i, 32, 32 - 3 * i, 50 - 4 * i, 1, Rgb(170, 110, 50));
  }
  c.Curve({{17, 32}, {18, 22}, {30, 18}, {42, 22}, {43, 32}, {36, 34}, {30, 31}, {24, 34}},
          Radial(c.P(26, 24), 16, 12, Rgb(255, 252, 240), Rgb(240, 226, 200)), 4);
  c.Ellipse(30, 13, 9.5, 8.5, Radial(c.P(27, 10), 11, 10, Rgb(255, 200, 214), Rgb(240, 140, 170)));
  c.Ellipse(27, 9, 2.2, 1.6, Glaze(kWhite, 0.7));
  c.Curve({{26, 5}, {34, 5}, {30, 0.8}}, Rgb(210, 30, 50), 3);
}

}  // namespace

void DrawMenuDish(Sketch& s, double x, double y, int category, int dish) {
  Cell c(s, x, y);
  using Painter = void (*)(Cell&);
  static constexpr Painter kDishes[4][5] = {
      {Coffee, Tea, Latte, Cocoa, OrangeJuice},
      {Shortcake, Cheesecake, MontBlanc, ChocolateCake, FruitTart},
      {Sandwich, Toast, HotDog, Napolitan, OmeletteRice},
      {Parfait, Pudding, Waffle, Pancakes, IceCream},
  };
  kDishes[category - 1][dish - 1](c);
}

}  // namespace dovetail::tools
