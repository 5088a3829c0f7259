#include "analysis/time_scale_list.h"

#include <algorithm>
#include <utility>

#include "analysis/period_date.h"
#include "model/case_tables.h"
#include "shell/message_ids.h"

namespace jov {
namespace {

bool StartsWithIgnoringCase(std::string_view text, std::string_view prefix) {
  return text.size() >= prefix.size() && EqualsIgnoringCase(text.substr(0, prefix.size()), prefix);
}

// The decimal digits of a number plus one; "" counts as 0. Leading zeros are dropped first,
// so that "007" gives "8". Works on the digits, so no number is too long.
std::string Increment(std::string_view digits) {
  std::string number(digits.substr(std::min(digits.find_first_not_of('0'), digits.size())));
  for (size_t i = number.size(); i-- > 0;) {
    if (number[i] != '9') {
      ++number[i];
      return number;
    }
    number[i] = '0';
  }
  return '1' + number;
}

// The end of an entry's period as a range end: the position before the next entry's start, or
// for the last entry the end of its start year.
Date EntryRangeEnd(const std::vector<TimeScaleEntry>& entries, size_t index, int card_digits) {
  if (index + 1 < entries.size()) return PreviousDate(entries[index + 1].start, card_digits);
  const DayCode start = entries[index].start.day;
  if (start == kNoDay) return Date{};
  return Date{PackDay(UnpackDay(start).year, 12, 31), kEndOfDay};
}

}  // namespace

// "Name" gives "Name 1", "Name 1" gives "Name 2", "Name 9" "Name 10".
std::string NextNumberedName(std::string_view name) {
  const size_t digits = name.find_last_not_of("0123456789") + 1;  // npos + 1 is 0
  std::string next(name.substr(0, digits));
  if (!next.empty() && next.back() != ' ') next += ' ';
  return next + Increment(name.substr(digits));
}

// Both the list and the hook live as long as the database, so the hook never outlives the list
// while anything can ask it.
TimeScaleList::TimeScaleList(Database& database) : database_(database) {
  database_.Attached<PeriodNamesHook>().source = this;
}

int TimeScaleList::IndexOf(const TimeScale& scale) const {
  const auto it = std::find_if(scales_.begin(), scales_.end(),
                               [&](const auto& owned) { return owned.get() == &scale; });
  return static_cast<int>(it - scales_.begin());
}

TimeScale* TimeScaleList::Find(std::string_view name) const {
  for (const auto& scale : scales_) {
    if (EqualsIgnoringCase(scale->name(), name)) return scale.get();
  }
  return nullptr;
}

TimeScale& TimeScaleList::Create(std::string_view name) {
  scales_.push_back(std::unique_ptr<TimeScale>(new TimeScale(*this, UniqueName(name))));
  TimeScale& scale = *scales_.back();
  Announce(ChangeCode::kTimeScaleAdded, scale);
  return scale;
}

void TimeScaleList::Remove(TimeScale& scale) {
  const int index = IndexOf(scale);
  if (index == static_cast<int>(scales_.size())) return;
  scales_.erase(scales_.begin() + index);
  database_.MarkModified();
  database_.Notify(ChangeCode::kTimeScaleRemoved, index);
}

std::string TimeScaleList::UniqueName(std::string_view name, const TimeScale* except) const {
  std::string unique = SingleLineName(name);
  if (unique.empty()) unique = MessageText(msg::kTimeScaleName);
  const auto taken = [&](std::string_view candidate) {
    return std::any_of(scales_.begin(), scales_.end(), [&](const auto& scale) {
      return scale.get() != except && EqualsIgnoringCase(scale->name(), candidate);
    });
  };
  while (taken(unique)) unique = NextNumberedName(unique);
  return unique;
}

Date TimeScaleList::PeriodByName(std::string_view text, int offset, DateBound bound) const {
  text.remove_prefix(std::min(text.find_first_not_of(' '), text.size()));
  if (text.empty()) return Date{};
  for (const auto& scale : scales_) {
    const std::vector<TimeScaleEntry>& entries = scale->entries();
    for (size_t i = 0; i < entries.size(); ++i) {
      if (!StartsWithIgnoringCase(entries[i].name, text)) continue;
      const int64_t moved = static_cast<int64_t>(i) + offset;
      if (moved < 0 || moved >= static_cast<int64_t>(entries.size())) return Date{};
      const size_t index = static_cast<size_t>(moved);
      if (bound == DateBound::kStart) return entries[index].start;
      return EntryRangeEnd(entries, index, database_.card_digits());
    }
  }
  return Date{};
}

void TimeScaleList::Announce(ChangeCode code, const TimeScale& scale) {
  database_.MarkModified();
  database_.Notify(code, IndexOf(scale));
}

}  // namespace jov
