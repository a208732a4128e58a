#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "base/Result.h"
#include "screen/SceneContext.h"
#include "sound/Sound.h"
#include "story/Interpreter.h"

namespace dovetail {

class SceneEvents;

// The choice entries an "s" record offers: CurText holds how many (1 to 6),
// the entries follow one another from the first owned by CurLabel, which
// FindChoices puts into ChoiceBase. Returns the count; a count that is not a
// number from 1 to 6 or entries running past the table is an error saying
// so, and a label without entries the error "" (FindChoices has reported it).
Result<int> OfferedChoices(StoryState& story, Interpreter& interpreter);

// The choices of an "s" record: up to six buttons (SelTxt) over the picture,
// each with the plate from the user-interface sheet and its caption. The story
// waits until the player picks one and then continues at the record the chosen
// entry names. Choosing always ends skip mode and is reported (ChoiceEvent).
class Choices {
 public:
  // Wires the buttons' mouse events (any mouse button) to this object. The
  // interpreter finds the choice entries; the press sound plays through `sound`.
  Choices(const SceneContext& scene, SceneEvents& events, Interpreter& interpreter, Sound& sound);
  Choices(const Choices&) = delete;
  Choices& operator=(const Choices&) = delete;

  // The script command "s": CurText holds the number of choices, the entries
  // are the choice table's entries owned by CurLabel. Returns 1 (ScriptPos is
  // the chosen target). A count that is not a number from 1 to 6, a label
  // without entries or entries running past the table are reported as content
  // errors and the story goes on with the next record (returns 2).
  int32_t ShowChoices();

  // A press draws the button pressed and plays sound 105; the release flashes
  // it and chooses it. The window sends the release to the pressed button.
  void SelTxt_MouseDown(int index);
  void SelTxt_MouseUp(int index);

  // Keyboard play while a choice is open (none of it in the original): keys 1
  // to 6, on the main keys or the keypad, take that option as a press and
  // release of its button would; the arrow keys move the highlight (the
  // pressed look a mouse press gives) and Enter takes the highlighted option.
  // True when the key was a choice's.
  bool KeyDown(int16_t keyCode);
  // Lets the keys above reach the choice first, whichever box has the focus;
  // other keys go on to the handlers set before (the player's input).
  void WireKeys();

  // −1 while a choice is open, else the number of the chosen button.
  int16_t ChoiceResult = -1;
  // True while a choice waits for the player.
  bool Open() const { return open_; }

 private:
  // One shown choice: its caption (trimmed) and its target record position.
  struct Shown {
    std::string text;
    int32_t target = 0;
  };

  void DrawButton(int index, bool pressed);
  int32_t ContentError(const std::string& what);

  MainForm& form_;
  StoryState& story_;
  MessagePage& page_;
  Host& host_;
  Interpreter& interpreter_;
  TextRenderer& text_;
  SceneEvents& events_;
  Sound& sound_;
  // The choices of the open (or last) "s" record.
  std::vector<Shown> choices_;
  bool open_ = false;
  // The option the arrow keys highlight; −1: none.
  int highlighted_ = -1;
};

}  // namespace dovetail
