#include "analysis/period_label.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "analysis/time_scale_list.h"
#include "model/database.h"
#include "shell/process.h"

namespace jov {
namespace {

constexpr DayCode D(int year, int month, int day) { return PackDay(year, month, day); }

class PeriodLabelTest : public ::testing::Test {
 protected:
  void SetUp() override { ResetProcess(); }
  void TearDown() override { ResetProcess(); }

  // The labels of the periods that cards on `dates` open, from `start` to the end of 2025.
  std::vector<std::string> Labels(PeriodKind kind, DayCode start, const std::vector<Date>& dates,
                                  PeriodLabelOptions options = {},
                                  const TimeScale* scale = nullptr) {
    PeriodList periods(kind, {start, 1}, {D(2025, 12, 31), kEndOfDay}, scale);
    for (const Date date : dates) periods.Reach(WalkLevel::kCard, date, [](size_t) {});
    std::vector<std::string> labels;
    for (size_t i = 0; i < periods.size(); ++i) {
      labels.push_back(PeriodLabel(db_, periods, i, options));
    }
    return labels;
  }

  Database db_;
};

TEST_F(PeriodLabelTest, CalendarKindsShowTheDaysTheyCover) {
  struct Case {
    PeriodKind kind;
    DayCode start;
    DayCode card;
    std::vector<std::string> labels;
  };
  const Case cases[] = {
      {PeriodKind::kQuarters,
       D(2024, 2, 15),
       D(2024, 5, 1),
       {"Before 240215", "2402-2403", "2404-2406"}},
      {PeriodKind::kTwoMonths,
       D(2024, 2, 15),
       D(2024, 3, 1),
       {"Before 240215", "2402", "2403-2404"}},
      {PeriodKind::kYears, D(2024, 2, 15), D(2025, 1, 1), {"Before 240215", "2024", "2025"}},
      {PeriodKind::kMonths, D(2024, 2, 15), D(2024, 3, 1), {"Before 240215", "2402", "2403"}},
      {PeriodKind::kHalfMonths,
       D(2024, 3, 10),
       D(2024, 3, 16),
       {"Before 240310", "240310-0315", "240316-0331"}},
      {PeriodKind::kWeeks,
       D(2024, 1, 3),
       D(2024, 1, 8),
       {"Before 240103", "240103-0107", "240108-0114"}},
      {PeriodKind::kWeeks, D(2024, 1, 7), D(2024, 1, 7), {"Before 240107", "240107"}},
      {PeriodKind::kTwoWeeks, D(2024, 12, 25), D(2024, 12, 25), {"Before 241225", "241225-0105"}},
      {PeriodKind::kDays, D(2024, 2, 28), D(2024, 2, 29), {"Before 240228", "240228", "240229"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(PeriodKindCode(c.kind));
    EXPECT_EQ(Labels(c.kind, c.start, {{c.card, 1}}), c.labels);
  }
  EXPECT_EQ(Labels(PeriodKind::kQuarters, D(2024, 2, 15), {{D(2024, 5, 1), 1}}, {true, false}),
            (std::vector<std::string>{"Before 240215", "240331", "240630"}));
}

TEST_F(PeriodLabelTest, ActiveKindsShowCardIdsAndTitles) {
  db_.SetCardDigits(3);
  CardStore& cards = db_.cards();
  cards.SetTitle(cards.CreateCard({D(2024, 3, 5), 7}), "Invoice 12");
  cards.SetTitle(cards.CreateCard({D(2024, 3, 6), 1}), std::string(127, 't'));
  cards.SetTitle(cards.CreateCard({D(2024, 3, 7), 1}), std::string(128, 'u'));
  const std::vector<Date> dates = {{D(2024, 3, 5), 7},
                                   {D(2024, 3, 6), 1},
                                   {D(2024, 3, 7), 1},
                                   {D(2024, 3, 8), 2}};  // no card there
  EXPECT_EQ(Labels(PeriodKind::kActiveCards, D(2024, 1, 1), dates, {false, true}),
            (std::vector<std::string>{"Before 240101", "240305-007 Invoice 12",
                                      "240306-001 " + std::string(127, 't'),
                                      "240307-001 " + std::string(126, 'u') + "..", "240308-002"}));
  EXPECT_EQ(Labels(PeriodKind::kActiveCards, D(2024, 1, 1), {dates[0]}),
            (std::vector<std::string>{"Before 240101", "240305-007"}));
  EXPECT_EQ(Labels(PeriodKind::kActiveDays, D(2024, 1, 1), {dates[0]}, {false, true}),
            (std::vector<std::string>{"Before 240101", "240305"}));
}

TEST_F(PeriodLabelTest, TimeScalePeriodsShowTheirEntryNames) {
  TimeScale& scale = TimeScaleList::Of(db_).Create("Halves");
  scale.SetEntries({{{D(2024, 1, 1), 1}, "First half"}, {{D(2024, 7, 1), 1}, "Second half"}});
  EXPECT_EQ(Labels(PeriodKind::kTimeScale, D(2023, 12, 1), {{D(2024, 8, 1), 1}}, {}, &scale),
            (std::vector<std::string>{"Before 231201", "", "First half", "Second half"}));
  EXPECT_EQ(Labels(PeriodKind::kTimeScale, D(2024, 1, 1), {{D(2024, 8, 1), 1}}),
            (std::vector<std::string>{"Before 240101", ""}));
}

}  // namespace
}  // namespace jov
