#include "analysis/measure.h"

namespace jov {

std::optional<Measure> MeasureOfLetter(char letter) {
  const size_t at = kMeasureLetters.find(letter);
  if (letter == '\0' || at == std::string_view::npos) return std::nullopt;
  return static_cast<Measure>(at);
}

void MeasureAccumulator::set_measure(Measure measure) {
  measure_ = measure;
  Reset();
}

void MeasureAccumulator::Reset() {
  count_ = 0;
  negative_ = false;
  median_.Clear();
  switch (measure_) {
    case Measure::kProduct:
      sum_ = 1;
      return;
    case Measure::kMaximum:
    case Measure::kMinimum:
    case Measure::kFirst:
    case Measure::kLast:
      sum_ = kMissingNumber;
      return;
    default:
      sum_ = 0;
      return;
  }
}

void TakeLogarithm(double value, double& log_sum, bool& negative) {
  if (value > 0 && std::isfinite(value)) {
    log_sum += std::log(value);
  } else if (value < 0 && std::isfinite(value)) {
    log_sum += std::log(-value);
    negative = !negative;
  } else {
    log_sum = kMinusInfinity;
  }
}

double GeometricMeanOf(double log_sum, int64_t count, bool negative) {
  const double mean = std::exp(log_sum / static_cast<double>(count));
  if (mean == 0) return 0;  // not -0
  return negative ? -mean : mean;
}

double MeasureAccumulator::Result() {
  const double n = static_cast<double>(count_);
  switch (measure_) {
    case Measure::kCount:
      return n;
    case Measure::kSum:
      return SnapToZero(sum_);
    case Measure::kNegativeSum:
      return SnapToZero(-sum_);
    case Measure::kAverage:
      return SnapToZero(sum_) / n;
    case Measure::kGeometricMean:
      return GeometricMeanOf(sum_, count_, negative_);
    case Measure::kMedian:
      return median_.Median();
    default:
      return sum_;
  }
}

}  // namespace jov
