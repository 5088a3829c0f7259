// The one home for process-wide state: the StopRequested flag and the pending error, the alert
// sink stack, the message tables and language, the preferences (with the user's signature), the
// progress display, the separators of numbers shown to people, and typed slots in which upper
// layers keep their own process-wide values.
//
// Threading rule: everything here belongs to the thread that runs the engine, with one
// exception: the stop flag, which any thread and any signal handler may set (RequestStop) at any
// time. Tests call ResetProcess() to start from a clean state.
#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <set>
#include <vector>

#include "shell/alert.h"
#include "shell/messages.h"
#include "shell/preferences.h"

namespace jov {

// The decimal and thousand separators of numbers shown to people. A thousand separator of 0
// means none.
struct NumberSeparators {
  char decimal = '.';
  char thousand = 0;
  bool operator==(const NumberSeparators&) const = default;
};

struct PendingError {
  AlertRecord record;
  bool pending = false;
  bool reporting = false;  // guards against a report re-entering itself
};

class ProgressDisplay;
class ScopedProgress;

// A value an upper layer keeps for the whole process (the keystream's entropy, the formulas'
// random seed, ...). A kind derives from ProcessSlot, is default-constructible, and is made on
// first use by ProcessState::Slot<T>(); ResetProcess() drops every slot.
class ProcessSlot {
 public:
  virtual ~ProcessSlot() = default;
};

// The number of a slot kind, given out once per kind at its first use.
size_t NewProcessSlotIndex();

struct ProcessState {
  PendingError pending_error;
  std::vector<AlertSink*> sinks;
  const MessageTables* messages = &BuiltInMessageTables();
  std::set<int> missing_tables_reported;
  Preferences preferences;
  bool preferences_reported = false;  // a failed read or write of the preferences was reported
  // The front end's progress display, and the innermost long operation reporting to it; tests
  // give operations a clock of their own (else they use the tick count).
  ProgressDisplay* progress_display = nullptr;
  std::function<uint32_t()> progress_clock;
  ScopedProgress* progress = nullptr;
  // The system's own number separators, and those in effect: a table export sets its own for
  // the time it writes and restores them after.
  NumberSeparators system_separators;
  NumberSeparators separators;

  // The process's object of kind T, made on first use; a lookup is an index into a vector.
  template <typename T>
  T& Slot() {
    static const size_t index = NewProcessSlotIndex();
    if (index >= slots.size()) slots.resize(index + 1);
    std::unique_ptr<ProcessSlot>& slot = slots[index];
    if (!slot) slot = std::make_unique<T>();
    return static_cast<T&>(*slot);
  }
  std::vector<std::unique_ptr<ProcessSlot>> slots;
};

ProcessState& Process();
// The flag behind StopRequested (see pending_error.h). It lives outside ProcessState so that a
// signal handler or another thread never meets it while ResetProcess replaces the state.
std::atomic<bool>& StopFlag();
void ResetProcess();

}  // namespace jov
