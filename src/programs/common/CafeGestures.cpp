#include "programs/common/CafeGestures.h"

#include <cassert>

namespace dovetail {

namespace {

class Gestures {
 public:
  explicit Gestures(uint32_t at) : at_(at) {}

  void Move(int32_t x, int32_t y) { Add(InputEvent::Kind::MouseMove, x, y, MouseButton::None); }
  void Click(int32_t x, int32_t y) {
    Add(InputEvent::Kind::MouseDown, x, y, MouseButton::Left);
    Add(InputEvent::Kind::MouseUp, x, y, MouseButton::Left);
  }
  void ClickCentre(const Rect& r) { Click(r.x + r.w / 2, r.y + r.h / 2); }

  // Picks a dish: its category's face, then the dish button.
  void PickDish(const cafe::CafeTables& tables, int16_t code) {
    const int16_t category = static_cast<int16_t>(code / 100);
    const int16_t dish = static_cast<int16_t>(code % 100);
    const Rect& face = kStaffFaces[category - 1];
    Move(face.x + face.w / 2, face.y + face.h / 2);
    const cafe::MenuItem& m = tables.MenuTable[category][dish];
    Move(m.ButtonX + m.ButtonW / 2, m.ButtonY + m.ButtonH / 2);
    Click(m.ButtonX + m.ButtonW / 2, m.ButtonY + m.ButtonH / 2);
  }

  std::vector<ScriptedInput> inputs;

 private:
  void Add(InputEvent::Kind kind, int32_t x, int32_t y, MouseButton button) {
    inputs.push_back(ScriptedInput{at_, InputEvent::Mouse(kind, x, y, button)});
  }

  uint32_t at_;
};

}  // namespace

std::vector<ScriptedInput> ServingGestures(const cafe::CafeGame& cafe,
                                           const cafe::CafeTables& tables, int16_t seat,
                                           bool correct, uint32_t at) {
  const cafe::CafeStage* stage = cafe.Stage();
  assert(stage != nullptr && seat >= 1 && seat <= cafe::kSeatCount);
  const cafe::StageState& state = stage->State();
  Gestures gestures(at);
  if (state.PlateCount > 0) gestures.ClickCentre(kCancelButton);
  const cafe::DishSlots& order = state.Orders[seat];
  if (correct) {
    for (int16_t k = 1; k <= cafe::kPlateSlots && order[k] != 0; ++k)
      gestures.PickDish(tables, order[k]);
  } else if (order[1] == 0) {
    gestures.PickDish(tables, 101);
  }
  gestures.ClickCentre(Seat(seat));
  return gestures.inputs;
}

}  // namespace dovetail
