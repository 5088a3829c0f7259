// Progress reports of long operations: an operation opens a ScopedProgress for its lifetime and
// reports its byte position and sections; the front end's ProgressDisplay, installed in the
// process state, shows them (a dialog, a bar on a terminal) and may stop the operation through
// StopRequested. Without a display the reports cost a pointer test.
#pragma once

#include <cstdint>
#include <string_view>

#include "shell/messages.h"
#include "shell/progress_state.h"

namespace jov {

class ProgressDisplay {
 public:
  virtual ~ProgressDisplay() = default;
  virtual void Begin(const ProgressState& state) = 0;
  // After every step and every change of section.
  virtual void Update(const ProgressState& state, const ProgressStep& step) = 0;
  // After every report that was merged into a later step: a front end that runs its event loop
  // from the reports may do so here too, so that it answers sooner than once a step.
  virtual void Poll() {}
  virtual void End(const ProgressState& state) = 0;
};

// The display that operations report to; nullptr shows nothing. The caller keeps ownership.
void SetProgressDisplay(ProgressDisplay* display);

// One operation's progress. Operations nest (a script run while a file is read saves another
// file): reports go to the innermost one.
class ScopedProgress {
 public:
  // Operations of at least this many bytes keep a longer ring of rates.
  static constexpr int64_t kLongOperationBytes = int64_t{8} << 20;

  ScopedProgress(ProgressMode mode, std::string_view file_name, int64_t total_bytes);
  ~ScopedProgress();
  ScopedProgress(const ScopedProgress&) = delete;
  ScopedProgress& operator=(const ScopedProgress&) = delete;

  void Report(int64_t position);
  void Section(std::string_view text);

 private:
  ProgressDisplay* display_;
  ScopedProgress* outer_;
  ProgressState state_;
  int64_t last_position_;  // positions stop short of it until the operation ends
};

// Report to the innermost operation; nothing when there is none.
void ReportProgress(int64_t position);
void ReportProgressSection(MessageId section);

}  // namespace jov
