// The line analysis over a generated database of 10,000,000 lines (four dimensions, one value
// field; the years 2021 to 2023), the whole range selected: the calculation with Median,
// Average and both interest rates on, linear and compounded, and with no summary row at all
// (the scan and the rows alone); then the rows a view of 40 lines asks for at the end of the
// list. Items are the lines listed.
#include <benchmark/benchmark.h>

#include <memory>
#include <vector>

#include "analysis/line_analysis.h"
#include "datagen.h"

namespace {

jov::Database& Data() {
  static const std::unique_ptr<jov::Database> database = [] {
    jov::bench::DataSpec spec;
    spec.lines = jov::bench::BenchLines(10'000'000);
    spec.value_fields = 1;
    return jov::bench::MakeDatabase(spec);
  }();
  return *database;
}

void Calculate(benchmark::State& state, std::string_view letters, bool interest,
               jov::InterestCalculation calculation) {
  jov::LineAnalysis analysis(Data());
  jov::LineAnalysisOptions& options = analysis.options();
  options.SetSummaryLetters(letters);
  options.positive_rate = interest ? 4 : 0;
  options.negative_rate = interest ? 9 : 0;
  options.calculation = calculation;
  for (auto _ : state) {
    if (!analysis.Calculate()) state.SkipWithError("calculation stopped");
  }
  state.SetItemsProcessed(state.iterations() * analysis.LineRowCount());
  state.counters["lines"] = analysis.LineRowCount();
}

void BM_MedianAverageInterest(benchmark::State& state) {
  Calculate(state, "EA", true, jov::InterestCalculation::kLinear);
}
BENCHMARK(BM_MedianAverageInterest)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_MedianAverageCompoundInterest(benchmark::State& state) {
  Calculate(state, "EA", true, jov::InterestCalculation::kExponential);
}
BENCHMARK(BM_MedianAverageCompoundInterest)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_EverySummary(benchmark::State& state) {
  Calculate(state, "B+-PFMmAE#CTR", true, jov::InterestCalculation::kLinear);
}
BENCHMARK(BM_EverySummary)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_LinesOnly(benchmark::State& state) {
  Calculate(state, "", false, jov::InterestCalculation::kLinear);
}
BENCHMARK(BM_LinesOnly)->Unit(benchmark::kMillisecond)->UseRealTime();

// What a view of 40 rows costs: the cells made from the compact rows when asked for.
void BM_VisibleRows(benchmark::State& state) {
  jov::LineAnalysis analysis(Data());
  analysis.options().SetSummaryLetters("EA");
  analysis.Calculate();
  std::vector<jov::TableCell> cells;
  const int last = analysis.RowCount();
  for (auto _ : state) {
    for (int row = last - 40; row < last; ++row) analysis.FillRow(row, cells);
    benchmark::DoNotOptimize(cells.data());
  }
  state.SetItemsProcessed(state.iterations() * 40);
}
BENCHMARK(BM_VisibleRows)->Unit(benchmark::kMicrosecond);

}  // namespace
