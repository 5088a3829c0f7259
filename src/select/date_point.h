// DatePoint: one end of a selection's date range over cards. A point is a fixed card
// identifier, a period relative to today ("Month-1"), the first or last card of the database
// ("File"), the database's reference point, or a period of the time scales named by the user.
// It is resolved when its text is read and again before every scan, so a relative point follows
// the calendar.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "model/packed_date.h"
#include "select/interval_condition.h"

namespace jov {

class Database;
class PeriodNames;

enum class DatePointKind : uint8_t {
  kDate = 0,       // a card identifier as written
  kDay = 1,        // today, moved by the offset in days
  kWeek = 2,       // this week, Monday to Sunday, moved by the offset in weeks
  kMonth = 3,      // this month, moved by the offset in months
  kQuarter = 4,    // this quarter, moved by the offset in quarters
  kYear = 5,       // this year, moved by the offset in years
  kFile = 6,       // the first or the last card; this year in a database without cards
  kReference = 7,  // the database's reference point (today when unset)
  kPeriod = 8,     // a period of the database's time scales, found by its name
};

// Which end of the range a point is: the from-point resolves to the first moment of what it
// names, the to-point to the last.
enum class DateEnd : uint8_t { kFrom, kTo };

// What points resolve against. Without a database a point sees no cards, no reference point and
// no periods.
struct DateContext {
  Database* database = nullptr;
  DayCode today = kNoDay;
  // The database's registered period names, taken from it when not given.
  const PeriodNames* periods = nullptr;
};

// The context of `database` today.
DateContext TodayIn(Database& database);

class DatePoint {
 public:
  // The keywords of kinds 1-7, as written and read (ignoring case).
  static constexpr std::string_view kKeywords[] = {"Day",  "Week", "Month",    "Quarter",
                                                   "Year", "File", "Reference"};
  // Offsets are kept within this bound, which reaches past both ends of the calendar.
  static constexpr int kMaxOffset = 1'000'000;

  explicit DatePoint(DateEnd end) : end_(end) {}

  DateEnd end() const { return end_; }
  DatePointKind kind() const { return kind_; }
  int offset() const { return offset_; }
  const std::string& period_name() const { return period_name_; }
  // The resolved card identifier: the first (from) or last (to) position the point covers.
  Date date() const { return date_; }
  // Kind File without an offset: no restriction at this end.
  bool IsOpen() const { return kind_ == DatePointKind::kFile && offset_ == 0; }

  // Reads a typed or stored text and resolves it. An empty text, or one that names no date,
  // gives kind File.
  void Read(std::string_view text, const DateContext& context);
  // Resolves the kind anew: relative kinds against today, File against the cards, a period by
  // its name (a period that is gone leaves the date as it was).
  void Resolve(const DateContext& context);
  // The written form: a date as YYMMDD with "-" and the number when that is not the default of
  // its end, a keyword with its signed offset, a period as its date, a blank and its name.
  std::string Text() const;

  bool operator==(const DatePoint&) const = default;

 private:
  bool ReadKeywordForm(std::string_view text, const DateContext& context);
  void ReadDate(std::string_view text, const DateContext& context);

  DateEnd end_;
  DatePointKind kind_ = DatePointKind::kFile;
  int offset_ = 0;
  std::string period_name_;
  Date date_;
};

// The days a keyword form ("Month-1", "File", a period name) covers, from its first to its last
// position; nothing when the text is no keyword form. Card-identifier and stamp criteria use it.
std::optional<DateRange> ResolveKeywordRange(std::string_view text, const DateContext& context);

}  // namespace jov
