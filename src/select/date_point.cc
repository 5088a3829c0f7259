#include "select/date_point.h"

#include <algorithm>

#include "model/case_tables.h"
#include "model/database.h"
#include "select/criterion_text.h"
#include "select/period_names.h"

namespace jov {
namespace {

// Relative points stay within the years that two-digit card identifiers can write.
constexpr int kFirstYear = 1900;
constexpr int kLastYear = 2027;
// A date written before a period name has at least this many digits (YYMMDD).
constexpr int kDateDigits = 6;

struct KeywordForm {
  DatePointKind kind;
  int offset = 0;
  std::string name;
};

// The signed number at the start of `text` ("+3", "- 2"); 0 when there is none. Kept within
// the offset bound.
int ReadOffset(std::string_view text) {
  text = TrimBlanksView(text);
  if (text.empty() || (text[0] != '+' && text[0] != '-')) return 0;
  const bool negative = text[0] == '-';
  text = TrimBlanksView(text.substr(1));
  int64_t value = 0;
  for (size_t i = 0; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
    value = std::min<int64_t>(value * 10 + (text[i] - '0'), DatePoint::kMaxOffset);
  }
  return static_cast<int>(negative ? -value : value);
}

bool NamesPeriod(const PeriodNames* periods, std::string_view name) {
  return periods != nullptr && !name.empty() &&
         periods->PeriodByName(name, 0, DateBound::kStart).day != kNoDay;
}

// A keyword with its offset, or a period name with its offset; nothing for any other text.
std::optional<KeywordForm> ParseKeywordForm(std::string_view text, const PeriodNames* periods) {
  const size_t sign = text.find_first_of("+-");
  const std::string_view head = TrimBlanksView(text.substr(0, sign));
  const std::string_view tail = sign == std::string_view::npos ? "" : text.substr(sign);
  for (size_t k = 0; k < std::size(DatePoint::kKeywords); ++k) {
    if (EqualsIgnoringCase(head, DatePoint::kKeywords[k])) {
      return KeywordForm{static_cast<DatePointKind>(k + 1), ReadOffset(tail), {}};
    }
  }
  const std::string_view whole = TrimBlanksView(text);
  if (NamesPeriod(periods, whole))
    return KeywordForm{DatePointKind::kPeriod, 0, std::string(whole)};
  if (sign != std::string_view::npos && NamesPeriod(periods, head)) {
    return KeywordForm{DatePointKind::kPeriod, ReadOffset(tail), std::string(head)};
  }
  return std::nullopt;
}

const PeriodNames* PeriodsOf(const DateContext& context) {
  if (context.periods != nullptr || context.database == nullptr) return context.periods;
  return PeriodNamesOf(*context.database);
}

DayCode TodayOf(const DateContext& context) {
  return context.today != kNoDay ? context.today : Today();
}

// The day `offset` days after `day`, kept within the calendar's years.
DayCode MoveDays(DayCode day, int64_t offset) {
  const int64_t first = DayNumber(kFirstYear, 1, 1);
  const int64_t last = DayNumber(kLastYear, 12, 31);
  return DayCodeFromNumber(
      static_cast<int32_t>(std::clamp<int64_t>(DayNumber(day) + offset, first, last)));
}

// A run of whole days as a range: the first day's first card to the last day's end.
DateRange DaysRange(DayCode first, DayCode last) { return {{first, 1}, {last, kEndOfDay}}; }

// The months (a month index counted from year 0) `count` months long, starting at `start`,
// kept within the calendar's years.
DateRange MonthsRange(int64_t start, int count) {
  start =
      std::clamp<int64_t>(start, int64_t{kFirstYear} * 12, int64_t{kLastYear} * 12 + 12 - count);
  const int year = static_cast<int>(start / 12);
  const int month = static_cast<int>(start % 12) + 1;
  const int last_month = month + count - 1;
  return DaysRange(PackDay(year, month, 1),
                   PackDay(year, last_month, DaysInMonth(year, last_month)));
}

// The range of a relative kind, today and the database's cards and reference point.
DateRange RelativeRange(DatePointKind kind, int offset, const DateContext& context) {
  const DayCode today = TodayOf(context);
  const CalendarDate now = UnpackDay(today);
  const int64_t month_index = int64_t{now.year} * 12 + now.month - 1;
  switch (kind) {
    case DatePointKind::kDay: {
      const DayCode day = MoveDays(today, offset);
      return DaysRange(day, day);
    }
    case DatePointKind::kWeek: {
      const int from_monday = (DayOfWeek(DayNumber(today)) + 6) % 7;
      const DayCode monday = MoveDays(today, int64_t{offset} * 7 - from_monday);
      return DaysRange(monday, MoveDays(monday, 6));
    }
    case DatePointKind::kMonth:
      return MonthsRange(month_index + offset, 1);
    case DatePointKind::kQuarter:
      return MonthsRange((month_index / 3 + offset) * 3, 3);
    case DatePointKind::kYear:
      return MonthsRange((int64_t{now.year} + offset) * 12, 12);
    case DatePointKind::kFile: {
      // The cards' first and last identifiers, moved by the offset in days.
      Database* db = context.database;
      if (db == nullptr || db->cards().FirstCard() == kCardSentinel) {
        return MonthsRange(int64_t{now.year} * 12, 12);
      }
      const CardStore& cards = db->cards();
      Date first = cards.CardId(cards.FirstCard()), last = cards.CardId(cards.LastCard());
      first.day = MoveDays(first.day, offset);
      last.day = MoveDays(last.day, offset);
      return {first, last};
    }
    case DatePointKind::kReference: {
      const DayCode set =
          context.database != nullptr ? context.database->reference_point().day : kNoDay;
      const DayCode day = MoveDays(set != kNoDay ? set : today, offset);
      return DaysRange(day, day);
    }
    default:
      return DaysRange(today, today);
  }
}

// The number of the last card of `day`; 0 when the day has none.
Sequence LastSequenceOfDay(CardStore& cards, DayCode day) {
  const CardRef after = cards.FindCard({day, kEndOfDay});
  const CardRef last = cards.card(after).prev;
  if (last == kCardSentinel || cards.CardId(last).day != day) return 0;
  return cards.card(last).sequence;
}

bool OnlyDateCharacters(std::string_view text) {
  int digits = 0;
  for (const char c : text) {
    if (c >= '0' && c <= '9') {
      ++digits;
    } else if (c != '-') {
      return false;
    }
  }
  return digits >= kDateDigits;
}

}  // namespace

DateContext TodayIn(Database& database) {
  return DateContext{&database, Today(), PeriodNamesOf(database)};
}

void DatePoint::Read(std::string_view text, const DateContext& context) {
  text.remove_prefix(std::min(text.find_first_not_of(' '), text.size()));
  kind_ = DatePointKind::kFile;
  offset_ = 0;
  period_name_.clear();
  if (!text.empty()) {
    // The written form of a period is its date, a blank and its name: the name is tried first.
    const size_t blank = text.find(' ');
    const bool read =
        (blank != std::string_view::npos && ReadKeywordForm(text.substr(blank + 1), context)) ||
        ReadKeywordForm(text, context);
    if (!read) {
      // A period that is gone leaves its written date; other texts are read whole, so that a
      // date typed with blanks ("24 01 05") still reads.
      const bool written_period =
          blank != std::string_view::npos && OnlyDateCharacters(text.substr(0, blank));
      ReadDate(written_period ? text.substr(0, blank) : text, context);
    }
  }
  Resolve(context);
}

bool DatePoint::ReadKeywordForm(std::string_view text, const DateContext& context) {
  const std::optional<KeywordForm> form = ParseKeywordForm(text, PeriodsOf(context));
  if (!form) return false;
  kind_ = form->kind;
  offset_ = form->offset;
  period_name_ = form->name;
  return true;
}

void DatePoint::ReadDate(std::string_view text, const DateContext& context) {
  std::string kept;
  for (const char c : text) {
    if ((c >= '0' && c <= '9') || c == '-') kept.push_back(c);
  }
  const DateBound bound = end_ == DateEnd::kFrom ? DateBound::kStart : DateBound::kEnd;
  const Date date = ReadCardId(kept, bound);
  if (date.day == kNoDay) return;  // no digit: kind File
  kind_ = DatePointKind::kDate;
  date_ = date;
  // A to-point at the last card of its day covers the whole day.
  if (end_ == DateEnd::kTo && context.database != nullptr && date.sequence != kEndOfDay &&
      date.sequence == LastSequenceOfDay(context.database->cards(), date.day)) {
    date_.sequence = kEndOfDay;
  }
}

void DatePoint::Resolve(const DateContext& context) {
  if (kind_ == DatePointKind::kDate) return;
  if (kind_ == DatePointKind::kPeriod) {
    const PeriodNames* periods = PeriodsOf(context);
    if (periods == nullptr) return;
    const Date found = periods->PeriodByName(
        period_name_, offset_, end_ == DateEnd::kFrom ? DateBound::kStart : DateBound::kEnd);
    if (found.day != kNoDay) date_ = found;
    return;
  }
  const DateRange range = RelativeRange(kind_, offset_, context);
  date_ = end_ == DateEnd::kFrom ? range.from : range.to;
}

std::string DatePoint::Text() const {
  std::string out;
  const auto append_offset = [&] {
    if (offset_ == 0) return;
    out.push_back(offset_ > 0 ? '+' : '-');
    out.append(std::to_string(offset_ > 0 ? offset_ : -int64_t{offset_}));
  };
  switch (kind_) {
    case DatePointKind::kDate: {
      AppendDayCode(out, date_.day);
      const Sequence usual = end_ == DateEnd::kFrom ? 1 : kEndOfDay;
      if (date_.sequence != usual) out.append("-").append(std::to_string(date_.sequence));
      break;
    }
    case DatePointKind::kPeriod:
      AppendCardId(out, date_);
      out.append(" ").append(period_name_);
      append_offset();
      break;
    default:
      out.append(kKeywords[static_cast<int>(kind_) - 1]);
      append_offset();
  }
  return out;
}

std::optional<DateRange> ResolveKeywordRange(std::string_view text, const DateContext& context) {
  const std::optional<KeywordForm> form = ParseKeywordForm(text, PeriodsOf(context));
  if (!form) return std::nullopt;
  if (form->kind != DatePointKind::kPeriod) return RelativeRange(form->kind, form->offset, context);
  const PeriodNames& periods = *PeriodsOf(context);
  const Date from = periods.PeriodByName(form->name, form->offset, DateBound::kStart);
  const Date to = periods.PeriodByName(form->name, form->offset, DateBound::kEnd);
  if (from.day == kNoDay || to.day == kNoDay) return std::nullopt;
  return DateRange{from, to};
}

}  // namespace jov
