#include "analysis/time_functions_options.h"

#include <algorithm>
#include <cmath>

#include "analysis/function_columns.h"
#include "files/fields.h"
#include "shell/number_text.h"

namespace jov {
namespace {

char FirstOf(std::string_view text) { return text.empty() ? '\0' : text[0]; }

bool SameLimit(double a, double b) { return (std::isnan(a) && std::isnan(b)) || a == b; }

void ReadRange(std::string_view value, TimeFunctionsOptions& options) {
  Fields fields;
  fields.Split(value);
  const DayCode first = ReadDayCode(fields[0], DateBound::kStart);
  const DayCode last = ReadDayCode(fields[1], DateBound::kEnd);
  if (first != kNoDay) options.start = {first, 1};
  if (last != kNoDay) options.end = {last, kEndOfDay};
}

// The older "WB": formulas drawn as bars, variables By Period.
void ApplyOlderBars(FunctionColumns& columns) {
  for (size_t i = 0; i < columns.size(); ++i) {
    if (columns[i].is_variable()) {
      static_cast<Variable&>(columns[i]).accumulation = Accumulation::kByPeriod;
    } else {
      static_cast<Formula&>(columns[i]).graph = GraphStyle::kBars;
    }
  }
}

std::string LimitLine(std::string_view key, double limit) {
  return std::string(key) + "\t" + FormatNumber(limit, kMaxDecimals);
}

}  // namespace

void TimeFunctionsOptions::SetRange(DayCode first, DayCode last) {
  start = {first, 1};
  end = {last, kEndOfDay};
}

bool TimeFunctionsOptions::operator==(const TimeFunctionsOptions& other) const {
  return start == other.start && end == other.end && period_kind == other.period_kind &&
         time_scale == other.time_scale && label_width == other.label_width &&
         SameLimit(axis_maximum, other.axis_maximum) &&
         SameLimit(axis_minimum, other.axis_minimum) &&
         show_card_titles == other.show_card_titles &&
         show_end_dates_only == other.show_end_dates_only && chart == other.chart &&
         chart_text == other.chart_text;
}

std::vector<std::string> TimeFunctionsOptionLines(const TimeFunctionsOptions& options) {
  std::vector<std::string> lines;
  lines.push_back("K\t" + DayCodeText(options.start.day) + "\t" + DayCodeText(options.end.day));
  if (options.period_kind == PeriodKind::kTimeScale) {
    lines.push_back("PX\t" + options.time_scale);
  } else if (options.period_kind != PeriodKind::kActiveDays) {
    lines.push_back({'P', 'L', PeriodKindCode(options.period_kind)});
  }
  if (options.label_width >= kMinStoredLabelWidth) {
    lines.push_back("PW" + std::to_string(options.label_width));
  }
  if (std::isfinite(options.axis_maximum)) lines.push_back(LimitLine("SM", options.axis_maximum));
  if (std::isfinite(options.axis_minimum)) lines.push_back(LimitLine("SN", options.axis_minimum));
  if (options.chart != ChartType::kTime) {
    lines.push_back({'L', kChartTypeLetters[static_cast<int>(options.chart)]});
  }
  if (options.show_card_titles) lines.push_back("ZT");
  if (options.show_end_dates_only) lines.push_back("ZN");
  if (!options.chart_text.empty()) lines.push_back("ZC\t" + options.chart_text);
  return lines;
}

bool ReadTimeFunctionsOptionLine(std::string_view line, TimeFunctionsOptions& options,
                                 FunctionColumns& columns) {
  const std::string_view key = line.substr(0, std::min(line.size(), size_t{2}));
  if (key.starts_with('K')) {
    ReadRange(ValueAfterKey(line, 1), options);
  } else if (key == "PL") {
    const std::optional<PeriodKind> kind = PeriodKindFromCode(FirstOf(ValueAfterKey(line, 2)));
    if (kind && *kind != PeriodKind::kTimeScale) options.period_kind = *kind;
  } else if (key == "PX") {
    options.period_kind = PeriodKind::kTimeScale;
    options.time_scale = ValueAfterKey(line, 2);
  } else if (key == "PW") {
    if (const std::optional<int> width = FieldInteger(ValueAfterKey(line, 2))) {
      options.label_width = *width;
    }
  } else if (key == "SM" || key == "SN") {
    (key == "SM" ? options.axis_maximum : options.axis_minimum) =
        ParseNumber(ValueAfterKey(line, 2));
  } else if (key.starts_with('L')) {
    const size_t chart = kChartTypeLetters.find(FirstOf(ValueAfterKey(line, 1)));
    if (chart != std::string_view::npos && !ValueAfterKey(line, 1).empty()) {
      options.chart = static_cast<ChartType>(chart);
    }
  } else if (key == "ZT") {
    options.show_card_titles = true;
  } else if (key == "ZN") {
    options.show_end_dates_only = true;
  } else if (key == "ZC") {
    options.chart_text = ValueAfterKey(line, 2);
  } else if (key == "WB") {
    ApplyOlderBars(columns);
  } else {
    return false;
  }
  return true;
}

}  // namespace jov
