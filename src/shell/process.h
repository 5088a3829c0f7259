// The one home for process-wide state: the StopRequested flag and the pending error, the alert
// sink stack, the message tables and language, the preferences (with the user's signature), and
// the seed of the formulas' random numbers.
// Tests call ResetProcess() to start from a clean state.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <set>
#include <vector>

#include "shell/alert.h"
#include "shell/messages.h"
#include "shell/preferences.h"

namespace jov {

struct PendingError {
  AlertRecord record;
  bool pending = false;
  bool reporting = false;  // guards against a report re-entering itself
};

class ProgressDisplay;
class ScopedProgress;

struct ProcessState {
  bool stop_requested = false;
  PendingError pending_error;
  std::vector<AlertSink*> sinks;
  const MessageTables* messages = &BuiltInMessageTables();
  std::set<int> missing_tables_reported;
  Preferences preferences;
  bool preferences_reported = false;  // a failed read or write of the preferences was reported
  // Changes at every randomised keystream so that files saved in one millisecond differ.
  uint32_t cipher_entropy = 0x2545F491;
  // The seed of the random numbers that formulas draw; empty until the first draw seeds it from
  // the tick count.
  std::optional<double> formula_random_seed;
  // The front end's progress display, and the innermost long operation reporting to it; tests
  // give operations a clock of their own (else they use the tick count).
  ProgressDisplay* progress_display = nullptr;
  std::function<uint32_t()> progress_clock;
  ScopedProgress* progress = nullptr;
};

ProcessState& Process();
void ResetProcess();

}  // namespace jov
