// The median of a growing list of values, asked for now and then while the list grows (a
// variable measuring the median "from start" is asked once a period over millions of values).
// The values are kept in two heaps, the lower half in a max-heap and the upper half in a
// min-heap, every value of the lower not above any of the upper; a value is added to the half it
// belongs to in amortised constant time, and the halves are evened out only when the median is
// asked for.
#pragma once

#include <cstddef>
#include <vector>

namespace jov {

class RunningMedian {
 public:
  // Missing values (NaN) have no place in an order and are left out.
  void Add(double value) {
    if (value != value) return;
    if (!lower_.empty() ? value <= lower_.front() : upper_.empty() || value <= upper_.front()) {
      PushLower(value);
    } else {
      PushUpper(value);
    }
  }
  // Empties the list, keeping the memory for the next run.
  void Clear() {
    lower_.clear();
    upper_.clear();
  }
  // Frees the memory too.
  void Release();
  size_t size() const { return lower_.size() + upper_.size(); }

  // The middle value in ascending order, or the mean of the two middle values of an even count;
  // the missing number for an empty list.
  double Median();

 private:
  void PushLower(double value);
  void PushUpper(double value);
  // Moves values between the halves until the lower holds the middle value (or the lower of
  // the two middle values).
  void Balance();

  std::vector<double> lower_;  // max-heap
  std::vector<double> upper_;  // min-heap
};

}  // namespace jov
