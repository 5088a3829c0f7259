#include "analysis/variable.h"

#include <algorithm>
#include <iterator>

#include "model/database.h"

namespace jov {

Variable::Variable(Database& database, std::string_view name, int colour_turn)
    : FunctionColumn(Kind::kVariable, name), selection_(database) {
  look.decimals = database.value_decimals();
  look.colour = kDefaultColourCycle[colour_turn % std::size(kDefaultColourCycle)];
}

DateWindow Variable::EffectiveWindow(Date period_start, Date period_end, PeriodKind kind) const {
  DateWindow window = {selection_.from().date(), selection_.to().date()};
  if (accumulation == Accumulation::kByPeriod) window.from = std::max(window.from, period_start);
  window.to = std::min(window.to, period_end);
  if (shift.IsNone()) return window;
  return {{ShiftDay(window.from.day, shift, kind), 1},
          {ShiftDay(window.to.day, shift, kind), kEndOfDay}};
}

CardRange CardsIn(const CardStore& cards, DateWindow window) {
  const CardRef first = cards.FindCard(window.from);
  CardRef end = cards.FindCard(window.to);
  if (end != kCardSentinel && cards.CardId(end) == window.to) end = cards.NextCard(end);
  return {first, end};
}

int Variable::FieldIn(const Database& database) const {
  return value_field < database.value_field_count() ? value_field : 0;
}

}  // namespace jov
