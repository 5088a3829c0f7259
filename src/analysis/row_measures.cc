#include "analysis/row_measures.h"

#include <algorithm>
#include <span>

namespace jov {
namespace {

// The median of the values, which it reorders: the middle one, or the mean of the two middle
// ones of an even count; missing for none.
double MedianOf(std::span<double> values) {
  if (values.empty()) return kMissingNumber;
  const auto middle = values.begin() + static_cast<ptrdiff_t>(values.size() / 2);
  std::nth_element(values.begin(), middle, values.end());
  if (values.size() % 2 == 1) return *middle;
  return (*std::max_element(values.begin(), middle) + *middle) / 2;
}

// For each row, the index just past its subtree: rows in pre-order hold a subtree in one
// stretch.
std::vector<int> SubtreeEnds(const ComponentRows& rows) {
  std::vector<int> end(static_cast<size_t>(rows.size()));
  for (int r = 0; r < rows.size(); ++r) end[static_cast<size_t>(r)] = r + 1;
  for (int r = rows.size() - 1; r >= 1; --r) {
    int& parent_end = end[static_cast<size_t>(rows[r].parent)];
    parent_end = std::max(parent_end, end[static_cast<size_t>(r)]);
  }
  return end;
}

}  // namespace

RowMeasures::RowMeasures(Measure measure, int rows)
    : measure_(measure == Measure::kFirst || measure == Measure::kLast ? Measure::kSum : measure),
      count_(static_cast<size_t>(rows), 0) {
  const double start = measure_ == Measure::kProduct ? 1.0
                       : measure_ == Measure::kMaximum || measure_ == Measure::kMinimum
                           ? kMissingNumber
                           : 0.0;
  state_.assign(static_cast<size_t>(rows), start);
  if (measure_ == Measure::kGeometricMean) negative_.assign(static_cast<size_t>(rows), 0);
  if (measure_ == Measure::kMedian) values_.resize(static_cast<size_t>(rows));
}

void RowMeasures::AddLogarithm(int row, double value) {
  bool negative = negative_[static_cast<size_t>(row)] != 0;
  TakeLogarithm(value, state_[static_cast<size_t>(row)], negative);
  negative_[static_cast<size_t>(row)] = negative;
}

void RowMeasures::Finish(const ComponentRows& rows, std::vector<double>& own,
                         std::vector<double>& subtree) {
  const size_t n = static_cast<size_t>(rows.size());
  own.assign(n, kMissingNumber);
  subtree.assign(n, kMissingNumber);
  if (measure_ == Measure::kMedian) return FinishMedians(rows, own, subtree);
  // The subtree states start as the rows' own, the sums snapped, and take in each child's from
  // the last row up: pre-order brings children before their parents.
  std::vector<double> state(state_);
  std::vector<int64_t> count(count_);
  for (size_t r = 0; r < n; ++r) {
    const double n_own = static_cast<double>(count_[r]);
    switch (measure_) {
      case Measure::kCount:
        own[r] = n_own;
        break;
      case Measure::kSum:
        own[r] = state[r] = SnapToZero(state_[r]);
        break;
      case Measure::kNegativeSum:
        own[r] = state[r] = SnapToZero(-state_[r]);
        break;
      case Measure::kAverage:
        state[r] = SnapToZero(state_[r]);
        own[r] = state[r] / n_own;
        break;
      case Measure::kGeometricMean:
        own[r] = GeometricMeanOf(state_[r], count_[r], negative_[r] != 0);
        break;
      default:  // product, maximum, minimum
        own[r] = state_[r];
        break;
    }
  }
  for (int r = rows.size() - 1; r >= 1; --r) {
    const size_t child = static_cast<size_t>(r);
    const size_t parent = static_cast<size_t>(rows[r].parent);
    count[parent] += count[child];
    switch (measure_) {
      case Measure::kProduct:
        state[parent] *= state[child];
        break;
      case Measure::kMaximum:
        if (state[child] > state[parent] || IsMissing(state[parent])) state[parent] = state[child];
        break;
      case Measure::kMinimum:
        if (state[child] < state[parent] || IsMissing(state[parent])) state[parent] = state[child];
        break;
      case Measure::kGeometricMean:
        state[parent] += state[child];
        negative_[parent] ^= negative_[child];
        break;
      default:
        state[parent] += state[child];
        break;
    }
  }
  for (size_t r = 0; r < n; ++r) {
    switch (measure_) {
      case Measure::kCount:
        subtree[r] = static_cast<double>(count[r]);
        break;
      case Measure::kAverage:
        subtree[r] = state[r] / static_cast<double>(count[r]);
        break;
      case Measure::kGeometricMean:
        subtree[r] = GeometricMeanOf(state[r], count[r], negative_[r] != 0);
        break;
      default:
        subtree[r] = state[r];
        break;
    }
  }
}

void RowMeasures::FinishMedians(const ComponentRows& rows, std::vector<double>& own,
                                std::vector<double>& subtree) {
  const size_t n = static_cast<size_t>(rows.size());
  std::vector<size_t> start(n + 1, 0);
  for (size_t r = 0; r < n; ++r) start[r + 1] = start[r] + values_[r].size();
  std::vector<double> all;
  all.reserve(start[n]);
  for (std::vector<double>& values : values_) {
    all.insert(all.end(), values.begin(), values.end());
    std::vector<double>().swap(values);
  }
  const std::vector<int> end = SubtreeEnds(rows);
  std::vector<double> scratch;
  const auto median = [&](size_t from, size_t to) {
    scratch.assign(all.begin() + static_cast<ptrdiff_t>(from),
                   all.begin() + static_cast<ptrdiff_t>(to));
    return MedianOf(scratch);
  };
  for (size_t r = 0; r < n; ++r) {
    own[r] = median(start[r], start[r + 1]);
    subtree[r] = median(start[r], start[static_cast<size_t>(end[r])]);
  }
}

}  // namespace jov
