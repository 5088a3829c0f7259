// The calculation of a line analysis: one pass over the lines its selection takes, keeping per
// value field the sums before, in and after the period, the running balance, the extremes, the
// balance-days and interest, and the values for the median; and one compact row per line of the
// period (its card, its line and the running balance of the accumulated field), from which the
// table makes the cells of the rows it is asked for.
//
// The period [S, E] is the selection's date range; an open end takes the day of the first or
// last card of the database. Balance-days integrate the balance over days: a balance set on day
// d counts for day d and every later day through E, so one line of 100 on the first day of a
// 10-day period gives 1,000 balance-days. A missing value (NaN) leaves the balance, the sums, the
// extremes and the median list as they were.
#pragma once

#include <cstdint>
#include <vector>

#include "analysis/line_options.h"
#include "model/card_store.h"
#include "select/selection.h"

namespace jov {

// What the calculation keeps of one value field.
struct FieldMeasures {
  double before = 0;
  double positive = 0;  // P: the sum of the values above 0
  double negative = 0;  // N: the sum of the values below 0
  double period = 0;    // P + N
  double after = 0;
  double balance = 0;  // the running balance, at the end of the period when done
  double max_value = 0;
  double min_value = 0;
  double max_balance = 0;
  double min_balance = 0;
  double positive_days = 0;  // balance-days of positive balances (a positive number)
  double negative_days = 0;  // of negative balances (a negative number)
  double positive_interest = 0;
  double negative_interest = 0;
  // Derived when the pass is done.
  double average_value = 0;
  double average_balance = 0;
  double turnover_time = 0;
  double turnover_rate = 0;
  double median = 0;
};

// A line of the period as the table lists it.
struct LineRow {
  GroupRef group;
  LineRef line;
  double balance;  // of the accumulated field, after this line
};

// Where the rows of a card begin: the rows are in card order, so a row's card is that of the
// last start at or before it.
struct CardStart {
  uint32_t first_row;
  CardRef card;
};

struct LineCalculationResult {
  std::vector<FieldMeasures> fields;  // one per value field of the database
  std::vector<LineRow> rows;
  std::vector<CardStart> card_starts;  // one per card with a line listed
  int32_t first_day = 0;               // S and E as day numbers
  int32_t last_day = -1;
  int32_t days = 0;  // E - S + 1
  // The line values of each field for the medians, kept with their memory from one
  // calculation to the next.
  std::vector<std::vector<double>> median_values;
};

// The card of a row.
CardRef CardOfRow(const LineCalculationResult& result, size_t row);

// The median of `values` (reordered): missing for none, the value itself for one, else the
// middle value, or the mean of the two middle values of an even count.
double MedianOf(std::vector<double>& values);

// F(g, t, d) = g^((E' - t) / 365) - g^((E' - d) / 365): what a balance of 1 from day t up to day
// d earns at the yearly factor g, compounded to the day E' after the period.
double CompoundFactor(double g, int32_t t, int32_t d, int32_t end_after);

// Runs the calculation over a prepared selection. False when the user stopped it: the rows and
// sums found so far are kept. The result's memory from an earlier calculation is reused.
bool CalculateLines(const Selection& selection, const LineAnalysisOptions& options,
                    LineCalculationResult& result);

}  // namespace jov
