#include "analysis/time_functions.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "analysis/chart_series.h"
#include "analysis/columns_definition.h"
#include "analysis/component_options.h"
#include "analysis/period_date.h"
#include "analysis/result_changes.h"
#include "analysis/shown_value.h"
#include "analysis/time_scale_list.h"
#include "model/database.h"
#include "select/selection_scan.h"
#include "shell/alert.h"
#include "shell/message_ids.h"
#include "shell/messages.h"
#include "shell/number_text.h"
#include "shell/process.h"

namespace jov {
namespace {

// Widths in pixels of the label column and of a value column when none is stored.
constexpr int kLabelWidth = 136;
constexpr int kValueWidth = 100;
// The length of a year in days, for "T".
constexpr double kDaysPerYear = 365.25;

// Takes the lines of a scan into a measure: the value of one field of each line that passes.
struct MeasureSink {
  struct Taker {
    MeasureSink* sink;
    void Take(LineRef, const unsigned char* record, bool pass) {
      if (!pass) return;
      double value;
      std::memcpy(&value, record + sink->offset, sizeof value);
      sink->measure->Add(value);
      ++sink->lines;
    }
  };
  template <int kWidth>
  Taker OpenGroup(CardRef, GroupRef, const Group&) {
    return {this};
  }
  void CloseGroup(const Taker&) {}

  MeasureAccumulator* measure;
  size_t offset;
  int64_t lines = 0;
};

// Reads the lines of the cards in `window` that pass the variable's selection into `measure`.
// False when the user stopped the scan.
bool ReadCards(Database& database, const Variable& variable, DateWindow window,
               MeasureAccumulator& measure, int64_t& lines) {
  const auto [first, end] = CardsIn(database.cards(), window);
  if (first == end) return true;
  MeasureSink sink{&measure, LineLayout::kHeaderBytes + 8 * size_t(variable.FieldIn(database))};
  const bool complete = ScanRecords(variable.selection(), first, end, sink);
  lines += sink.lines;
  return complete;
}

// The measure's value over no lines at all.
double EmptyResult(Measure measure) { return MeasureAccumulator(measure).Result(); }

}  // namespace

TimeFunctionsAnalysis::TimeFunctionsAnalysis(Database& database)
    : database_(database), columns_(database) {
  frame_.kind = AnalysisKind::kTimeFunctions;
  const CalendarDate today = UnpackDay(Today());
  options_.SetRange(PackDay(today.year, 1, 1), PackDay(today.year, 12, 31));
  options_.period_kind = PeriodKind::kMonths;
  ApplyKindDefaults<TimeFunctionsTemplateBody>(database, AnalysisKind::kTimeFunctions, *this);
  database_.AddListener(this);
}

TimeFunctionsAnalysis::~TimeFunctionsAnalysis() { database_.RemoveListener(this); }

void TimeFunctionsAnalysis::Apply(const TemplateFrame& frame,
                                  const TimeFunctionsTemplateBody& body) {
  frame_ = frame;
  frame_.kind = AnalysisKind::kTimeFunctions;
  options_ = body.options();
  columns_.CopyFrom(body.columns());
  Invalidate();
}

AnalysisTemplate TimeFunctionsAnalysis::ToTemplate(const std::string& name) const {
  AnalysisTemplate stored;
  stored.frame = frame_;
  stored.frame.name = name;
  auto body = std::make_unique<TimeFunctionsTemplateBody>(database_);
  body->options() = options_;
  body->columns().CopyFrom(columns_);
  stored.body = std::move(body);
  return stored;
}

// ---------------------------------------------------------------------------------------------
// Calculation

void TimeFunctionsAnalysis::Invalidate() {
  calculated_ = false;
  row_count_ = 0;
  stride_ = 0;
  values_.clear();
  shown_.clear();
  table_columns_.clear();
}

bool TimeFunctionsAnalysis::Calculate() {
  Invalidate();
  failed_column_ = -1;
  if (!columns_.Prepare(failed_column_)) return false;
  if (options_.start > options_.end) {
    AlertRecord alert(msg::kNegativeTimePeriod);
    ReportAlert(alert);
    return false;
  }
  const TimeScale* scale = options_.period_kind == PeriodKind::kTimeScale
                               ? TimeScaleList::Of(database_).Find(options_.time_scale)
                               : nullptr;
  periods_.emplace(options_.period_kind, options_.start, options_.end, scale);
  std::vector<ColumnValues> read(columns_.size());
  const bool active = IsActiveKind(options_.period_kind);
  if (active && !WalkActive(read)) return false;
  size_t rows = active ? periods_->size() : 1;
  for (size_t i = 0; i < columns_.size(); ++i) {
    if (!columns_[i].is_variable()) continue;
    const auto& variable = static_cast<const Variable&>(columns_[i]);
    if (active && variable.shift.IsNone()) continue;
    if (!ReadWindows(variable, !active, read[i])) return false;
    if (!active) rows = std::max(rows, read[i].last_counted + 1);
  }
  CloseRows(read, rows);
  calculated_ = true;
  LayOutColumns();
  return true;
}

// Calendar periods and time scales (`extend`), or the periods an active walk made: the window
// of each period in turn, read afresh By Period, or from where the last one ended From Start,
// until no card can come into a window any more.
bool TimeFunctionsAnalysis::ReadWindows(const Variable& variable, bool extend, ColumnValues& read) {
  CardStore& cards = database_.cards();
  if (cards.card_count() == 0) return true;
  const Date last_card = cards.CardId(cards.LastCard());
  const Date before_end = StepBackFromBoundary(options_.start);
  const bool from_start = variable.accumulation == Accumulation::kFromStart;
  MeasureAccumulator measure(variable.measure);
  Date read_to;  // From Start: the end of what has been read
  read.values.clear();
  for (size_t p = 0;; ++p) {
    if (p == periods_->size() && !(extend && periods_->Append())) break;
    const Date start = p == 0 ? Date{} : periods_->PeriodStart(p, database_.card_digits());
    const Date end = p == 0 ? before_end : periods_->period_end(p);
    DateWindow window = variable.EffectiveWindow(start, end, options_.period_kind);
    if (from_start) {
      window.from = std::max(window.from, NextDate(read_to, database_.card_digits()));
    } else if (p > 0) {
      measure.Reset();
    }
    if (p > 0 && window.from > last_card) break;
    int64_t lines = 0;
    if (window.from <= window.to && !ReadCards(database_, variable, window, measure, lines)) {
      return false;
    }
    if (from_start) read_to = std::max(read_to, window.to);
    if (lines > 0 && p > 0) read.last_counted = p;
    read.values.push_back(measure.Result());
  }
  return true;
}

void TimeFunctionsAnalysis::CloseRows(std::vector<ColumnValues>& read, size_t rows) {
  stride_ = columns_.size();
  row_count_ = rows;
  values_.assign(rows * stride_, kMissingNumber);
  for (size_t i = 0; i < columns_.size(); ++i) {
    if (!columns_[i].is_variable()) continue;
    // Periods after the variable's last line: nothing more By Period, the same From Start.
    const auto& variable = static_cast<const Variable&>(columns_[i]);
    std::vector<double>& values = read[i].values;
    const double rest = variable.accumulation == Accumulation::kByPeriod || values.empty()
                            ? EmptyResult(variable.measure)
                            : values.back();
    values.resize(rows, rest);
    for (size_t p = 0; p < rows; ++p) values_[p * stride_ + i] = values[p];
  }
  // "T": years from the day before the start to the period's end.
  const int32_t base = DayNumber(options_.start.day) - 1;
  columns_.StartCalculation();
  for (size_t p = 0; p < rows; ++p) {
    const double time = p == 0 ? 0 : (DayNumber(periods_->period_end(p).day) - base) / kDaysPerYear;
    columns_.CloseRow(time, std::span<double>(values_).subspan(p * stride_, stride_));
  }
}

PeriodRow TimeFunctionsAnalysis::row(size_t index) const {
  return {periods_->period_end(index),
          std::span<const double>(values_).subspan(index * stride_, stride_)};
}

std::string TimeFunctionsAnalysis::RowLabel(size_t index) const {
  return PeriodLabel(database_, *periods_, index,
                     {options_.show_end_dates_only, options_.show_card_titles});
}

std::string TimeFunctionsAnalysis::CellText(size_t row, size_t column) const {
  return ShownValue(CellValue(row, column), columns_[column].look.decimals);
}

std::pair<double, double> TimeFunctionsAnalysis::ValueAxisRange() const {
  double low = kPlusInfinity;
  double high = kMinusInfinity;
  const auto take = [&](double value) {
    if (!std::isfinite(value)) return;
    low = std::min(low, value);
    high = std::max(high, value);
  };
  // The row before the range sums everything before it: it heads the table, not the chart.
  for (size_t p = 1; p < row_count_; ++p) {
    double positive = 0;
    double negative = 0;
    for (size_t i = 0; i < stride_ && i < columns_.size(); ++i) {
      if (TimeChartStyle(columns_[i], options_.chart) == GraphStyle::kNone) continue;
      const double value = CellValue(p, i);
      if (options_.chart != ChartType::kStacked) {
        take(value);
      } else if (std::isfinite(value)) {
        (value > 0 ? positive : negative) += value;
      }
    }
    if (options_.chart == ChartType::kStacked) take(positive), take(negative);
  }
  if (low > high) low = 0, high = 1;
  if (std::isfinite(options_.axis_minimum)) low = options_.axis_minimum;
  if (std::isfinite(options_.axis_maximum)) high = options_.axis_maximum;
  return {low, high};
}

void TimeFunctionsAnalysis::OnDatabaseChange(Database&, ChangeCode code, int, int) {
  if (DropsAnalysisResult(code)) Invalidate();
}

size_t TimeFunctionsAnalysis::MemoryBytes() const {
  return values_.capacity() * sizeof(double) + (periods_ ? periods_->size() * sizeof(Date) : 0);
}

// ---------------------------------------------------------------------------------------------
// Table

std::string TimeFunctionsAnalysis::Title() const {
  return frame_.name.empty() ? KindName(AnalysisKind::kTimeFunctions) : frame_.name;
}

void TimeFunctionsAnalysis::WriteDefinition(LineSink& out, DefinitionForm form) const {
  WriteColumnsDefinition(columns_, out, form, msg::kFirstTimeAccumulation);
}

void TimeFunctionsAnalysis::LayOutColumns() {
  shown_.clear();
  table_columns_.clear();
  const int label_width =
      options_.label_width >= kMinStoredLabelWidth ? options_.label_width : kLabelWidth;
  const std::string label_title = options_.period_kind == PeriodKind::kTimeScale
                                      ? options_.time_scale
                                      : MessageText(PeriodKindMessage(options_.period_kind));
  table_columns_.push_back({.title = label_title, .left = 0, .right = label_width});
  int left = label_width;
  for (size_t i = 0; i < columns_.size() && i < stride_; ++i) {
    const FunctionColumn& column = columns_[i];
    if (!column.look.visible) continue;
    const int width = column.look.width >= kMinStoredWidth ? column.look.width : kValueWidth;
    shown_.push_back(i);
    table_columns_.push_back({.title = column.ShownTitle(),
                              .left = left,
                              .right = left + width,
                              .alignment = CellAlignment::kRight,
                              .bold = column.look.bold});
    left += width;
  }
}

// The first column, the period labels, keeps its width in the options; the others in their
// columns' looks.
bool TimeFunctionsAnalysis::SetColumnWidth(int column, int pixels) {
  if (column < 0 || column >= static_cast<int>(table_columns_.size())) return false;
  if (column == 0) {
    options_.label_width = pixels >= kMinStoredLabelWidth ? pixels : 0;
  } else {
    columns_[shown_[static_cast<size_t>(column) - 1]].look.width =
        pixels >= kMinStoredWidth ? pixels : 0;
  }
  LayOutColumns();
  return true;
}

const TableColumn& TimeFunctionsAnalysis::Column(int index) const {
  return table_columns_[static_cast<size_t>(index)];
}

void TimeFunctionsAnalysis::FillRow(int row, std::vector<TableCell>& cells) const {
  const size_t index = static_cast<size_t>(row);
  cells.clear();
  cells.push_back({.text = RowLabel(index)});
  for (const size_t column : shown_) {
    cells.push_back(ColumnValueCell(CellValue(index, column), columns_[column].look));
  }
}

}  // namespace jov
