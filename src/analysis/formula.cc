#include "analysis/formula.h"

#include "shell/special_numbers.h"

namespace jov {

bool Formula::Uses(int name_index) const {
  return compiled_ && name_index >= 0 && compiled_->UsesName(static_cast<size_t>(name_index));
}

double Formula::Evaluate(std::span<const double> name_values) const {
  return compiled_ ? compiled_->Evaluate(name_values) : kMissingNumber;
}

void Formula::StartRunning() {
  running_ = operation == TimeOperation::kMultiplyFromStart || operation == TimeOperation::kQuotient
                 ? 1
                 : 0;
}

double Formula::ApplyOperation(double value) {
  switch (operation) {
    case TimeOperation::kNone:
      return value;
    case TimeOperation::kAddFromStart:
      return running_ += value;
    case TimeOperation::kDifference: {
      const double difference = value - running_;
      running_ = value;
      return difference;
    }
    case TimeOperation::kMultiplyFromStart:
      return running_ *= value;
    case TimeOperation::kQuotient: {
      const double quotient = value / running_;
      running_ = value;
      return quotient;
    }
  }
  return value;
}

}  // namespace jov
