// Formulas as typed, against a small table of names. What must hold: the corrected text
// compiles to itself and to the same code, and the code runs to a value.
#include <algorithm>
#include <string>

#include "analysis/formula_compiler.h"
#include "fuzz_support.h"
#include "fuzz_target.h"

namespace jov {
namespace {

const FormulaNameTable& Names() {
  static const FormulaNameTable names = [] {
    FormulaNameTable table;
    for (const char* name : {"T", "Sales", "Cost", "Budget 2024"}) table.Add(name);
    return table;
  }();
  return names;
}

}  // namespace
}  // namespace jov

JOV_FUZZ_TARGET(formula) {
  jov::fuzz::QuietRun run;
  std::string text(jov::fuzz::AsText(data, size));
  jov::EvaluateFormulaText(text);
  const auto [formula, again] = jov::fuzz::CompileTwice(
      text, [](std::string& typed) { return jov::CompileFormula(typed, jov::Names()); });
  if (!formula || !again) return;
  JOV_FUZZ_CHECK(std::ranges::equal(formula->code(), again->code()));
  JOV_FUZZ_CHECK(formula->constants().size() == again->constants().size());
  formula->Evaluate(jov::Names().Values());
}
