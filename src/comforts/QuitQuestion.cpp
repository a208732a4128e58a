#include "comforts/QuitQuestion.h"

#include "base/ProgramName.h"

namespace dovetail {

bool ConfirmQuit(Host& host, ComfortEvents& events, const StoryCourse& course) {
  const int32_t passed = course.progressSinceSave - (course.inClickWait ? 1 : 0);
  if (!course.running || course.ending || passed <= 0) return true;
  const MessageBoxAnswer answer =
      host.MessageBox({kQuitAskText, kAppTitle, MessageBoxButtons::OkCancel});
  const bool quit = answer == MessageBoxAnswer::Ok;
  events.Report(QuitAskEvent{quit});
  return quit;
}

}  // namespace dovetail
