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

// The logarithms of the magnitudes are summed and the sign is kept apart; a value without a
// logarithm (zero, infinite, missing) sends the sum to minus infinity, where it stays, so that
// the mean is 0.
void MeasureAccumulator::AddLogarithm(double value) {
  if (value > 0 && std::isfinite(value)) {
    sum_ += std::log(value);
  } else if (value < 0 && std::isfinite(value)) {
    sum_ += std::log(-value);
    negative_ = !negative_;
  } else {
    sum_ = kMinusInfinity;
  }
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
    case Measure::kGeometricMean: {
      const double mean = std::exp(sum_ / n);
      if (mean == 0) return 0;  // not -0
      return negative_ ? -mean : mean;
    }
    case Measure::kMedian:
      return median_.Median();
    default:
      return sum_;
  }
}

}  // namespace jov
