#pragma once

#include <string_view>

#include "graphics/TextRenderer.h"
#include "host/Surface.h"
#include "screen/PictureRegions.h"

namespace dovetail::tools {

// Draws the captions of the demo's pictures: Japanese in the game's font when
// a text renderer is given, else the English caption in the pixel font (on a
// machine without the Japanese fonts the pictures still get made).
class Captions {
 public:
  explicit Captions(TextRenderer* text = nullptr) : text_(text) {}

  // Centres the caption on (cx, cy): Japanese at `points` (bold), or English
  // at `pixelScale`; `shadow` (when it differs from `colour`) one pixel block
  // down and right.
  void Draw(Surface& s, int cx, int cy, std::string_view japanese, std::string_view english,
            float points, int pixelScale, Pixel colour, Pixel shadow) const;
  // Left-aligned at (x, y), the top of the caption.
  void DrawLeft(Surface& s, int x, int y, std::string_view japanese, std::string_view english,
                float points, int pixelScale, Pixel colour) const;
  // Latin text (names, titles) in the game's font when there is one, else in
  // the pixel font, centred on (cx, cy).
  void DrawLatin(Surface& s, int cx, int cy, std::string_view text, float points, int pixelScale,
                 Pixel colour, Pixel shadow) const;

 private:
  TextRenderer* text_;
};

// The parts of the demo's user interface. Each part that appears twice (its
// normal look in a screen picture, its highlighted look in the user-interface
// sheet 90.dat) is drawn by one function, so the two looks always match.

constexpr int kTitleItems = 5;
// The panel of the title picture the menu items lie on.
constexpr Pixel kTitlePanel = Rgb(236, 214, 184);

// Title menu item i (1..5), 140 × 27: new story, continue, extra story,
// ranking, quit. Every item has the same normal look; the title screen itself
// keeps an item out of reach while it is not offered.
Surface TitleItemPicture(int i, bool highlighted, const Captions& captions);
// The ranking screen's exit button, 120 × 28.
Surface ExitButtonPicture(bool hover, const Captions& captions);
// The café board's cancel button, 158 × 30.
Surface CancelButtonPicture(bool hover, const Captions& captions);
// The plate behind a choice's text, 255 × 37: opaque to its corners, as the
// game copies it whole, and dark enough for the white caption.
Surface ChoicePlatePicture();

// Where dish (category, dish) of the menu (drawn by DrawMenuDish) lies in
// the dish region of 90.dat.
constexpr int32_t kDishSize = 60;
constexpr Rect DishCell(int category, int dish) {
  return {61 * (dish - 1), 81 * (category - 1), kDishSize, kDishSize};
}

// 90.dat: the user-interface sheet (680 × 520).
Surface UiSheet(const Captions& captions);

}  // namespace dovetail::tools
