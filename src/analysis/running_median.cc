#include "analysis/running_median.h"

#include <algorithm>
#include <functional>

#include "shell/special_numbers.h"

namespace jov {

void RunningMedian::Release() {
  std::vector<double>().swap(lower_);
  std::vector<double>().swap(upper_);
}

void RunningMedian::PushLower(double value) {
  lower_.push_back(value);
  std::push_heap(lower_.begin(), lower_.end());
}

void RunningMedian::PushUpper(double value) {
  upper_.push_back(value);
  std::push_heap(upper_.begin(), upper_.end(), std::greater<>());
}

void RunningMedian::Balance() {
  while (lower_.size() > upper_.size() + 1) {
    std::pop_heap(lower_.begin(), lower_.end());
    PushUpper(lower_.back());
    lower_.pop_back();
  }
  while (upper_.size() > lower_.size()) {
    std::pop_heap(upper_.begin(), upper_.end(), std::greater<>());
    PushLower(upper_.back());
    upper_.pop_back();
  }
}

double RunningMedian::Median() {
  if (size() == 0) return kMissingNumber;
  Balance();
  if (lower_.size() > upper_.size()) return lower_.front();
  return (lower_.front() + upper_.front()) / 2;
}

}  // namespace jov
