// The time functions analysis over a generated database of 10,000,000 lines spread over the six
// years 2019 to 2024 (four dimensions, one value field): months over the six years, 72 rows,
// with four variables (Sum, Average, Median, Count) and two formulas, the variables measured
// from the start (the default, where the median runs over every line read so far) and by period.
// Items are the lines the variables read, four times the database's.
#include <benchmark/benchmark.h>

#include <memory>

#include "analysis/time_functions.h"
#include "datagen.h"

namespace {

jov::Database& Data() {
  static const std::unique_ptr<jov::Database> database = [] {
    jov::bench::DataSpec spec;
    spec.lines = 10'000'000;
    spec.value_fields = 1;
    spec.first_year = 2019;
    spec.years = 6;
    return jov::bench::MakeDatabase(spec);
  }();
  return *database;
}

void Configure(jov::TimeFunctionsAnalysis& analysis, jov::Accumulation accumulation) {
  analysis.options().SetRange(jov::PackDay(2019, 1, 1), jov::PackDay(2024, 12, 31));
  analysis.options().period_kind = jov::PeriodKind::kMonths;
  jov::FunctionColumns& columns = analysis.columns();
  for (const auto& [name, measure] :
       {std::pair{"sum", jov::Measure::kSum}, std::pair{"average", jov::Measure::kAverage},
        std::pair{"median", jov::Measure::kMedian}, std::pair{"count", jov::Measure::kCount}}) {
    jov::Variable* variable = columns.AddVariable(name);
    variable->measure = measure;
    variable->accumulation = accumulation;
  }
  columns.SetText(*columns.AddFormula("mean"), "sum / count");
  jov::Formula* growth = columns.AddFormula("growth");
  columns.SetText(*growth, "sum");
  growth->operation = jov::TimeOperation::kQuotient;
}

void Calculate(benchmark::State& state, jov::Accumulation accumulation) {
  jov::Database& db = Data();
  jov::TimeFunctionsAnalysis analysis(db);
  Configure(analysis, accumulation);
  for (auto _ : state) {
    if (!analysis.Calculate()) state.SkipWithError("calculation stopped");
  }
  state.SetItemsProcessed(state.iterations() * 4 * static_cast<int64_t>(db.cards().line_count()));
  state.counters["rows"] = static_cast<double>(analysis.row_count());
}

void BM_MonthsFromStart(benchmark::State& state) {
  Calculate(state, jov::Accumulation::kFromStart);
}
BENCHMARK(BM_MonthsFromStart)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_MonthsByPeriod(benchmark::State& state) { Calculate(state, jov::Accumulation::kByPeriod); }
BENCHMARK(BM_MonthsByPeriod)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
