#include "model/dimension_edit.h"

#include <gtest/gtest.h>

#include "shell/process.h"
#include "shell/recording_sink.h"

namespace jov {
namespace {

class DimensionEditTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetProcess();
    PushSink(&sink_);
  }
  void TearDown() override { PopSink(); }

  RecordingSink sink_;
  Database db_;
};

TEST_F(DimensionEditTest, CopiesTheTreeWithItsParents) {
  for (const char* code : {"1", "10", "101", "11", "2", "20"}) db_.AddComponent(1, code, "", "");
  DimensionEdit edit(db_, 1);
  ASSERT_EQ(edit.row_count(), 7);
  auto parent_code = [&](const char* code) {
    return edit.code(edit.parent(edit.Find(ComponentField::kCode, code)));
  };
  EXPECT_EQ(parent_code("1"), "");
  EXPECT_EQ(parent_code("101"), "10");
  EXPECT_EQ(parent_code("11"), "1");
  EXPECT_EQ(parent_code("2"), "");
  EXPECT_EQ(parent_code("20"), "2");
}

TEST_F(DimensionEditTest, AddedRowsReachTheDatabaseOnlyWhenApplied) {
  db_.AddComponent(1, "A", "Assets", "100");
  DimensionEdit edit(db_, 1);
  const auto a = edit.Find(ComponentField::kCode, "a");  // codes compare ignoring case
  ASSERT_NE(a, DimensionEdit::kNoRow);
  const auto ab = edit.Add(a, "AB", "Bank", "110");
  edit.Add(ab, " abc ", " Cash ", "111");  // kept as the database keeps them
  EXPECT_EQ(edit.code(ab + 1), "ABC");
  EXPECT_EQ(edit.text(ab + 1), "Cash");
  // A code that does not extend its parent's has no place under it.
  EXPECT_EQ(edit.Add(ab, "AX", "", ""), DimensionEdit::kNoRow);
  EXPECT_EQ(edit.Add(ab, "  ", "", ""), DimensionEdit::kNoRow);
  EXPECT_EQ(edit.Add(DimensionEdit::kTop, "##A", "", ""), DimensionEdit::kNoRow);
  EXPECT_EQ(edit.Find(ComponentField::kHost, "111"), ab + 1);
  EXPECT_EQ(edit.Find(ComponentField::kText, "BANK"), ab);
  EXPECT_EQ(db_.FindByCode(1, "AB"), kNoComponent);

  EXPECT_FALSE(edit.Apply());
  const ComponentRef abc = db_.FindByCode(1, "ABC");
  ASSERT_NE(abc, kNoComponent);
  EXPECT_EQ(db_.component(abc).parent, db_.FindByCode(1, "AB"));
  EXPECT_EQ(db_.component(abc).host, "111");
  EXPECT_EQ(edit.added_count(), 0);
  EXPECT_TRUE(sink_.alerts().empty());
}

TEST_F(DimensionEditTest, DuplicatesAreFoundBeforeAnythingIsWritten) {
  db_.AddComponent(1, "A", "", "100");
  struct Case {
    const char* code;
    const char* host;
    ComponentField field;
  };
  for (const Case& c : {Case{"a", "", ComponentField::kCode},  // the code case option is U
                        Case{"B", "100", ComponentField::kHost}}) {
    DimensionEdit edit(db_, 1);
    edit.Add(DimensionEdit::kTop, "C", "", "");
    const auto second = edit.Add(DimensionEdit::kTop, c.code, "", c.host);
    const auto duplicate = edit.Apply();
    ASSERT_TRUE(duplicate) << c.code;
    EXPECT_EQ(duplicate->field, c.field);
    EXPECT_EQ(duplicate->first, 1);
    EXPECT_EQ(duplicate->second, second);
    EXPECT_EQ(db_.FindByCode(1, "C"), kNoComponent) << "nothing written";
  }
  // Under the exact option, codes that differ in case are different codes.
  db_.dimension(1).SetCaseOption(ComponentField::kCode, CaseOption::kCaseSensitive);
  DimensionEdit edit(db_, 1);
  edit.Add(DimensionEdit::kTop, "a", "", "");
  EXPECT_FALSE(edit.FindDuplicate());
}

}  // namespace
}  // namespace jov
