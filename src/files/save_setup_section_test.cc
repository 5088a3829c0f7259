#include "files/save_setup_section.h"

#include <gtest/gtest.h>

#include "files/stream_test_util.h"
#include "shell/process.h"

namespace jov {
namespace {

class SaveSetupSectionTest : public ::testing::Test {
 protected:
  void SetUp() override { ResetProcess(); }
  void TearDown() override { ResetProcess(); }
  std::vector<SaveSetup>& Named() { return database_.Attached<SaveSetups>().named(); }
  Database database_;
};

TEST_F(SaveSetupSectionTest, NamelessAndSameNamedSetupsReplaceTheirBody) {
  ASSERT_TRUE(testing::ReadStream(database_,
                                  "##SaveSetup\nFT\n\n##SaveSetup\tYearly\nFB\n"
                                  "##SaveSetup\tsave setup 1\nFZ-\n##SaveSetup\tYEARLY\nSC-\n")
                  .ok);
  ASSERT_EQ(Named().size(), 2u);
  EXPECT_EQ(Named()[0].name, "Save Setup 1");
  EXPECT_EQ(Named()[0].format, 'N');  // the body was replaced
  EXPECT_FALSE(Named()[0].compressed);
  EXPECT_EQ(Named()[1].name, "Yearly");
  EXPECT_EQ(Named()[1].format, 'N');
  EXPECT_FALSE(Named()[1].Saves(SaveSection::kCards));
}

TEST_F(SaveSetupSectionTest, BodyEndsAtAnEmptyLineOrAHashLine) {
  ASSERT_TRUE(testing::ReadStream(database_,
                                  "##SaveSetup\tA\nFT\n\nFB\n"
                                  "##SaveSetup\tB\nGG\n#x\nGL\n")
                  .ok);
  EXPECT_EQ(Named()[0].format, 'T');
  EXPECT_EQ(Named()[1].level, 'G');
}

TEST_F(SaveSetupSectionTest, NumberingEntriesOfNoneAreKeptAsNone) {
  ASSERT_TRUE(testing::ReadStream(database_,
                                  "##SaveSetup\tA\nM2\t5\nM3\t-\nM4\t4\nM5\t17\nM6\t1\nM1\t3\n"
                                  "M16\t2\nGC\nGX\nDF\tAXN\nDL\tCQT\n")
                  .ok);
  const SaveSetup& setup = Named()[0];
  std::array<int, kDimensionCount> expected{};
  expected[1] = 5;
  expected[2] = expected[3] = expected[4] = expected[5] = SaveSetup::kNumberNone;
  expected[15] = 2;
  EXPECT_EQ(setup.new_numbers, expected);
  EXPECT_EQ(setup.level, 'C');
  EXPECT_EQ(setup.components[1], ComponentChoice::kAll);
  EXPECT_EQ(setup.components[2], ComponentChoice::kNone);
  EXPECT_EQ(setup.identifiers[1], IdentifierKind::kCode);
  EXPECT_EQ(setup.identifiers[2], IdentifierKind::kText);
}

TEST_F(SaveSetupSectionTest, BodyIsWrittenInItsOrder) {
  SaveSetup& setup = Named().emplace_back();
  setup.name = "Mine";
  setup.sections[static_cast<int>(SaveSection::kMacros)] = false;
  setup.components[1] = ComponentChoice::kUsed;
  setup.identifiers[1] = IdentifierKind::kHost;
  setup.selection_lines = {"BD1\t1*"};
  setup.template_filter = "T*";
  setup.new_numbers[2] = 7;
  setup.new_numbers[4] = SaveSetup::kNumberNone;
  SaveSetup only;
  only.sections.fill(false);
  only.sections[static_cast<int>(SaveSection::kSaveSetups)] = true;
  EXPECT_EQ(testing::WriteStream(database_, only),
            "##SaveSetup\tMine\r\nFN\r\nFZ+\r\nSH+\r\nSP+\r\nSB+\r\nSS+\r\nSI+\r\nST+\r\nSX-\r\n"
            "SD+\r\nSC+\r\nSU+\r\nSM+\r\nSG+\r\nDF\tAU\r\nDL\tCH\r\nBD1\t1*\r\nCT-\r\nGC\r\n"
            "TF\tT*\r\nTO-\r\nM3\t7\r\nM5\t-\r\n\r\n##End\r\n");
}

}  // namespace
}  // namespace jov
