#include "model/dimension_edit.h"

#include <gtest/gtest.h>

#include "shell/message_ids.h"
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

  EXPECT_EQ(edit.Apply(), DimensionEdit::ApplyOutcome::kWritten);
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
    const auto duplicate = edit.FindDuplicate();
    ASSERT_TRUE(duplicate) << c.code;
    EXPECT_EQ(edit.Apply(), DimensionEdit::ApplyOutcome::kDuplicate);
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

// The tree of dimension 1 as "code<parent code" in tree order, with the texts and host codes.
std::vector<std::string> Tree(const Database& db) {
  std::vector<std::string> tree;
  const ComponentRef root = db.dimension(1).root();
  for (ComponentRef ref = db.NextInPreorder(root); ref != root; ref = db.NextInPreorder(ref)) {
    const Component& c = db.component(ref);
    std::string entry = c.code + "<" + (IsRoot(c.parent) ? "" : db.component(c.parent).code);
    if (!c.text.empty() || !c.host.empty()) entry += " " + c.text + "/" + c.host;
    tree.push_back(entry);
  }
  return tree;
}

class DimensionEditingTest : public DimensionEditTest {
 protected:
  void SetUp() override {
    DimensionEditTest::SetUp();
    for (const char* code : {"1", "10", "101", "11", "2", "20"}) {
      db_.AddComponent(1, code, code, "");
    }
    account_ = db_.AddComponent(0, "A", "", "");
    db_.FlushChangeFlags();
    db_.ClearModified();
  }
  // A card with one line that uses the component with `code`.
  LineRef Use(const char* code) {
    CardStore& cards = db_.cards();
    const CardRef card = cards.CreateCard({PackDay(2024, 3, 1), 0});
    const LineRef line = cards.CreateLine(cards.FindOrAddGroup(card, account_));
    const ComponentRef slots[] = {db_.FindByCode(1, code)};
    cards.SetComponents(line, slots);
    return line;
  }
  DimensionEdit::Row Row(const DimensionEdit& edit, const char* code) const {
    return edit.Find(ComponentField::kCode, code);
  }

  ComponentRef account_ = kNoComponent;
};

TEST_F(DimensionEditingTest, RenamesAndMovesCarryTheDescendantsAndKeepTheComponents) {
  const LineRef line = Use("101");
  const ComponentRef used = db_.FindByCode(1, "101");
  DimensionEdit edit(db_, 1);
  // Renaming the segment of 10 renames 101, which is built from it.
  const auto ten = Row(edit, "10");
  EXPECT_EQ(edit.segment(ten), "0");
  ASSERT_TRUE(edit.Rename(ten, " 5 "));
  EXPECT_EQ(edit.code(ten), "15");
  EXPECT_EQ(edit.code(edit.children(ten)[0]), "151");
  EXPECT_EQ(Row(edit, "101"), DimensionEdit::kNoRow);
  EXPECT_EQ(Row(edit, "151"), edit.children(ten)[0]);
  // Moves: 2 under 1 becomes 12, 20 with it 120; out again, and 11 before 15.
  const auto two = Row(edit, "2");
  ASSERT_TRUE(edit.Indent(two));
  EXPECT_EQ(edit.code(two), "12");
  EXPECT_EQ(edit.code(edit.children(two)[0]), "120");
  ASSERT_TRUE(edit.Outdent(two));
  EXPECT_EQ(edit.code(two), "2");
  ASSERT_TRUE(edit.MoveUp(Row(edit, "11")));
  ASSERT_TRUE(edit.Indent(ten));  // under 11, now the row above it
  EXPECT_EQ(edit.code(ten), "115");
  EXPECT_TRUE(sink_.alerts().empty());
  EXPECT_EQ(db_.FindByCode(1, "15"), kNoComponent) << "nothing written before Apply";

  ASSERT_EQ(edit.Apply(), DimensionEdit::ApplyOutcome::kWritten);
  EXPECT_EQ(Tree(db_), (std::vector<std::string>{"1< 1/", "11<1 11/", "115<11 10/", "1151<115 101/",
                                                 "2< 2/", "20<2 20/"}));
  // The line still refers to the same component, now under its new code; the index knows it.
  EXPECT_EQ(db_.cards().GetComponent(line, 1), used);
  EXPECT_EQ(db_.FindByCode(1, "1151"), used);
  EXPECT_EQ(db_.FindByCode(1, "101"), kNoComponent);
  EXPECT_TRUE(db_.modified());
  EXPECT_FALSE(edit.changed());
  EXPECT_EQ(edit.component(Row(edit, "1151")), used) << "the copy is made afresh";
}

TEST_F(DimensionEditingTest, MovesThatHaveNoPlaceOrWouldMakeBadCodesChangeNothing) {
  DimensionEdit edit(db_, 1);
  EXPECT_FALSE(edit.Indent(Row(edit, "1"))) << "no previous sibling";
  EXPECT_FALSE(edit.Outdent(Row(edit, "2"))) << "already at the top";
  EXPECT_FALSE(edit.MoveUp(Row(edit, "10")));
  EXPECT_FALSE(edit.MoveDown(Row(edit, "20")));
  EXPECT_FALSE(edit.Rename(Row(edit, "2"), "  "));
  EXPECT_FALSE(edit.Rename(Row(edit, "2"), "##"));
  EXPECT_FALSE(edit.changed());
  // A row "#" with a child "##"-to-be: outdenting "#1" under "#" renamed "##1" cannot be stored.
  const auto hash = edit.Add(DimensionEdit::kTop, "#", "", "");
  const auto child = edit.Add(hash, "#1", "", "");
  EXPECT_FALSE(edit.Rename(child, "#"));
  EXPECT_EQ(edit.code(child), "#1");
  const auto other = edit.Add(DimensionEdit::kTop, "#2", "", "");
  ASSERT_TRUE(edit.MoveUp(other));  // "#2" before "#", so that "#" indents under it
  EXPECT_TRUE(edit.Indent(hash));
  EXPECT_EQ(edit.code(child), "#2#1");
  // A blank row takes no children and is not written.
  const auto blank = edit.InsertBlank(DimensionEdit::kTop, 0);
  EXPECT_TRUE(edit.blank(blank));
  EXPECT_EQ(edit.Add(blank, "X", "", ""), DimensionEdit::kNoRow);
  EXPECT_FALSE(edit.Indent(Row(edit, "1"))) << "the row above is blank";
  ASSERT_EQ(edit.Apply(), DimensionEdit::ApplyOutcome::kWritten);
  EXPECT_EQ(Tree(db_).front(), "1< 1/");
  EXPECT_EQ(db_.FindByCode(1, "#2#1"), db_.component(db_.FindByCode(1, "#2#")).first_child);
}

TEST_F(DimensionEditingTest, ARowInUseOrWithADescendantInUseIsNotRemoved) {
  Use("20");
  Use("101");
  DimensionEdit edit(db_, 1);
  // The first used row in tree order below 1 is 101; nothing is removed.
  EXPECT_FALSE(edit.Remove(Row(edit, "1")));
  EXPECT_EQ(edit.FindInUse(Row(edit, "1")), Row(edit, "101"));
  const AlertRecord alert = edit.InUseAlert(edit.FindInUse(Row(edit, "1")));
  EXPECT_EQ(alert.ComposeText(), "Component \"101 101\" is in use and cannot be removed.");
  EXPECT_FALSE(edit.changed());
  // 11 is not used: it goes, and is deleted when the copy is written.
  const auto eleven = Row(edit, "11");
  ASSERT_TRUE(edit.Remove(eleven));
  EXPECT_TRUE(edit.removed(eleven));
  EXPECT_EQ(Row(edit, "11"), DimensionEdit::kNoRow);
  // A line that comes to use a removed component before the copy is written stops the writing.
  Use("11");
  EXPECT_EQ(edit.FindRemovedInUse(), eleven);
  EXPECT_EQ(edit.Apply(), DimensionEdit::ApplyOutcome::kInUse);
  EXPECT_NE(db_.FindByCode(1, "11"), kNoComponent);
}

TEST_F(DimensionEditingTest, RemovedRowsAreDeletedAndTheDimensionCanEmpty) {
  DimensionEdit edit(db_, 1);
  // 10 moves out of 1 before 1 goes: it stays, 1 and 11 are deleted.
  ASSERT_TRUE(edit.Outdent(Row(edit, "10")));
  ASSERT_TRUE(edit.Remove(Row(edit, "1")));
  ASSERT_EQ(edit.Apply(), DimensionEdit::ApplyOutcome::kWritten);
  EXPECT_EQ(Tree(db_), (std::vector<std::string>{"0< 10/", "01<0 101/", "2< 2/", "20<2 20/"}));
  EXPECT_EQ(db_.FindByCode(1, "11"), kNoComponent);
  DimensionEdit all(db_, 1);
  while (!all.children(DimensionEdit::kTop).empty()) {
    ASSERT_TRUE(all.Remove(all.children(DimensionEdit::kTop).front()));
  }
  ASSERT_EQ(all.Apply(), DimensionEdit::ApplyOutcome::kWritten);
  EXPECT_FALSE(db_.HasComponents(1));
  EXPECT_FALSE(db_.IsDimensionUsed(1));
}

TEST_F(DimensionEditingTest, CaseOnlyDuplicatesDependOnTheCaseOption) {
  struct Case {
    CaseOption option;
    bool duplicate;
  };
  for (const Case& c :
       {Case{CaseOption::kUpper, true}, Case{CaseOption::kLower, true},
        Case{CaseOption::kCaseInsensitive, true}, Case{CaseOption::kCaseSensitive, false}}) {
    Database db;
    db.dimension(1).SetCaseOption(ComponentField::kCode, c.option);
    db.dimension(1).SetCaseOption(ComponentField::kHost, c.option);
    db.AddComponent(1, "Ab", "", "");
    DimensionEdit edit(db, 1);
    // Typed in another case: a new row, and a host code beside an existing one.
    const auto row = edit.InsertBlank(DimensionEdit::kTop, 1);
    ASSERT_TRUE(edit.Rename(row, "aB"));
    const auto duplicate = edit.FindDuplicate();
    EXPECT_EQ(duplicate.has_value(), c.duplicate) << static_cast<int>(c.option);
    if (duplicate) {
      EXPECT_EQ(duplicate->field, ComponentField::kCode);
      EXPECT_EQ(duplicate->second, row);
      EXPECT_EQ(edit.DuplicateAlert(*duplicate).ComposeText(),
                "JOV-code \"" + edit.code(row) +
                    "\" defined more than once. Do you want to close "
                    "without changing?");
    }
    ASSERT_TRUE(edit.Rename(row, "C"));
    edit.SetHost(edit.children(DimensionEdit::kTop)[0], "h1");
    edit.SetHost(row, "H1");
    const auto host = edit.FindDuplicate();
    EXPECT_EQ(host.has_value(), c.duplicate);
    if (host) {
      EXPECT_EQ(host->field, ComponentField::kHost);
    }
  }
}

TEST_F(DimensionEditingTest, RefusedWritingLeavesTheDatabaseExactlyAsItWas) {
  struct Listener : DatabaseListener {
    void OnDatabaseChange(Database&, ChangeCode code, int, int) override { codes.push_back(code); }
    std::vector<ChangeCode> codes;
  } listener;
  const std::vector<std::string> before = Tree(db_);
  db_.AddListener(&listener);
  {
    DimensionEdit edit(db_, 1);
    edit.Rename(Row(edit, "10"), "1");  // 11 twice
    edit.Remove(Row(edit, "2"));
    edit.Add(DimensionEdit::kTop, "3", "New", "");
    edit.SetText(Row(edit, "1"), "Changed");
    ASSERT_TRUE(edit.FindDuplicate());
    EXPECT_EQ(edit.Apply(), DimensionEdit::ApplyOutcome::kDuplicate);
    // Answering "Close" drops the copy.
  }
  EXPECT_EQ(Tree(db_), before);
  EXPECT_FALSE(db_.modified());
  EXPECT_TRUE(listener.codes.empty());

  // A copy made before someone else changed the dimension is not written over it.
  DimensionEdit edit(db_, 1);
  edit.SetText(Row(edit, "1"), "Changed");
  DimensionEdit other(db_, 1);
  other.SetText(Row(other, "2"), "Two");
  ASSERT_EQ(other.Apply(), DimensionEdit::ApplyOutcome::kWritten);
  EXPECT_FALSE(other.stale()) << "its own change";
  EXPECT_TRUE(edit.stale());
  EXPECT_EQ(edit.Apply(), DimensionEdit::ApplyOutcome::kStale);
  EXPECT_EQ(db_.component(db_.FindByCode(1, "1")).text, "1");
  EXPECT_EQ(listener.codes, (std::vector<ChangeCode>{ChangeCode::kComponents}));
  db_.RemoveListener(&listener);
}

}  // namespace
}  // namespace jov
