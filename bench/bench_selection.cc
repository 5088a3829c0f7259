// The scan of a selection over a generated database of 10,000,000 lines: component expressions
// on two dimensions, a date range and a value condition, collected into a LineSet and handed to
// a callback, and as a subset. Reports the lines in the date range scanned per second (items),
// the lines taken, and the memory the collected LineSet and the subset's result hold; and, as
// the floor, the rate at which the line records can be read at all.
#include <benchmark/benchmark.h>

#include <memory>

#include "datagen.h"
#include "select/selection.h"
#include "select/selection_scan.h"
#include "select/subset_list.h"

namespace {

jov::Database& Data() {
  static const std::unique_ptr<jov::Database> database = [] {
    jov::bench::DataSpec spec;
    spec.lines = jov::bench::BenchLines(10'000'000);
    return jov::bench::MakeDatabase(spec);
  }();
  return *database;
}

void Configure(jov::Selection& selection) {
  selection.SetFrom("210201");
  selection.SetTo("231130");
  selection.SetComponentExpression(1, "CC10000_CC10029");
  selection.SetComponentExpression(2, "\xACP10000_P10099");
  selection.SetValueCondition(0, ">0");
}

// The lines of the cards in the date range: what the scan walks.
int64_t LinesInRange(const jov::Selection& selection) {
  int64_t lines = 0;
  const jov::CardStore& cards = selection.database().cards();
  for (jov::CardRef card = selection.plan().first; card != selection.plan().end;
       card = cards.NextCard(card)) {
    for (jov::GroupRef g = cards.card(card).first_group; g != jov::kNoRecord;
         g = cards.group(g).next) {
      for (jov::LineRef line = cards.group(g).first_line; line != jov::kNoLine;
           line = cards.lines().next(line)) {
        ++lines;
      }
    }
  }
  return lines;
}

void BM_CollectLines(benchmark::State& state) {
  jov::Selection selection(Data());
  Configure(selection);
  jov::LineSet lines;
  for (auto _ : state) {
    if (!selection.CollectLines(lines)) state.SkipWithError("scan stopped");
    benchmark::DoNotOptimize(lines.words());
  }
  const int64_t scanned = LinesInRange(selection);
  state.SetItemsProcessed(state.iterations() * scanned);
  state.counters["scanned"] = static_cast<double>(scanned);
  state.counters["taken"] = static_cast<double>(lines.Count());
  state.counters["set_bytes"] = static_cast<double>(lines.BytesAllocated());
}
// A long range is collected on two threads: its rate is by the clock.
BENCHMARK(BM_CollectLines)->Unit(benchmark::kMillisecond)->UseRealTime();

// The same scan handing each line taken to a callback, as analyses scan.
void BM_ScanWithCallback(benchmark::State& state) {
  jov::Selection selection(Data());
  Configure(selection);
  int64_t taken = 0;
  for (auto _ : state) {
    selection.Prepare();
    taken = 0;
    jov::ScanSelection(selection, [&](jov::CardRef, jov::GroupRef, jov::LineRef) { ++taken; });
    benchmark::DoNotOptimize(taken);
  }
  state.SetItemsProcessed(state.iterations() * LinesInRange(selection));
  state.counters["taken"] = static_cast<double>(taken);
}
BENCHMARK(BM_ScanWithCallback)->Unit(benchmark::kMillisecond);

// A subset of one named selection with the same criteria, calculated anew each time: the
// memory its result holds.
void BM_CalculateSubset(benchmark::State& state) {
  jov::Subset& subset = jov::SubsetList::Of(Data()).Create("Bench");
  Configure(subset.AddSelection("A").selection());
  subset.SetCombination("A");
  for (auto _ : state) {
    subset.Invalidate();
    if (!subset.Calculate()) state.SkipWithError("calculation failed");
  }
  state.SetItemsProcessed(state.iterations() * LinesInRange(subset.selections()[0]->selection()));
  state.counters["taken"] = static_cast<double>(subset.Count());
  state.counters["result_bytes"] = static_cast<double>(subset.lines()->BytesAllocated());
  jov::SubsetList::Of(Data()).Erase(subset, /*confirm=*/false);
}
BENCHMARK(BM_CalculateSubset)->Unit(benchmark::kMillisecond);

// The floor: every line record of the database read once in number order, one value summed.
void BM_ReadRecords(benchmark::State& state) {
  const jov::LineStore& lines = Data().cards().lines();
  double sum = 0;
  for (auto _ : state) {
    for (jov::LineRef line = 0; line < lines.size(); ++line) sum += lines.value(line, 0);
    benchmark::DoNotOptimize(sum);
  }
  state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(lines.size()));
}
BENCHMARK(BM_ReadRecords)->Unit(benchmark::kMillisecond);

}  // namespace
