#include "analysis/line_calculation.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>

#include "model/database.h"
#include "select/selection_scan.h"
#include "shell/special_numbers.h"

namespace jov {
namespace {

constexpr double kDaysPerYear = 365;

double LoadValue(const unsigned char* record, int field) {
  double value;
  std::memcpy(&value, record + LineLayout::kHeaderBytes + 8 * static_cast<size_t>(field),
              sizeof value);
  return value;
}

// Adds the values of the passing lines into one sum per field (the runs before and after the
// period).
class SumSink {
 public:
  SumSink(std::vector<double>& sums) : sums_(sums) {}

  struct Taker {
    SumSink* sink;
    void Take(LineRef, const unsigned char* record, bool pass) {
      if (!pass) return;
      std::vector<double>& sums = sink->sums_;
      for (size_t k = 0; k < sums.size(); ++k) {
        const double value = LoadValue(record, static_cast<int>(k));
        if (value == value) sums[k] += value;
      }
    }
  };
  template <int kWidth>
  Taker OpenGroup(CardRef, GroupRef, const Group&) {
    return {this};
  }
  void CloseGroup(const Taker&) {}

 private:
  std::vector<double>& sums_;
};

// The scan of the period: balances, extremes, P and N, median lists, balance-days and interest,
// and the line rows.
class PeriodPass {
 public:
  PeriodPass(const Database& database, const LineAnalysisOptions& options,
             LineCalculationResult& result)
      : cards_(database.cards()),
        result_(result),
        field_count_(static_cast<int>(result.fields.size())),
        accumulated_(std::clamp(options.accumulated_field, 0, field_count_ - 1)),
        balance_days_(options.NeedsBalanceDays()),
        extremes_(options.NeedsExtremes()),
        medians_(options.Has(LineSummary::kMedian)),
        exponential_(options.calculation == InterestCalculation::kExponential),
        positive_growth_(1 + options.positive_rate * 0.01),
        negative_growth_(1 + options.negative_rate * 0.01),
        positive_interest_(exponential_ && RateIsSet(options.positive_rate)),
        negative_interest_(exponential_ && RateIsSet(options.negative_rate)),
        integrated_to_(result.first_day),
        end_after_(result.last_day + 1) {
    if (medians_) {
      result_.median_values.resize(static_cast<size_t>(field_count_));
      for (std::vector<double>& values : result_.median_values) values.clear();
    }
    for (FieldMeasures& field : result_.fields) {
      field.balance = field.before;
      field.max_balance = field.min_balance = field.balance;
      field.max_value = -std::numeric_limits<double>::infinity();
      field.min_value = std::numeric_limits<double>::infinity();
    }
  }

  struct Taker {
    PeriodPass* pass;
    CardRef card;
    GroupRef group;
    void Take(LineRef line, const unsigned char* record, bool passes) {
      if (passes) pass->Add(card, group, line, record);
    }
  };
  template <int kWidth>
  Taker OpenGroup(CardRef card, GroupRef group, const Group&) {
    return {this, card, group};
  }
  void CloseGroup(const Taker&) {}

  // Integrates up to the day after the period and derives the medians.
  void Finish() {
    if (balance_days_) IntegrateTo(end_after_);
    if (!medians_) return;
    for (int k = 0; k < field_count_; ++k) {
      result_.fields[k].median = MedianOf(result_.median_values[k]);
    }
  }

 private:
  void Add(CardRef card, GroupRef group, LineRef line, const unsigned char* record) {
    if (card != card_) {
      card_ = card;
      result_.card_starts.push_back({static_cast<uint32_t>(result_.rows.size()), card});
      if (balance_days_) IntegrateTo(DayNumber(cards_.day(cards_.card(card).day).code));
    }
    for (int k = 0; k < field_count_; ++k) {
      const double value = LoadValue(record, k);
      if (value != value) continue;
      FieldMeasures& field = result_.fields[k];
      field.balance += value;
      if (extremes_) {
        field.max_value = std::max(field.max_value, value);
        field.min_value = std::min(field.min_value, value);
        field.max_balance = std::max(field.max_balance, field.balance);
        field.min_balance = std::min(field.min_balance, field.balance);
      }
      if (value > 0) field.positive += value;
      if (value < 0) field.negative += value;
      if (medians_) result_.median_values[k].push_back(value);
    }
    result_.rows.push_back({group, line, result_.fields[accumulated_].balance});
  }

  void IntegrateTo(int32_t day) {
    if (day == integrated_to_) return;
    const double span = static_cast<double>(day) - integrated_to_;
    const double positive_factor =
        positive_interest_ ? CompoundFactor(positive_growth_, integrated_to_, day, end_after_) : 0;
    const double negative_factor =
        negative_interest_ ? CompoundFactor(negative_growth_, integrated_to_, day, end_after_) : 0;
    for (FieldMeasures& field : result_.fields) {
      const double balance = field.balance;
      if (balance > 0) {
        field.positive_days += span * balance;
        field.positive_interest += balance * positive_factor;
      } else if (balance < 0) {
        field.negative_days += span * balance;
        field.negative_interest += balance * negative_factor;
      }
    }
    integrated_to_ = day;
  }

  const CardStore& cards_;
  LineCalculationResult& result_;
  const int field_count_;
  const int accumulated_;
  const bool balance_days_;
  const bool extremes_;
  const bool medians_;
  const bool exponential_;
  const double positive_growth_;
  const double negative_growth_;
  const bool positive_interest_;
  const bool negative_interest_;
  int32_t integrated_to_;
  const int32_t end_after_;
  CardRef card_ = kCardSentinel;
};

// The day of a card, as a day number.
int32_t CardDay(const CardStore& cards, CardRef card) {
  return DayNumber(cards.day(cards.card(card).day).code);
}

// S and E: the selection's date points, or the first and last card's day for an open end.
void FindPeriod(const Selection& selection, LineCalculationResult& result) {
  const CardStore& cards = selection.database().cards();
  const bool empty = cards.FirstCard() == kCardSentinel;
  result.first_day = !selection.from().IsOpen() ? DayNumber(selection.from().date().day)
                     : empty                    ? 0
                                                : CardDay(cards, cards.FirstCard());
  result.last_day = !selection.to().IsOpen() ? DayNumber(selection.to().date().day)
                    : empty                  ? result.first_day - 1
                                             : CardDay(cards, cards.LastCard());
  result.days = result.last_day - result.first_day + 1;
}

void Derive(const LineAnalysisOptions& options, LineCalculationResult& result) {
  const double lines = static_cast<double>(result.rows.size());
  const double days = result.days;
  const bool linear = options.calculation == InterestCalculation::kLinear;
  for (FieldMeasures& field : result.fields) {
    field.period = field.positive + field.negative;
    field.average_value = field.period / lines;
    const double balance_days = field.positive_days + field.negative_days;
    field.average_balance = balance_days / days;
    field.turnover_time = std::fabs(balance_days) / ((field.positive - field.negative) * 0.5);
    field.turnover_rate = kDaysPerYear / field.turnover_time;
    if (linear) {
      field.positive_interest = field.positive_days * options.positive_rate / 36500;
      field.negative_interest = field.negative_days * options.negative_rate / 36500;
    }
  }
}

}  // namespace

CardRef CardOfRow(const LineCalculationResult& result, size_t row) {
  const auto after = std::upper_bound(
      result.card_starts.begin(), result.card_starts.end(), row,
      [](size_t wanted, const CardStart& start) { return wanted < start.first_row; });
  return after == result.card_starts.begin() ? kCardSentinel : std::prev(after)->card;
}

double MedianOf(std::vector<double>& values) {
  const size_t n = values.size();
  if (n == 0) return kMissingNumber;
  if (n == 1) return values[0];
  if (n == 2) return (values[0] + values[1]) / 2;
  // A selection instead of a sort: the median of millions of values in linear time.
  const auto middle = values.begin() + static_cast<std::ptrdiff_t>(n / 2);
  std::nth_element(values.begin(), middle, values.end());
  if (n % 2 == 1) return *middle;
  return (*std::max_element(values.begin(), middle) + *middle) / 2;
}

double CompoundFactor(double g, int32_t t, int32_t d, int32_t end_after) {
  return std::pow(g, (end_after - t) / kDaysPerYear) - std::pow(g, (end_after - d) / kDaysPerYear);
}

bool CalculateLines(const Selection& selection, const LineAnalysisOptions& options,
                    LineCalculationResult& result) {
  const Database& database = selection.database();
  const int field_count = database.value_field_count();
  result.fields.assign(static_cast<size_t>(field_count), FieldMeasures());
  result.rows.clear();
  // At most every line is listed: one allocation, whose pages the lines listed touch.
  result.rows.reserve(database.cards().line_count());
  result.card_starts.clear();
  FindPeriod(selection, result);
  const ScanPlan& plan = selection.plan();
  const CardStore& cards = database.cards();
  std::vector<double> sums(static_cast<size_t>(field_count));
  if (options.Has(LineSummary::kBefore)) {
    SumSink sink(sums);
    if (!ScanRecords(selection, cards.FirstCard(), plan.before_end, sink)) return false;
    for (int k = 0; k < field_count; ++k) result.fields[k].before = sums[k];
  }
  PeriodPass pass(database, options, result);
  const bool complete = ScanRecords(selection, plan.first, plan.end, pass);
  pass.Finish();
  Derive(options, result);
  if (!complete) return false;
  if (options.Has(LineSummary::kAfter)) {
    std::fill(sums.begin(), sums.end(), 0.0);
    SumSink sink(sums);
    if (!ScanRecords(selection, plan.after_first, kCardSentinel, sink)) return false;
    for (int k = 0; k < field_count; ++k) result.fields[k].after = sums[k];
  }
  return true;
}

}  // namespace jov
