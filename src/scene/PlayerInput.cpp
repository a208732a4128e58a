#include "scene/PlayerInput.h"

namespace dovetail {

namespace {

bool IsAdvanceKey(int16_t keyCode) {
  return keyCode == kKeySpace || keyCode == kKeyReturn;
}

void ShowMessageWindow(MainForm& form, bool shown) {
  form.MesBox[0]->SetVisible(shown);
  form.MesBox[1]->SetVisible(shown);
}

}  // namespace

void WirePlayerInput(MainForm& form, StoryState& story, const int16_t& stageTimeLeft) {
  MessageState& message = story.message;
  MainForm* f = &form;
  MessageState* m = &message;
  const int16_t* stageTime = &stageTimeLeft;

  // Space and Enter continue only while the text can be read.
  auto keyDown = [f, m](const KeyEvent& event) {
    if (f->MesBox[0]->Visible() && IsAdvanceKey(event.keyCode)) m->WaitFlag = false;
  };
  // The right button brings a hidden message window back.
  auto reopen = [f] {
    ShowMessageWindow(*f, true);
    f->speedup.SetEnabled(true);
  };

  for (PictureBox* box : form.MesBox) {
    box->onKeyDown = keyDown;
    box->onMouseDown = [f, m](const MouseEvent& event) {
      if (event.button == MouseButton::Left) {
        m->WaitFlag = false;
      } else if (event.button == MouseButton::Right) {
        // Hide the window to look at the picture; this also stops skipping.
        ShowMessageWindow(*f, false);
        m->MessageMode = 1;
        f->speedup.SetCaption(kSkipOffCaption);
        f->speedup.SetEnabled(false);
      }
    };
  }

  form.PicMain.onKeyDown = keyDown;
  form.PicMain.onMouseDown = [f, m, stageTime, reopen](const MouseEvent& event) {
    if (*stageTime > 0) return;  // a café stage uses the picture
    if (event.button == MouseButton::Left) {
      if (f->MesBox[0]->Visible()) m->WaitFlag = false;
    } else if (event.button == MouseButton::Right) {
      reopen();
    }
  };

  for (PictureBox* sprite : form.Doll_Disp) {
    sprite->onKeyDown = keyDown;
    sprite->onMouseDown = [f, m, reopen](const MouseEvent& event) {
      if (event.button == MouseButton::Left) {
        if (f->MesBox[0]->Visible()) m->WaitFlag = false;
      } else if (event.button == MouseButton::Right) {
        reopen();
      }
    };
  }

  form.window.onKeyDown = keyDown;

  form.speedup.onClick = [f, m] {
    if (m->MessageMode != 0) {
      // Skip on: a running click-wait ends at once and no more come.
      m->MessageMode = 0;
      m->WaitFlag = false;
      f->speedup.SetCaption(kSkipOnCaption);
    } else {
      m->MessageMode = 1;
      m->WaitFlag = true;
      f->speedup.SetCaption(kSkipOffCaption);
    }
  };
}

void GiveKeysFirstTo(MainForm& form, std::function<bool(int16_t keyCode)> take) {
  auto wrap = [&take](std::function<void(const KeyEvent&)>& handler) {
    handler = [take, before = std::move(handler)](const KeyEvent& event) {
      if (take(event.keyCode)) return;
      if (before) before(event);
    };
  };
  for (PictureBox* box : form.MesBox)
    wrap(box->onKeyDown);
  for (PictureBox* sprite : form.Doll_Disp)
    wrap(sprite->onKeyDown);
  for (PictureBox* choice : form.SelTxt)
    wrap(choice->onKeyDown);
  for (PictureBox* item : form.Tmenu)
    if (item != nullptr) wrap(item->onKeyDown);
  wrap(form.PicMain.onKeyDown);
  wrap(form.window.onKeyDown);
}

}  // namespace dovetail
