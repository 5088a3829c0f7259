// The measures by which a variable condenses the values of the lines it reads into one number
// (Count, Sum, Average, Median ...), each with its letter in stored templates and its menu text,
// and the accumulator that takes the values one at a time. Adding a value allocates nothing
// except for Median, whose list grows (and keeps its capacity across resets).
#pragma once

#include <cmath>
#include <cstdint>
#include <optional>
#include <string_view>

#include "analysis/running_median.h"
#include "shell/message_ids.h"
#include "shell/special_numbers.h"

namespace jov {

enum class Measure : uint8_t {
  kCount = 0,
  kSum = 1,
  kNegativeSum = 2,  // the sum with its sign turned
  kProduct = 3,
  kAverage = 4,
  kGeometricMean = 5,
  kMedian = 6,
  kMaximum = 7,
  kMinimum = 8,
  kFirst = 9,
  kLast = 10,
};
inline constexpr int kMeasureCount = 11;
// The measures' letters in templates, in measure order.
inline constexpr std::string_view kMeasureLetters = "CSsPAGDMNFL";

// Nothing for a letter that names no measure (letters compare exactly: "s" is -Sum).
std::optional<Measure> MeasureOfLetter(char letter);
constexpr char MeasureLetter(Measure measure) { return kMeasureLetters[static_cast<int>(measure)]; }
// "Count" ... "Last".
constexpr MessageId MeasureMessage(Measure measure) {
  return msg::kFirstMeasure + static_cast<int>(measure);
}

// Geom. Mean's running state: the logarithm of each value's magnitude is added to `log_sum`
// and `negative` flips at each negative value; a value without a logarithm (zero, infinite,
// missing) sends the sum to minus infinity, where it stays, so that the mean is 0.
void TakeLogarithm(double value, double& log_sum, bool& negative);
// e^(log_sum / count), negated when `negative`; 0 (never -0) after a zero; missing for no values.
double GeometricMeanOf(double log_sum, int64_t count, bool negative);

// One measure over a run of values: Reset at the start of a calculation or of a period, Add
// each value, Result when the period closes (the accumulator keeps its state, so a measure
// "from start" goes on accumulating after it).
//
// Empty runs give 0 for Count, Sum and -Sum, 1 for Product, and the missing number for the
// others. Maximum, Minimum and Median leave missing values out, so that one missing value
// neither decides nor blocks the result; Sum and Average snap (a missing value among them makes
// the sum 0), Geom. Mean becomes 0 at a zero, infinite or missing value.
class MeasureAccumulator {
 public:
  explicit MeasureAccumulator(Measure measure = Measure::kSum) : measure_(measure) { Reset(); }

  Measure measure() const { return measure_; }
  // Also resets.
  void set_measure(Measure measure);

  void Reset();
  void Add(double value) {
    ++count_;
    switch (measure_) {
      case Measure::kCount:
        return;
      case Measure::kSum:
      case Measure::kNegativeSum:
      case Measure::kAverage:
        sum_ += value;
        return;
      case Measure::kProduct:
        sum_ *= value;
        return;
      case Measure::kGeometricMean:
        return TakeLogarithm(value, sum_, negative_);
      case Measure::kMedian:
        return median_.Add(value);
      case Measure::kMaximum:
        if (value > sum_ || IsMissing(sum_)) sum_ = value;
        return;
      case Measure::kMinimum:
        if (value < sum_ || IsMissing(sum_)) sum_ = value;
        return;
      case Measure::kFirst:
        if (count_ == 1) sum_ = value;
        return;
      case Measure::kLast:
        sum_ = value;
        return;
    }
  }
  // Not const: a median puts its list in order first.
  double Result();
  // The values added since the last reset.
  int64_t count() const { return count_; }

 private:
  Measure measure_;
  int64_t count_ = 0;
  // The running sum, product, logarithm sum or kept value of the measure.
  double sum_ = 0;
  bool negative_ = false;  // Geom. Mean: an odd number of negative values so far
  RunningMedian median_;
};

}  // namespace jov
