// Adding components and finding them by code and by host code, at 10,000 and 1,000,000
// components. Codes are account-like numbers in a hierarchy plus mixed texts; half the
// components carry a host code. Lookups must stay flat as the dimension grows.
#include <benchmark/benchmark.h>

#include <random>
#include <string>
#include <vector>

#include "model/database.h"
#include "shell/process.h"
#include "shell/recording_sink.h"

namespace {

struct Generated {
  std::vector<std::string> codes;
  std::vector<std::string> hosts;  // empty for half of them
};

Generated MakeComponents(int count) {
  Generated g;
  std::mt19937 random(42);
  const char* const words[] = {"SALES", "NORD", "K\xD6P", "LAGER", "KUND", "PROJ"};
  for (int i = 0; i < count; ++i) {
    std::string code;
    if (i % 4 == 3) {
      code = std::string(words[random() % 6]) + "-" + std::to_string(i);
    } else {
      // Account-like: 4-digit accounts below 1- and 2-digit groups, then sub-accounts.
      code = std::to_string(1000 + i % 9000) + std::to_string(i / 9000);
    }
    g.codes.push_back(code);
    g.hosts.push_back(i % 2 ? "H" + std::to_string(i * 7 + 13) : "");
  }
  return g;
}

void Fill(jov::Database& db, const Generated& g) {
  for (size_t i = 0; i < g.codes.size(); ++i) db.AddComponent(0, g.codes[i], "", g.hosts[i]);
}

void BM_AddComponents(benchmark::State& state) {
  const Generated g = MakeComponents(static_cast<int>(state.range(0)));
  jov::RecordingSink sink;
  jov::ScopedSink scoped(&sink);
  for (auto _ : state) {
    jov::Database db;
    Fill(db, g);
    benchmark::DoNotOptimize(db.components().size());
  }
  state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_AddComponents)->Arg(10000)->Arg(1000000)->Unit(benchmark::kMillisecond);

void BM_FindByCode(benchmark::State& state) {
  const Generated g = MakeComponents(static_cast<int>(state.range(0)));
  jov::Database db;
  Fill(db, g);
  std::vector<size_t> order(g.codes.size());
  std::mt19937 random(1);
  for (size_t& o : order) o = random() % g.codes.size();
  size_t i = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(db.FindByCode(0, g.codes[order[i]]));
    if (++i == order.size()) i = 0;
  }
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_FindByCode)->Arg(10000)->Arg(1000000);

void BM_FindByHost(benchmark::State& state) {
  const Generated g = MakeComponents(static_cast<int>(state.range(0)));
  jov::Database db;
  Fill(db, g);
  std::vector<std::string> hosts;
  for (const std::string& h : g.hosts) {
    if (!h.empty()) hosts.push_back(h);
  }
  std::mt19937 random(2);
  std::shuffle(hosts.begin(), hosts.end(), random);
  size_t i = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(db.FindByHost(0, hosts[i]));
    if (++i == hosts.size()) i = 0;
  }
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_FindByHost)->Arg(10000)->Arg(1000000);

}  // namespace
