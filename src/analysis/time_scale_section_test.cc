#include "analysis/time_scale_section.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "analysis/time_scale_list.h"
#include "model/database.h"
#include "shell/pending_error.h"
#include "shell/process.h"

namespace jov {
namespace {

constexpr DayCode D(int year, int month, int day) { return PackDay(year, month, day); }

bool Read(Database& db, std::string_view name, const std::vector<std::string>& lines) {
  const std::vector<std::string_view> views(lines.begin(), lines.end());
  return ReadTimeScaleSection(db, name, views);
}

class TimeScaleSectionTest : public ::testing::Test {
 protected:
  void SetUp() override { ResetProcess(); }
  void TearDown() override { ResetProcess(); }

  Database db_;
  TimeScaleList& scales_ = TimeScaleList::Of(db_);
};

TEST_F(TimeScaleSectionTest, WritesEntriesAsTheyReadBack) {
  TimeScale& scale = scales_.Create("Fiscal");
  scale.SetEntries({{Date{}, "Before it all"},
                    {{D(2024, 1, 1), 1}, "Q1 2024"},
                    {{D(2024, 4, 1), 3}, ""},
                    {{D(1999, 12, 31), 12}, "Last of 1999"}});
  const std::vector<std::string> lines = WriteTimeScaleSection(scale);
  EXPECT_EQ(lines, (std::vector<std::string>{"\tBefore it all", "240101-1\tQ1 2024", "240401-3\t",
                                             "991231-12\tLast of 1999", ""}));

  Database copy;
  ASSERT_TRUE(Read(copy, "Fiscal", lines));
  const TimeScale* read = TimeScaleList::Of(copy).Find("fiscal");
  ASSERT_NE(read, nullptr);
  EXPECT_EQ(read->entries(), scale.entries());
  EXPECT_EQ(WriteTimeScaleSection(*read), lines);

  // A scale whose one row is empty writes nothing but the closing line.
  scale.ApplyEdit({TimeScaleEntry{}});
  EXPECT_EQ(WriteTimeScaleSection(scale), std::vector<std::string>{""});
}

TEST_F(TimeScaleSectionTest, ReadingReplacesTheScaleOfThatNameAndSkipsWhatIsNoEntry) {
  TimeScale& existing = scales_.Create("Budget");
  const std::string long_name(70, 'n');
  ASSERT_TRUE(Read(db_, "BUDGET  ",
                   {"2403", "no date here\tName", "", "\t", "240101\tNew year   ",
                    "241231-7\t" + long_name + "\tmore", "#Next", "250101\tLater"}));
  EXPECT_EQ(scales_.size(), 1u);
  EXPECT_EQ(existing.name(), "Budget");
  EXPECT_EQ(existing.entries(),
            (std::vector<TimeScaleEntry>{{{D(2024, 3, 1), 1}, ""},
                                         {{D(2024, 1, 1), 1}, "New year"},  // kept as read
                                         {{D(2024, 12, 31), 7}, long_name.substr(0, 63)}}));

  ASSERT_TRUE(Read(db_, "", {"240101-1\tA"}));
  EXPECT_EQ(scales_.at(1).name(), "Time Scale 1");
  ASSERT_TRUE(Read(db_, "time scale 1", {}));
  EXPECT_EQ(scales_.size(), 2u);
  EXPECT_TRUE(scales_.at(1).entries().empty());
}

TEST_F(TimeScaleSectionTest, AStopLeavesEveryScaleAsItWas) {
  scales_.Create("Kept").SetEntries({{{D(2024, 1, 1), 1}, "A"}});
  RequestStop();
  EXPECT_FALSE(Read(db_, "Kept", {"250101\tB"}));
  EXPECT_FALSE(Read(db_, "New", {"250101\tB"}));
  EXPECT_EQ(scales_.size(), 1u);
  EXPECT_EQ(scales_.at(0).entries()[0].name, "A");
}

// Whatever bytes a body holds, what is read writes out as lines that read back the same.
TEST_F(TimeScaleSectionTest, AnyBytesReadIntoEntriesThatRoundTrip) {
  std::mt19937 random(7);
  const std::string alphabet = std::string("0123456789-\t #aZ\r\n\x03\xE5", 20) + '\0';
  for (int round = 0; round < 300; ++round) {
    std::vector<std::string> body(random() % 6);
    for (std::string& line : body) {
      line.resize(random() % 24);
      for (char& c : line) c = alphabet[random() % alphabet.size()];
    }
    Database first;
    ASSERT_TRUE(Read(first, "S", body));
    const std::vector<std::string> written = WriteTimeScaleSection(TimeScaleList::Of(first).at(0));
    Database second;
    ASSERT_TRUE(Read(second, "S", written));
    ASSERT_EQ(TimeScaleList::Of(second).at(0).entries(), TimeScaleList::Of(first).at(0).entries());
  }
}

}  // namespace
}  // namespace jov
