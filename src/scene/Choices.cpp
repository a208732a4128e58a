#include "scene/Choices.h"

#include "base/Numbers.h"
#include "base/Utf8.h"
#include "host/Surface.h"
#include "scene/PlayerInput.h"
#include "scene/SceneEvents.h"
#include "screen/PictureRegions.h"

namespace dovetail {

namespace {

// The caption's place on the button plate (kChoicePlate of the sheet).
constexpr int32_t kCaptionLeft = 15;
constexpr int32_t kCaptionTop = 10;

constexpr int kMaxChoices = 6;
constexpr int32_t kPressSound = 105;
constexpr uint32_t kPollMs = 30;
constexpr uint32_t kFlashMs = 50;

// The pressed look: the button's face (plate and caption) merge-painted onto
// a black button, which gives its colour negative. Merge-painting the plate
// over the face already drawn would turn every plate pixel white and leave
// only specks where the smoothed caption's edges were; the negative keeps
// every caption pixel apart from the plate, so a pressed choice stays
// readable while it lights up.
void PressFace(Surface& image, int32_t width, int32_t height) {
  const Surface face = image;
  image.FillRect(0, 0, width, height, kBlack);
  BitBlt(image, 0, 0, width, height, face, 0, 0, RasterOp::MergePaint);
}

}  // namespace

Choices::Choices(const SceneContext& scene, SceneEvents& events, Interpreter& interpreter,
                 Sound& sound)
    : form_(scene.form),
      story_(scene.story),
      page_(scene.page),
      host_(scene.host),
      interpreter_(interpreter),
      text_(scene.text),
      events_(events),
      sound_(sound) {
  for (int k = 0; k < kMaxChoices; ++k) {
    PictureBox& button = *form_.SelTxt[k];
    button.onMouseDown = [this, k](const MouseEvent&) { SelTxt_MouseDown(k); };
    button.onMouseUp = [this, k](const MouseEvent&) { SelTxt_MouseUp(k); };
  }
}

int32_t Choices::ContentError(const std::string& what) {
  host_.MessageBox({"Script error at label " + std::to_string(story_.CurLabel) + ": " + what,
                    kAppTitle, MessageBoxButtons::Ok});
  return kAdvance;
}

void Choices::DrawButton(int index, bool pressed) {
  PictureBox& button = *form_.SelTxt[index];
  const Rect plate = kChoicePlate;
  BitBlt(button.Image(), 0, 0, plate.w, plate.h, form_.GItems.Image(), plate.x, plate.y);
  text_.DrawText(button, kCaptionLeft, kCaptionTop, choices_[index].text);
  if (pressed) PressFace(button.Image(), plate.w, plate.h);
  button.Refresh();
}

Result<int> OfferedChoices(StoryState& story, Interpreter& interpreter) {
  const auto count = ToInt16(story.CurText);
  if (!count.ok()) return Error{"the number of choices " + count.error().message};
  if (*count < 1 || *count > kMaxChoices) {
    return Error{"the number of choices \"" + story.CurText + "\" is not from 1 to 6"};
  }
  const int n = *count;
  // A label without entries has been reported; showing the entries of
  // whatever label was found before would offer the wrong choices.
  if (!interpreter.FindChoices(story.CurLabel)) return Error{""};
  const ScriptTables& tables = story.tables;
  const int32_t last = story.ChoiceBase + n - 1;
  if (last > tables.LastChoice || last >= kChoiceCapacity) {
    return Error{std::to_string(n) + " choices need choice entries " +
                 std::to_string(story.ChoiceBase) + " to " + std::to_string(last) +
                 ", but the choice table ends at entry " + std::to_string(tables.LastChoice)};
  }
  return n;
}

int32_t Choices::ShowChoices() {
  choices_.clear();
  const auto offered = OfferedChoices(story_, interpreter_);
  if (!offered.ok()) {
    return offered.error().message.empty() ? kAdvance : ContentError(offered.error().message);
  }
  const int n = *offered;
  const ScriptTables& tables = story_.tables;

  // No click-wait indicator while choosing.
  form_.Clicker.SetEnabled(false);
  form_.Blinker.visible = false;

  for (int k = 0; k < n; ++k) {
    const ChoiceEntry& entry = tables.ChoiceTable[story_.ChoiceBase + k];
    choices_.push_back({std::string(TrimBlanks(entry.Text)), entry.Target});
    PictureBox& button = *form_.SelTxt[k];
    button.SetForeColor(kWhite);
    DrawButton(k, false);
    button.SetVisible(true);
  }
  form_.window.Invalidate();

  story_.CurJump = 0;
  ChoiceResult = -1;
  highlighted_ = -1;
  open_ = true;
  while (ChoiceResult < 0)
    host_.WaitForPlayer(kPollMs);
  open_ = false;

  for (int k = 0; k < n; ++k)
    form_.SelTxt[k]->SetVisible(false);
  host_.DoEvents();

  story_.ScriptPos = choices_[ChoiceResult].target;

  // Skipping always stops at a choice.
  MessageState& message = story_.message;
  if (message.MessageMode == 0) {
    message.MessageMode = 1;
    form_.speedup.SetCaption(kSkipOffCaption);
    form_.speedup.SetEnabled(true);
  }
  // A following narration line continues the page instead of clearing it.
  page_.LastSpeaker = 0;

  ChoiceEvent chosen{{}, ChoiceResult};
  chosen.texts.reserve(choices_.size());
  for (const Shown& shown : choices_)
    chosen.texts.push_back(shown.text);
  events_.Report(chosen);
  return kJumped;
}

bool Choices::KeyDown(int16_t keyCode) {
  if (!open_ || ChoiceResult >= 0) return false;
  const int count = static_cast<int>(choices_.size());
  int picked = -1;
  if (keyCode > kKeyDigit0 && keyCode <= kKeyDigit0 + count) picked = keyCode - kKeyDigit0 - 1;
  if (keyCode > kKeyNumpad0 && keyCode <= kKeyNumpad0 + count) picked = keyCode - kKeyNumpad0 - 1;
  if (keyCode == kKeyReturn && highlighted_ >= 0) picked = highlighted_;
  if (picked >= 0) {
    SelTxt_MouseDown(picked);
    SelTxt_MouseUp(picked);
    return true;
  }
  const bool back = keyCode == kKeyUp || keyCode == kKeyLeft;
  const bool on = keyCode == kKeyDown || keyCode == kKeyRight;
  if (!back && !on) return false;
  const int next =
      highlighted_ < 0 ? (back ? count - 1 : 0) : (highlighted_ + (back ? count - 1 : 1)) % count;
  if (highlighted_ >= 0) DrawButton(highlighted_, false);
  highlighted_ = next;
  DrawButton(highlighted_, true);
  return true;
}

void Choices::WireKeys() {
  GiveKeysFirstTo(form_, [this](int16_t keyCode) { return KeyDown(keyCode); });
}

void Choices::SelTxt_MouseDown(int index) {
  if (!open_ || index < 0 || index >= static_cast<int>(choices_.size())) return;
  DrawButton(index, true);
  sound_.PlayWave(kPressSound);
}

void Choices::SelTxt_MouseUp(int index) {
  if (!open_ || index < 0 || index >= static_cast<int>(choices_.size())) return;
  DrawButton(index, false);
  host_.Sleep(kFlashMs);
  DrawButton(index, true);
  host_.Sleep(kFlashMs);
  // The button stays pressed until it is hidden.
  ChoiceResult = static_cast<int16_t>(index);
}

}  // namespace dovetail
