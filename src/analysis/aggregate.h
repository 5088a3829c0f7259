// Aggregation: the lines of a window condensed into summary cards, one per period of a time
// resolution (or one card in all, or one per source card), summing the values of lines that
// share all their components. Unless asked to duplicate, the source lines go, and the cards they
// leave are stamped as changed with the user's stamp.
#pragma once

#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "analysis/period_kind.h"
#include "analysis/window_lines.h"
#include "model/database.h"

namespace jov {

class TimeScale;

enum class AggregateBy : int {
  kSingleCard = 0,  // one card at the card date
  kCalendar = 1,    // one card per calendar period of `kind`
  kCards = 2,       // each card's lines merged within the card
  kTimeScale = 3,   // one card per period of `time_scale`
};

struct AggregateSettings {
  AggregateBy by = AggregateBy::kCalendar;
  PeriodKind kind = PeriodKind::kMonths;  // Years .. Days, for kCalendar
  const TimeScale* time_scale = nullptr;  // a scale of the database, for kTimeScale
  std::string card_date;                  // a date point text, for kSingleCard
  std::string card_title;
  bool append_period_name = true;
  bool duplicate = false;        // keep the source lines
  bool keep_zero_lines = false;  // keep lines whose sums are all zero
};

// Applies the option tokens of the "aggregate" command in order: "-" and a name, compared
// ignoring case ("-onecard" [date], "-years" .. "-days", "-cards", "-timescale" name,
// "-title" text, "-periodnames", "-noperiodnames", "-duplicate", "-keepzerolines"). Returns
// the tokens it did not accept, for the caller to report; a time scale that the database does
// not have is one of them (its name), so that the lines are not condensed by another period.
std::vector<std::string> ApplyAggregateOptions(AggregateSettings& settings, Database& database,
                                               std::span<const std::string> tokens);

// The resolution a name selects (the option tokens' names without "-": "onecard", "years" ..
// "days", "cards"); false, changing nothing, for another name.
bool SelectAggregateResolution(AggregateSettings& settings, std::string_view name);

// What an aggregation did.
struct AggregateResult {
  size_t source_lines = 0;  // lines taken from the window
  size_t cards_made = 0;    // summary cards created (kept after zero runs were dropped)
  size_t lines_made = 0;    // summary lines added
};

// Aggregates the window's lines, card by card in card order. Nothing happens when the window
// holds no line or no user's stamp can be had (then false). A period whose summary card cannot
// be made, or whose lines cannot all be added, keeps its source lines as they were; the pending
// error says why.
bool Aggregate(Database& database, const WindowLines& window, const AggregateSettings& settings,
               AggregateResult* result = nullptr);

}  // namespace jov
