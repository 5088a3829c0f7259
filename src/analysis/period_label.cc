#include "analysis/period_label.h"

#include "analysis/time_scale.h"
#include "model/database.h"
#include "shell/digit_text.h"
#include "shell/message_ids.h"

namespace jov {
namespace {

void AppendTwoDigits(std::string& out, int value) {
  char text[2];
  out.append(text, WriteTwoDigits(text, static_cast<unsigned>(value)));
}

void AppendYearMonth(std::string& out, DayCode day) {
  const CalendarDate date = UnpackDay(day);
  AppendTwoDigits(out, date.year % 100);
  AppendTwoDigits(out, date.month);
}

void AppendMonthDay(std::string& out, DayCode day) {
  const CalendarDate date = UnpackDay(day);
  AppendTwoDigits(out, date.month);
  AppendTwoDigits(out, date.day);
}

// Half Years .. Two Months: the start's month, and the end's when it is a later one.
std::string MonthRangeLabel(DayCode start, DayCode end) {
  std::string label;
  AppendYearMonth(label, start);
  if (UnpackDay(end).month > UnpackDay(start).month) {
    label += '-';
    AppendYearMonth(label, end);
  }
  return label;
}

// Half Months and the week kinds: the start day, and the end's month and day when later.
std::string DayRangeLabel(DayCode start, DayCode end) {
  std::string label = DayCodeText(start);
  if (start < end) {
    label += '-';
    AppendMonthDay(label, end);
  }
  return label;
}

std::string CalendarLabel(const PeriodList& periods, size_t index) {
  const DayCode end = periods.period_end(index).day;
  switch (periods.kind()) {
    case PeriodKind::kYears:
      return std::to_string(UnpackDay(end).year);
    case PeriodKind::kHalfYears:
    case PeriodKind::kTertials:
    case PeriodKind::kQuarters:
    case PeriodKind::kTwoMonths:
      return MonthRangeLabel(periods.StartDay(index), end);
    case PeriodKind::kMonths: {
      std::string label;
      AppendYearMonth(label, end);
      return label;
    }
    default:
      return DayRangeLabel(periods.StartDay(index), end);
  }
}

// The card's title, a long one cut; empty when no card has that date.
std::string CardTitle(const Database& database, Date date) {
  const CardStore& cards = database.cards();
  const CardRef card = cards.FindCard(date);
  if (card == kCardSentinel || cards.CardId(card) != date) return {};
  const std::string_view title = cards.Title(card);
  if (title.size() < kLongTitle) return std::string(title);
  return std::string(title.substr(0, kKeptTitle)) + "..";
}

std::string CardLabel(const Database& database, Date end, bool with_title) {
  std::string label = CardIdText(end, database.card_digits());
  if (!with_title) return label;
  const std::string title = CardTitle(database, end);
  if (!title.empty()) label.append(" ").append(title);
  return label;
}

}  // namespace

std::string PeriodLabel(const Database& database, const PeriodList& periods, size_t index,
                        PeriodLabelOptions options) {
  if (index == 0) return MessageText(msg::kBefore) + " " + DayCodeText(periods.start().day);
  const PeriodKind kind = periods.kind();
  const Date end = periods.period_end(index);
  if (kind == PeriodKind::kTimeScale) {
    return periods.scale() == nullptr ? std::string()
                                      : std::string(periods.scale()->PeriodName(end));
  }
  if (kind < PeriodKind::kDays && !options.show_end_dates_only)
    return CalendarLabel(periods, index);
  const bool card_end = end.sequence > 0 && end.sequence < kEndOfDay;
  if (kind <= PeriodKind::kActiveDays || !card_end) return DayCodeText(end.day);
  return CardLabel(database, end, options.show_card_titles);
}

}  // namespace jov
