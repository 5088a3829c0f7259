#include "analysis/period_list.h"

#include <gtest/gtest.h>

#include <vector>

#include "analysis/time_scale_list.h"
#include "model/database.h"
#include "shell/process.h"

namespace jov {
namespace {

constexpr DayCode D(int year, int month, int day) { return PackDay(year, month, day); }
constexpr Date End(DayCode day) { return {day, kEndOfDay}; }

// A card's lines as (group component, value); a line counts for the analysis when its value
// is not 0.
struct CardPlan {
  Date date;
  std::vector<std::pair<ComponentRef, double>> lines;
};

class PeriodListTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetProcess();
    const ComponentRef a = db_.AddComponent(0, "A", "", "");
    const ComponentRef b = db_.AddComponent(0, "B", "", "");
    const CardPlan cards[] = {
        {{D(2024, 3, 5), 1}, {{a, 1}, {a, 0}, {a, 2}}},
        {{D(2024, 3, 5), 2}, {{a, 0}}},  // counts for nothing
        {{D(2024, 3, 20), 1}, {{a, 1}, {b, 1}}},
        {{D(2024, 3, 20), 2}, {{b, 1}}},
        {{D(2024, 5, 2), 1}, {{a, 1}}},
    };
    CardStore& store = db_.cards();
    for (const CardPlan& plan : cards) {
      const CardRef card = store.CreateCard(plan.date);
      for (const auto& [component, value] : plan.lines) {
        const LineRef line = store.CreateLine(store.FindOrAddGroup(card, component));
        store.SetValues(line, {&value, 1});
      }
    }
  }
  void TearDown() override { ResetProcess(); }

  // Walks the cards from the list's start to its end as an analysis does, telling the list
  // about every card, group and line that counts. Returns the period index of every line that
  // counts; the indices of closed periods go to closed_.
  std::vector<size_t> Walk(PeriodList& periods) {
    const CardStore& store = db_.cards();
    std::vector<size_t> line_periods;
    const auto close = [&](size_t index) { closed_.push_back(index); };
    for (CardRef card = store.FirstCard(); card != kCardSentinel; card = store.NextCard(card)) {
      const Date date = store.CardId(card);
      if (date < periods.start() || date > periods.end() || !Counts(card)) continue;
      periods.Reach(WalkLevel::kCard, date, close);
      for (GroupRef g = store.card(card).first_group; g != kNoRecord; g = store.group(g).next) {
        if (!GroupCounts(g)) continue;
        periods.Reach(WalkLevel::kGroup, date, close);
        for (LineRef l = store.group(g).first_line; l != kNoLine; l = store.lines().next(l)) {
          if (store.GetValue(l, 0) == 0) continue;
          periods.Reach(WalkLevel::kLine, date, close);
          line_periods.push_back(periods.current());
        }
      }
    }
    return line_periods;
  }
  bool GroupCounts(GroupRef group) const {
    const CardStore& store = db_.cards();
    for (LineRef l = store.group(group).first_line; l != kNoLine; l = store.lines().next(l)) {
      if (store.GetValue(l, 0) != 0) return true;
    }
    return false;
  }
  bool Counts(CardRef card) const {
    const CardStore& store = db_.cards();
    for (GroupRef g = store.card(card).first_group; g != kNoRecord; g = store.group(g).next) {
      if (GroupCounts(g)) return true;
    }
    return false;
  }
  static std::vector<Date> Ends(const PeriodList& periods) {
    std::vector<Date> ends;
    for (size_t i = 0; i < periods.size(); ++i) ends.push_back(periods.period_end(i));
    return ends;
  }

  Database db_;
  std::vector<size_t> closed_;
};

TEST_F(PeriodListTest, CalendarPeriodsRunUpToTheLastCardThatCounts) {
  PeriodList months(PeriodKind::kMonths, {D(2024, 1, 1), 1}, End(D(2024, 12, 31)));
  EXPECT_EQ(Walk(months), (std::vector<size_t>{3, 3, 3, 3, 3, 5}));
  EXPECT_EQ(Ends(months),
            (std::vector<Date>{Date{}, End(D(2024, 1, 31)), End(D(2024, 2, 29)),
                               End(D(2024, 3, 31)), End(D(2024, 4, 30)), End(D(2024, 5, 31))}));
  EXPECT_EQ(closed_, (std::vector<size_t>{0, 1, 2, 3, 4}));
  EXPECT_EQ(months.StartDay(1), D(2024, 1, 1));
  EXPECT_EQ(months.StartDay(3), D(2024, 3, 1));

  // A card past the analysis end opens nothing beyond the end, which the last period takes.
  const Date end{D(2024, 3, 20), 1};
  PeriodList clipped(PeriodKind::kQuarters, {D(2024, 3, 1), 1}, end);
  clipped.Reach(WalkLevel::kCard, {D(2024, 5, 2), 1}, [](size_t) {});
  EXPECT_EQ(Ends(clipped), (std::vector<Date>{Date{}, end}));
}

// Reading period by period appends the periods one at a time, up to the analysis end, and
// each period starts where the previous one ended.
TEST_F(PeriodListTest, AppendingStopsAtTheAnalysisEnd) {
  const Date end{D(2024, 3, 20), 5};
  PeriodList periods(PeriodKind::kMonths, {D(2024, 1, 15), 1}, end);
  EXPECT_TRUE(periods.Append());
  EXPECT_TRUE(periods.Append());
  EXPECT_TRUE(periods.Append());
  EXPECT_FALSE(periods.Append());
  EXPECT_EQ(Ends(periods),
            (std::vector<Date>{Date{}, End(D(2024, 1, 31)), End(D(2024, 2, 29)), end}));
  EXPECT_EQ(periods.PeriodStart(1, 3), (Date{D(2024, 1, 15), 1}));
  EXPECT_EQ(periods.PeriodStart(3, 3), (Date{D(2024, 3, 1), 1}));

  PeriodList cards(PeriodKind::kActiveCards, {D(2024, 1, 1), 1}, end);
  EXPECT_FALSE(cards.Append());
  EXPECT_EQ(cards.size(), 1u);
}

TEST_F(PeriodListTest, ActiveKindsOpenAPeriodAtEachDayCardGroupOrLineThatCounts) {
  const Date start{D(2024, 1, 1), 1};
  const Date end = End(D(2024, 12, 31));
  const Date c0305{D(2024, 3, 5), 1}, c0320{D(2024, 3, 20), 1}, c0320b{D(2024, 3, 20), 2},
      c0502{D(2024, 5, 2), 1};
  struct Case {
    PeriodKind kind;
    std::vector<Date> ends;
    std::vector<size_t> line_periods;
  };
  const Case cases[] = {
      {PeriodKind::kActiveDays, {Date{}, c0305, c0320, c0502}, {1, 1, 2, 2, 2, 3}},
      {PeriodKind::kActiveCards, {Date{}, c0305, c0320, c0320b, c0502}, {1, 1, 2, 2, 3, 4}},
      {PeriodKind::kActiveGroups, {Date{}, c0305, c0320, c0320, c0320b, c0502}, {1, 1, 2, 3, 4, 5}},
      {PeriodKind::kActiveLines,
       {Date{}, c0305, c0305, c0320, c0320, c0320b, c0502},
       {1, 2, 3, 4, 5, 6}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(PeriodKindCode(c.kind));
    closed_.clear();
    PeriodList periods(c.kind, start, end);
    EXPECT_EQ(Walk(periods), c.line_periods);
    EXPECT_EQ(Ends(periods), c.ends);
    EXPECT_EQ(closed_.size(), c.ends.size() - 1);
  }
}

TEST_F(PeriodListTest, TimeScalePeriodsEndBeforeTheNextEntryAndAtTheAnalysisEnd) {
  TimeScale& scale = TimeScaleList::Of(db_).Create("Split");
  scale.SetEntries({{{D(2024, 1, 1), 1}, "Early"}, {{D(2024, 3, 20), 2}, "Late"}});
  const Date end{D(2024, 6, 30), 5};
  PeriodList periods(PeriodKind::kTimeScale, {D(2023, 12, 1), 1}, end, &scale);
  EXPECT_EQ(Walk(periods), (std::vector<size_t>{2, 2, 2, 2, 3, 3}));
  EXPECT_EQ(Ends(periods),
            (std::vector<Date>{Date{}, End(D(2023, 12, 31)), Date{D(2024, 3, 20), 1}, end}));

  // A list without its scale makes one period up to the end.
  PeriodList orphan(PeriodKind::kTimeScale, {D(2024, 1, 1), 1}, end);
  orphan.Reach(WalkLevel::kCard, {D(2024, 2, 1), 1}, [](size_t) {});
  EXPECT_EQ(Ends(orphan), (std::vector<Date>{Date{}, end}));
}

}  // namespace
}  // namespace jov
