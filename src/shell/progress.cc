#include "shell/progress.h"

#include <algorithm>

#include "platform/clock.h"
#include "shell/process.h"

namespace jov {

void SetProgressDisplay(ProgressDisplay* display) { Process().progress_display = display; }

ScopedProgress::ScopedProgress(ProgressMode mode, std::string_view file_name, int64_t total_bytes)
    : display_(Process().progress_display),
      outer_(Process().progress),
      state_(Process().progress_clock ? Process().progress_clock : TickCountMs),
      // A total estimated too low must not make every later report a step of the full bar: the
      // bar reaches its end when the operation does.
      last_position_(std::max<int64_t>((total_bytes >> 6 << 6) - 1, 0)) {
  Process().progress = this;
  if (display_ == nullptr) return;
  state_.Start(mode, file_name, total_bytes, total_bytes >= kLongOperationBytes);
  display_->Begin(state_);
}

ScopedProgress::~ScopedProgress() {
  Process().progress = outer_;
  if (display_ == nullptr) return;
  const ProgressStep step = state_.Report(state_.total_units() << 6);
  display_->Update(state_, step);
  display_->End(state_);
}

void ScopedProgress::Report(int64_t position) {
  if (display_ == nullptr) return;
  const ProgressStep step = state_.Report(std::min(position, last_position_));
  if (step.stepped) {
    display_->Update(state_, step);
  } else {
    display_->Poll();
  }
}

void ScopedProgress::Section(std::string_view text) {
  if (display_ == nullptr) return;
  state_.SetSection(text);
  display_->Update(state_, ProgressStep{});
}

void ReportProgress(int64_t position) {
  if (ScopedProgress* progress = Process().progress) progress->Report(position);
}

void ReportProgressSection(MessageId section) {
  ScopedProgress* progress = Process().progress;
  if (progress != nullptr) progress->Section(MessageText(section));
}

}  // namespace jov
