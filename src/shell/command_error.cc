#include "shell/command_error.h"

#include "shell/pending_error.h"

namespace jov {
CommandErrorAnswer RaiseCommandError(AlertRecord alert) {
  alert.kind = 1;
  alert.button_count = 0;
  alert.Button(msg::kButtonContinue).Button(msg::kButtonCancel).Button(msg::kButtonStop);
  alert.Button(msg::kLogToFile);
  alert.result = 0;
  const int answer = ReportAlert(alert);
  if (answer == static_cast<int>(CommandErrorAnswer::kCancel) ||
      answer == static_cast<int>(CommandErrorAnswer::kStop)) {
    RequestStop();
    return static_cast<CommandErrorAnswer>(answer);
  }
  return answer == static_cast<int>(CommandErrorAnswer::kLogToFile) ? CommandErrorAnswer::kLogToFile
                                                                    : CommandErrorAnswer::kContinue;
}

}  // namespace jov
