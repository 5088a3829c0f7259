// Evaluation speed of a compiled formula: six names and eight operations, evaluated with name
// values that change between evaluations, as an analysis does per period.
#include <benchmark/benchmark.h>

#include <array>
#include <string>

#include "analysis/formula_compiler.h"

namespace jov {
namespace {

constexpr std::array<const char*, 6> kNames = {"sales", "cost", "stock", "rate", "days", "t"};

void BM_EvaluateFormula(benchmark::State& state) {
  FormulaNameTable names;
  for (const char* name : kNames) names.Add(name);
  // Eight operations (- * + / - abs * -) over six names and one constant.
  std::string text = "(sales - cost) * rate / (stock + days) - abs(t - days) * 0.5";
  const std::optional<CompiledFormula> formula = CompileFormula(text, names);
  if (!formula) {
    state.SkipWithError("the benchmark formula did not compile");
    return;
  }
  for (size_t i = 0; i < names.size(); ++i) names.SetValue(i, 1.5 + static_cast<double>(i));
  size_t step = 0;
  for (auto _ : state) {
    const size_t changed = step % kNames.size();
    names.SetValue(changed, names.Value(changed) + 0.25);
    benchmark::DoNotOptimize(formula->Evaluate(names.Values()));
    ++step;
  }
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_EvaluateFormula)->Iterations(100'000'000);

}  // namespace
}  // namespace jov
