// The state behind a progress display of a long operation (opening, importing, saving): its title
// and section, the bar, and the time to go, estimated from a ring of recent speeds and counted
// down second by second between estimates. Work is counted in units of 64 bytes.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

namespace jov {

enum class ProgressMode : int { kOpening = 0, kImporting = 1, kSaving = 2 };

// What one report changed, so that a display redraws only that.
struct ProgressStep {
  bool stepped = false;       // the report was taken as a step (else merged into a later one)
  bool bar_moved = false;     // the bar's right end moved right
  bool time_changed = false;  // the time-to-go text was refreshed
};

class ProgressState {
 public:
  static constexpr int kBarWidth = 272;      // pixels from the bar's left edge
  static constexpr int kNoEstimate = 32000;  // seconds to go before the first estimate
  static constexpr uint32_t kStepMs = 50;    // reports closer than this are merged
  static constexpr int kShortRing = 24;      // rates held before the first estimate
  static constexpr int kLongRing = 64;       // the same for long operations
  static constexpr int kRingGrowth = 8;      // each new estimate widens the ring by this
  static constexpr int kMaxRing = 128;
  static constexpr size_t kMaxText = 31;  // section and time texts

  // Milliseconds of a tick count; tests inject their own.
  using Clock = std::function<uint32_t()>;
  explicit ProgressState(Clock clock);

  void Start(ProgressMode mode, std::string_view file_name, int64_t total_bytes,
             bool long_operation);
  // Cut to kMaxText characters.
  void SetSection(std::string_view text);
  // The operation's position in bytes, as often as it likes: a step is taken at most every
  // kStepMs, and always when the position reaches the total.
  ProgressStep Report(int64_t position);

  ProgressMode mode() const { return mode_; }
  // "Opening @0", "Importing @0" or "Saving @0" (from msg::kFirstProgressTitle, by mode)
  // with the file name.
  std::string Title() const;
  const std::string& section() const { return section_; }
  // The time-to-go line is shown while opening and importing, not while saving.
  bool ShowsTimeToGo() const { return mode_ != ProgressMode::kSaving; }
  // The shown time text: "Estimating" until the first estimate, then TimeToGoText.
  const std::string& time_text() const { return time_text_; }
  int seconds_to_go() const { return seconds_to_go_; }
  // The bar's right end in pixels from its left edge, 0..kBarWidth.
  int bar_end() const { return bar_end_; }
  int64_t total_units() const { return total_; }
  int64_t done_units() const { return done_; }
  int ring_capacity() const { return capacity_; }

  // "2 Minutes 30 Seconds", "1 Minute 15 Seconds", "30 Seconds", "1 Second"; empty below 1.
  static std::string TimeToGoText(int seconds);

 private:
  void AddRate(double rate, uint32_t now, ProgressStep& step);
  void Estimate();

  Clock clock_;
  ProgressMode mode_ = ProgressMode::kOpening;
  std::string file_name_;
  std::string section_;
  int64_t total_ = 0;
  int64_t done_ = 0;
  uint32_t last_time_ = 0;
  int bar_end_ = 0;
  std::array<double, kMaxRing> ring_{};
  int capacity_ = kShortRing;
  int samples_ = 0;
  int ring_position_ = 0;
  double sum_ = 0;
  int seconds_to_go_ = kNoEstimate;
  bool text_timing_ = false;  // the ring was full once: the text is refreshed every second
  uint32_t next_text_time_ = 0;
  std::string time_text_;
};

}  // namespace jov
