#include "select/date_point.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "model/database.h"
#include "select/period_names.h"

namespace jov {
namespace {

// Two periods, "Spring" (2024-03-01 .. 2024-05-31) and "Summer" (2024-06-01 ..).
class FakePeriods : public PeriodNames {
 public:
  Date PeriodByName(std::string_view name, int offset, DateBound bound) const override {
    static const DayCode kStarts[] = {PackDay(2024, 3, 1), PackDay(2024, 6, 1)};
    static const DayCode kEnds[] = {PackDay(2024, 5, 31), PackDay(2024, 12, 31)};
    int index = -1;
    if (EqualsIgnoringCase(name, std::string_view("Spring").substr(0, name.size()))) index = 0;
    if (index < 0 && EqualsIgnoringCase(name, std::string_view("Summer").substr(0, name.size()))) {
      index = 1;
    }
    if (index < 0 || name.empty() || name.size() > 6) return Date{};
    index += offset;
    if (index < 0 || index > 1) return Date{};
    return bound == DateBound::kStart ? Date{kStarts[index], 1} : Date{kEnds[index], kEndOfDay};
  }
};

struct PointCase {
  std::string text;
  DateEnd end;
  DatePointKind kind;
  Date date;
  std::string written;
};

class DatePointTest : public ::testing::Test {
 protected:
  DatePointTest() {
    // Cards on 2024-01-05 numbered 1..3, and one on 2024-02-10.
    for (int i = 0; i < 3; ++i) db_.cards().CreateCard({PackDay(2024, 1, 5), 0});
    db_.cards().CreateCard({PackDay(2024, 2, 10), 0});
    context_.database = &db_;
    context_.today = PackDay(2025, 1, 15);  // a Wednesday
    context_.periods = &periods_;
  }

  DatePoint Read(std::string_view text, DateEnd end) {
    DatePoint point(end);
    point.Read(text, context_);
    return point;
  }

  Database db_;
  FakePeriods periods_;
  DateContext context_;
};

TEST_F(DatePointTest, TextsResolveAndWriteBack) {
  constexpr DateEnd kFrom = DateEnd::kFrom, kTo = DateEnd::kTo;
  using K = DatePointKind;
  const std::vector<PointCase> cases = {
      // Dates: a from-point starts its day, a to-point ends it.
      {"240105", kFrom, K::kDate, {PackDay(2024, 1, 5), 1}, "240105"},
      {"240105", kTo, K::kDate, {PackDay(2024, 1, 5), kEndOfDay}, "240105"},
      {"240105-2", kTo, K::kDate, {PackDay(2024, 1, 5), 2}, "240105-2"},
      // The last card of its day: the point covers the whole day.
      {"240105-3", kTo, K::kDate, {PackDay(2024, 1, 5), kEndOfDay}, "240105"},
      {"240105-3", kFrom, K::kDate, {PackDay(2024, 1, 5), 3}, "240105-3"},
      {"24", kTo, K::kDate, {PackDay(2024, 12, 31), kEndOfDay}, "241231"},
      {"  24 01 05", kFrom, K::kDate, {PackDay(2024, 1, 5), 1}, "240105"},
      // Relative to Wednesday 2025-01-15, across year boundaries and within 1900-2027.
      {"Day-15", kFrom, K::kDay, {PackDay(2024, 12, 31), 1}, "Day-15"},
      {"week", kFrom, K::kWeek, {PackDay(2025, 1, 13), 1}, "Week"},
      {"Week+1", kTo, K::kWeek, {PackDay(2025, 1, 26), kEndOfDay}, "Week+1"},
      {"Month-1", kFrom, K::kMonth, {PackDay(2024, 12, 1), 1}, "Month-1"},
      {"Month - 13", kTo, K::kMonth, {PackDay(2023, 12, 31), kEndOfDay}, "Month-13"},
      {"Quarter+4", kTo, K::kQuarter, {PackDay(2026, 3, 31), kEndOfDay}, "Quarter+4"},
      {"Year+5", kTo, K::kYear, {PackDay(2027, 12, 31), kEndOfDay}, "Year+5"},
      {"Year-999", kFrom, K::kYear, {PackDay(1900, 1, 1), 1}, "Year-999"},
      // The cards, the reference point (unset: today), nothing at all.
      {"File", kFrom, K::kFile, {PackDay(2024, 1, 5), 1}, "File"},
      {"FILE", kTo, K::kFile, {PackDay(2024, 2, 10), 1}, "File"},
      {"Reference", kTo, K::kReference, {PackDay(2025, 1, 15), kEndOfDay}, "Reference"},
      {"", kFrom, K::kFile, {PackDay(2024, 1, 5), 1}, "File"},
      {"no digits", kTo, K::kFile, {PackDay(2024, 2, 10), 1}, "File"},
      // Periods by (the start of) their name, moved along their scale; the written form
      // carries the date, so it reads back even where the period is gone.
      {"spr", kFrom, K::kPeriod, {PackDay(2024, 3, 1), 1}, "240301-1 spr"},
      {"Spring+1",
       kTo,
       K::kPeriod,
       {PackDay(2024, 12, 31), kEndOfDay},
       "241231-2147483647 Spring+1"},
      {"240301-1 Spring", kFrom, K::kPeriod, {PackDay(2024, 3, 1), 1}, "240301-1 Spring"},
      {"240301-1 Autumn", kFrom, K::kDate, {PackDay(2024, 3, 1), 1}, "240301"},
  };
  for (const PointCase& c : cases) {
    const DatePoint point = Read(c.text, c.end);
    EXPECT_EQ(point.kind(), c.kind) << c.text;
    EXPECT_EQ(point.date(), c.date) << c.text;
    EXPECT_EQ(point.Text(), c.written) << c.text;
    EXPECT_EQ(Read(point.Text(), c.end), point) << c.text;
  }
}

TEST_F(DatePointTest, FileOnAnEmptyDatabaseIsThisYear) {
  Database empty;
  context_.database = &empty;
  EXPECT_EQ(Read("File", DateEnd::kFrom).date(), (Date{PackDay(2025, 1, 1), 1}));
  EXPECT_EQ(Read("File", DateEnd::kTo).date(), (Date{PackDay(2025, 12, 31), kEndOfDay}));
}

TEST_F(DatePointTest, RelativePointsFollowTodayWhenResolvedAgain) {
  DatePoint point = Read("Month", DateEnd::kFrom);
  EXPECT_EQ(point.date(), (Date{PackDay(2025, 1, 1), 1}));
  context_.today = PackDay(2025, 3, 9);
  point.Resolve(context_);
  EXPECT_EQ(point.date(), (Date{PackDay(2025, 3, 1), 1}));
  db_.SetReferencePoint({PackDay(2020, 6, 30), 1});
  EXPECT_EQ(Read("Reference+1", DateEnd::kFrom).date(), (Date{PackDay(2020, 7, 1), 1}));
}

TEST_F(DatePointTest, KeywordRangesServeIntervalCriteria) {
  const std::optional<DateRange> month = ResolveKeywordRange("Month-1", context_);
  ASSERT_TRUE(month);
  EXPECT_EQ(month->from, (Date{PackDay(2024, 12, 1), 1}));
  EXPECT_EQ(month->to, (Date{PackDay(2024, 12, 31), kEndOfDay}));
  const std::optional<DateRange> summer = ResolveKeywordRange("summer", context_);
  ASSERT_TRUE(summer);
  EXPECT_EQ(summer->from.day, PackDay(2024, 6, 1));
  EXPECT_FALSE(ResolveKeywordRange("240105", context_));
  EXPECT_FALSE(ResolveKeywordRange("Summer+3", context_));
}

}  // namespace
}  // namespace jov
