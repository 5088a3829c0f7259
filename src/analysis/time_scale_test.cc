#include "analysis/time_scale.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "analysis/time_scale_list.h"
#include "model/database.h"
#include "shell/process.h"

namespace jov {
namespace {

constexpr DayCode D(int year, int month, int day) { return PackDay(year, month, day); }

class TimeScaleTest : public ::testing::Test {
 protected:
  void SetUp() override { ResetProcess(); }
  void TearDown() override { ResetProcess(); }

  Database db_;
  TimeScale& scale_ = TimeScaleList::Of(db_).Create("Budget");
};

TEST_F(TimeScaleTest, DatesMapToTheEntryThatStartedLast) {
  scale_.SetEntries({{{D(2024, 1, 1), 1}, "First half"}, {{D(2024, 7, 1), 1}, "Second half"}});
  struct Case {
    Date date;
    int index;
    PeriodBounds bounds;
    std::string name;
  };
  const Case cases[] = {
      {{D(2024, 3, 10), 4}, 0, {{D(2024, 1, 1), 1}, {D(2024, 6, 30), kEndOfDay}}, "First half"},
      {{D(2024, 6, 30), kEndOfDay},
       0,
       {{D(2024, 1, 1), 1}, {D(2024, 6, 30), kEndOfDay}},
       "First half"},
      {{D(2024, 7, 1), 1}, 1, {{D(2024, 7, 1), 1}, kUnboundedDate}, "Second half"},
      {{D(2024, 12, 5), 1}, 1, {{D(2024, 7, 1), 1}, kUnboundedDate}, "Second half"},
      {{D(2023, 12, 5), 1}, -1, {Date{}, {D(2023, 12, 31), kEndOfDay}}, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(CardIdText(c.date));
    EXPECT_EQ(scale_.EntryIndex(c.date), c.index);
    EXPECT_EQ(scale_.PeriodOf(c.date), c.bounds);
    EXPECT_EQ(scale_.PeriodEnd(c.date), c.bounds.end);
    EXPECT_EQ(scale_.PeriodName(c.date), c.name);
  }
}

TEST_F(TimeScaleTest, BoundariesWithinADayAndScalesWithoutEntries) {
  EXPECT_EQ(scale_.EntryIndex({D(2024, 1, 1), 1}), -1);
  EXPECT_EQ(scale_.PeriodOf({D(2024, 1, 1), 1}), (PeriodBounds{Date{}, kUnboundedDate}));

  // An entry that starts at card 5 ends the previous one at card 4 of the same day.
  scale_.SetEntries({{{D(2024, 1, 1), 1}, "A"}, {{D(2024, 2, 1), 5}, ""}});
  EXPECT_EQ(scale_.PeriodEnd({D(2024, 2, 1), 4}), (Date{D(2024, 2, 1), 4}));
  EXPECT_EQ(scale_.EntryIndex({D(2024, 2, 1), 5}), 1);
  EXPECT_EQ(scale_.PeriodName({D(2024, 2, 1), 5}), "");  // the entry has no name
}

TEST_F(TimeScaleTest, ApplyingAnEditDropsEmptyRowsAndSortsStably) {
  const TimeScaleEntry empty;
  scale_.ApplyEdit({empty, empty});
  EXPECT_EQ(scale_.entries(), std::vector<TimeScaleEntry>{empty});  // the one row is kept

  const TimeScaleEntry july{{D(2024, 7, 1), 1}, "July"};
  const TimeScaleEntry march_a{{D(2024, 3, 1), 1}, "March"};
  const TimeScaleEntry march_b{{D(2024, 3, 1), 1}, "march"};
  const TimeScaleEntry undated{Date{}, "Undated"};
  scale_.ApplyEdit({july, empty, march_a, empty, march_b, undated, empty});
  EXPECT_EQ(scale_.entries(), (std::vector<TimeScaleEntry>{undated, march_a, march_b, july}));

  // Names stay on one line and within 63 characters.
  scale_.ApplyEdit({{{D(2024, 1, 1), 1}, "a\tb\r\nc" + std::string(70, 'x')}});
  EXPECT_EQ(scale_.entries()[0].name, "a b  c" + std::string(57, 'x'));
}

TEST_F(TimeScaleTest, PastedLinesFillTheEmptyLastRowThenAppend) {
  std::vector<TimeScaleEntry> rows(1);
  const std::string line = "240315\tSpring campaign   ";
  PasteEntryLines(rows, line + "\r\n" + line + "\n\nno date\tName\r240401-3\n250101\t\n");
  const TimeScaleEntry spring{{D(2024, 3, 15), 1}, "Spring campaign"};
  EXPECT_EQ(rows, (std::vector<TimeScaleEntry>{spring, spring}));

  rows.push_back(TimeScaleEntry{{D(2024, 1, 1), 1}, "New year"});
  PasteEntryLines(rows, "2403\tLate");  // a partial date reads as the first day
  ASSERT_EQ(rows.size(), 4u);
  EXPECT_EQ(rows[3], (TimeScaleEntry{{D(2024, 3, 1), 1}, "Late"}));

  // Both pasted duplicates stay, in their order, after the edit is applied.
  scale_.ApplyEdit(rows);
  EXPECT_EQ(scale_.entries()[0].name, "New year");
  EXPECT_EQ(scale_.entries()[1].name, "Late");
  EXPECT_EQ(scale_.entries()[2], spring);
  EXPECT_EQ(scale_.entries()[3], spring);
}

}  // namespace
}  // namespace jov
