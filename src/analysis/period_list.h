// The periods of an analysis over time, as it builds them while walking the cards in date
// order: a list of period ends, first the before entry (day kNoDay) for everything before the
// analysis start, then one end per period, the last one never past the analysis end.
#pragma once

#include <cstddef>
#include <vector>

#include "analysis/period_kind.h"
#include "model/packed_date.h"

namespace jov {

class TimeScale;

// Where the walk over the cards stands when it asks for its period: at a card, at one of the
// card's groups, or at one of a group's lines.
enum class WalkLevel { kCard, kGroup, kLine };

class PeriodList {
 public:
  // `scale` is used by kTimeScale only and must outlive the list; there nullptr counts as a
  // scale without entries (one period up to the analysis end).
  PeriodList(PeriodKind kind, Date start, Date end, const TimeScale* scale = nullptr);

  PeriodKind kind() const { return kind_; }
  Date start() const { return start_; }
  Date end() const { return end_; }
  const TimeScale* scale() const { return scale_; }

  // Index 0 is the before entry.
  size_t size() const { return ends_.size(); }
  Date period_end(size_t index) const { return ends_[index]; }
  size_t current() const { return ends_.size() - 1; }
  Date current_end() const { return ends_.back(); }
  // The first day of period `index` (1 and up): the analysis start, then the day after the
  // previous end.
  DayCode StartDay(size_t index) const;

  // The end the period after the current one has, for calendar kinds and time scales.
  Date NextEnd() const;
  // The first position of period `index` (1 and up): the analysis start, then the position
  // after the previous end under the database's card-number digits.
  Date PeriodStart(size_t index, int card_digits) const;
  // Appends the period after the current one, for calendar kinds and time scales; false, with
  // nothing appended, once the current period ends at the analysis end.
  bool Append();

  // Called by the walk for every card, group and line that qualifies for the analysis (that is,
  // has a line that counts), with the card's date, before it is added. Opens the periods the
  // kind asks for, calling `close(index)` for the current period before each new one:
  // - calendar kinds and time scales, at a card: every period up to the one that holds the
  //   date (none past the analysis end), empty ones included;
  // - Active Days: at a card of a later day than the current end, one period;
  // - Active Cards, Groups, Lines: one period at each card, group or line.
  // The periods of active kinds end at the card's date.
  template <typename Close>
  void Reach(WalkLevel level, Date date, Close&& close) {
    if (IsActiveKind(kind_)) {
      if (!OpensActivePeriod(level, date)) return;
      close(current());
      ends_.push_back(date);
      return;
    }
    if (level != WalkLevel::kCard) return;
    while (date > current_end() && current_end() < end_) {
      close(current());
      ends_.push_back(NextEnd());
    }
  }

 private:
  bool OpensActivePeriod(WalkLevel level, Date date) const;

  PeriodKind kind_;
  Date start_;
  Date end_;
  const TimeScale* scale_;
  std::vector<Date> ends_;
};

}  // namespace jov
