// The component analysis over a generated database of 10,000,000 lines (four dimensions, one
// value field, an account tree of 1,017 components in the first dimension; the years 2021 to
// 2023): the whole calculation for the accounts with Before, Period and At End visible and 2023
// as the range, so that every line is read, the cards before the range for Before; the same for
// the customers (3,000 components in a line slot); the summing pass alone; and, as the floor,
// every line record read once in memory order. Items are the lines read. The pass may use two
// threads, so times are wall-clock and the CPU time is the whole process's.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstring>
#include <memory>

#include "analysis/component_analysis.h"
#include "datagen.h"

namespace {

jov::Database& Data() {
  static const std::unique_ptr<jov::Database> database = [] {
    jov::bench::DataSpec spec;
    spec.lines = jov::bench::BenchLines(10'000'000);
    spec.value_fields = 1;
    spec.accounts_per_group = 20;
    return jov::bench::MakeDatabase(spec);
  }();
  return *database;
}

void Configure(jov::ComponentAnalysis& analysis, int dimension) {
  jov::ComponentAnalysisOptions& options = analysis.options();
  options.view_dimension = dimension;
  for (jov::ColumnOptions& column : options.columns) column.visible = false;
  for (const jov::ComponentColumn kind :
       {jov::ComponentColumn::kBefore, jov::ComponentColumn::kPeriod,
        jov::ComponentColumn::kAtEnd}) {
    options.column(kind).visible = true;
  }
  analysis.selection().SetFrom("230101");
  analysis.selection().SetTo("231231");
}

int64_t LinesRead(const jov::ComponentAnalysis& analysis) {
  const jov::LinesRead& read = analysis.lines_read();
  return read.before + read.period + read.after;
}

void Calculate(benchmark::State& state, int dimension) {
  jov::ComponentAnalysis analysis(Data());
  Configure(analysis, dimension);
  for (auto _ : state) {
    if (!analysis.Calculate()) state.SkipWithError("calculation stopped");
  }
  state.SetItemsProcessed(state.iterations() * LinesRead(analysis));
  state.counters["rows"] = analysis.rows().size();
}

void BM_AccountsCalculation(benchmark::State& state) { Calculate(state, 0); }
BENCHMARK(BM_AccountsCalculation)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->MeasureProcessCPUTime();

void BM_CustomersCalculation(benchmark::State& state) { Calculate(state, 3); }
BENCHMARK(BM_CustomersCalculation)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->MeasureProcessCPUTime();

// The pass over the lines alone, into rows built once.
void BM_AccountsSums(benchmark::State& state) {
  jov::ComponentAnalysis analysis(Data());
  Configure(analysis, 0);
  jov::Selection& selection = analysis.selection();
  selection.Prepare();
  jov::ComponentRows rows;
  rows.Build(Data(), 0, selection.components(), false);
  jov::LinesRead read;
  for (auto _ : state) {
    jov::SumComponentLines(selection, {0, 0, true, false}, rows, &read);
    benchmark::DoNotOptimize(rows[0].own.count);
  }
  state.SetItemsProcessed(state.iterations() * (read.before + read.period));
}
BENCHMARK(BM_AccountsSums)->Unit(benchmark::kMillisecond)->UseRealTime()->MeasureProcessCPUTime();

// The floor: every line record read once in memory order, its value summed.
void BM_ReadRecords(benchmark::State& state) {
  const jov::LineStore& lines = Data().cards().lines();
  const size_t size = lines.record_size();
  double sum = 0;
  for (auto _ : state) {
    for (size_t chunk = 0; chunk < lines.chunk_count(); ++chunk) {
      const unsigned char* record = lines.chunk_data(chunk);
      const size_t first = chunk << jov::LineStore::kChunkBits;
      const size_t count = std::min<size_t>(jov::LineStore::kChunkMask + 1, lines.size() - first);
      for (size_t i = 0; i < count; ++i, record += size) {
        double value;
        std::memcpy(&value, record + jov::LineLayout::kHeaderBytes, sizeof value);
        sum += value;
      }
    }
    benchmark::DoNotOptimize(sum);
  }
  state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(lines.size()));
}
BENCHMARK(BM_ReadRecords)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
