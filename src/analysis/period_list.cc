#include "analysis/period_list.h"

#include <algorithm>

#include "analysis/calendar_periods.h"
#include "analysis/period_date.h"
#include "analysis/time_scale.h"
#include "model/database.h"

namespace jov {

PeriodList::PeriodList(PeriodKind kind, Date start, Date end, const TimeScale* scale)
    : kind_(kind), start_(start), end_(end), scale_(scale), ends_{Date{}} {}

DayCode PeriodList::StartDay(size_t index) const {
  return index <= 1 ? start_.day : NextDay(ends_[index - 1].day);
}

Date PeriodList::NextEnd() const {
  const bool first = ends_.size() == 1;
  if (IsCalendarKind(kind_)) {
    return NextCalendarPeriodEnd(kind_, first ? kNoDay : current_end().day, start_, end_);
  }
  if (scale_ == nullptr) return end_;
  const Date from = first ? start_ : NextDate(current_end(), scale_->database().card_digits());
  // A period never ends before it begins, even from a start numbered below 1.
  return std::min(std::max(scale_->PeriodEnd(from), from), end_);
}

Date PeriodList::PeriodStart(size_t index, int card_digits) const {
  return index <= 1 ? start_ : NextDate(ends_[index - 1], card_digits);
}

bool PeriodList::Append() {
  if (IsActiveKind(kind_) || current_end() >= end_) return false;
  ends_.push_back(NextEnd());
  return true;
}

bool PeriodList::OpensActivePeriod(WalkLevel level, Date date) const {
  switch (kind_) {
    case PeriodKind::kActiveDays:
      return level == WalkLevel::kCard && date.day > current_end().day;
    case PeriodKind::kActiveCards:
      return level == WalkLevel::kCard;
    case PeriodKind::kActiveGroups:
      return level == WalkLevel::kGroup;
    case PeriodKind::kActiveLines:
      return level == WalkLevel::kLine;
    default:
      return false;
  }
}

}  // namespace jov
