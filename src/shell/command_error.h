// Command errors: the reports of work that goes on after an error unless the user says
// otherwise (imports, command scripts). They carry the buttons "Continue", "Cancel", "Stop" and
// "Log To File..", in that order; an error log or a silent sink on top answers "Continue".
#pragma once

#include "shell/alert.h"

namespace jov {

// The answers, by button index.
enum class CommandErrorAnswer : int { kContinue = 0, kCancel = 1, kStop = 2, kLogToFile = 3 };

// Reports `alert` (kind 1) with the four buttons through the top sink. "Cancel" and "Stop"
// request a stop; the other answers let the work go on. Starting an error log is the command
// runner's part: here "Log To File.." continues as "Continue" does.
CommandErrorAnswer RaiseCommandError(AlertRecord alert);

}  // namespace jov
