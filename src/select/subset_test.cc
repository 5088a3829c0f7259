#include "select/subset.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "model/component_use.h"
#include "model/database.h"
#include "model/user_stamp.h"
#include "platform/clock.h"
#include "select/subset_list.h"
#include "shell/pending_error.h"
#include "shell/process.h"
#include "shell/recording_sink.h"

namespace jov {
namespace {

constexpr DayCode kDay = PackDay(2024, 3, 1);

// Card 1: group of account 10 with lines 10 and -10 (balanced), group of 20 with line 5.
// Card 2: group of 10 with line 1e-7 (balanced once snapped).
// Card 3: group of 20 with lines 3 and 4.
class SubsetTest : public ::testing::Test {
 protected:
  SubsetTest() {
    for (const char* code : {"10", "20"}) db_.AddComponent(0, code, "", "");
    db_.FlushChangeFlags();
    lines_ = {AddLine(1, "10", 10),   AddLine(1, "10", -10), AddLine(1, "20", 5),
              AddLine(2, "10", 1e-7), AddLine(3, "20", 3),   AddLine(3, "20", 4)};
    db_.FlushChangeFlags();
  }

  LineRef AddLine(Sequence card_number, const char* account, double value) {
    CardStore& cards = db_.cards();
    CardRef card = cards.FindCard({kDay, card_number});
    if (card == kCardSentinel || cards.CardId(card) != Date{kDay, card_number}) {
      card = cards.CreateCard({kDay, card_number});
    }
    const LineRef line = cards.CreateLine(cards.FindOrAddGroup(card, db_.FindByCode(0, account)));
    cards.SetValues(line, std::vector<double>{value});
    return line;
  }

  // A database subset with named selections of the given value conditions.
  Subset& MakeSubset(std::string_view name,
                     std::vector<std::pair<std::string, std::string>> selections,
                     std::string_view combination) {
    Subset& subset = SubsetList::Of(db_).Create(name);
    for (const auto& [selection, condition] : selections) {
      subset.AddSelection(selection).selection().SetValueCondition(0, condition);
    }
    subset.SetCombination(combination);
    return subset;
  }

  // The indices (in lines_) of the lines of a set.
  std::vector<int> Indices(const LineSet* set) const {
    std::vector<int> indices;
    for (size_t i = 0; i < lines_.size(); ++i) {
      if (set != nullptr && set->Test(lines_[i])) indices.push_back(static_cast<int>(i));
    }
    return indices;
  }

  std::vector<int> Calculated(Subset& subset) {
    EXPECT_TRUE(subset.Calculate());
    return Indices(subset.lines());
  }

  // The process state is fresh before anything else is made.
  struct FreshProcess {
    FreshProcess() { ResetProcess(); }
  } fresh_;
  Database db_;
  std::vector<LineRef> lines_;
  RecordingSink sink_;
  ScopedSink scoped_{&sink_};
};

TEST_F(SubsetTest, CombinationsCompileSimplifyAndPrintBack) {
  SubsetList& database = SubsetList::Of(db_);
  database.Create("A1");
  SubsetList local(db_);
  Subset& subset = local.Create();
  for (const char* name : {"A", "B", "C", "Long name"}) subset.AddSelection(name);
  struct Case {
    std::string typed;
    std::string stored;
    std::string displayed;
  };
  const std::vector<Case> cases = {
      {"A1", "A1", "A1"},  // whole names first: the database's subset, not selection A
      {"A A1", "A", "A"},  // junk where an operator belongs is dropped
      {"a & b", "A&B", "A & B"},
      {"\xAC\xAC"
       "A",
       "A", "A"},
      {"A&\xAC"
       "B",
       "A\xAC"
       "B",
       "A \xAC B"},
      {"A\xAC\xAC"
       "B",
       "A&B", "A & B"},
      {"(A|B)&C", "(A|B)&C", "(A | B) & C"},
      {"A|(B|C)", "A|B|C", "A | B | C"},
      {"A\xAC(B\xAC"
       "C)",
       "A\xAC(B\xAC"
       "C)",
       "A \xAC (B \xAC C)"},
      {"A\xB1(B|C)", "A\xB1(B|C)", "A \xB1 (B | C)"},
      {"groups cards A", "cards A", "cards A"},
      {"CARDS groups A", "cards A", "cards A"},
      {"groups (groups A)", "groups A", "groups A"},
      {"unbalanced unbalanced A", "unbalanced A", "unbalanced A"},
      {"unbalanced", "unbalanced", "unbalanced"},
      {"unbalanced & A", "unbalanced&A", "unbalanced & A"},
      {"cards (A|B)", "cards (A|B)", "cards (A | B)"},
      {"Long name|b", "Long name|B", "Long name | B"},
      {"Lo", "Long name", "Long name"},  // the shared first characters name it
      {"(A", "A", "A"},
      {"A &", "A", "A"},
      {"", "", ""},
  };
  for (const Case& c : cases) {
    subset.SetCombination(c.typed);
    EXPECT_EQ(subset.combination_text(), c.stored) << c.typed;
    EXPECT_EQ(subset.combination_text(true), c.displayed) << c.typed;
  }
  // Only "A1" was skipped: once, as a word where an operator belongs.
  EXPECT_EQ(sink_.Texts(), std::vector<std::string>{"Subset \"A1\" cannot be found."});
}

TEST_F(SubsetTest, WholeNamesComeBeforeSharedFirstCharacters) {
  SubsetList::Of(db_).Create("A1");
  SubsetList local(db_);
  Subset& subset = local.Create();
  NamedSelection& a = subset.AddSelection("A");
  subset.SetCombination("A1");
  ASSERT_EQ(subset.combination().steps().size(), 1u);
  EXPECT_EQ(subset.combination().steps()[0].subset, SubsetList::Of(db_).Find("A1"));
  subset.SetCombination("A ");
  EXPECT_EQ(subset.combination().steps()[0].selection, &a);
  // With only a selection whose name begins with a two-character text, the text names it.
  Subset& other = local.Create();
  NamedSelection& xy = other.AddSelection("XYZ");
  other.SetCombination("XY");
  ASSERT_EQ(other.combination().steps().size(), 1u);
  EXPECT_EQ(other.combination().steps()[0].selection, &xy);
}

TEST_F(SubsetTest, DatabaseSubsetsCannotNameSubsets) {
  Subset& first = MakeSubset("G1", {{"A", ">0"}}, "A");
  Subset& second = MakeSubset("G2", {{"B", ">0"}}, "G1|B");
  EXPECT_EQ(second.combination_text(), "B");
  EXPECT_EQ(sink_.Texts(), std::vector<std::string>{"Subset \"G1\" cannot be found."});
  SubsetList local(db_);
  Subset& local_subset = local.Create();
  local_subset.SetCombination("G1");
  ASSERT_EQ(local_subset.combination().steps().size(), 1u);
  EXPECT_EQ(local_subset.combination().steps()[0].subset, &first);
}

TEST_F(SubsetTest, KeywordsWorkOnWholeCardsAndGroups) {
  const std::vector<std::pair<std::string, std::vector<int>>> cases = {
      {"A", {2}},                     // value 5 alone
      {"cards A", {0, 1, 2}},         // every line of card 1
      {"groups A", {2}},              // its group has only that line
      {"groups cards A", {0, 1, 2}},  // the same as cards A
      {"unbalanced", {2, 4, 5}},      // 1e-7 counts as balanced
      {"unbalanced B", {0, 1, 2}},    // over B's lines: 10 alone is unbalanced
      {"\xAC"
       "A",
       {0, 1, 3, 4, 5}},
      {"B \xB1 A", {0}},
      {"B & A", {2}},
      {"B \xAC A", {0}},
  };
  Subset& subset = MakeSubset("G1", {{"A", "5"}, {"B", "10|5"}}, "");
  for (const auto& [combination, expected] : cases) {
    subset.SetCombination(combination);
    EXPECT_EQ(Calculated(subset), expected) << combination;
  }
}

TEST_F(SubsetTest, CountLinesTellWhatTheResultHolds) {
  Subset& subset = MakeSubset("G1", {{"A", "5"}, {"B", ">0"}, {"C", "<0"}, {"D", ">99"}}, "");
  EXPECT_TRUE(subset.Calculate());
  EXPECT_EQ(subset.lines(), nullptr);  // an empty combination holds no lines
  EXPECT_EQ(subset.CountLine(), "Subset not calculated");
  const std::vector<std::pair<std::string, std::string>> cases = {
      {"D", "Zero lines in this subset"},
      {"A", "One line in this subset"},
      {"C|A", "2 lines in one card"},
      {"B", "5 lines in 3 cards"},
  };
  for (const auto& [combination, count_line] : cases) {
    subset.SetCombination(combination);
    EXPECT_EQ(subset.CountLine(), "Subset not calculated");
    EXPECT_TRUE(subset.Calculate());
    EXPECT_EQ(subset.CountLine(), count_line) << combination;
  }
}

TEST_F(SubsetTest, NamesAreUniqueAndKeywordsAreNoNames) {
  SubsetList& database = SubsetList::Of(db_);
  EXPECT_EQ(database.Create().name(), "G1");
  EXPECT_EQ(database.Create().name(), "G2");
  EXPECT_EQ(database.Create("g1").name(), "g3");
  Subset& budget = database.Create("Budget");
  EXPECT_EQ(database.Create("BUDGET").name(), "BUDGET1");
  SubsetList local(db_);
  EXPECT_EQ(local.Create().name(), "S1");
  EXPECT_EQ(local.Create("G1").name(), "G1");  // another list

  EXPECT_FALSE(database.Rename(budget, "Cards"));
  EXPECT_FALSE(database.Rename(budget, "budget"));
  EXPECT_TRUE(database.Rename(budget, "G2"));
  EXPECT_EQ(budget.name(), "G4");
  EXPECT_EQ(CountedUpName("Q09"), "Q10");
  EXPECT_EQ(CountedUpName("Z99"), "Z100");
}

TEST_F(SubsetTest, RenamedSubsetsShowTheirNewNamesInTexts) {
  Subset& first = MakeSubset("G1", {{"A", ">0"}}, "A");
  SubsetList local(db_);
  Subset& local_subset = local.Create();
  local_subset.SetCombination("G1");
  Selection analysis(db_);
  analysis.SetSubset("G1");
  SubsetList::Of(db_).Rename(first, "Large");
  EXPECT_EQ(local_subset.combination_text(), "Large");
  EXPECT_EQ(analysis.subset(), "Large");
}

TEST_F(SubsetTest, RenamedSelectionsAreUniqueAndFollowedByTheCombination) {
  Subset& subset = MakeSubset("G1", {{"A", ">0"}, {"B", "<0"}}, "cards A&B");
  NamedSelection& a = *subset.FindSelection("A");
  EXPECT_TRUE(subset.RenameSelection(a, "Goods"));
  EXPECT_EQ(subset.combination_text(), "cards Goods&B");
  EXPECT_TRUE(subset.RenameSelection(a, "b"));
  EXPECT_EQ(a.name(), "b1");
  EXPECT_TRUE(subset.RenameSelection(a, "GOODS"));
  EXPECT_EQ(subset.combination_text(), "cards GOODS&B");
  EXPECT_FALSE(subset.RenameSelection(a, ""));
  EXPECT_EQ(a.name(), "GOODS");
}

TEST_F(SubsetTest, MovedSelectionsKeepWhatTheCombinationNames) {
  // "A" and "AB": read from text, "AB" would find the first selection whose name it starts with.
  Subset& subset = MakeSubset("G1", {{"A", ">0"}, {"AB", "<0"}}, "AB");
  const std::vector<int> before = Calculated(subset);
  ASSERT_TRUE(subset.MoveSelection(1, 0));
  EXPECT_EQ(subset.selections()[0]->name(), "AB");
  EXPECT_EQ(subset.selections()[1]->name(), "A");
  EXPECT_EQ(subset.combination_text(), "AB");
  EXPECT_EQ(Calculated(subset), before);
  EXPECT_FALSE(subset.MoveSelection(0, 2));
  EXPECT_FALSE(subset.MoveSelection(2, 0));
  EXPECT_EQ(subset.selections()[0]->name(), "AB");
}

TEST_F(SubsetTest, InUseRulesRefuseErasing) {
  Subset& subset = MakeSubset("G1", {{"A", ">0"}, {"B", "<0"}}, "A");
  EXPECT_FALSE(subset.DeleteSelection(*subset.FindSelection("A")));
  EXPECT_TRUE(subset.DeleteSelection(*subset.FindSelection("B")));
  {
    Selection analysis(db_);
    analysis.SetSubset("G1");
    EXPECT_TRUE(subset.IsInUse());
    EXPECT_FALSE(SubsetList::Of(db_).Erase(subset, /*confirm=*/false));
  }
  EXPECT_FALSE(subset.IsInUse());
  // Answered "Cancel", the question keeps it; a local combination that named it loses it.
  SubsetList local(db_);
  Subset& local_subset = local.Create();
  local_subset.SetCombination("G1");
  local_subset.combination();
  sink_.set_answer(1);
  EXPECT_FALSE(SubsetList::Of(db_).Erase(subset));
  sink_.set_answer(0);
  EXPECT_TRUE(SubsetList::Of(db_).Erase(subset));
  EXPECT_EQ(SubsetList::Of(db_).subsets().size(), 0u);
  sink_.Clear();
  EXPECT_EQ(local_subset.combination_text(), "");
  EXPECT_EQ(sink_.Texts(), std::vector<std::string>{"Subset \"G1\" cannot be found."});
}

TEST_F(SubsetTest, ComponentsNamedBySubsetsSelectionsAreInUse) {
  const ComponentRef unused = db_.AddComponent(0, "30", "", "");
  const ComponentRef other = db_.AddComponent(0, "40", "", "");
  db_.FlushChangeFlags();
  Selection analysis(db_);
  analysis.SetComponentExpression(0, "40");
  EXPECT_FALSE(ComponentsInUse(db_)[other]);  // an analysis's selection does not count
  Subset& subset = SubsetList::Of(db_).Create();
  subset.AddSelection("A").selection().SetComponentExpression(0, "30");
  const std::vector<bool> in_use = ComponentsInUse(db_);
  EXPECT_TRUE(in_use[unused]);
  EXPECT_FALSE(in_use[other]);
  EXPECT_TRUE(in_use[db_.FindByCode(0, "10")]);  // lines refer to it
}

TEST_F(SubsetTest, SelfReferenceIsRefusedInsteadOfRecursing) {
  Subset& subset = MakeSubset("G1", {{"A", ">0"}}, "A");
  subset.FindSelection("A")->selection().SetSubset("G1");
  EXPECT_FALSE(subset.Calculate());
  EXPECT_EQ(sink_.Texts(),
            std::vector<std::string>{"Subset \"G1\" refers to itself and cannot be calculated."});
  // Through another subset, and from an analysis that names it.
  Subset& second = MakeSubset("G2", {{"B", ">0"}}, "B");
  subset.FindSelection("A")->selection().SetSubset("G2");
  second.FindSelection("B")->selection().SetSubset("G1");
  Selection analysis(db_);
  analysis.SetSubset("G1");
  sink_.Clear();
  EXPECT_FALSE(analysis.Prepare());
  EXPECT_EQ(sink_.alerts().size(), 1u);
  EXPECT_EQ(sink_.alerts()[0].message, msg::kSubsetRefersToItself);
}

TEST_F(SubsetTest, ResultsFollowTheDatabaseAndWhatTheyDependOn) {
  Subset& subset = MakeSubset("G1", {{"A", ">3"}}, "A");
  SubsetList local(db_);
  Subset& local_subset = local.Create();
  local_subset.SetCombination("cards G1");
  EXPECT_EQ(Calculated(local_subset), (std::vector<int>{0, 1, 2, 4, 5}));
  // A change of the database subset's selection reaches the local subset that names it.
  subset.FindSelection("A")->selection().SetValueCondition(0, ">4");
  bool changed = false;
  EXPECT_TRUE(local_subset.Calculate(&changed));
  EXPECT_TRUE(changed);
  EXPECT_EQ(Indices(local_subset.lines()), (std::vector<int>{0, 1, 2}));
  EXPECT_TRUE(local_subset.Calculate(&changed));
  EXPECT_FALSE(changed);
  // New lines make every result stale.
  lines_.push_back(AddLine(4, "10", 50));
  db_.FlushChangeFlags();
  EXPECT_FALSE(subset.calculated());
  EXPECT_EQ(subset.Count(), -1);
  EXPECT_EQ(Calculated(local_subset), (std::vector<int>{0, 1, 2, 6}));
  // An analysis's selection that names the subset takes its lines and its own criteria.
  Selection analysis(db_);
  analysis.SetSubset("G1");
  analysis.SetComponentExpression(0, "10");
  LineSet lines;
  ASSERT_TRUE(analysis.CollectLines(lines));
  EXPECT_EQ(Indices(&lines), (std::vector<int>{0, 6}));
}

TEST_F(SubsetTest, IdleResultsAreReleasedUnlessInUse) {
  Subset& subset = MakeSubset("G1", {{"A", ">0"}}, "A");
  ASSERT_TRUE(subset.Calculate());
  const uint32_t now = TickCountMs();
  EXPECT_FALSE(subset.ReleaseIfIdle(now + 1000));
  {
    Selection analysis(db_);
    analysis.SetSubset("G1");
    EXPECT_FALSE(subset.ReleaseIfIdle(now + Subset::kIdleMs + 1000));
  }
  subset.set_window_open(true);
  EXPECT_FALSE(subset.ReleaseIfIdle(now + Subset::kIdleMs + 1000));
  subset.set_window_open(false);
  EXPECT_TRUE(subset.ReleaseIfIdle(now + Subset::kIdleMs + 1000));
  EXPECT_EQ(subset.lines(), nullptr);
  EXPECT_EQ(subset.Count(), -1);
  EXPECT_EQ(Calculated(subset), (std::vector<int>{0, 2, 3, 4, 5}));
}

TEST_F(SubsetTest, AStoppedCalculationIsNotTakenForAResult) {
  Subset& subset = MakeSubset("G1", {{"A", ">0"}}, "A");
  RequestStop();
  EXPECT_TRUE(subset.Calculate());
  ASSERT_NE(subset.lines(), nullptr);
  EXPECT_EQ(subset.lines()->Count(), 0u);
  EXPECT_FALSE(subset.calculated());
  EXPECT_EQ(subset.CountLine(), "Subset not calculated");
  FlushPendingError();
  EXPECT_EQ(Calculated(subset), (std::vector<int>{0, 2, 3, 4, 5}));
}

TEST_F(SubsetTest, NamedSelectionsTestCardIdentifiersNotesAndStamps) {
  CardStore& cards = db_.cards();
  const CardRef first = cards.FindCard({kDay, 1});
  const CardRef third = cards.FindCard({kDay, 3});
  cards.SetNotes(first, "Paid in cash", Stamp());
  cards.mutable_card(third).created = {PackStampTime({2024, 3, 2, 9, 0}), {'A', 'B', 0, 0}};
  Subset& subset = MakeSubset("G1", {{"A", ""}}, "A");
  NamedSelection& a = *subset.FindSelection("A");
  const std::vector<std::pair<std::function<void()>, std::vector<int>>> cases = {
      {[&] { a.SetCardId("240301-2_240301-3"); }, {3, 4, 5}},
      {[&] { a.SetCardId(""); }, {0, 1, 2, 3, 4, 5}},
      {[&] { a.SetNotes("cash"); }, {0, 1, 2}},
      {[&] { a.SetNotes("\\"); }, {3, 4, 5}},  // no notes
      {[&] { a.SetNotes(""); }, {0, 1, 2, 3, 4, 5}},
      {[&] { a.SetStamp(StampKind::kCreated, "202403", ""); }, {4, 5}},
      {[&] { a.SetStamp(StampKind::kCreated, "\\", ""); }, {0, 1, 2, 3}},  // never stamped
      {[&] { a.SetStamp(StampKind::kCreated, "", "ab"); }, {4, 5}},
      {[&] { a.SetStamp(StampKind::kCreated, "", ""); }, {0, 1, 2, 3, 4, 5}},
  };
  for (size_t i = 0; i < cases.size(); ++i) {
    cases[i].first();
    EXPECT_EQ(Calculated(subset), cases[i].second) << "case " << i;
  }
  EXPECT_FALSE(a.has_stamp_criteria());
}

class AnsweringPrompt : public SignaturePrompt {
 public:
  std::optional<std::string> AskSignature() override { return "JD"; }
};

TEST_F(SubsetTest, DeleteDataRemovesTheLinesUnderTheUsersStamp) {
  Subset& subset = MakeSubset("G1", {{"A", ">0"}}, "A");
  EXPECT_FALSE(subset.DeleteData());  // not calculated: nothing to delete
  ASSERT_TRUE(subset.Calculate());
  // Without a signature nothing happens; answered "Cancel", neither.
  EXPECT_FALSE(subset.DeleteData());
  EXPECT_EQ(db_.cards().line_count(), 6u);
  AnsweringPrompt prompt;
  ScopedSignaturePrompt scoped(&prompt);
  sink_.set_answer(1);
  EXPECT_FALSE(subset.DeleteData());
  sink_.set_answer(0);
  sink_.Clear();
  ASSERT_TRUE(subset.DeleteData());
  EXPECT_EQ(sink_.Texts(),
            std::vector<std::string>{"Are you sure you want to delete\n\"5 lines\"?"});
  // Card 1 keeps its line -10 and carries the stamp; cards 2 and 3 are gone.
  const CardStore& cards = db_.cards();
  EXPECT_EQ(cards.line_count(), 1u);
  EXPECT_EQ(cards.card_count(), 1u);
  EXPECT_EQ(cards.card(cards.FirstCard()).created.Signature(), "JD");
  EXPECT_EQ(subset.lines(), nullptr);
  EXPECT_EQ(Calculated(subset), std::vector<int>{});
}

// Lines deleted after a calculation free their numbers for new lines: a result from before the
// change is calculated anew before it deletes anything, so a new line that took the number of a
// line of the old result stays.
TEST_F(SubsetTest, DeleteDataDeletesTheLinesOfTheCurrentData) {
  Subset& subset = MakeSubset("G1", {{"A", ">0"}}, "A");
  ASSERT_TRUE(subset.Calculate());
  CardStore& cards = db_.cards();
  const CardRef card = cards.FindCard({kDay, 1});
  const ComponentRef account = db_.FindByCode(0, "20");
  cards.DeleteLine(card, cards.FindOrAddGroup(card, account), lines_[2]);
  const LineRef reused = cards.CreateLine(cards.FindOrAddGroup(card, account));
  ASSERT_EQ(reused, lines_[2]);
  cards.SetValues(reused, std::vector<double>{-3});
  db_.Notify(ChangeCode::kCards);  // as an editor of cards announces its changes
  AnsweringPrompt prompt;
  ScopedSignaturePrompt scoped(&prompt);
  sink_.set_answer(0);
  sink_.Clear();
  ASSERT_TRUE(subset.DeleteData());
  EXPECT_EQ(sink_.Texts(),
            std::vector<std::string>{"Are you sure you want to delete\n\"4 lines\"?"});
  EXPECT_EQ(cards.line_count(), 2u);
  EXPECT_EQ(cards.GetValue(reused, 0), -3);
}

}  // namespace
}  // namespace jov
