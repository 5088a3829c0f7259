// One variable's measure per row of a component hierarchy: the values of each row's own lines
// are taken as they are read, and then every row gets two results, one over its own lines and
// one over its whole subtree (the row and all rows below it).
//
// Subtree results are formed from the rows' own states, children before their parents, so that
// no value is kept twice except by Median: Count, Sum, -Sum and Average add the rows' snapped
// own sums and counts, Product multiplies, Geom. Mean adds the logarithm sums and counts and
// keeps the parity of the negative values, Maximum and Minimum take the largest (smallest)
// defined value of the row and its children. Median keeps every value, gathered in one array in
// row order; since the rows are in pre-order, a subtree's values are one stretch of it. First
// and Last have no order among the lines of a component and are measured as Sum.
#pragma once

#include <cstdint>
#include <vector>

#include "analysis/component_rows.h"
#include "analysis/measure.h"

namespace jov {

class RowMeasures {
 public:
  // Empty states for `rows` rows.
  RowMeasures(Measure measure, int rows);

  Measure measure() const { return measure_; }

  void Add(int row, double value) {
    ++count_[static_cast<size_t>(row)];
    double& state = state_[static_cast<size_t>(row)];
    switch (measure_) {
      case Measure::kCount:
        return;
      case Measure::kProduct:
        state *= value;
        return;
      case Measure::kGeometricMean:
        return AddLogarithm(row, value);
      case Measure::kMedian:
        if (value == value) values_[static_cast<size_t>(row)].push_back(value);
        return;
      case Measure::kMaximum:
        if (value > state || IsMissing(state)) state = value;
        return;
      case Measure::kMinimum:
        if (value < state || IsMissing(state)) state = value;
        return;
      default:  // the sums, the average, and first and last read as a sum
        state += value;
        return;
    }
  }

  // The values the row's own lines gave.
  int64_t count(int row) const { return count_[static_cast<size_t>(row)]; }

  // The own and subtree results of every row of `rows`, which must be the rows the values were
  // added for, still in pre-order (before any filter or sort). Releases the kept values.
  void Finish(const ComponentRows& rows, std::vector<double>& own, std::vector<double>& subtree);

 private:
  void AddLogarithm(int row, double value);
  // Median: every row's own and subtree median from its stretch of the gathered values.
  void FinishMedians(const ComponentRows& rows, std::vector<double>& own,
                     std::vector<double>& subtree);

  Measure measure_;
  std::vector<int64_t> count_;
  // By the measure: the sum, the product, the logarithm sum, or the extreme value so far.
  std::vector<double> state_;
  std::vector<uint8_t> negative_;            // Geom. Mean: an odd number of negative values
  std::vector<std::vector<double>> values_;  // Median
};

}  // namespace jov
