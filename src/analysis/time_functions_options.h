// The settings of a time functions analysis beside its columns: the range of dates and how it is
// divided into periods, how rows are labelled, and the chart's axis limits and type. Templates
// store them after the columns' lines, one a line:
//
//   K \t start \t end    the range, as YYMMDD (the start's first card to the end's last)
//   PL letter            the period kind of "YHTQNMK432WDACGL"; not for Active Days, so a
//                        template without PL and PX divides by active days
//   PX \t name           a time scale's name (the periods of that scale)
//   PW n                 the width of the row labels, when 24 or more
//   SM \t n, SN \t n     the value axis's maximum and minimum, when set
//   L letter             the chart type of "UTBOS", when not "T"
//   ZT                   show card titles;  ZN  show end dates only
//   ZC \t text           a text kept for the chart
//   WB                   (read only) an older form: every formula drawn as bars and every
//                        variable By Period
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "analysis/period_kind.h"
#include "model/packed_date.h"
#include "shell/special_numbers.h"

namespace jov {

class FunctionColumns;

// How the chart draws the columns over time.
enum class ChartType : uint8_t {
  kLines = 0,        // "U": every column as a line
  kTime = 1,         // "T": each column as its graph style (variables as lines); the default
  kBars = 2,         // "B": every column as bars beside each other
  kOverlapping = 3,  // "O": every column as bars drawn over each other
  kStacked = 4,      // "S": bars stacked, a period's positive and negative values apart
};
inline constexpr int kChartTypes = 5;
inline constexpr std::string_view kChartTypeLetters = "UTBOS";

// A label column narrower than this is not stored: it takes its default.
inline constexpr int kMinStoredLabelWidth = 24;

struct TimeFunctionsOptions {
  // The range: from the start's first card to the end's last.
  Date start = {PackDay(2000, 1, 1), 1};
  Date end = {PackDay(2000, 12, 31), kEndOfDay};
  PeriodKind period_kind = PeriodKind::kActiveDays;
  std::string time_scale;  // of kTimeScale
  int label_width = 0;
  // The value axis; the missing number where the chart fits the values.
  double axis_maximum = kMissingNumber;
  double axis_minimum = kMissingNumber;
  bool show_card_titles = false;
  bool show_end_dates_only = false;
  ChartType chart = ChartType::kTime;
  std::string chart_text;  // "ZC", kept as read

  // Sets the range to the days `first` to `last`.
  void SetRange(DayCode first, DayCode last);

  bool operator==(const TimeFunctionsOptions& other) const;
};

// The options' template lines.
std::vector<std::string> TimeFunctionsOptionLines(const TimeFunctionsOptions& options);

// Reads one line into the options; false for a line that is not one of theirs. "WB" changes
// the columns read so far.
bool ReadTimeFunctionsOptionLine(std::string_view line, TimeFunctionsOptions& options,
                                 FunctionColumns& columns);

}  // namespace jov
