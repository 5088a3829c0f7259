// The text forms that run once per card or per line value while a text database is read or
// written: Card IDs, and line values with their decimals.
#include <benchmark/benchmark.h>

#include <random>
#include <string>
#include <vector>

#include "model/packed_date.h"
#include "shell/number_text.h"

namespace jov {
namespace {

std::vector<double> LineValues() {
  std::mt19937_64 random(1);
  std::vector<double> values(4096);
  for (double& value : values) {
    value = static_cast<double>(static_cast<int64_t>(random() % 20000000) - 10000000) / 100;
  }
  return values;
}

void BM_AppendNumber(benchmark::State& state) {
  const std::vector<double> values = LineValues();
  std::string line;
  size_t i = 0;
  for (auto _ : state) {
    line.clear();
    AppendNumber(line, values[i++ % values.size()], 2);
    benchmark::DoNotOptimize(line.data());
  }
}
BENCHMARK(BM_AppendNumber);

void BM_ParseNumber(benchmark::State& state) {
  std::vector<std::string> texts;
  for (const double value : LineValues()) texts.push_back(FormatNumber(value, 2));
  size_t i = 0;
  for (auto _ : state) benchmark::DoNotOptimize(ParseNumber(texts[i++ % texts.size()]));
}
BENCHMARK(BM_ParseNumber);

void BM_AppendCardId(benchmark::State& state) {
  std::string line;
  DayCode day = PackDay(2024, 1, 1);
  Sequence number = 1;
  for (auto _ : state) {
    line.clear();
    AppendCardId(line, {day, number}, 3);
    benchmark::DoNotOptimize(line.data());
    if (++number > 300) number = 1, day = NextDay(day);
  }
}
BENCHMARK(BM_AppendCardId);

void BM_ReadCardId(benchmark::State& state) {
  std::vector<std::string> texts;
  for (DayCode day = PackDay(2024, 1, 1); texts.size() < 4096; day = NextDay(day)) {
    texts.push_back(CardIdText({day, static_cast<Sequence>(texts.size() % 300 + 1)}, 3));
  }
  size_t i = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(ReadCardId(texts[i++ % texts.size()], DateBound::kStart));
  }
}
BENCHMARK(BM_ReadCardId);

}  // namespace
}  // namespace jov
