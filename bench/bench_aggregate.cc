// Aggregating a generated database of 10,000,000 lines (four dimensions, three value fields, an
// account tree of 489 components; the years 2021 to 2023) by Months into new summary cards, the
// source lines removed, and the same keeping them (duplicate). Each iteration works on a fresh
// database, made outside the timing. Items are the source lines.
#include <benchmark/benchmark.h>

#include <memory>

#include "analysis/aggregate.h"
#include "datagen.h"
#include "model/user_stamp.h"

namespace {

void Aggregate(benchmark::State& state, bool duplicate) {
  jov::SetUserSignature("BEN");
  jov::bench::DataSpec spec;
  spec.lines = jov::bench::BenchLines(10'000'000);
  jov::AggregateSettings settings;
  settings.kind = jov::PeriodKind::kMonths;
  settings.duplicate = duplicate;
  jov::AggregateResult result;
  for (auto _ : state) {
    state.PauseTiming();
    std::unique_ptr<jov::Database> database = jov::bench::MakeDatabase(spec);
    state.ResumeTiming();
    if (!jov::Aggregate(*database, {}, settings, &result)) state.SkipWithError("not aggregated");
    state.PauseTiming();
    database.reset();
    state.ResumeTiming();
  }
  state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(result.source_lines));
  state.counters["cards"] = static_cast<double>(result.cards_made);
  state.counters["lines"] = static_cast<double>(result.lines_made);
}

void BM_AggregateByMonths(benchmark::State& state) { Aggregate(state, false); }
BENCHMARK(BM_AggregateByMonths)->Unit(benchmark::kMillisecond)->Iterations(2)->UseRealTime();

void BM_AggregateByMonthsDuplicate(benchmark::State& state) { Aggregate(state, true); }
BENCHMARK(BM_AggregateByMonthsDuplicate)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(2)
    ->UseRealTime();

}  // namespace
