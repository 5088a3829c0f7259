#include "shell/progress_state.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "shell/alert.h"
#include "shell/message_ids.h"

namespace jov {
namespace {

std::string Cut(std::string text) {
  if (text.size() > ProgressState::kMaxText) text.resize(ProgressState::kMaxText);
  return text;
}

// Tick counts wrap around; differences are taken modulo 2^32.
bool Reached(uint32_t now, uint32_t when) { return static_cast<int32_t>(now - when) >= 0; }

}  // namespace

ProgressState::ProgressState(Clock clock) : clock_(std::move(clock)) {}

void ProgressState::Start(ProgressMode mode, std::string_view file_name, int64_t total_bytes,
                          bool long_operation) {
  mode_ = mode;
  file_name_ = std::string(file_name);
  section_.clear();
  total_ = std::max<int64_t>(total_bytes, 0) >> 6;
  done_ = 0;
  last_time_ = clock_();
  bar_end_ = 0;
  capacity_ = long_operation ? kLongRing : kShortRing;
  samples_ = 0;
  ring_position_ = 0;
  sum_ = 0;
  seconds_to_go_ = kNoEstimate;
  text_timing_ = false;
  next_text_time_ = 0;
  time_text_ = MessageText(msg::kEstimating);
}

void ProgressState::SetSection(std::string_view text) { section_ = Cut(std::string(text)); }

std::string ProgressState::Title() const {
  AlertRecord title(msg::kFirstProgressTitle + static_cast<int>(mode_));
  title.Arg(file_name_);
  return title.ComposeText();
}

ProgressStep ProgressState::Report(int64_t position) {
  ProgressStep step;
  const uint32_t now = clock_();
  const int64_t d = std::max<int64_t>(position, 0) >> 6;
  const uint32_t elapsed = now - last_time_;
  if (elapsed < kStepMs && d < total_) return step;
  step.stepped = true;
  // The last step may come in the same millisecond as the one before: it has no rate.
  if (elapsed > 0) AddRate(static_cast<double>(d - done_) / elapsed, now, step);
  done_ = d;
  last_time_ = now;
  const int end = d < total_ ? static_cast<int>(d * kBarWidth / total_) : kBarWidth;
  if (end > bar_end_) {
    bar_end_ = end;
    step.bar_moved = true;
  }
  return step;
}

void ProgressState::AddRate(double rate, uint32_t now, ProgressStep& step) {
  if (samples_ < capacity_) {
    ring_[samples_++] = rate;
    sum_ += rate;
  } else {
    sum_ += rate - ring_[ring_position_];
    ring_[ring_position_] = rate;
    ring_position_ = (ring_position_ + 1) % capacity_;
  }
  if (samples_ < capacity_) return;
  if (!text_timing_) {
    text_timing_ = true;
    next_text_time_ = now;
  }
  if (!Reached(now, next_text_time_)) return;
  if (seconds_to_go_ > 0) Estimate();
  const std::string text =
      seconds_to_go_ == kNoEstimate ? MessageText(msg::kEstimating) : TimeToGoText(seconds_to_go_);
  step.time_changed = text != time_text_;
  time_text_ = text;
  const uint32_t k = (now - next_text_time_) / 1000 + 1;
  // Without an estimate there is nothing to count down.
  if (seconds_to_go_ != kNoEstimate) seconds_to_go_ -= static_cast<int>(k);
  next_text_time_ += k * 1000;
}

void ProgressState::Estimate() {
  const double speed = sum_ / samples_ * 1000;  // units per second
  if (!(speed > 0)) return;                     // stalled: keep what is shown
  const double exact = std::floor(static_cast<double>(total_ - done_) / speed + 0.5);
  const int s = static_cast<int>(std::clamp(exact, 0.0, kNoEstimate - 1.0));
  if (std::abs(s - seconds_to_go_) * 4 / (s + 8) == 0) return;
  if (seconds_to_go_ < kNoEstimate) capacity_ = std::min(capacity_ + kRingGrowth, kMaxRing);
  seconds_to_go_ = s;
}

std::string ProgressState::TimeToGoText(int seconds) {
  if (seconds >= 120) {
    AlertRecord text(msg::kMinutesSeconds);
    return Cut(text.Arg(seconds / 60).Arg(seconds % 60).ComposeText());
  }
  if (seconds >= 60) {
    AlertRecord text(msg::kOneMinuteSeconds);
    return Cut(text.Arg(seconds - 60).ComposeText());
  }
  if (seconds >= 2) {
    AlertRecord text(msg::kSeconds);
    return Cut(text.Arg(seconds).ComposeText());
  }
  return seconds == 1 ? MessageText(msg::kOneSecond) : std::string();
}

}  // namespace jov
