// Creating 10,000,000 lines as an import delivers them: one value field, components in three
// dimensions, about ten lines per card in two or three groups, dates roughly ascending.
// Reports lines per second and the resident bytes per line against what the layout needs
// (line, group, card and day records).
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <fstream>
#include <random>
#include <string>

#include "model/database.h"

namespace {

size_t ResidentBytes() {
  std::ifstream statm("/proc/self/statm");
  size_t pages = 0, resident = 0;
  statm >> pages >> resident;
  return resident * static_cast<size_t>(sysconf(_SC_PAGESIZE));
}

void BM_CreateLines(benchmark::State& state) {
  const int64_t line_total = state.range(0);
  for (auto _ : state) {
    state.PauseTiming();
    auto db = std::make_unique<jov::Database>();
    std::vector<jov::ComponentRef> accounts, centres, customers;
    for (int i = 0; i < 400; ++i)
      accounts.push_back(db->AddComponent(0, std::to_string(1000 + i * 7), "", ""));
    for (int i = 0; i < 50; ++i)
      centres.push_back(db->AddComponent(1, "CC" + std::to_string(i), "", ""));
    for (int i = 0; i < 3000; ++i)
      customers.push_back(db->AddComponent(2, "K" + std::to_string(i), "", ""));
    std::mt19937 random(3);
    const size_t before = ResidentBytes();
    state.ResumeTiming();

    jov::CardStore& cards = db->cards();
    int64_t made = 0;
    jov::DayCode day = jov::PackDay(2019, 1, 1);
    while (made < line_total) {
      if (random() % 40 == 0) day = jov::NextDay(day);  // roughly ascending dates
      const jov::CardRef card = cards.CreateCard({day, 0});
      const int groups = 2 + static_cast<int>(random() % 2);
      for (int g = 0; g < groups; ++g) {
        const jov::GroupRef group =
            cards.FindOrAddGroup(card, accounts[random() % accounts.size()]);
        for (int l = 0; l < 4 && made < line_total; ++l, ++made) {
          const jov::LineRef line = cards.CreateLine(group);
          const jov::ComponentRef slots[] = {centres[random() % centres.size()],
                                             customers[random() % customers.size()]};
          cards.SetComponents(line, slots);
          const double value[] = {static_cast<double>(random() % 100000) / 100};
          cards.SetValues(line, value);
        }
      }
    }

    state.PauseTiming();
    const double lines = static_cast<double>(cards.line_count());
    const double layout_bytes = static_cast<double>(
        cards.line_count() * db->line_layout().RecordSize() +
        cards.group_count() * sizeof(jov::Group) + cards.card_count() * sizeof(jov::Card) +
        cards.day_count() * sizeof(jov::Day));
    state.counters["resident_bytes_per_line"] =
        static_cast<double>(ResidentBytes() - before) / lines;
    state.counters["layout_bytes_per_line"] = layout_bytes / lines;
    state.counters["cards"] = static_cast<double>(cards.card_count());
    db.reset();
    state.ResumeTiming();
  }
  state.SetItemsProcessed(state.iterations() * line_total);
}
BENCHMARK(BM_CreateLines)->Arg(10000000)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace
