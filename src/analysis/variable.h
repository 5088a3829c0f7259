// A variable: a column that condenses the lines passing its own selection into one number per
// period (or per component) by a measure of one value field. "From Start" accumulates from the
// selection's From date on; "By Period" starts afresh in each period. A time shift moves the
// window of dates the variable reads back in time.
#pragma once

#include <string_view>

#include "analysis/function_column.h"
#include "analysis/measure.h"
#include "analysis/period_kind.h"
#include "analysis/time_shift.h"
#include "model/packed_date.h"
#include "select/selection.h"

namespace jov {

class Database;

enum class Accumulation : uint8_t {
  kByPeriod = 0,   // "By Component" in the component functions analysis
  kFromStart = 1,  // the default
};
// The accumulations' letters in templates.
inline constexpr std::string_view kAccumulationLetters = "PA";

// The dates a variable reads for one period: cards from `from` to `to`, both included.
struct DateWindow {
  Date from;
  Date to;
};

// The cards [first, end) of the card order that a window holds.
struct CardRange {
  CardRef first;
  CardRef end;
};
CardRange CardsIn(const CardStore& cards, DateWindow window);

class Variable : public FunctionColumn {
 public:
  // `colour_turn` is the number of variables made before this one: it picks the colour.
  Variable(Database& database, std::string_view name, int colour_turn);

  Selection& selection() { return selection_; }
  const Selection& selection() const { return selection_; }

  // The window the variable reads for the period from `period_start` to `period_end` of an
  // analysis whose periods are of `kind` (the period before the analysis has no start:
  // Date{}). It starts from the selection's dates as last resolved (Selection::Prepare): By
  // Period moves From up to the period's start, and both accumulations move To down to the
  // period's end; a time shift then moves both back, From to the first card of its day and To
  // to the end of its day.
  DateWindow EffectiveWindow(Date period_start, Date period_end, PeriodKind kind) const;
  // The value field read from the lines of `database`: value_field, or the first when the
  // database has fewer fields.
  int FieldIn(const Database& database) const;

  int value_field = 0;
  Measure measure = Measure::kSum;
  Accumulation accumulation = Accumulation::kFromStart;
  TimeShift shift;

 private:
  Selection selection_;
};

}  // namespace jov
