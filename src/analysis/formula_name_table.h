// The names a formula may refer to, with their current values. Code word kNameWord + k pushes the
// value of entry k; the caller fills the table (an analysis puts "T" and its columns in it) and
// sets the values before each evaluation.
#pragma once

#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "analysis/formula_operations.h"
#include "shell/special_numbers.h"

namespace jov {

class FormulaNameTable {
 public:
  // Appends an entry whose value is the missing number; false, changing nothing, when the table
  // already holds kMaxFormulaNames entries.
  bool Add(std::string_view name) {
    if (names_.size() == kMaxFormulaNames) return false;
    names_.emplace_back(name);
    values_.push_back(kMissingNumber);
    return true;
  }

  size_t size() const { return names_.size(); }
  const std::string& Name(size_t index) const { return names_[index]; }
  double Value(size_t index) const { return values_[index]; }
  void SetValue(size_t index, double value) { values_[index] = value; }
  // The values in entry order, as CompiledFormula::Evaluate reads them.
  std::span<const double> Values() const { return values_; }

 private:
  std::vector<std::string> names_;
  std::vector<double> values_;
};

}  // namespace jov
