#include "analysis/aggregate.h"

#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <random>
#include <tuple>

#include "analysis/aggregate_period.h"
#include "analysis/rewrite_test_util.h"
#include "analysis/time_scale_list.h"
#include "shell/process.h"

namespace jov {
namespace {

TEST(AggregatePeriodTest, PeriodsAndTheirNames) {
  struct Case {
    PeriodKind kind;
    DayCode day;
    DayCode start;
    DayCode end;
    const char* name;
  };
  const Case cases[] = {
      {PeriodKind::kYears, PackDay(2001, 7, 4), PackDay(2001, 1, 1), PackDay(2001, 12, 31), "2001"},
      {PeriodKind::kHalfYears, PackDay(2001, 7, 4), PackDay(2001, 7, 1), PackDay(2001, 12, 31),
       "0107-0112"},
      {PeriodKind::kTertials, PackDay(2001, 4, 30), PackDay(2001, 1, 1), PackDay(2001, 4, 30),
       "0101-0104"},
      {PeriodKind::kQuarters, PackDay(2000, 2, 29), PackDay(2000, 1, 1), PackDay(2000, 3, 31),
       "0001-0003"},
      {PeriodKind::kTwoMonths, PackDay(2001, 12, 1), PackDay(2001, 11, 1), PackDay(2001, 12, 31),
       "0111-0112"},
      {PeriodKind::kMonths, PackDay(2001, 1, 31), PackDay(2001, 1, 1), PackDay(2001, 1, 31),
       "0101"},
      {PeriodKind::kMonths, PackDay(2001, 2, 1), PackDay(2001, 2, 1), PackDay(2001, 2, 28), "0102"},
      {PeriodKind::kHalfMonths, PackDay(2001, 2, 15), PackDay(2001, 2, 1), PackDay(2001, 2, 15),
       "010201-010215"},
      {PeriodKind::kHalfMonths, PackDay(2001, 2, 16), PackDay(2001, 2, 16), PackDay(2001, 2, 28),
       "010216-010228"},
      // 2024-03-10 is a Sunday: it ends the week that began on Monday the 4th.
      {PeriodKind::kWeeks, PackDay(2024, 3, 10), PackDay(2024, 3, 4), PackDay(2024, 3, 10),
       "240304-240310"},
      {PeriodKind::kWeeks, PackDay(2024, 3, 11), PackDay(2024, 3, 11), PackDay(2024, 3, 17),
       "240311-240317"},
      {PeriodKind::kDays, PackDay(2024, 3, 11), PackDay(2024, 3, 11), PackDay(2024, 3, 11), ""},
      // Before the first whole block the period starts on the calendar's first day.
      {PeriodKind::kFourWeeks, PackDay(1900, 1, 1), PackDay(1900, 1, 1), PackDay(1900, 1, 1), ""},
      {PeriodKind::kFourWeeks, PackDay(1900, 1, 2), PackDay(1900, 1, 2), PackDay(1900, 1, 29),
       "000102-000129"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(DayCodeText(c.day) + " kind " + std::to_string(static_cast<int>(c.kind)));
    const DayRange range = CalendarPeriodOf(c.kind, c.day);
    EXPECT_EQ(range, (DayRange{c.start, c.end}));
    EXPECT_EQ(CalendarPeriodName(c.kind, range), c.name);
  }
  // The week blocks start on Mondays, on day numbers n with n - 1 divisible by their length.
  for (const PeriodKind kind : {PeriodKind::kWeeks, PeriodKind::kTwoWeeks, PeriodKind::kThreeWeeks,
                                PeriodKind::kFourWeeks}) {
    for (DayCode day = PackDay(2023, 12, 1); day < PackDay(2024, 3, 1); day = NextDay(day)) {
      const DayRange range = CalendarPeriodOf(kind, day);
      const int32_t start = DayNumber(range.start);
      ASSERT_EQ(DayOfWeek(start), 1);
      ASSERT_LE(start, DayNumber(day));
      ASSERT_GE(DayNumber(range.end), DayNumber(day));
      ASSERT_EQ(DayNumber(range.end) - start + 1,
                7 * (static_cast<int>(PeriodKind::kWeeks) - static_cast<int>(kind) + 1));
    }
  }
}

class AggregateTest : public RewriteTest {
 protected:
  AggregateSettings Options(std::vector<std::string> tokens) {
    AggregateSettings settings;
    EXPECT_TRUE(ApplyAggregateOptions(settings, db_, tokens).empty());
    return settings;
  }
  bool Run(const std::vector<std::string>& tokens, const LineSet* lines = nullptr) {
    return Aggregate(db_, {lines, CardLevel::kLines}, Options(tokens), &result_);
  }
  AggregateResult result_;
};

TEST_F(AggregateTest, MonthsMakeOneTitledCardPerMonthAtItsFirstDay) {
  AddCard(PackDay(2001, 1, 31), {{"N", "1", 10}, {"N", "2", 1}});
  AddCard(PackDay(2001, 1, 31), {{"N", "1", 5, "A", 7}});
  AddCard(PackDay(2001, 2, 1), {{"S", "1", 3}});
  ASSERT_TRUE(Run({"-months", "-periodnames"}));
  // A summary card is numbered as a new card of its day while the sources are still there.
  EXPECT_EQ(CardList(), (std::vector<std::string>{"010101-1  0101", "010201-2  0102"}));
  EXPECT_EQ(LinesOf(CardAt(0)), (std::vector<std::string>{"N/1/A=15,7", "N/2/A=1,0"}));
  EXPECT_EQ(LinesOf(CardAt(1)), (std::vector<std::string>{"S/1/A=3,0"}));
  EXPECT_EQ(db_.cards().card(CardAt(0)).created.Signature(), "TST");
  EXPECT_EQ(result_.source_lines, 4u);
  EXPECT_EQ(result_.cards_made, 2u);
  EXPECT_EQ(result_.lines_made, 3u);

  ASSERT_TRUE(Run({"-years", "-title", "  Summary ", "-noperiodnames"}));
  EXPECT_EQ(CardList(), (std::vector<std::string>{"010101-2 Summary"}));
  EXPECT_EQ(LinesOf(CardAt(0)), (std::vector<std::string>{"N/1/A=15,7", "N/2/A=1,0", "S/1/A=3,0"}));
}

TEST_F(AggregateTest, RunsThatSumToZeroGoUnlessKept) {
  AddCard(PackDay(2001, 1, 3), {{"N", "1", 5}, {"N", "2", 1e-7}});
  AddCard(PackDay(2001, 1, 4), {{"N", "1", -5}});
  AddCard(PackDay(2001, 2, 4), {{"N", "1", 5}, {"N", "1", -5}});
  ASSERT_TRUE(Run({"-months"}));
  EXPECT_TRUE(CardList().empty());  // every run snapped to zero: no card is left at all
  EXPECT_EQ(result_.cards_made, 0u);

  AddCard(PackDay(2001, 1, 3), {{"N", "1", 5}, {"N", "2", 1e-7}});
  AddCard(PackDay(2001, 1, 4), {{"N", "1", -5}});
  ASSERT_TRUE(Run({"-months", "-keepzerolines"}));
  ASSERT_EQ(CardList().size(), 1u);
  EXPECT_EQ(LinesOf(CardAt(0)), (std::vector<std::string>{"N/1/A=0,0", "N/2/A=0,0"}));
}

TEST_F(AggregateTest, DuplicateKeepsTheSourcesAndOutsideLinesStay) {
  const CardRef first = AddCard(PackDay(2001, 1, 3), {{"N", "1", 5}, {"N", "2", 2}});
  AddCard(PackDay(2001, 1, 9), {{"N", "1", 4}});
  ASSERT_TRUE(Run({"-months", "-duplicate"}));
  EXPECT_EQ(CardList().size(), 3u);
  EXPECT_EQ(LinesOf(CardAt(0)), (std::vector<std::string>{"N/1/A=9,0", "N/2/A=2,0"}));
  EXPECT_EQ(LinesOf(CardAt(1)), (std::vector<std::string>{"N/1/A=5,0", "N/2/A=2,0"}));

  // A window holding one line of a card takes only that line; the card keeps the rest and is
  // stamped as changed, its examination cleared.
  db_.cards().Examine(first, StampNow("EXA"));
  db_.cards().mutable_card(first).created = StampNow("OLD");
  LineSet window;
  window.Reset(db_.cards().lines().size());
  window.Set(db_.cards().group(db_.cards().card(first).first_group).first_line);
  ASSERT_TRUE(Run({"-days"}, &window));
  EXPECT_EQ(LinesOf(first), (std::vector<std::string>{"N/2/A=2,0"}));
  EXPECT_EQ(db_.cards().card(first).modified.Signature(), "TST");
  EXPECT_TRUE(db_.cards().card(first).examined.empty());
  EXPECT_EQ(CardList().size(), 4u);
}

TEST_F(AggregateTest, CardsMergeLinesWithinEachCard) {
  const CardRef card =
      AddCard(PackDay(2001, 1, 3),
              {{"N", "1", 5}, {"S", "1", 1}, {"N", "1", 2, "B"}, {"N", "1", 4}}, "Keep");
  AddCard(PackDay(2001, 1, 4), {{"N", "2", 5}, {"N", "2", -5}});
  ASSERT_TRUE(Run({"-cards"}));
  EXPECT_EQ(CardList(), (std::vector<std::string>{"010103-1 Keep"}));
  EXPECT_EQ(LinesOf(card), (std::vector<std::string>{"N/1/A=9,0", "N/1/B=2,0", "S/1/A=1,0"}));
  EXPECT_EQ(db_.cards().card(card).created.Signature(), "TST");
}

TEST_F(AggregateTest, SingleCardAndTimeScalePeriods) {
  AddCard(PackDay(2001, 1, 3), {{"N", "1", 5}});
  AddCard(PackDay(2001, 3, 3), {{"N", "1", 1}});
  AddCard(PackDay(2001, 9, 3), {{"N", "1", 2}});
  TimeScale& scale = TimeScaleList::Of(db_).Create("Season");
  scale.SetEntries({{{PackDay(2001, 2, 1), 1}, "Spring  "}, {{PackDay(2001, 6, 1), 1}, "Summer"}});
  ASSERT_TRUE(Run({"-timescale", " season ", "-title", "S"}));
  // Before the first entry the period starts at the first card.
  EXPECT_EQ(CardList(),
            (std::vector<std::string>{"010103-2 S ", "010201-1 S Spring", "010601-1 S Summer"}));
  ASSERT_TRUE(Run({"-onecard", "011231", "-title", "All"}));
  EXPECT_EQ(CardList(), (std::vector<std::string>{"011231-1 All"}));
  EXPECT_EQ(LinesOf(CardAt(0)), (std::vector<std::string>{"N/1/A=8,0"}));
}

TEST_F(AggregateTest, APeriodWhoseCardCannotBeMadeKeepsItsLines) {
  // The first period starts at the last number a day has, which a card holds already: its
  // summary card cannot be made.
  const Sequence last = kEndOfDay - 1;
  const CardRef full = db_.cards().CreateCard({PackDay(2001, 1, 1), last});
  AddLineTo(full, {"N", "1", 5});
  AddCard(PackDay(2001, 1, 2), {{"N", "1", 7}});
  TimeScaleList::Of(db_).Create("Late").SetEntries(
      {{{PackDay(2001, 1, 1), last}, "Last"}, {{PackDay(2001, 1, 2), 1}, "Next"}});
  ASSERT_TRUE(Run({"-timescale", "late"}));
  // Its line stays where it was, and out of the next period's sums.
  EXPECT_EQ(LinesOf(full), (std::vector<std::string>{"N/1/A=5,0"}));
  EXPECT_EQ(CardList(), (std::vector<std::string>{"010101-2147483646 ", "010102-2  Next"}));
  EXPECT_EQ(LinesOf(CardAt(1)), (std::vector<std::string>{"N/1/A=7,0"}));
}

TEST_F(AggregateTest, OptionTokens) {
  AggregateSettings settings;
  const std::vector<std::string> tokens = {
      "-WEEKS",         "-Title", " T ",    "-noPeriodNames", "-duplicate",
      "-keepzerolines", "-bogus", "months", "-timescale",     "Nope"};
  EXPECT_EQ(ApplyAggregateOptions(settings, db_, tokens),
            (std::vector<std::string>{"-bogus", "months", "Nope"}));
  EXPECT_EQ(settings.by, AggregateBy::kCalendar);
  EXPECT_EQ(settings.kind, PeriodKind::kWeeks);
  EXPECT_EQ(settings.card_title, "T");
  EXPECT_FALSE(settings.append_period_name);
  EXPECT_TRUE(settings.duplicate && settings.keep_zero_lines);
  // The card date is taken only when the next token is not an option.
  const std::vector<std::string> one = {"-onecard", "-cards", "-onecard", "0101"};
  EXPECT_TRUE(ApplyAggregateOptions(settings, db_, one).empty());
  EXPECT_EQ(settings.by, AggregateBy::kSingleCard);
  EXPECT_EQ(settings.card_date, "0101");
}

TEST_F(AggregateTest, NothingHappensWithoutASignatureOrLines) {
  EXPECT_FALSE(Run({"-months"}));  // no lines
  AddCard(PackDay(2001, 1, 3), {{"N", "1", 5}, {"N", "1", 5}});
  ResetProcess();  // no signature and no one to ask
  EXPECT_FALSE(Run({"-months"}));
  EXPECT_EQ(LinesOf(CardAt(0)).size(), 2u);
}

// Aggregating any database by any resolution keeps the total of every component of every
// dimension per period, and leaves the lines outside the window as they were.
TEST_F(AggregateTest, EveryResolutionKeepsEachComponentsTotalPerPeriod) {
  using Key = std::tuple<DayCode, ComponentRef, int>;  // period start, component, field
  const std::vector<std::string> resolutions = {"years",   "halfyears", "tertials",   "quarters",
                                                "2months", "months",    "halfmonths", "4weeks",
                                                "3weeks",  "2weeks",    "weeks",      "days"};
  // The second round gives every line 16 components, too many to sort as one number.
  for (const bool wide : {false, true}) {
    if (wide) {
      db_.AddComponent(15, "Z", "", "");
      db_.FlushChangeFlags();
    }
    for (const std::string& resolution : resolutions) {
      SCOPED_TRACE(resolution + (wide ? " wide" : ""));
      while (db_.cards().FirstCard() != kCardSentinel)
        db_.cards().DeleteCard(db_.cards().FirstCard());
      std::mt19937 random(7);
      const char* companies[] = {"N", "S"};
      const char* accounts[] = {"1", "10", "2", "3"};
      for (int c = 0; c < 300; ++c) {
        const DayCode day = DayCodeFromNumber(DayNumber(PackDay(2022, 11, 20)) +
                                              static_cast<int32_t>(random() % 500));
        std::vector<TestLine> lines;
        for (int l = 1 + random() % 4; l > 0; --l) {
          lines.push_back({companies[random() % 2], accounts[random() % 4],
                           static_cast<double>(random() % 2001) / 100 - 10,
                           random() % 2 ? "A" : "B", static_cast<double>(random() % 7)});
        }
        AddCard(day, lines);
      }
      AggregateSettings settings;
      ASSERT_TRUE(SelectAggregateResolution(settings, resolution));
      const CardStore& cards = db_.cards();
      LineSet window;
      window.Reset(cards.lines().size());
      std::map<Key, double> before, after;
      // The window holds two lines in three; the others stay where they are, in their period.
      size_t counter = 0;
      const auto totals = [&](std::map<Key, double>& sums, bool pick) {
        for (CardRef c = cards.FirstCard(); c != kCardSentinel; c = cards.NextCard(c)) {
          const DayCode start = CalendarPeriodOf(settings.kind, cards.CardId(c).day).start;
          for (GroupRef g = cards.card(c).first_group; g != kNoRecord; g = cards.group(g).next) {
            for (LineRef l = cards.group(g).first_line; l != kNoLine; l = cards.lines().next(l)) {
              if (pick && counter++ % 3 != 0) window.Set(l);
              for (int d = 0; d < kDimensionCount; ++d) {
                for (int f = 0; f < 2; ++f) {
                  sums[{start, db_.LineComponent(g, l, d), f}] += cards.GetValue(l, f);
                }
              }
            }
          }
        }
      };
      totals(before, true);
      ASSERT_TRUE(Aggregate(db_, {&window, CardLevel::kLines}, settings, &result_));
      totals(after, false);
      for (auto& [key, sum] : before)
        ASSERT_NEAR(after[key], sum, 1e-6) << DayCodeText(std::get<0>(key));
      for (auto& [key, sum] : after)
        ASSERT_NEAR(before[key], sum, 1e-6) << DayCodeText(std::get<0>(key));
      // Summary cards hold at most one line per combination of components.
      EXPECT_LE(result_.lines_made, result_.source_lines);
    }
  }
}

}  // namespace
}  // namespace jov
