// The period bookkeeping of an analysis over time, which runs once per card that counts (and
// per group and line for the active kinds): a year of cards, 200 a day, walked through the
// period list of each kind of period.
#include <benchmark/benchmark.h>

#include <vector>

#include "analysis/period_list.h"
#include "analysis/time_scale_list.h"
#include "model/database.h"

namespace jov {
namespace {

constexpr int kCardsPerDay = 200;

std::vector<Date> YearOfCards() {
  std::vector<Date> dates;
  for (DayCode day = PackDay(2024, 1, 1); day <= PackDay(2024, 12, 31); day = NextDay(day)) {
    for (Sequence n = 1; n <= kCardsPerDay; ++n) dates.push_back({day, n});
  }
  return dates;
}

void WalkYear(benchmark::State& state, PeriodKind kind, const TimeScale* scale) {
  const std::vector<Date> dates = YearOfCards();
  for (auto _ : state) {
    PeriodList periods(kind, dates.front(), {PackDay(2024, 12, 31), kEndOfDay}, scale);
    size_t closed = 0;
    for (const Date date : dates) {
      periods.Reach(WalkLevel::kCard, date, [&](size_t index) { closed += index; });
    }
    benchmark::DoNotOptimize(closed);
  }
  state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(dates.size()));
}

void BM_ReachCalendar(benchmark::State& state) {
  WalkYear(state, static_cast<PeriodKind>(state.range(0)), nullptr);
}
BENCHMARK(BM_ReachCalendar)
    ->Arg(static_cast<int>(PeriodKind::kMonths))
    ->Arg(static_cast<int>(PeriodKind::kWeeks))
    ->Arg(static_cast<int>(PeriodKind::kDays))
    ->Arg(static_cast<int>(PeriodKind::kActiveCards));

// A scale of one entry per week: the entry search is linear, once per period.
void BM_ReachTimeScale(benchmark::State& state) {
  Database database;
  std::vector<TimeScaleEntry> entries;
  for (DayCode day = PackDay(2024, 1, 1); day <= PackDay(2024, 12, 31);) {
    entries.push_back({{day, 1}, "Week"});
    for (int i = 0; i < 7; ++i) day = NextDay(day);
  }
  TimeScale& scale = TimeScaleList::Of(database).Create("Weeks");
  scale.SetEntries(std::move(entries));
  WalkYear(state, PeriodKind::kTimeScale, &scale);
}
BENCHMARK(BM_ReachTimeScale);

}  // namespace
}  // namespace jov
