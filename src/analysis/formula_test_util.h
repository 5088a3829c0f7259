// Helpers shared by the formula tests: name tables built in one expression, evaluation of a text
// in one call, and a comparison of results under which every NaN equals every other.
#pragma once

#include <cmath>
#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>

#include "analysis/formula_compiler.h"
#include "shell/special_numbers.h"

namespace jov {

struct NamedValue {
  std::string_view name;
  double value = kMissingNumber;
};

inline FormulaNameTable MakeNames(std::initializer_list<NamedValue> entries) {
  FormulaNameTable names;
  for (const NamedValue& entry : entries) {
    names.Add(entry.name);
    names.SetValue(names.size() - 1, entry.value);
  }
  return names;
}

// The value of `text` against `names`; the missing number when it compiles to nothing.
inline double EvaluateText(std::string text, const FormulaNameTable& names = {}) {
  const std::optional<CompiledFormula> formula = CompileFormula(text, names);
  return formula ? formula->Evaluate(names.Values()) : kMissingNumber;
}

inline bool SameValue(double a, double b) { return (std::isnan(a) && std::isnan(b)) || a == b; }

}  // namespace jov
