// A time scale: a named list of dated, named periods that a database owns, edits in its time
// scale window and stores in its text files. Each entry's period runs from its start up to just
// before the next entry's start; the last one has no end.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "model/packed_date.h"

namespace jov {

class Database;
class TimeScaleList;

struct TimeScaleEntry {
  static constexpr size_t kMaxName = 63;

  Date start;        // (kNoDay, 0) when the row has no date
  std::string name;  // at most kMaxName characters, may be empty

  // A row with neither a date nor a name.
  bool empty() const { return start.day == kNoDay && name.empty(); }
  // Equal dates and exactly equal names; a vector of entries compares pairwise with it.
  bool operator==(const TimeScaleEntry&) const = default;
};

// An end that never comes: the end of a scale's last period, or of a scale without entries.
inline constexpr Date kUnboundedDate{static_cast<DayCode>(kEndOfDay), kEndOfDay};

struct PeriodBounds {
  Date start;  // (kNoDay, 0) before the first entry
  Date end;    // kUnboundedDate for the last entry
  bool operator==(const PeriodBounds&) const = default;
};

class TimeScale {
 public:
  TimeScale(const TimeScale&) = delete;
  TimeScale& operator=(const TimeScale&) = delete;

  const std::string& name() const { return name_; }
  const std::vector<TimeScaleEntry>& entries() const { return entries_; }
  Database& database() const;

  // Takes `name` made unique among the database's time scales (see TimeScaleList::UniqueName)
  // and notifies when it differs.
  void Rename(std::string_view name);
  // Replaces the entries as they are (names made single-line and cut to kMaxName) and
  // notifies, unless they equal the present ones.
  void SetEntries(std::vector<TimeScaleEntry> entries);
  // Takes the rows of the time scale window: empty rows are dropped, from the last one up,
  // while more than one row remains; the rest are sorted by start, rows with equal starts
  // keeping their order.
  void ApplyEdit(std::vector<TimeScaleEntry> rows);

  // The entry whose period holds `date`: the last one that starts on or before it; -1 when no
  // entry does.
  int EntryIndex(Date date) const;
  PeriodBounds PeriodOf(Date date) const;
  Date PeriodEnd(Date date) const { return PeriodOf(date).end; }
  // The entry's name; empty before the first entry.
  std::string_view PeriodName(Date date) const;

 private:
  friend class TimeScaleList;
  TimeScale(TimeScaleList& list, std::string name) : list_(list), name_(std::move(name)) {}

  TimeScaleList& list_;
  std::string name_;
  std::vector<TimeScaleEntry> entries_;
};

// A name as time scales keep it: every byte below 32 (tab, line breaks) becomes a blank, so
// that it stays one field of one line in a text database, and it is cut to `max_length`.
std::string SingleLineName(std::string_view text, size_t max_length = std::string::npos);

// One line of pasted or stored entries: the start (read as the start of a range, Card ID
// form) in the first field, the name, trailing blanks removed, in the second. The start is
// (kNoDay, 0) when the first field has no digit.
TimeScaleEntry ParseEntryLine(std::string_view line);

// Pastes text into the window's rows: each line with both a date and a name fills the last
// row when that row is empty, else it is appended.
void PasteEntryLines(std::vector<TimeScaleEntry>& rows, std::string_view text);

}  // namespace jov
