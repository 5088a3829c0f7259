#include "model/database_info.h"

#include <gtest/gtest.h>

#include "shell/process.h"

namespace jov {
namespace {

class DatabaseInfoTest : public ::testing::Test {
 protected:
  void SetUp() override { ResetProcess(); }
  Database db_;
};

TEST_F(DatabaseInfoTest, UsageCountsReferencedComponentsAndTheirAncestors) {
  for (const char* code : {"1", "12", "123", "1234", "2", "13"}) db_.AddComponent(1, code, "", "");
  const ComponentRef acct = db_.AddComponent(0, "A", "", "");
  db_.AddComponent(0, "B", "", "");
  CardStore& cards = db_.cards();
  for (int i = 1; i <= 2; ++i) {
    const CardRef card = cards.CreateCard({PackDay(2024, 5, i), 0});
    if (i == 1) cards.SetTitle(card, "Invoice");
    const LineRef line = cards.CreateLine(cards.FindOrAddGroup(card, acct));
    const ComponentRef slot[] = {db_.FindByCode(1, "1234")};
    cards.SetComponents(line, slot);
    if (i == 2) cards.SetLineText(line, "freight");
  }
  const DatabaseInfo info = CountDatabaseInfo(db_, 0);
  EXPECT_EQ(info.cards, 2);
  EXPECT_EQ(info.groups, 2);
  EXPECT_EQ(info.lines, 2);
  EXPECT_EQ(info.card_titles, 1);
  EXPECT_EQ(info.line_texts, 1);
  EXPECT_EQ(info.notes, 0);
  EXPECT_EQ(info.first_card, (Date{PackDay(2024, 5, 1), 1}));
  EXPECT_EQ(info.last_card, (Date{PackDay(2024, 5, 2), 1}));
  EXPECT_TRUE(info.reported[1]);
  EXPECT_EQ(info.dimensions[1].all, 6);
  EXPECT_EQ(info.dimensions[1].in_use, 1);
  EXPECT_EQ(info.dimensions[1].active, 4);
  EXPECT_EQ(info.dimensions[0].all, 2);
  EXPECT_EQ(info.dimensions[0].in_use, 1);
  EXPECT_FALSE(info.reported[2]);
  EXPECT_EQ(info.total.all, 8);
  EXPECT_EQ(info.total.active, 5);
  EXPECT_GT(info.memory_bytes, 0);

  const std::string report = DatabaseInfoReport(db_, info, 3);
  EXPECT_NE(report.find("  Dim 2s\t6\t4\t1\n"), std::string::npos) << report;
  EXPECT_NE(report.find("  First\t240501-001\n"), std::string::npos) << report;
  EXPECT_NE(report.find("  Analysis Templates\t-\n"), std::string::npos) << report;
  EXPECT_EQ(report.find("In File"), std::string::npos);
}

// Analyses bound to the database report what they hold; the report sums it.
class SizedAnalysis : public DatabaseListener {
 public:
  explicit SizedAnalysis(size_t bytes) : bytes_(bytes) {}
  void OnDatabaseChange(Database&, ChangeCode, int, int) override {}
  size_t MemoryBytes() const override { return bytes_; }

 private:
  size_t bytes_;
};

TEST_F(DatabaseInfoTest, MemoryInUseSumsTheBoundAnalyses) {
  EXPECT_NE(DatabaseInfoReport(db_, CountDatabaseInfo(db_, 0), 3)
                .find("  Memory Currently In Use\t0 KB\n"),
            std::string::npos);
  SizedAnalysis lines(2 * 1048576), chart(1048576);
  db_.AddListener(&lines);
  db_.AddListener(&chart);
  const DatabaseInfo info = CountDatabaseInfo(db_, 0);
  EXPECT_EQ(info.analysis_memory_bytes, 3 * 1048576);
  EXPECT_NE(DatabaseInfoReport(db_, info, 3).find("  Memory Currently In Use\t3.0 MB\n"),
            std::string::npos);
  db_.RemoveListener(&chart);
  EXPECT_EQ(CountDatabaseInfo(db_, 0).analysis_memory_bytes, 2 * 1048576);
  db_.RemoveListener(&lines);
}

TEST(DatabaseInfoTextTest, NumbersAndByteSizes) {
  ResetProcess();
  EXPECT_EQ(InfoNumberText(0), "-");
  EXPECT_EQ(InfoNumberText(999), "999");
  EXPECT_EQ(InfoNumberText(1234), "1 234");
  EXPECT_EQ(InfoNumberText(1234567, ','), "1,234,567");
  EXPECT_EQ(InfoNumberText(123456789), "123 456 789");
  EXPECT_EQ(ByteSizeText(-1), "-");
  EXPECT_EQ(ByteSizeText(0), "0 KB");
  EXPECT_EQ(ByteSizeText(512), "512 bytes");
  EXPECT_EQ(ByteSizeText(5 * 1024), "5.0 KB");
  EXPECT_EQ(ByteSizeText(200 * 1024), "200 KB");
  EXPECT_EQ(ByteSizeText(3 * 1048576), "3.0 MB");
  EXPECT_EQ(ByteSizeText(999), "999 bytes");
  EXPECT_EQ(ByteSizeText(1000), "1.0 KB");
}

}  // namespace
}  // namespace jov
