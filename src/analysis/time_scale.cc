#include "analysis/time_scale.h"

#include <algorithm>
#include <utility>

#include "analysis/period_date.h"
#include "analysis/time_scale_list.h"

namespace jov {
namespace {

// The text up to the first tab (all of it without one); `rest` gets what follows the tab.
std::string_view TakeField(std::string_view& rest) {
  const size_t tab = rest.find('\t');
  const std::string_view field = rest.substr(0, tab);
  rest = tab == std::string_view::npos ? std::string_view() : rest.substr(tab + 1);
  return field;
}

std::string_view WithoutTrailingBlanks(std::string_view text) {
  const size_t last = text.find_last_not_of(' ');
  return last == std::string_view::npos ? std::string_view() : text.substr(0, last + 1);
}

// Drops the empty rows, from the last to the first, while more than one row remains.
void DropEmptyRows(std::vector<TimeScaleEntry>& rows) {
  for (size_t i = rows.size(); i-- > 0 && rows.size() > 1;) {
    if (rows[i].empty()) rows.erase(rows.begin() + static_cast<std::ptrdiff_t>(i));
  }
}

}  // namespace

// --- TimeScale -------------------------------------------------------------------------------

Database& TimeScale::database() const { return list_.database(); }

void TimeScale::Rename(std::string_view name) {
  std::string unique = list_.UniqueName(name, this);
  if (unique == name_) return;
  name_ = std::move(unique);
  list_.Announce(ChangeCode::kTimeScaleRenamed, *this);
}

void TimeScale::SetEntries(std::vector<TimeScaleEntry> entries) {
  for (TimeScaleEntry& entry : entries) {
    entry.name = SingleLineName(entry.name, TimeScaleEntry::kMaxName);
  }
  if (entries == entries_) return;
  entries_ = std::move(entries);
  list_.Announce(ChangeCode::kTimeScaleChanged, *this);
}

void TimeScale::ApplyEdit(std::vector<TimeScaleEntry> rows) {
  DropEmptyRows(rows);
  std::stable_sort(rows.begin(), rows.end(), [](const TimeScaleEntry& a, const TimeScaleEntry& b) {
    return a.start < b.start;
  });
  SetEntries(std::move(rows));
}

int TimeScale::EntryIndex(Date date) const {
  // From the back, so that a list read out of order from a file still yields an entry whose
  // successor starts after the date.
  for (size_t i = entries_.size(); i-- > 0;) {
    if (entries_[i].start <= date) return static_cast<int>(i);
  }
  return -1;
}

PeriodBounds TimeScale::PeriodOf(Date date) const {
  if (entries_.empty()) return {Date{}, kUnboundedDate};
  const int index = EntryIndex(date);
  const size_t next = static_cast<size_t>(index + 1);
  const Date start = index < 0 ? Date{} : entries_[static_cast<size_t>(index)].start;
  if (next == entries_.size()) return {start, kUnboundedDate};
  return {start, StepBackFromBoundary(entries_[next].start)};
}

std::string_view TimeScale::PeriodName(Date date) const {
  const int index = EntryIndex(date);
  return index < 0 ? std::string_view() : entries_[static_cast<size_t>(index)].name;
}

// --- Entry text ----------------------------------------------------------------------------

std::string SingleLineName(std::string_view text, size_t max_length) {
  std::string name(text.substr(0, max_length));
  for (char& c : name) {
    if (static_cast<unsigned char>(c) < 32) c = ' ';
  }
  return name;
}

TimeScaleEntry ParseEntryLine(std::string_view line) {
  std::string_view rest = line;
  const std::string_view date_field = TakeField(rest);
  // Cut and made single-line before the trailing blanks go, so that the name reads back as
  // it is written.
  const std::string name = SingleLineName(TakeField(rest), TimeScaleEntry::kMaxName);
  TimeScaleEntry entry;
  entry.start = ReadCardId(date_field, DateBound::kStart);
  if (entry.start.day == kNoDay) entry.start = Date{};
  entry.name = WithoutTrailingBlanks(name);
  return entry;
}

void PasteEntryLines(std::vector<TimeScaleEntry>& rows, std::string_view text) {
  while (!text.empty()) {
    const size_t end = std::min(text.find_first_of("\r\n"), text.size());
    TimeScaleEntry entry = ParseEntryLine(text.substr(0, end));
    text.remove_prefix(std::min(end + 1, text.size()));
    if (entry.start.day == kNoDay || entry.name.empty()) continue;
    if (!rows.empty() && rows.back().empty()) {
      rows.back() = std::move(entry);
    } else {
      rows.push_back(std::move(entry));
    }
  }
}

}  // namespace jov
