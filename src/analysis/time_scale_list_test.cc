#include "analysis/time_scale_list.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "model/database.h"
#include "select/date_point.h"
#include "shell/process.h"

namespace jov {
namespace {

constexpr DayCode D(int year, int month, int day) { return PackDay(year, month, day); }

struct Change {
  ChangeCode code;
  int argument;
  bool operator==(const Change&) const = default;
};

class RecordingListener : public DatabaseListener {
 public:
  void OnDatabaseChange(Database&, ChangeCode code, int argument, int) override {
    changes.push_back({code, argument});
  }
  std::vector<Change> changes;
};

class TimeScaleListTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetProcess();
    db_.AddListener(&listener_);
  }
  void TearDown() override { ResetProcess(); }

  std::vector<std::string> Names() const {
    std::vector<std::string> names;
    for (size_t i = 0; i < scales_.size(); ++i) names.push_back(scales_.at(i).name());
    return names;
  }

  Database db_;
  RecordingListener listener_;
  TimeScaleList& scales_ = TimeScaleList::Of(db_);
};

TEST_F(TimeScaleListTest, NewNamesCountUpTheirTrailingNumber) {
  for (const char* name : {"", "", "time scale", "Q9", "Q9", "Q009", "Q009", "Year 2024",
                           "Year 2024", "2024", "2024", "Budget ", "Budget "}) {
    scales_.Create(name);
  }
  EXPECT_EQ(Names(), (std::vector<std::string>{"Time Scale", "Time Scale 1", "time scale 2", "Q9",
                                               "Q 10", "Q009", "Q 11", "Year 2024", "Year 2025",
                                               "2024", "2025", "Budget ", "Budget 1"}));
  // A number too large for any integer type still counts up.
  const std::string huge = "S 99999999999999999999999";
  scales_.Create(huge);
  EXPECT_EQ(scales_.Create(huge).name(), "S 100000000000000000000000");
}

TEST_F(TimeScaleListTest, ChangesAreAnnouncedWithTheScalesPosition) {
  TimeScale& first = scales_.Create("Fiscal");
  TimeScale& second = scales_.Create("Calendar");
  db_.ClearModified();
  second.Rename("fiscal");  // taken by the first: made unique
  EXPECT_EQ(second.name(), "fiscal 1");
  EXPECT_TRUE(db_.modified());
  first.Rename("FISCAL");  // its own name in other letters
  EXPECT_EQ(first.name(), "FISCAL");
  first.Rename("FISCAL");  // no change, no notice
  first.SetEntries({{{D(2024, 1, 1), 1}, "Year"}});
  first.SetEntries({{{D(2024, 1, 1), 1}, "Year"}});  // equal entries, no notice
  EXPECT_EQ(scales_.Find("fiscal 1"), &second);
  scales_.Remove(first);
  EXPECT_EQ(scales_.IndexOf(second), 0);
  EXPECT_EQ(listener_.changes, (std::vector<Change>{{ChangeCode::kTimeScaleAdded, 0},
                                                    {ChangeCode::kTimeScaleAdded, 1},
                                                    {ChangeCode::kTimeScaleRenamed, 1},
                                                    {ChangeCode::kTimeScaleRenamed, 0},
                                                    {ChangeCode::kTimeScaleChanged, 0},
                                                    {ChangeCode::kTimeScaleRemoved, 0}}));
  EXPECT_EQ(scales_.Find("Fiscal"), nullptr);
}

TEST_F(TimeScaleListTest, PeriodsAreFoundByTheBeginningOfTheirName) {
  db_.SetCardDigits(3);
  scales_.Create("Empty");
  scales_.Create("Halves").SetEntries(
      {{{D(2024, 1, 1), 1}, "Spring 2024"}, {{D(2024, 7, 1), 1}, "Autumn 2024"}});
  scales_.Create("Seasons").SetEntries({{{D(2023, 3, 1), 1}, "Spring 2023"}});
  struct Case {
    const char* text;
    Date start;
    Date end;
  };
  const Case cases[] = {
      {"  spr", {D(2024, 1, 1), 1}, {D(2024, 6, 30), 999}},          // the first scale's match wins
      {"AUTUMN", {D(2024, 7, 1), 1}, {D(2024, 12, 31), kEndOfDay}},  // last: end of its year
      {"Spring 2023", {D(2023, 3, 1), 1}, {D(2023, 12, 31), kEndOfDay}},
      {"Spring 2024 and more", Date{}, Date{}},
      {"   ", Date{}, Date{}},
      {"Winter", Date{}, Date{}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(scales_.PeriodByName(c.text, DateBound::kStart), c.start);
    EXPECT_EQ(scales_.PeriodByName(c.text, DateBound::kEnd), c.end);
  }
  // Moved along the matching entry's own scale, never into another scale.
  EXPECT_EQ(scales_.PeriodByName("spr", 1, DateBound::kStart), (Date{D(2024, 7, 1), 1}));
  EXPECT_EQ(scales_.PeriodByName("autumn", -1, DateBound::kEnd), (Date{D(2024, 6, 30), 999}));
  EXPECT_EQ(scales_.PeriodByName("autumn", 1, DateBound::kStart), Date{});
  EXPECT_EQ(scales_.PeriodByName("spring 2023", -1, DateBound::kStart), Date{});
}

// The list serves the period names of selections' date points for its database.
TEST_F(TimeScaleListTest, DatePointsFindPeriodsThroughTheList) {
  scales_.Create("Halves").SetEntries(
      {{{D(2024, 1, 1), 1}, "First half"}, {{D(2024, 7, 1), 1}, "Second half"}});
  EXPECT_EQ(PeriodNamesOf(db_), &scales_);
  DatePoint to(DateEnd::kTo);
  to.Read("First+1", TodayIn(db_));
  EXPECT_EQ(to.kind(), DatePointKind::kPeriod);
  EXPECT_EQ(to.date(), (Date{D(2024, 12, 31), kEndOfDay}));
  EXPECT_EQ(to.Text(), "241231-2147483647 First+1");
}

}  // namespace
}  // namespace jov
