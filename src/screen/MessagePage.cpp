#include "screen/MessagePage.h"

namespace dovetail {

void MesClear(MainForm& form, MessagePage& page) {
  form.MesBox[0]->Cls();
  page.LineNo = 0;
  page.LastSpeaker = -1;
}

}  // namespace dovetail
