// The criterion languages on the data sizes of a large database: a plain and an advanced text
// pattern over 10,000,000 line texts of 20-40 characters (bytes per second), and a value
// condition with three terms over 100,000,000 values (values per second).
#include <benchmark/benchmark.h>

#include <cmath>
#include <random>
#include <string>
#include <vector>

#include "select/text_pattern.h"
#include "select/value_condition.h"

namespace {

// Line texts in one buffer, as the line-text store keeps them: words of mixed case and digits.
struct LineTexts {
  std::string bytes;
  std::vector<uint32_t> starts;  // one more than the number of texts
};

const LineTexts& Texts() {
  static const LineTexts texts = [] {
    constexpr int kCount = 10'000'000;
    static const char* const kWords[] = {"Invoice",  "payment", "SALARY", "rent", "Office",
                                         "supplies", "travel",  "Q3",     "ref",  "Customer",
                                         "order",    "credit",  "NOTE",   "adj",  "Stockholm"};
    std::mt19937 random(7);
    LineTexts made;
    made.bytes.reserve(kCount * 31u);
    made.starts.reserve(kCount + 1u);
    for (int i = 0; i < kCount; ++i) {
      made.starts.push_back(static_cast<uint32_t>(made.bytes.size()));
      const size_t length = 20 + random() % 21;
      std::string line;
      while (line.size() < length) {
        line += kWords[random() % 15];
        line += ' ';
        line += std::to_string(random() % 10000);
        line += ' ';
      }
      line.resize(length);
      made.bytes += line;
    }
    made.starts.push_back(static_cast<uint32_t>(made.bytes.size()));
    return made;
  }();
  return texts;
}

void MatchAll(benchmark::State& state, std::string pattern_text) {
  const LineTexts& texts = Texts();
  const std::optional<jov::TextPattern> pattern = jov::TextPattern::Compile(pattern_text);
  const size_t count = texts.starts.size() - 1;
  for (auto _ : state) {
    size_t passed = 0;
    for (size_t i = 0; i < count; ++i) {
      passed += pattern->Matches(texts.bytes.data() + texts.starts[i],
                                 texts.starts[i + 1] - texts.starts[i]);
    }
    benchmark::DoNotOptimize(passed);
    state.counters["passed"] = static_cast<double>(passed);
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * texts.bytes.size()));
}

void BM_PlainTextPattern(benchmark::State& state) { MatchAll(state, "office supplies|travel 9"); }
BENCHMARK(BM_PlainTextPattern)->Unit(benchmark::kMillisecond);

void BM_AdvancedTextPattern(benchmark::State& state) {
  MatchAll(state, "\\{invoice;payment} *1_3?:*");
}
BENCHMARK(BM_AdvancedTextPattern)->Unit(benchmark::kMillisecond);

void BM_ValueCondition(benchmark::State& state) {
  constexpr size_t kCount = 100'000'000;
  static const std::vector<double> values = [] {
    std::mt19937 random(11);
    std::vector<double> made(kCount);
    for (double& v : made) {
      const uint32_t r = random();
      v = r % 50 == 0 ? NAN : static_cast<double>(r % 400000) / 100 - 1000;
    }
    return made;
  }();
  std::string text = "<0 | 100_200 | >=2500";
  const std::optional<jov::ValueCondition> condition = jov::ValueCondition::Compile(text);
  for (auto _ : state) {
    size_t passed = 0;
    for (double v : values) passed += condition->Evaluate(v);
    benchmark::DoNotOptimize(passed);
    state.counters["passed"] = static_cast<double>(passed);
  }
  state.SetItemsProcessed(static_cast<int64_t>(state.iterations() * kCount));
}
BENCHMARK(BM_ValueCondition)->Unit(benchmark::kMillisecond);

}  // namespace
